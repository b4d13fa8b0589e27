#include "tests/converters/orders/order_test_fixture.h"

#include "driver/convert_functions.h"
#include "platform/runtime_error.h"
#include "platform/text_file.h"

namespace mv::testing {
namespace {

constexpr long kServiceFailure = -2147217900;

Variant Money(double amount) {
  return Variant::Currency(static_cast<std::int64_t>(amount * 10000));
}

void Insert(Connection& connection, const std::string& table, const Row& row) {
  const auto rows = OpenRecordset(connection, "select top 1 * from " + table);
  rows->AddNew();
  for (const auto& [column, value] : row) rows->SetField(column, value);
  rows->UpdateBatch();
}

[[noreturn]] void Fail(const std::string& what) {
  throw RuntimeError(kServiceFailure, what + " failed");
}

class FailingCurrency : public CurrencyService {
 public:
  FailingCurrency(std::unique_ptr<CurrencyService> real, std::string code)
      : real_(std::move(real)), code_(std::move(code)) {}
  std::shared_ptr<const VariantObject> GetCurrencyData(const Variant& currencyCode) override {
    if (currencyCode.ToText() == code_) Fail("Currency lookup");
    return real_->GetCurrencyData(currencyCode);
  }

 private:
  std::unique_ptr<CurrencyService> real_;
  std::string code_;
};

class FailingLocale : public LocaleService {
 public:
  FailingLocale(std::unique_ptr<LocaleService> real, std::int32_t localeId)
      : real_(std::move(real)), localeId_(localeId) {}
  std::string GetCurrencySymbol(std::int32_t localeId) override {
    if (localeId == localeId_) Fail("Locale lookup");
    return real_->GetCurrencySymbol(localeId);
  }

 private:
  std::unique_ptr<LocaleService> real_;
  std::int32_t localeId_;
};

class FailingPartner : public BusinessPartnerService {
 public:
  FailingPartner(std::unique_ptr<BusinessPartnerService> real, long id)
      : real_(std::move(real)), id_(id) {}
  std::string GetCustomerCode(const Variant& id) override { return real_->GetCustomerCode(id); }
  std::string GetCustomerName(const Variant& id) override {
    if (id.ToLong() == id_) Fail("Customer name lookup");
    return real_->GetCustomerName(id);
  }

 private:
  std::unique_ptr<BusinessPartnerService> real_;
  long id_;
};

class FailingProduct : public ProductService {
 public:
  FailingProduct(std::unique_ptr<ProductService> real, std::int32_t id)
      : real_(std::move(real)), id_(id) {}
  ProductData GetProductData(std::int32_t productId) override {
    if (productId == id_) Fail("Product lookup");
    return real_->GetProductData(productId);
  }

 private:
  std::unique_ptr<ProductService> real_;
  std::int32_t id_;
};

}  // namespace

Row With(Row row, const std::string& column, Variant value) {
  for (auto& [name, old] : row) {
    if (name == column) {
      old = std::move(value);
      return row;
    }
  }
  row.emplace_back(column, std::move(value));
  return row;
}

Row OrderHeader(const std::string& orderId) {
  return {{"ORDERID", Variant::String(orderId)},
          {"CURRENCYCODE", Variant::String("EUR")},
          {"USERID", Variant::Long(31)},
          {"SHIPPINGADDRESSID", Variant::Long(41)},
          {"BILLINGADDRESSID", Variant::Long(42)},
          {"BUSINESSPARTNERID", Variant::Long(7)},
          {"CARRIERCODE", Variant::String("DHL")},
          {"ORDERLISTNAME", Variant::String("Wöchentlich")},
          {"ORDERDATE", Variant::Date({2002, 3, 14, 9, 26, 53})},
          {"HEADERTEXT", Variant::String("Grüße, 5 €")},
          {"SALESORDERNR", Variant::String("SN-1")},
          {"DISCOUNTPERC", Variant::Double(12.5)},
          {"CUSTOMERPONR", Variant::String("PO-9")},
          {"ACKNOWLEDGMENTURL", Variant::String("https://shop.example/ack")},
          {"BISID", Variant::Long(3)},
          {"FREIGHTTOTAL", Money(6.5)},
          {"WEBPAYMENTMETHOD", Variant::Integer(1)},
          {"FREIGHTTAX", Money(4)},
          {"CALCULATETAX", Variant::Integer(1)},
          {"FREIGHTTAXCODE", Variant::String("HIGH")},
          {"FREIGHTTAXCODEDESCRIPTION", Variant::String("Standard")},
          {"FREIGHTTAXPERC", Variant::Double(19)},
          {"ORDERSTATUS", Variant::Integer(2)},
          {"HEADERBILLINGSTATUS", Variant::Integer(0)}};
}

Row OrderLine(const std::string& orderId, int lineNumber, int productId) {
  return {{"ORDERID", Variant::String(orderId)},
          {"LINENR", Variant::Long(lineNumber)},
          {"PRODUCTID", Variant::Long(productId)},
          {"UNITCODE", Variant::String("PCS")},
          {"ADDRESSID", Variant::Long(41)},
          {"QUANTITY", Variant::Double(4)},
          {"PRICE", Money(3)},
          {"DISCOUNTPERC", Variant::Double(5)},
          {"DISCOUNTAMOUNT", Money(1)},
          {"AMOUNT", Money(10)},
          {"CONFIGID", Variant::String("CFG")},
          {"CONFIGCOMPLETE", Variant::Integer(1)},
          {"LINETEXT", Variant::String("Line " + std::to_string(lineNumber))},
          {"REQUESTDATE", Variant::Date({2002, 4, 1, 0, 0, 0})},
          {"ALLOCATIONDATE", Variant::Date({2002, 3, 15, 8, 0, 0})},
          {"LINETAX", Money(2)},
          {"LINEFREIGHT", Money(0.5)},
          {"TAXCODE", Variant::String("HIGH")},
          {"TAXPERCENTAGE", Variant::Double(19)},
          {"TAXCODEDESCRIPTION", Variant::String("Standard")},
          {"LINEFREIGHTTAX", Money(0.1)},
          {"ALLOCATED", Variant::Integer(1)},
          {"AUTHORIZED", Variant::Integer(1)},
          {"BILLED", Variant::Integer(1)},
          {"LINEBILLINGSTATUS", Variant::Integer(0)}};
}

bool SameValue(const Variant& actual, const Variant& expected) {
  if (expected.Kind() != VariantKind::Currency) return actual == expected;
  const VariantKind kind = actual.Kind();
  const bool number = kind == VariantKind::Currency || kind == VariantKind::Double ||
                      kind == VariantKind::Single || kind == VariantKind::Decimal;
  return number && actual.ToDouble() == expected.ToDouble();
}

BusinessServicesFactory FailingServices(const ServiceFailures& failures) {
  return [failures](Connection& target) {
    BusinessServices services = OpenBusinessServices(target);
    services.currency =
        std::make_unique<FailingCurrency>(std::move(services.currency), failures.currency);
    services.locale =
        std::make_unique<FailingLocale>(std::move(services.locale), failures.localeId);
    services.businessPartner = std::make_unique<FailingPartner>(std::move(services.businessPartner),
                                                                failures.businessPartner);
    services.product =
        std::make_unique<FailingProduct>(std::move(services.product), failures.product);
    return services;
  };
}

OrderDatabaseTest::OrderDatabaseTest() {
  Connection& target = *targetConnection_;
  target.Execute("insert into currency (CURRENCYCODE, DECIMALS, LOCALEID) values ('EUR', 2, 1043)");
  target.Execute("insert into currency (CURRENCYCODE, DECIMALS, LOCALEID) values ('SEK', 2, null)");
  Insert(target, "businesspartner",
         {{"BUSINESSPARTNERID", Variant::Long(7)},
          {"CUSTOMERCODE", Variant::String("C7")},
          {"CUSTOMERNAME", Variant::String("Müller & Söhne")}});
  Insert(target, "businesspartner",
         {{"BUSINESSPARTNERID", Variant::Long(8)},
          {"CUSTOMERCODE", Variant::String("C8")},
          {"CUSTOMERNAME", Variant::String("Acht BV")}});
  for (int product = 100; product <= 103; ++product) {
    target.Execute("insert into product (PRODUCTID, PARTNUMBER) values (" +
                   std::to_string(product) + ", 'PN-" + std::to_string(product) + "')");
  }
}

void OrderDatabaseTest::InsertSource(const std::string& table, const Row& row) {
  Insert(*sourceConnection_, table, row);
}

void OrderDatabaseTest::InsertOrder(const std::string& orderId,
                                    const std::vector<int>& productIds) {
  InsertSource("orderheader", OrderHeader(orderId));
  int lineNumber = 0;
  for (int productId : productIds)
    InsertSource("orderline", OrderLine(orderId, ++lineNumber, productId));
}

bool OrderDatabaseTest::Run(BusinessServicesFactory services) {
  ConvertOrders converter(std::move(services));
  return RunConverter(converter, ValuesFor(source_, target_), log_, TextWriter::Mode::Overwrite);
}

std::unique_ptr<Recordset> OrderDatabaseTest::Target(const std::string& sql) {
  return OpenRecordset(*targetConnection_, sql);
}

}  // namespace mv::testing
