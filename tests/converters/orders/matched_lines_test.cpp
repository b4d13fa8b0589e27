// Orders whose lines name their header in another case, or with trailing blanks, on a source
// that compares ORDERID as SQL Server's usual collations do: each order is converted with the
// lines the server matches to it, as a query for that one order's lines finds them.
#include <gtest/gtest.h>

#include "tests/converters/orders/order_test_fixture.h"
#include "tests/support/ignore_case_collation.h"

namespace mv {
namespace {

using testing::OrderHeader;
using testing::OrderLine;

/// One source order: its header's ORDERID and the ORDERID of each of its lines.
struct SourceOrder {
  std::string headerId;
  std::vector<std::string> lineIds;
};

const std::vector<SourceOrder> kOrders{
    {"SO-1", {"so-1", "So-1"}},
    {"so-2", {"SO-2"}},
    {"SO-3", {"SO-3", "so-3", "SO-3"}},
};

class MatchedOrderLinesTest : public testing::OrderDatabaseTest {
 protected:
  MatchedOrderLinesTest() { CompareOrderIdsIgnoringCase(); }

  /// Gives the source's ORDERID columns a collation that ignores case. On PostgreSQL the
  /// lines' ORDERID becomes a char column as well: read with trailing blanks, compared without.
  void CompareOrderIdsIgnoringCase() {
    Connection& source = *sourceConnection_;
    const std::string collation = testing::IgnoreCaseCollation(source, source_.GetEngine());
    if (source_.GetEngine() == setup::Engine::Postgresql) {
      source.Execute("alter table orderheader alter column ORDERID type varchar(50)" + collation);
      source.Execute("alter table orderline alter column ORDERID type char(50)" + collation);
      return;
    }
    // SQLite changes no column's collation: the empty tables are made again.
    const std::string column = "ORDERID VARCHAR(50) NOT NULL";
    for (const std::string table : {"orderheader", "orderline"}) {
      std::string created =
          source
              .QueryValue("select sql from sqlite_master where type = 'table' and name = '" +
                          table + "'")
              .ToText();
      const size_t at = created.find(column);
      ASSERT_NE(at, std::string::npos) << created;
      created.insert(at + column.size(), collation);
      source.Execute("drop table " + table);
      source.Execute(created);
    }
  }

  /// How many source lines the query for the lines of order `orderId` alone finds.
  long LinesOfOneOrder(const std::string& orderId) {
    return sourceConnection_
        ->QueryValue("select count(*) from orderline where orderid = '" + orderId + "'")
        .ToLong();
  }
};

TEST_F(MatchedOrderLinesTest, EachOrderIsConvertedWithTheLinesTheServerMatchesToIt) {
  for (const SourceOrder& order : kOrders) {
    InsertSource("orderheader", OrderHeader(order.headerId));
    int lineNumber = 0;
    for (const std::string& lineId : order.lineIds) {
      InsertSource("orderline", OrderLine(lineId, ++lineNumber, 100));
    }
  }
  InsertSource("orderline", OrderLine("SO-30", 1, 100));  // the line of no order

  ASSERT_TRUE(Run());

  const std::vector<std::string> log = Log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "3 order were converted.");
  EXPECT_EQ(log.back(), "0 order were NOT converted.");
  for (const SourceOrder& order : kOrders) {
    const auto lines = static_cast<long>(order.lineIds.size());
    ASSERT_EQ(LinesOfOneOrder(order.headerId), lines)
        << order.headerId << ": the source compares as SQL Server does";
    const auto header =
        Target("select * from orderheader where orderid = '" + order.headerId + "'");
    ASSERT_EQ(header->RecordCount(), 1) << order.headerId;
    EXPECT_EQ(header->Field("SUBTOTAL"), Variant::Double(10.0 * lines))
        << order.headerId << ": the amounts of its own lines";
  }
  EXPECT_EQ(TargetCount("orderline"), 6);

  EXPECT_TRUE(Run()) << "a rerun";
  EXPECT_EQ(Log().size(), 5u) << "three orders already converted, and the counts";
  EXPECT_EQ(Log().at(3), "0 order were converted.");
  EXPECT_EQ(TargetCount("orderline"), 6);
}

}  // namespace
}  // namespace mv
