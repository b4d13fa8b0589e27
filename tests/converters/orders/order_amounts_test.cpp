// Amounts at and beyond Currency's range pass through the submitted-order migration exactly,
// and totals that no number can hold stop the order instead of wrapping.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "driver/convert_functions.h"
#include "tests/converters/orders/order_test_fixture.h"

namespace mv {
namespace {

using testing::OrderHeader;
using testing::OrderLine;
using testing::With;

struct AmountCase {
  std::string name;
  std::string amount;
};

void PrintTo(const AmountCase& c, std::ostream* out) { *out << c.name; }

class OrderAmountsTest : public testing::OrderDatabaseTest,
                         public ::testing::WithParamInterface<AmountCase> {
 protected:
  /// The text of the AMOUNT of `table`: as the engine keeps it, or as the driver gives it.
  std::string AmountText(Connection& connection, bool asKept) {
    const auto rows = OpenRecordset(
        connection, asKept ? "select cast(AMOUNT as varchar(30)) as AMOUNT from orderline"
                           : "select AMOUNT from orderline");
    return rows->Field("AMOUNT").ToText();
  }
};

TEST_P(OrderAmountsTest, LineAndTotalsExact) {
  const Variant amount = Variant::Decimal(GetParam().amount);
  InsertSource("orderheader", OrderHeader("A1"));
  InsertSource("orderline", With(With(OrderLine("A1", 1, 100), "AMOUNT", amount), "PRICE", amount));

  EXPECT_TRUE(Run());

  // SQLite's driver gives 15 digits of a number; whatever it gives, the target gives the same.
  EXPECT_EQ(AmountText(*targetConnection_, false), AmountText(*sourceConnection_, false));
  if (target_.GetEngine() == setup::Engine::Postgresql) {
    EXPECT_EQ(AmountText(*targetConnection_, true), GetParam().amount);
  }
  const auto header = Target("select SUBTOTAL, TOTALNETAMOUNT from orderheader");
  const double expected = Target("select AMOUNT from orderline")->Field("AMOUNT").ToDouble();
  // The totals are floating-point columns: compared by the runtime's 15-digit text.
  EXPECT_EQ(header->Field("SUBTOTAL").ToText(), Variant::Double(expected).ToText());
  EXPECT_EQ(header->Field("TOTALNETAMOUNT").ToText(), Variant::Double(expected * 4).ToText())
      << "PRICE x QUANTITY 4";
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, OrderAmountsTest,
    ::testing::Values(AmountCase{"LargestCurrency", "922337203685477.5807"},
                      AmountCase{"OneUnitAboveCurrency", "922337203685477.5808"},
                      AmountCase{"LargestNumeric19x4", "999999999999999.9999"},
                      AmountCase{"SmallestNumeric19x4", "-999999999999999.9999"}),
    [](const ::testing::TestParamInfo<AmountCase>& info) { return info.param.name; });

class OrderOverflowTest : public testing::OrderDatabaseTest {};

TEST_F(OrderOverflowTest, ATotalBeyondTheDecimalRangeLeavesTheOrderUnconverted) {
  InsertSource("orderheader", OrderHeader("A1"));
  InsertSource("orderline", With(With(OrderLine("A1", 1, 100), "PRICE",
                                      Variant::Decimal("999999999999999.9999")),
                                 "QUANTITY", Variant::Double(1e14)));
  InsertOrder("A2", {100});

  EXPECT_FALSE(Run());

  EXPECT_EQ(Log(),
            (std::vector<std::string>{"Order 'A1'",
                                      "      An error occurred while converting the order "
                                      "lines.",
                                      "      Overflow", "Order 'A2' is converted.",
                                      "1 order were converted.", "1 order were NOT converted."}));
  EXPECT_EQ(Target("select * from orderline where ORDERID = 'A1'")->RecordCount(), 0);
  EXPECT_EQ(Target("select * from orderheader where ORDERID = 'A1'")->RecordCount(), 0);
}

/// A failure on a line after the first product lookup: the order's line failure block names
/// that line's product.
struct LaterLineCase {
  const char* name;
  const char* column;
  Variant value;
  const char* description;
};

class LaterLineFailureTest : public testing::OrderDatabaseTest,
                             public ::testing::WithParamInterface<LaterLineCase> {};

TEST_P(LaterLineFailureTest, IsReportedAsThatLinesProductDataFailure) {
  InsertSource("orderheader", OrderHeader("L1"));
  InsertSource("orderline", OrderLine("L1", 1, 100));
  InsertSource("orderline", With(With(OrderLine("L1", 2, 101), "PRICE",
                                      Variant::Decimal("999999999999999.9999")),
                                 GetParam().column, GetParam().value));
  InsertOrder("L2", {100});

  EXPECT_FALSE(Run());

  EXPECT_EQ(Log(),
            (std::vector<std::string>{
                "Order 'L1'", "      An error occurred while reading Product data for '101'.",
                std::string("      ") + GetParam().description, "Order 'L2' is converted.",
                "1 order were converted.", "1 order were NOT converted."}));
  EXPECT_EQ(Target("select * from orderline where ORDERID = 'L1'")->RecordCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    SecondLine, LaterLineFailureTest,
    ::testing::Values(LaterLineCase{"NullAmount", "AMOUNT", Variant::Null(), "Invalid use of Null"},
                      LaterLineCase{"Overflow", "QUANTITY", Variant::Double(1e14), "Overflow"}),
    [](const ::testing::TestParamInfo<LaterLineCase>& info) { return info.param.name; });

}  // namespace
}  // namespace mv
