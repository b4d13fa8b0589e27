// The business services of the 2.3 installation over the reference tables of a real target
// database, and the currency symbols the system gives for Windows locale ids.
#include "platform/business/business_services.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/odbc/recordset.h"
#include "platform/runtime_error.h"
#include "platform/utilities/quoted_literal.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

using testing::TestDatabase;

TEST(QuotedLiteralTest, EnclosesAndDoublesApostrophes) {
  const std::pair<const char*, const char*> cases[] = {{"A1", "'A1'"},
                                                       {"", "''"},
                                                       {"O'Neil", "'O''Neil'"},
                                                       {"''", "''''''"},
                                                       {"x' or '1'='1", "'x'' or ''1''=''1'"}};
  for (const auto& [text, literal] : cases) EXPECT_EQ(QuotedLiteral(text), literal) << text;
}

TEST(SystemLocaleServiceTest, GivesTheCurrencySymbolOfTheLocale) {
  const std::pair<std::int32_t, const char*> cases[] = {{1043, "€"}, {1031, "€"}, {1036, "€"},
                                                        {1033, "$"}, {2057, "£"}, {2055, "CHF"}};
  SystemLocaleService locale;
  for (const auto& [localeId, symbol] : cases)
    EXPECT_EQ(locale.GetCurrencySymbol(localeId), symbol) << localeId;
}

TEST(SystemLocaleServiceTest, LocaleIdsWithoutLocaleOrCurrencyFail) {
  const std::pair<std::int32_t, const char*> cases[] = {{0x7fff, "Locale id 32767 is not known."},
                                                        {9, "Locale id 9 has no currency."}};
  SystemLocaleService locale;
  for (const auto& [localeId, description] : cases) {
    try {
      locale.GetCurrencySymbol(localeId);
      ADD_FAILURE() << localeId;
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), errors::kUnknownLocale);
      EXPECT_EQ(error.Description(), description);
    }
  }
}

class ReferenceTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection_->Execute(
        "insert into currency (CURRENCYCODE, DECIMALS, LOCALEID) values ('EUR', 2, 1043)");
    connection_->Execute(
        "insert into currency (CURRENCYCODE, DECIMALS, LOCALEID) values ('SEK', 0, null)");
    Recordset partner(*connection_, "select * from businesspartner");
    partner.AddNew();
    partner.SetField("BUSINESSPARTNERID", Variant::Long(7));
    partner.SetField("CUSTOMERCODE", Variant::String("C7"));
    partner.SetField("CUSTOMERNAME", Variant::String("Müller & Söhne"));
    partner.UpdateBatch();
    connection_->Execute("insert into product (PRODUCTID, PARTNUMBER) values (100, 'PN-100')");
  }

  /// The description of the failure `call` raises, with its number checked.
  template <typename Call>
  std::string Failure(long number, Call call) {
    try {
      call();
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), number);
      return error.Description();
    }
    return "no failure";
  }

  TestDatabase target_{"target"};
  std::unique_ptr<Connection> connection_ = target_.Connect();
  BusinessServices services_ = OpenBusinessServices(*connection_);
};

TEST_F(ReferenceTableTest, CurrencyDataHoldsDecimalsAndLocaleId) {
  const auto euro = services_.currency->GetCurrencyData(Variant::String("EUR"));
  EXPECT_EQ(euro->Get("DECIMALS"), Variant::Integer(2));
  EXPECT_EQ(euro->Get("LOCALEID"), Variant::Long(1043));
  const auto krona = services_.currency->GetCurrencyData(Variant::String("SEK"));
  EXPECT_EQ(krona->Get("DECIMALS"), Variant::Integer(0));
  EXPECT_TRUE(krona->Get("LOCALEID").IsNull());
}

TEST_F(ReferenceTableTest, UnknownOrNullCurrencyFails) {
  EXPECT_EQ(Failure(errors::kCurrencyNotFound,
                    [&] { services_.currency->GetCurrencyData(Variant::String("XXX")); }),
            "Currency 'XXX' does not exist.");
  EXPECT_EQ(Failure(errors::kCurrencyNotFound,
                    [&] { services_.currency->GetCurrencyData(Variant::String("E'R")); }),
            "Currency 'E'R' does not exist.")
      << "an apostrophe stays part of the value";
  EXPECT_EQ(Failure(errors::kInvalidUseOfNull,
                    [&] { services_.currency->GetCurrencyData(Variant::Null()); }),
            "Invalid use of Null");
}

TEST_F(ReferenceTableTest, BusinessPartnerGivesCodeAndName) {
  EXPECT_EQ(services_.businessPartner->GetCustomerCode(Variant::Long(7)), "C7");
  EXPECT_EQ(services_.businessPartner->GetCustomerName(Variant::Long(7)), "Müller & Söhne");
  EXPECT_EQ(Failure(errors::kBusinessPartnerNotFound,
                    [&] { services_.businessPartner->GetCustomerName(Variant::Long(8)); }),
            "Business partner 8 does not exist.");
  EXPECT_EQ(Failure(errors::kInvalidUseOfNull,
                    [&] { services_.businessPartner->GetCustomerCode(Variant::Null()); }),
            "Invalid use of Null");
}

TEST_F(ReferenceTableTest, MissingProductIsANormalAnswerWithErrorStatus) {
  const ProductData found = services_.product->GetProductData(100);
  EXPECT_FALSE(found.errorStatus);
  EXPECT_EQ(found.values->Get("PARTNUMBER"), Variant::String("PN-100"));
  const ProductData missing = services_.product->GetProductData(101);
  EXPECT_TRUE(missing.errorStatus);
  EXPECT_EQ(missing.values, nullptr);
}

TEST_F(ReferenceTableTest, ProductLookupOnALostTableFails) {
  connection_->Execute("drop table product");
  EXPECT_THROW(services_.product->GetProductData(100), RuntimeError);
}

}  // namespace
}  // namespace mv
