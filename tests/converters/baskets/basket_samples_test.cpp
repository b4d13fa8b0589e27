// The sample baskets: reproducible from the seed, and a mix that the migration converts in
// part and rejects in part.
#include "tools/sample_data/basket_samples.h"

#include <gtest/gtest.h>

#include "converters/baskets/convert_baskets.h"
#include "platform/odbc/recordset.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

using testing::TestDatabase;

constexpr int kBaskets = 60;

void Fill(const TestDatabase& source, std::uint32_t seed) {
  const auto connection = source.Connect();
  samples::SampleDatabases databases{*connection, *connection, *connection};
  samples::FillBasketSamples(databases, {seed, kBaskets});
}

/// Every ORDERLIST row as its id and the bytes of its order form.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> OrderList(
    const TestDatabase& source) {
  const auto connection = source.Connect();
  Recordset rows(*connection, "SELECT ORDER_ID, MARSHALLED_ORDER FROM ORDERLIST ORDER BY ORDER_ID");
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> result;
  for (; !rows.Eof(); rows.MoveNext()) {
    result.emplace_back(rows.Field("ORDER_ID").AsString(),
                        rows.Field("MARSHALLED_ORDER").AsBytes());
  }
  return result;
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(BasketSamplesTest, SameSeedWritesTheSameBaskets) {
  TestDatabase first("source"), second("source"), other("source");
  Fill(first, 7);
  Fill(second, 7);
  Fill(other, 8);
  EXPECT_EQ(OrderList(first).size(), static_cast<std::size_t>(kBaskets));
  EXPECT_EQ(OrderList(first), OrderList(second));
  EXPECT_NE(OrderList(first), OrderList(other));
}

TEST(BasketSamplesTest, MigrationConvertsTheValidOnesAndRejectsTheRest) {
  TestDatabase source("source"), target("target");
  Fill(source, 7);
  testing::TempFolder folder;
  {
    TextWriter log(folder.File("samples.log"), TextWriter::Mode::Append);
    ConvertBaskets converter;
    ASSERT_TRUE(converter.Convert(testing::ValuesFor(source, target), log));
  }
  const std::string log = testing::ReadFileBytes(folder.File("samples.log"));
  const auto rejected = Occurrences(log, "     Basket was not converted...");
  const auto headers =
      Recordset(*target.Connect(), "SELECT BASKETID FROM BASKETHEADER").RecordCount();
  EXPECT_EQ(Occurrences(log, "OrderID: "), static_cast<std::size_t>(kBaskets));
  EXPECT_EQ(static_cast<std::size_t>(headers) + rejected, static_cast<std::size_t>(kBaskets));
  EXPECT_GT(rejected, 0u);
  EXPECT_GT(Occurrences(log, "     ShopperID was not filled."), 0u);
  EXPECT_GT(Occurrences(log, "     SKU was not filled."), 0u);
  EXPECT_NE(log.find(std::to_string(headers) + " saved baskets copied/converted to "),
            std::string::npos);
  EXPECT_GT(
      Recordset(*target.Connect(), "SELECT BASKETID FROM BASKETLINE WHERE PRODUCTCONFIGURABLE <> 0")
          .RecordCount(),
      0);
  EXPECT_NE(log.find("OrderID: B-1013-O'Neil\r\n"), std::string::npos);
}

}  // namespace
}  // namespace mv
