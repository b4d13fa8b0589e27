#include "bench/benchmarked_migration.h"

#include <stdexcept>

#include "converters/baskets/convert_baskets.h"
#include "converters/copydata/copy_data.h"
#include "converters/orders/convert_orders.h"
#include "tools/sample_data/order_samples.h"

namespace mv::bench {
namespace {

template <typename ConverterClass>
std::unique_ptr<Converter> Make() {
  return std::make_unique<ConverterClass>();
}

void NothingToPrepare(Connection&) {}

const std::vector<BenchmarkedMigration>& AllMigrations() {
  static const std::vector<BenchmarkedMigration> migrations{
      {"baskets",
       Make<ConvertBaskets>,
       NothingToPrepare,
       {{"BASKETHEADER", {"BASKETID"}}, {"BASKETLINE", {"BASKETID", "BASKETLINENR"}}}},
      {"orders",
       Make<ConvertOrders>,
       samples::FillOrderReferenceSamples,
       {{"orderline", {"ORDERID", "LINENR"}}, {"orderheader", {"ORDERID"}}}},
      {"copy",
       Make<CopyData>,
       NothingToPrepare,
       {{"zones", {"ZONEID"}},
        {"countriesbyzone", {"ZONEID", "COUNTRYCODE"}},
        {"freightgroup", {"FREIGHTGROUPID"}},
        {"freightproduct", {"PARTNUMBER"}},
        {"freightprice", {"FREIGHTPRICEID"}},
        {"authorizationlog", {"AUTHORIZATIONID"}},
        {"billinglog", {"BILLINGID"}},
        {"refundlog", {"REFUNDID"}},
        {"merchantidbycurrency", {"CURRENCY"}},
        {"addresshistory", {"ADDRESSID"}},
        {"productprice", {"PRODUCTPRICEID"}},
        {"customerprice", {"CUSTOMERPRICEID"}}}},
  };
  return migrations;
}

}  // namespace

const BenchmarkedMigration& FindMigration(const std::string& name) {
  for (const auto& migration : AllMigrations()) {
    if (migration.name == name) return migration;
  }
  throw std::invalid_argument("unknown migration '" + name + "' (baskets, orders or copy)");
}

}  // namespace mv::bench
