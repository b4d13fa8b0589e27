// Sample rows for the twelve 2.2 tables of the remaining-data copy, reproducible from the seed.
#include "tools/sample_data/copydata_samples.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/variant.h"
#include "tools/sample_data/chooser.h"
#include "tools/sample_data/table_rows.h"

namespace mv::samples {
namespace {

constexpr std::array<std::string_view, 10> kZoneNames{
    "Domestic",      "EU North",     "EU South", "Europe other", "North America",
    "South America", "Asia Pacific", "Oceania",  "Africa",       "Middle East"};
constexpr std::array<std::string_view, 7> kFreightGroupNames{
    "Letter", "Parcel small",    "Parcel large", "Bulky goods",
    "Pallet", "Hazardous goods", "Refrigerated"};
constexpr std::array<std::string_view, 12> kCountries{"NL", "BE", "DE", "FR", "GB", "SE",
                                                      "IT", "ES", "US", "CA", "AU", "JP"};
constexpr std::array<std::string_view, 4> kCurrencies{"EUR", "USD", "GBP", "SEK"};
constexpr std::array<std::string_view, 8> kCities{"Utrecht", "Antwerpen", "Hamburg", "Lyon",
                                                  "Leeds",   "Malmo",     "Torino",  "Toronto"};
constexpr std::array<std::string_view, 8> kStreets{"Stationsstraat", "Kerkweg",     "Hauptstrasse",
                                                   "Rue de la Paix", "High Street", "Storgatan",
                                                   "Via Roma",       "Queen Street"};
constexpr std::array<std::string_view, 8> kSurnames{"de Vries", "Janssens",  "Schmidt", "Martin",
                                                    "Smith",    "Andersson", "Rossi",   "Tremblay"};
constexpr std::array<std::string_view, 3> kLocations{"Home", "Office", "Warehouse"};
/// The currencies a shop may hold merchant accounts in: merchantidbycurrency has one row each.
constexpr std::array<std::string_view, 24> kMerchantCurrencies{
    "EUR", "USD", "GBP", "SEK", "NOK", "DKK", "CHF", "PLN", "CZK", "HUF", "JPY", "CNY",
    "AUD", "NZD", "CAD", "MXN", "BRL", "ZAR", "INR", "SGD", "HKD", "KRW", "TRY", "AED"};
constexpr std::array<std::string_view, 4> kRefundReasons{"Returned goods", "Damaged in transit",
                                                         "Duplicate payment", "Cancelled order"};

/// An amount between 0.50 and `whole` + 0.50 with two decimals, as a Currency value.
Variant Amount(Chooser& choose, int whole) {
  return Variant::Currency((50 + choose.Below(whole * 100)) * 100LL);
}

/// The shop's own zone keys: 10, 17, 24, ... so that they never match their position.
std::int32_t ZoneKey(int index) { return 10 + 7 * index; }
std::int32_t FreightGroupKey(int index) { return 500 + 5 * index; }
/// A key between two existing ones, which no zone or freight group has.
std::int32_t MissingKey(std::int32_t (*key)(int), int index) { return key(index) + 3; }

/// A reference to one of `count` rows, or about once in ten to a row that does not exist.
Variant Reference(Chooser& choose, std::int32_t (*key)(int), int count) {
  const int index = choose.Below(count);
  return Variant::Long(choose.OneIn(10) ? MissingKey(key, index) : key(index));
}

std::string Numbered(std::string_view prefix, int number, int width) {
  std::string digits = std::to_string(number);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
  return std::string(prefix) + digits;
}

using Row = std::vector<std::pair<const char*, Variant>>;

/// Writes the rows that `makeRow` gives for 0 .. count - 1 into `table` in one transaction.
template <typename MakeRow>
void WriteTable(Connection& connection, const std::string& table, int count, MakeRow makeRow) {
  WriteRows(connection, table, count, [&](Recordset& rows, int i) {
    for (const auto& [column, value] : makeRow(i)) rows.SetField(column, value);
  });
}

/// Writes the sample rows of the copied tables, each table from the same seeded chooser in a
/// fixed order, so that a seed always gives the same shop.
class CopyDataSampleWriter {
 public:
  CopyDataSampleWriter(Connection& source, const SampleOptions& options)
      : source_(source), count_(options.count), choose_(options.seed) {}

  /// Zones, their countries, freight groups, products and prices.
  void ShippingTables() {
    WriteTable(source_, "zones", count_, [&](int i) -> Row {
      const std::string name = std::string(kZoneNames[static_cast<size_t>(i) % kZoneNames.size()]);
      const int round = i / static_cast<int>(kZoneNames.size());
      return {{"ZONEID", Variant::Long(ZoneKey(i))},
              {"ZONENAME", Text(round == 0 ? name : name + " " + std::to_string(round + 1))},
              {"DESCRIPTION", Text("Shipping zone " + name)}};
    });
    WriteTable(source_, "countriesbyzone", count_, [&](int) -> Row {
      return {{"ZONEID", Zone()}, {"COUNTRYCODE", Text(std::string(choose_.Pick(kCountries)))}};
    });
    WriteTable(source_, "freightgroup", count_, [&](int i) -> Row {
      const auto& names = kFreightGroupNames;
      const int round = i / static_cast<int>(names.size());
      const std::string name = std::string(names[static_cast<size_t>(i) % names.size()]);
      return {{"FREIGHTGROUPID", Variant::Long(FreightGroupKey(i))},
              {"DESCRIPTION", Text(round == 0 ? name : name + " " + std::to_string(round + 1))}};
    });
    WriteTable(source_, "freightproduct", count_, [&](int i) -> Row {
      return {{"PARTNUMBER", Text(Numbered("VT-", i, 6))}, {"FREIGHTGROUPID", FreightGroup()}};
    });
    WriteTable(source_, "freightprice", count_, [&](int i) -> Row {
      const double from = choose_.Below(40) * 0.5;
      return {{"FREIGHTPRICEID", Variant::Long(i + 1)},
              {"FREIGHTGROUPID", FreightGroup()},
              {"SHIPFROMZONEID", Zone()},
              {"SHIPTOZONEID", Zone()},
              {"WEIGHTFROM", Variant::Double(from)},
              {"WEIGHTTO", Variant::Double(from + 0.5 + choose_.Below(20))},
              {"CURRENCY", Text(std::string(choose_.Pick(kCurrencies)))},
              {"PRICE", Amount(choose_, 60)}};
    });
  }

  /// The authorization and billing logs of the orders.
  void PaymentLogs() {
    WriteTable(source_, "authorizationlog", count_, [&](int i) -> Row {
      const bool approved = !choose_.OneIn(8);
      return {{"AUTHORIZATIONID", Variant::Long(i + 1)},
              {"ORDERID", OrderId(i)},
              {"AUTHORIZATIONDATE", Variant::Date(choose_.Date())},
              {"AMOUNT", Amount(choose_, 900)},
              {"CURRENCY", Text(std::string(choose_.Pick(kCurrencies)))},
              {"RESULTCODE", Text(approved ? "00" : "05")},
              {"RESPONSETEXT", Text(approved ? "Approved" : "Do not honour")}};
    });
    WriteTable(source_, "billinglog", count_, [&](int i) -> Row {
      return {{"BILLINGID", Variant::Long(i + 1)},
              {"ORDERID", OrderId(i)},
              {"BILLINGDATE", Variant::Date(choose_.Date())},
              {"AMOUNT", Amount(choose_, 900)},
              {"CURRENCY", Text(std::string(choose_.Pick(kCurrencies)))},
              {"STATUS", Variant::Integer(static_cast<std::int16_t>(1 + choose_.Below(3)))}};
    });
  }

  /// Shopper addresses and the product and customer prices.
  void ShopperTables() {
    WriteTable(source_, "addresshistory", count_, [&](int i) -> Row {
      return {{"ADDRESSID", Variant::Long(i + 1)},
              {"SHOPPERID", Text(Numbered("SHOPPER", choose_.Below(count_ + 1), 5))},
              {"NAME", Text(std::string(choose_.Pick(kSurnames)))},
              {"STREET", Text(std::string(choose_.Pick(kStreets)) + " " +
                              std::to_string(1 + choose_.Below(200)))},
              {"CITY", Text(std::string(choose_.Pick(kCities)))},
              {"POSTALCODE", Text(std::to_string(1000 + choose_.Below(9000)))},
              {"COUNTRYCODE", Text(std::string(choose_.Pick(kCountries)))},
              {"ZONEID", Zone()},
              {"LOCATION", Text(std::string(choose_.Pick(kLocations)))},
              {"CHANGEDATE", Variant::Date(choose_.Date())}};
    });
    WriteTable(source_, "productprice", count_, [&](int i) -> Row {
      return {{"PRODUCTPRICEID", Variant::Long(i + 1)},
              {"PARTNUMBER", PartNumber()},
              {"CURRENCY", Text(std::string(choose_.Pick(kCurrencies)))},
              {"PRICE", Amount(choose_, 400)},
              {"SHIPFROMZONE", Zone()}};
    });
    WriteTable(source_, "customerprice", count_, [&](int i) -> Row {
      return {{"CUSTOMERPRICEID", Variant::Long(i + 1)},
              {"CUSTOMERID", Text(Numbered("CUST", choose_.Below(count_ + 1), 5))},
              {"PARTNUMBER", PartNumber()},
              {"CURRENCY", Text(std::string(choose_.Pick(kCurrencies)))},
              {"PRICE", Amount(choose_, 400)},
              {"VALIDFROM", Variant::Date(choose_.Date())},
              {"SHIPFROMZONEID", Zone()}};
    });
  }

  /// Refunds of the orders and one merchant id per currency.
  void RefundsAndMerchants() {
    WriteTable(source_, "refundlog", count_, [&](int i) -> Row {
      return {{"REFUNDID", Variant::Long(i + 1)},
              {"ORDERID", OrderId(i)},
              {"REFUNDDATE", Variant::Date(choose_.Date())},
              {"AMOUNT", Amount(choose_, 300)},
              {"CURRENCY", Text(std::string(choose_.Pick(kCurrencies)))},
              {"REASON", choose_.OneIn(6) ? Variant::Null()
                                          : Text(std::string(choose_.Pick(kRefundReasons)))}};
    });
    const int merchants = std::min(count_, static_cast<int>(kMerchantCurrencies.size()));
    WriteTable(source_, "merchantidbycurrency", merchants, [&](int i) -> Row {
      return {{"CURRENCY", Text(std::string(kMerchantCurrencies[static_cast<size_t>(i)]))},
              {"MERCHANTID", Text(Numbered("MERCHANT-", 4000 + choose_.Below(6000), 4))}};
    });
  }

 private:
  static Variant Text(std::string value) { return Variant::String(std::move(value)); }
  static Variant OrderId(int i) { return Text(Numbered("ORD-2002-", 1000 + i, 6)); }
  Variant PartNumber() { return Text(Numbered("VT-", choose_.Below(count_ * 3 + 1), 6)); }
  Variant Zone() { return Reference(choose_, ZoneKey, count_); }
  Variant FreightGroup() { return Reference(choose_, FreightGroupKey, count_); }

  Connection& source_;
  const int count_;
  Chooser choose_;
};

}  // namespace

void FillCopyDataSamples(SampleDatabases& databases, const SampleOptions& options) {
  CopyDataSampleWriter writer(databases.source, options);
  writer.ShippingTables();
  writer.PaymentLogs();
  writer.ShopperTables();
  writer.RefundsAndMerchants();
}

}  // namespace mv::samples
