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

}  // namespace

void FillCopyDataSamples(SampleDatabases& databases, const SampleOptions& options) {
  Connection& source = databases.source;
  const int count = options.count;
  Chooser choose(options.seed);
  const auto text = [](std::string value) { return Variant::String(std::move(value)); };
  const auto orderId = [&](int i) { return text(Numbered("ORD-2002-", 1000 + i, 6)); };
  const auto partNumber = [&] { return text(Numbered("VT-", choose.Below(count * 3 + 1), 6)); };
  const auto zone = [&] { return Reference(choose, ZoneKey, count); };
  const auto freightGroup = [&] { return Reference(choose, FreightGroupKey, count); };

  WriteTable(source, "zones", count, [&](int i) -> Row {
    const std::string name = std::string(kZoneNames[static_cast<size_t>(i) % kZoneNames.size()]);
    const int round = i / static_cast<int>(kZoneNames.size());
    return {{"ZONEID", Variant::Long(ZoneKey(i))},
            {"ZONENAME", text(round == 0 ? name : name + " " + std::to_string(round + 1))},
            {"DESCRIPTION", text("Shipping zone " + name)}};
  });
  WriteTable(source, "countriesbyzone", count, [&](int) -> Row {
    return {{"ZONEID", zone()}, {"COUNTRYCODE", text(std::string(choose.Pick(kCountries)))}};
  });
  WriteTable(source, "freightgroup", count, [&](int i) -> Row {
    const auto& names = kFreightGroupNames;
    const int round = i / static_cast<int>(names.size());
    const std::string name = std::string(names[static_cast<size_t>(i) % names.size()]);
    return {{"FREIGHTGROUPID", Variant::Long(FreightGroupKey(i))},
            {"DESCRIPTION", text(round == 0 ? name : name + " " + std::to_string(round + 1))}};
  });
  WriteTable(source, "freightproduct", count, [&](int i) -> Row {
    return {{"PARTNUMBER", text(Numbered("VT-", i, 6))}, {"FREIGHTGROUPID", freightGroup()}};
  });
  WriteTable(source, "freightprice", count, [&](int i) -> Row {
    const double from = choose.Below(40) * 0.5;
    return {{"FREIGHTPRICEID", Variant::Long(i + 1)},
            {"FREIGHTGROUPID", freightGroup()},
            {"SHIPFROMZONEID", zone()},
            {"SHIPTOZONEID", zone()},
            {"WEIGHTFROM", Variant::Double(from)},
            {"WEIGHTTO", Variant::Double(from + 0.5 + choose.Below(20))},
            {"CURRENCY", text(std::string(choose.Pick(kCurrencies)))},
            {"PRICE", Amount(choose, 60)}};
  });
  WriteTable(source, "authorizationlog", count, [&](int i) -> Row {
    const bool approved = !choose.OneIn(8);
    return {{"AUTHORIZATIONID", Variant::Long(i + 1)},
            {"ORDERID", orderId(i)},
            {"AUTHORIZATIONDATE", Variant::Date(choose.Date())},
            {"AMOUNT", Amount(choose, 900)},
            {"CURRENCY", text(std::string(choose.Pick(kCurrencies)))},
            {"RESULTCODE", text(approved ? "00" : "05")},
            {"RESPONSETEXT", text(approved ? "Approved" : "Do not honour")}};
  });
  WriteTable(source, "billinglog", count, [&](int i) -> Row {
    return {{"BILLINGID", Variant::Long(i + 1)},
            {"ORDERID", orderId(i)},
            {"BILLINGDATE", Variant::Date(choose.Date())},
            {"AMOUNT", Amount(choose, 900)},
            {"CURRENCY", text(std::string(choose.Pick(kCurrencies)))},
            {"STATUS", Variant::Integer(static_cast<std::int16_t>(1 + choose.Below(3)))}};
  });
  WriteTable(source, "addresshistory", count, [&](int i) -> Row {
    return {{"ADDRESSID", Variant::Long(i + 1)},
            {"SHOPPERID", text(Numbered("SHOPPER", choose.Below(count + 1), 5))},
            {"NAME", text(std::string(choose.Pick(kSurnames)))},
            {"STREET", text(std::string(choose.Pick(kStreets)) + " " +
                            std::to_string(1 + choose.Below(200)))},
            {"CITY", text(std::string(choose.Pick(kCities)))},
            {"POSTALCODE", text(std::to_string(1000 + choose.Below(9000)))},
            {"COUNTRYCODE", text(std::string(choose.Pick(kCountries)))},
            {"ZONEID", zone()},
            {"LOCATION", text(std::string(choose.Pick(kLocations)))},
            {"CHANGEDATE", Variant::Date(choose.Date())}};
  });
  WriteTable(source, "productprice", count, [&](int i) -> Row {
    return {{"PRODUCTPRICEID", Variant::Long(i + 1)},
            {"PARTNUMBER", partNumber()},
            {"CURRENCY", text(std::string(choose.Pick(kCurrencies)))},
            {"PRICE", Amount(choose, 400)},
            {"SHIPFROMZONE", zone()}};
  });
  WriteTable(source, "customerprice", count, [&](int i) -> Row {
    return {{"CUSTOMERPRICEID", Variant::Long(i + 1)},
            {"CUSTOMERID", text(Numbered("CUST", choose.Below(count + 1), 5))},
            {"PARTNUMBER", partNumber()},
            {"CURRENCY", text(std::string(choose.Pick(kCurrencies)))},
            {"PRICE", Amount(choose, 400)},
            {"VALIDFROM", Variant::Date(choose.Date())},
            {"SHIPFROMZONEID", zone()}};
  });
  WriteTable(source, "refundlog", count, [&](int i) -> Row {
    return {{"REFUNDID", Variant::Long(i + 1)},
            {"ORDERID", orderId(i)},
            {"REFUNDDATE", Variant::Date(choose.Date())},
            {"AMOUNT", Amount(choose, 300)},
            {"CURRENCY", text(std::string(choose.Pick(kCurrencies)))},
            {"REASON",
             choose.OneIn(6) ? Variant::Null() : text(std::string(choose.Pick(kRefundReasons)))}};
  });
  const int merchants = std::min(count, static_cast<int>(kMerchantCurrencies.size()));
  WriteTable(source, "merchantidbycurrency", merchants, [&](int i) -> Row {
    return {{"CURRENCY", text(std::string(kMerchantCurrencies[static_cast<size_t>(i)]))},
            {"MERCHANTID", text(Numbered("MERCHANT-", 4000 + choose.Below(6000), 4))}};
  });
}

}  // namespace mv::samples
