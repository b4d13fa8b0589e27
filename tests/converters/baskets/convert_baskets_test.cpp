// Whole basket migrations on real source and target databases: the target rows and the log
// of converted and rejected baskets, each value type's literal, SQLEncode, and the migration
// inside a run.
#include "converters/baskets/convert_baskets.h"

#include <gtest/gtest.h>

#include "driver/global_convert.h"
#include "platform/orderform/order_form_format.h"
#include "platform/regional_settings.h"
#include "platform/utilities/sql_encode.h"
#include "tests/converters/baskets/basket_test_fixture.h"
#include "tools/sample_data/order_list_writer.h"

namespace mv::testing {
namespace {

TEST_F(ConvertBasketsTest, ValidBasketBecomesHeaderAndNumberedLines) {
  auto configured = Line(1);
  configured->Set("configurable", Variant::Boolean(true));
  configured->Set("config_id", Variant::String("CFG-1"));
  auto staleConfiguration = Line(2);
  staleConfiguration->Set("config_id", Variant::String("CFG-2"));
  staleConfiguration->Set("config_complete", Variant::Boolean(true));
  auto complete = Line(3);
  complete->Set("configurable", Variant::Boolean(false));
  complete->Set("config_complete", Variant::Boolean(true));
  auto basket = Basket("B-1001", {configured, staleConfiguration, complete});
  basket->Set("order_name", Variant::String("Müller's € basket"));
  Store({basket});

  EXPECT_TRUE(Run());

  const auto header = Target(
      "SELECT BASKETID, BASKETNAME, BASKETDATE, CURRENCYCODE, USERID, USERLOCALE, "
      "BUSINESSPARTNERID FROM BASKETHEADER");
  ASSERT_EQ(header.size(), 1u);
  EXPECT_EQ(header[0][0].AsString(), "B-1001");
  EXPECT_EQ(header[0][1].AsString(), "Müller's € basket");
  EXPECT_EQ(header[0][2].AsDate(), kOrderDate);
  EXPECT_EQ(header[0][3].AsString(), "EUR");
  EXPECT_EQ(header[0][4].AsString(), "S-77");
  EXPECT_EQ(header[0][5].ToLong(), 1031);
  EXPECT_EQ(header[0][6].ToLong(), 12);

  const auto lines = Target(
      "SELECT BASKETID, BASKETLINENR, SKU, QUANTITY, REQUESTDATE, PRODUCTCONFIGURABLE, "
      "PRODUCTCONFIGID, PRODUCTCONFIGCOMPLETE FROM BASKETLINE ORDER BY BASKETLINENR");
  ASSERT_EQ(lines.size(), 3u);
  // Configurable with Null completion; Null configurable whatever the other two hold;
  // configurable False with completion True.
  const std::vector<std::tuple<int, std::string, int, int, std::string, int>> expected = {
      {1, "A-1", 1, -1, "CFG-1", 0}, {2, "A-2", 2, 0, "", 0}, {3, "A-3", 3, 0, "", -1}};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto& [number, sku, quantity, configurable, configId, configComplete] = expected[i];
    EXPECT_EQ(lines[i][0].AsString(), "B-1001");
    EXPECT_EQ(lines[i][1].ToLong(), number);
    EXPECT_EQ(lines[i][2].AsString(), sku);
    EXPECT_EQ(lines[i][3].ToLong(), quantity);
    EXPECT_EQ(lines[i][4].AsDate(), RequestDate(number));
    EXPECT_EQ(lines[i][5].ToLong(), configurable) << number;
    if (configId.empty()) {
      EXPECT_TRUE(lines[i][6].IsNull()) << number;
    } else {
      EXPECT_EQ(lines[i][6].AsString(), configId);
    }
    EXPECT_EQ(lines[i][7].ToLong(), configComplete) << number;
  }

  EXPECT_EQ(Log(), LogText({"OrderID: B-1001", "     LineNr:0", "     LineNr:1", "     LineNr:2",
                            Summary(1)}));
}

TEST_F(ConvertBasketsTest, RejectedBasketsLeaveTheirBlocksAndNothingInTheTarget) {
  auto noSku = Line(1);
  noSku->Set("SKU", Variant::Null());
  auto noShopper = Basket("B-1002", {noSku, Line(2)});
  noShopper->Set("shopper_id", Variant::Null());
  auto bare = VariantObject::NewDictionary();  // every tested header entry missing
  bare->Set("order_id", Variant::String("B-1003"));
  auto unfilledLine = VariantObject::NewDictionary();
  bare->Set("Items", Variant::Object([&] {
              auto items = VariantObject::NewList();
              items->Append(Variant::Object(unfilledLine));
              return items;
            }()));
  auto emptyTexts = ValidBasket("B-1004", 0);
  emptyTexts->Set("shopper_id", Variant::String(""));
  emptyTexts->Set("currency_code", Variant());
  Store({noShopper, bare, emptyTexts});

  EXPECT_TRUE(Run());

  EXPECT_EQ(Log(), LogText({"OrderID: B-1002", "     ShopperID was not filled.", "     LineNr:0",
                            "     SKU was not filled.", "     LineNr:1",
                            "     Basket was not converted...", "OrderID: B-1003",
                            "     OrderDate was not filled.", "     CurrencyCode was not filled.",
                            "     ShopperID was not filled.", "     UserLocale was not filled.",
                            "     BusinessPartnerID was not filled.", "     LineNr:0",
                            "     SKU was not filled.", "     Quantity was not filled.",
                            "     RequestDate was not filled.", "     Basket was not converted...",
                            "OrderID: B-1004", Summary(1)}));
  EXPECT_EQ(HeaderIds(), std::vector<std::string>{"B-1004"});
  EXPECT_TRUE(Target("SELECT * FROM BASKETLINE").empty());
}

TEST_F(ConvertBasketsTest, TextsBeyondTheBasicPlaneReachTheTarget) {
  const std::string id = "B-\U0001F600";
  auto line = Line(1);
  line->Set("SKU", Variant::String("\U00013000-1"));
  auto basket = Basket(id, {line});
  basket->Set("order_name", Variant::String("Ærø \U0001F6D2"));
  Store({basket});

  EXPECT_TRUE(Run());

  EXPECT_EQ(Log(), LogText({"OrderID: " + id, "     LineNr:0", Summary(1)}));
  const auto header = Target("SELECT BASKETID, BASKETNAME FROM BASKETHEADER");
  ASSERT_EQ(header.size(), 1u);
  EXPECT_EQ(header[0][0].AsString(), id);
  EXPECT_EQ(header[0][1].AsString(), "Ærø \U0001F6D2");
  const auto lines = Target("SELECT BASKETID, SKU FROM BASKETLINE");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0][0].AsString(), id);
  EXPECT_EQ(lines[0][1].AsString(), "\U00013000-1");
}

TEST_F(ConvertBasketsTest, EachValueTypeGetsItsLiteralWhateverTheRegionalSettings) {
  ScopedRegionalSettings german({"%d.%m.%Y", "%H:%M:%S", ','});
  auto line = Line(1);
  line->Set("Quantity", Variant::Currency(30000));
  line->Set("configurable", Variant::Boolean(false));
  line->Set("config_id", Variant::Long(5));
  line->Set("config_complete", Variant::Boolean(true));
  auto basket = Basket("B-7", {line});
  basket->Set("order_name", Variant::Double(2.5));
  basket->Set("currency_code", Variant::String("E'R"));
  basket->Set("shopper_id", Variant::Decimal("-0012.50"));
  basket->Set("user_locale", Variant::Integer(1043));
  basket->Set("business_partner_id", Variant::String("77"));
  Store({basket});

  EXPECT_TRUE(Run());

  const auto header = Target(
      "SELECT BASKETNAME, CURRENCYCODE, USERID, USERLOCALE, BUSINESSPARTNERID FROM "
      "BASKETHEADER");
  ASSERT_EQ(header.size(), 1u);
  EXPECT_EQ(header[0][0].AsString(), "2.5");
  EXPECT_EQ(header[0][1].AsString(), "E'R");
  EXPECT_EQ(header[0][2].AsString(), "-12.5");
  EXPECT_EQ(header[0][3].ToLong(), 1043);
  EXPECT_EQ(header[0][4].ToLong(), 77);
  const auto lines = Target(
      "SELECT QUANTITY, PRODUCTCONFIGURABLE, PRODUCTCONFIGID, PRODUCTCONFIGCOMPLETE FROM "
      "BASKETLINE");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0][0].ToLong(), 3);
  EXPECT_EQ(lines[0][1].ToLong(), 0);
  EXPECT_EQ(lines[0][2].ToText(), "5");
  EXPECT_EQ(lines[0][3].ToLong(), -1);
}

TEST_F(ConvertBasketsTest, NullNameIsWrittenAsNullNotAsText) {
  auto basket = ValidBasket("B-8", 0);
  basket->Set("order_name", Variant::Null());
  Store({basket});
  EXPECT_TRUE(Run());
  const auto header = Target("SELECT BASKETNAME FROM BASKETHEADER");
  ASSERT_EQ(header.size(), 1u);
  EXPECT_TRUE(header[0][0].IsNull());
}

TEST_F(ConvertBasketsTest, OrderIdThatIsNoTextIsLoggedAsItsText) {
  auto basket = ValidBasket("B-42", 1);
  basket->Set("order_id", Variant::Long(42));
  AppendOrderListRows(*source_.Connect(), {{"B-42", EncodeOrderForm(*basket)}});
  EXPECT_TRUE(Run());
  EXPECT_EQ(Log(), LogText({"OrderID: 42", "     LineNr:0", Summary(1)}));
  EXPECT_EQ(HeaderIds(), std::vector<std::string>{"42"});
}

TEST_F(ConvertBasketsTest, EmptyOrderListWritesOnlyTheSummary) {
  EXPECT_TRUE(Run());
  EXPECT_EQ(Log(), LogText({Summary(0)}));
}

TEST_F(ConvertBasketsTest, SQLEncodeAnswersTheLiteralOrLogsItsFailure) {
  ConvertBaskets converter;
  EXPECT_EQ(converter.SQLEncode("O'Neil"), "'O''Neil'");
  EXPECT_EQ(converter.SQLEncode("\xFF"), "");  // no log yet: nothing written anywhere
  {
    TextWriter log(logPath_, TextWriter::Mode::Append);
    ASSERT_TRUE(converter.Convert(values_, log));
    EXPECT_EQ(converter.SQLEncode("\xFF"), "");
  }
  EXPECT_EQ(Log(), LogText({Summary(0), "Invalid procedure call or argument"}));
}

TEST_F(ConvertBasketsTest, RunMigratesTheBasketsUnderTheirSection) {
  Store({ValidBasket("B-1", 2)});
  testing::RecordingMessageDisplay messages;
  testing::RecordingCaption basket, orders, parameters, copy;
  GlobalConvert run(
      [](Migration) -> std::unique_ptr<Converter> { return std::make_unique<ConvertBaskets>(); },
      messages, [] { return DateTime{2026, 12, 8, 4, 10, 36}; });

  EXPECT_TRUE(run.Run(values_, MigrationSelection{.iConvertBaskets = true}, logPath_,
                      {basket, orders, parameters, copy}));

  EXPECT_TRUE(messages.messages.empty());
  EXPECT_TRUE(basket.caption.ends_with("   (Done, No Errors Found)")) << basket.caption;
  const std::string body = LogText({"OrderID: B-1", "     LineNr:0", "     LineNr:1", Summary(1)});
  const std::string log = Log();
  EXPECT_EQ(log.substr(log.size() - body.size()), body);
  EXPECT_EQ(HeaderIds(), std::vector<std::string>{"B-1"});
}

}  // namespace
}  // namespace mv::testing
