// Baskets and orders written many to a transaction give the same target rows and the same log
// as a run that writes each basket and order in a transaction of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/target_comparison.h"
#include "converters/baskets/convert_baskets.h"
#include "converters/orders/convert_orders.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_database.h"
#include "tools/sample_data/basket_samples.h"
#include "tools/sample_data/order_samples.h"

namespace mv {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::TestDatabase;

/// Sets VANTREL_GROUP_SIZE while it lives.
class ScopedGroupSize : public testing::ScopedEnvironmentVariable {
 public:
  explicit ScopedGroupSize(const char* size)
      : ScopedEnvironmentVariable("VANTREL_GROUP_SIZE", size) {}
};

class GroupEquivalenceTest : public ::testing::Test {
 protected:
  GroupEquivalenceTest() {
    const TestDatabase instance("instance");
    const auto source = source_.Connect();
    const auto target = single_.Connect();
    const auto instanceConnection = instance.Connect();
    samples::SampleDatabases databases{*source, *target, *instanceConnection};
    // Enough baskets and orders for several groups of 7, the last one partly filled.
    const samples::SampleOptions options{22, 60};
    samples::FillBasketSamples(databases, options);
    samples::FillOrderSamples(databases, options);
    samples::FillOrderReferenceSamples(*grouped_.Connect());
  }

  /// Runs the basket and the order migration into `target` and answers their log, with the
  /// target's name (which the summary line holds) as "TARGET".
  std::string Migrate(const TestDatabase& target, const char* groupSize) {
    const ScopedGroupSize size(groupSize);
    const std::string path = folder_.File(std::string("log-") + groupSize);
    const ConnectionValues values = testing::ValuesFor(source_, target);
    {
      TextWriter log(PathFromUtf8(path), TextWriter::Mode::Append);
      ConvertBaskets().Convert(values, log);
      ConvertOrders().Convert(values, log);
    }
    std::string text = ReadFileBytes(path);
    for (auto at = text.find(values.TDB); at != std::string::npos; at = text.find(values.TDB)) {
      text.replace(at, values.TDB.size(), "TARGET");
    }
    return text;
  }

  /// Runs both migrations one at a time and in groups of seven, and checks that both give the
  /// same log and the same target rows; answers the log.
  std::string ExpectGroupsWriteWhatOneAtATimeWrites() {
    const std::string singleLog = Migrate(single_, "1");
    const std::string groupedLog = Migrate(grouped_, "7");
    EXPECT_EQ(groupedLog, singleLog);
    const auto single = single_.Connect();
    const auto grouped = grouped_.Connect();
    EXPECT_GT(bench::CountRows(*grouped, "orderline"), 100) << "the sample shop was converted";
    EXPECT_EQ(bench::CompareTables(*grouped, *single,
                                   {{"BASKETHEADER", {"BASKETID"}},
                                    {"BASKETLINE", {"BASKETID", "BASKETLINENR"}},
                                    {"orderheader", {"ORDERID"}},
                                    {"orderline", {"ORDERID", "LINENR"}}}),
              std::vector<std::string>{});
    return groupedLog;
  }

  TestDatabase source_{"source"};
  TestDatabase single_{"target"};
  TestDatabase grouped_{"target"};
  TempFolder folder_;
};

/// Makes `table` of `target` reject the rows whose `column` holds `id`.
void RejectRows(const TestDatabase& target, const std::string& table, const std::string& column,
                const std::string& id) {
  const std::string constraint = "reject_" + table;
  if (target.GetEngine() == setup::Engine::Sqlite) {
    target.Connect()->Execute("create trigger " + constraint + " before insert on " + table +
                              " when new." + column + " = '" + id +
                              "' begin select raise(abort, 'rejected'); end");
  } else {
    target.Connect()->Execute("alter table " + table + " add constraint " + constraint +
                              " check (" + column + " <> '" + id + "')");
  }
}

TEST_F(GroupEquivalenceTest, GroupsOfSevenWriteWhatOneAtATimeWrites) {
  ExpectGroupsWriteWhatOneAtATimeWrites();
}

TEST_F(GroupEquivalenceTest, FailingOrdersInsideGroupsLoseOnlyThemselves) {
  // One order fails while converted, one when its header is written and one when its lines
  // are, each in the middle of its group.
  source_.Connect()->Execute(
      "update orderheader set CURRENCYCODE = 'XXX' where ORDERID = 'SO-20010'");
  for (const TestDatabase* target : {&single_, &grouped_}) {
    RejectRows(*target, "orderheader", "ORDERID", "SO-20030");
    RejectRows(*target, "orderline", "ORDERID", "SO-20040");
  }
  const std::string log = ExpectGroupsWriteWhatOneAtATimeWrites();
  EXPECT_EQ(log.find("savepoint"), std::string::npos)
      << "a rejected line is logged with its own error, not with a savepoint the driver lost";
  for (const char* orderId : {"SO-20010", "SO-20030", "SO-20040"}) {
    EXPECT_NE(log.find(std::string("Order '") + orderId + "'\r\n"), std::string::npos) << orderId;
  }
}

TEST_F(GroupEquivalenceTest, BasketFailingInsideAGroupEndsTheBasketsWhereOneAtATimeEndsThem) {
  // The lines of the tenth basket, the third of the second group, are rejected after its
  // header was written.
  for (const TestDatabase* target : {&single_, &grouped_}) {
    RejectRows(*target, "BASKETLINE", "BASKETID", "B-1010");
  }
  const std::string log = ExpectGroupsWriteWhatOneAtATimeWrites();
  EXPECT_NE(log.find("OrderID: B-1010\r\n"), std::string::npos);
  EXPECT_NE(log.find("Error occured: "), std::string::npos);
  EXPECT_EQ(log.find("OrderID: B-1011\r\n"), std::string::npos) << "the basket run ended";
  EXPECT_GT(bench::CountRows(*grouped_.Connect(), "BASKETHEADER"), 7) << "the first group stays";
}

}  // namespace
}  // namespace mv
