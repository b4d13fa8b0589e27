#include "tools/sample_data/order_samples.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/variant.h"
#include "tools/sample_data/chooser.h"
#include "tools/sample_data/table_rows.h"

namespace mv::samples {
namespace {

struct SampleLine {
  bool allocated;
  bool authorized;
  bool billed;
  int lineBillingStatus;
  int productId;
};

struct SampleOrder {
  std::string orderId;
  int orderStatus;
  Variant webPaymentMethod;
  Variant headerBillingStatus;
  std::vector<SampleLine> lines;
};

constexpr int kFirstProduct = 100;
constexpr int kProductCount = 40;
constexpr int kUnknownProduct = 999;
constexpr int kPartnerCount = 8;

struct Currency {
  const char* code;
  int decimals;
  int localeId;  // 0: no display locale
};
constexpr std::array<Currency, 5> kCurrencies{
    {{"EUR", 2, 1043}, {"USD", 2, 1033}, {"GBP", 2, 2057}, {"JPY", 0, 1041}, {"SEK", 2, 0}}};

constexpr std::array<const char*, 8> kCustomers{
    "Bakkerij de Vries", "Janssens & Zonen", "Schmidt GmbH", "Martin SARL",
    "Smith Ltd",         "Andersson AB",     "Rossi S.p.A.", "Tremblay Inc."};

Variant Small(int value) { return Variant::Integer(static_cast<std::int16_t>(value)); }
Variant Flag(bool value) { return Small(value ? 1 : 0); }

/// One order for each row of the status gate's rules, in the order of the rules, and the
/// special cases the demo shows.
std::vector<SampleOrder> RuleOrders() {
  const Variant none = Variant::Null();
  return {
      {"SO-1001", 1, Small(2), Small(0), {{true, true, true, 0, 101}}},
      {"SO-1002",
       2,
       Small(1),
       Small(0),
       {{false, false, false, 9, 102}, {true, false, true, 0, 103}}},
      {"SO-1003", 2, Small(2), none, {{true, true, true, 0, 104}}},
      {"SO-1004", 2, Small(2), Small(0), {{true, false, false, 0, 105}}},
      {"SO-1005", 2, Small(2), Small(2), {{true, false, false, 2, 106}}},
      {"SO-1006",
       2,
       Small(2),
       Small(2),
       {{true, false, false, 2, 107}, {true, true, false, 2, 108}}},
      {"SO-1007", 2, Small(2), Small(3), {{true, true, true, 0, 109}}},
      {"SO-1008", 2, Small(2), Small(4), {{true, true, true, 0, 110}}},
      {"SO-1009", 2, Small(2), Small(5), {{true, true, true, 0, 111}}},
      {"SO-1010", 2, Small(2), Small(7), {{true, true, false, 7, 112}}},
      {"SO-1011", 2, Small(2), Small(7), {{true, true, true, 7, 113}}},
      {"SO-1012", 2, Small(2), Small(6), {{true, true, true, 0, 114}}},
      {"SO-1013", 2, Small(3), Small(0), {{true, true, true, 0, 115}}},
      {"SO-1014", 3, none, Small(0), {{false, false, false, 0, 116}}},
      {"SO-1015", 3, none, Small(1), {{false, false, false, 0, 117}}},
      {"SO-1016", 4, none, Small(8), {{true, true, true, 0, 118}, {true, true, false, 0, 119}}},
      {"SO-1017", 4, none, Small(8), {{true, true, false, 0, 120}}},
      {"SO-1018", 4, none, Small(2), {{true, true, true, 0, 121}}},
      {"SO-1019", 0, none, none, {{true, true, true, 0, 122}}},
      {"SO-1020", 2, Small(1), none, {}},
      {"SO-1021",
       2,
       Small(1),
       none,
       {{true, true, true, 0, 123}, {true, true, true, 0, kUnknownProduct}}},
      {"SO-1022 'rush'", 2, Small(1), none, {{true, true, true, 0, 124}}},
  };
}

/// Orders that the gate accepts, four lines each, for the demo and the benchmarks.
std::vector<SampleOrder> AcceptedOrders(int count, Chooser& choose) {
  const auto below = [&](int bound) { return choose.Below(bound); };
  std::vector<SampleOrder> orders;
  for (int i = 0; i < count; ++i) {
    SampleOrder order{"SO-" + std::to_string(20000 + i), 2, Small(1), Variant::Null(), {}};
    const int kind = below(4);
    if (kind == 1) order = {order.orderId, 2, Small(2), Small(0), {}};
    if (kind == 2) order = {order.orderId, 4, Variant::Null(), Small(8), {}};
    if (kind == 3) order = {order.orderId, 3, Variant::Null(), Small(0), {}};
    for (int line = 0; line < 4; ++line) {
      const bool set = kind != 3;
      const bool billed = kind == 2 ? below(2) == 0 : set;
      order.lines.push_back({set, set, billed, 0, kFirstProduct + below(kProductCount)});
    }
    orders.push_back(std::move(order));
  }
  return orders;
}

/// An amount from 1.00 to `whole` + 0.99 with two decimals, as a Currency value.
Variant Amount(Chooser& choose, int whole) {
  return Variant::Currency((100 + choose.Below(whole * 100)) * 100LL);
}

/// A date and time in 2002, the year of the sample orders.
Variant OrderDate(Chooser& choose) {
  return Variant::Date(DateTime{2002, 1 + choose.Below(12), 1 + choose.Below(28), choose.Below(24),
                                choose.Below(60), choose.Below(60)});
}

void WriteOrderHeaders(Connection& source, const std::vector<SampleOrder>& orders,
                       Chooser& choose) {
  WriteRows(source, "orderheader", static_cast<int>(orders.size()), [&](Recordset& row, int i) {
    const SampleOrder& order = orders[static_cast<size_t>(i)];
    const Currency& currency =
        kCurrencies[static_cast<size_t>(choose.Below(static_cast<int>(kCurrencies.size())))];
    row.SetField("ORDERID", Variant::String(order.orderId));
    row.SetField("CURRENCYCODE", Variant::String(currency.code));
    row.SetField("USERID", Variant::Long(300 + choose.Below(50)));
    row.SetField("SHIPPINGADDRESSID", Variant::Long(700 + i));
    row.SetField("BILLINGADDRESSID", Variant::Long(700 + i));
    row.SetField("BUSINESSPARTNERID", Variant::Long(1 + choose.Below(kPartnerCount)));
    row.SetField("CARRIERCODE", Variant::String(choose.Below(2) == 0 ? "DHL" : "UPS"));
    row.SetField("ORDERLISTNAME", Variant::String("Basket " + std::to_string(i + 1)));
    row.SetField("ORDERDATE", OrderDate(choose));
    row.SetField("HEADERTEXT", choose.Below(3) == 0
                                   ? Variant::Null()
                                   : Variant::String("Bitte vor 10 Uhr liefern, Grüße"));
    row.SetField("SALESORDERNR", Variant::String("SN" + std::to_string(80000 + i)));
    row.SetField("DISCOUNTPERC",
                 choose.Below(2) == 0 ? Variant::Null() : Variant::Double(choose.Below(4) * 2.5));
    row.SetField("CUSTOMERPONR",
                 Variant::String("PO-" + std::to_string(choose.Below(9000) + 1000)));
    row.SetField("ACKNOWLEDGMENTURL",
                 Variant::String("https://shop.example/ack/" + std::to_string(i + 1)));
    row.SetField("BISID", Variant::Long(1));
    row.SetField("FREIGHTTOTAL", Amount(choose, 20));
    row.SetField("WEBPAYMENTMETHOD", order.webPaymentMethod);
    row.SetField("FREIGHTTAX", choose.Below(5) == 0 ? Variant::Null() : Amount(choose, 4));
    row.SetField("CALCULATETAX", Flag(choose.Below(2) == 0));
    row.SetField("FREIGHTTAXCODE", Variant::String("HIGH"));
    row.SetField("FREIGHTTAXCODEDESCRIPTION", Variant::String("Standard rate"));
    row.SetField("FREIGHTTAXPERC", Variant::Double(19));
    row.SetField("ORDERSTATUS", Small(order.orderStatus));
    row.SetField("HEADERBILLINGSTATUS", order.headerBillingStatus);
  });
}

void WriteOrderLines(Connection& source, const std::vector<SampleOrder>& orders, Chooser& choose) {
  struct LineOf {
    const SampleOrder* order;
    const SampleLine* line;
    int number;
  };
  std::vector<LineOf> lines;
  for (const auto& order : orders) {
    for (size_t n = 0; n < order.lines.size(); ++n)
      lines.push_back({&order, &order.lines[n], static_cast<int>(n + 1)});
  }
  WriteRows(source, "orderline", static_cast<int>(lines.size()), [&](Recordset& row, int i) {
    const LineOf& of = lines[static_cast<size_t>(i)];
    const SampleLine& line = *of.line;
    const int quantity = 1 + choose.Below(5);
    const Variant price = Amount(choose, 60);
    const double gross = price.ToDouble() * quantity;
    const double discount = choose.Below(3) == 0 ? gross / 10 : 0;
    const auto money = [](double value) {
      return Variant::Currency(static_cast<std::int64_t>(value * 10000 + 0.5));
    };
    row.SetField("ORDERID", Variant::String(of.order->orderId));
    row.SetField("LINENR", Variant::Long(of.number));
    row.SetField("PRODUCTID", Variant::Long(line.productId));
    row.SetField("UNITCODE", Variant::String("PCS"));
    row.SetField("ADDRESSID", Variant::Long(700));
    row.SetField("QUANTITY", Variant::Double(quantity));
    row.SetField("PRICE", price);
    row.SetField("DISCOUNTPERC", Variant::Double(discount == 0 ? 0 : 10));
    row.SetField("DISCOUNTAMOUNT", money(discount));
    row.SetField("AMOUNT", money(gross - discount));
    row.SetField("CONFIGID", Variant::Null());
    row.SetField("CONFIGCOMPLETE", Flag(true));
    row.SetField("LINETEXT",
                 Variant::String("Line " + std::to_string(of.number) + " of " + of.order->orderId));
    row.SetField("REQUESTDATE", OrderDate(choose));
    row.SetField("ALLOCATIONDATE", line.allocated ? OrderDate(choose) : Variant::Null());
    row.SetField("LINETAX", money((gross - discount) * 0.19));
    row.SetField("LINEFREIGHT", Amount(choose, 5));
    row.SetField("TAXCODE", Variant::String("HIGH"));
    row.SetField("TAXPERCENTAGE", Variant::Double(19));
    row.SetField("TAXCODEDESCRIPTION", Variant::String("Standard rate"));
    row.SetField("LINEFREIGHTTAX", Amount(choose, 1));
    row.SetField("ALLOCATED", Flag(line.allocated));
    row.SetField("AUTHORIZED", Flag(line.authorized));
    row.SetField("BILLED", Flag(line.billed));
    row.SetField("LINEBILLINGSTATUS", Small(line.lineBillingStatus));
  });
}

/// The headers first, then the lines, as the seed has always drawn them.
void WriteOrders(Connection& source, const std::vector<SampleOrder>& orders, Chooser& choose) {
  WriteOrderHeaders(source, orders, choose);
  WriteOrderLines(source, orders, choose);
}

}  // namespace

void FillOrderReferenceSamples(Connection& target) {
  WriteRows(target, "currency", static_cast<int>(kCurrencies.size()), [](Recordset& row, int i) {
    const Currency& currency = kCurrencies[static_cast<size_t>(i)];
    row.SetField("CURRENCYCODE", Variant::String(currency.code));
    row.SetField("DECIMALS", Small(currency.decimals));
    row.SetField("LOCALEID",
                 currency.localeId == 0 ? Variant::Null() : Variant::Long(currency.localeId));
  });
  WriteRows(target, "businesspartner", kPartnerCount, [](Recordset& row, int i) {
    row.SetField("BUSINESSPARTNERID", Variant::Long(i + 1));
    row.SetField("CUSTOMERCODE", Variant::String("C" + std::to_string(5001 + i)));
    row.SetField("CUSTOMERNAME", Variant::String(kCustomers[static_cast<size_t>(i)]));
  });
  WriteRows(target, "product", kProductCount, [](Recordset& row, int i) {
    row.SetField("PRODUCTID", Variant::Long(kFirstProduct + i));
    row.SetField("PARTNUMBER", Variant::String("PN-" + std::to_string(kFirstProduct + i) + "-A"));
  });
}

void FillOrderSamples(SampleDatabases& databases, const SampleOptions& options) {
  Chooser choose(options.seed);
  FillOrderReferenceSamples(databases.target);
  std::vector<SampleOrder> orders = RuleOrders();
  for (auto& order : AcceptedOrders(options.count, choose)) orders.push_back(std::move(order));
  WriteOrders(databases.source, orders, choose);
}

}  // namespace mv::samples
