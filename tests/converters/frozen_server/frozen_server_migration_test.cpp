// A server that stops answering in the middle of a migration: the migration ends within its
// time-outs, every basket and order in the target is whole or absent, and once the server
// answers again a rerun converts the rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "bench/target_comparison.h"
#include "converters/baskets/convert_baskets.h"
#include "converters/orders/convert_orders.h"
#include "tests/support/converter_run.h"
#include "tests/support/frozen_server.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_database.h"
#include "tools/sample_data/basket_samples.h"
#include "tools/sample_data/order_samples.h"

namespace mv {
namespace {
#ifndef _WIN32

using testing::TestDatabase;

/// More rows than the source's streaming driver fetches in one block (psqlODBC: 1,000), so
/// that reading on needs the server after a freeze at the first progress report.
constexpr int kUnits = 1200;

/// When the server that holds both source and target is frozen.
enum class Moment {
  FirstReport,  // at the migration's first progress report
  Commit,       // in the target's next commit after it
};

struct FrozenMigration {
  const char* name;
  Migration migration;  // Baskets or SubmittedOrders
  Moment moment;
  /// Orders are reported per group: a group of 700 leaves the first block's last rows to the
  /// next group, whose reading then needs the second block.
  const char* groupSize = "500";
};

void PrintTo(const FrozenMigration& migration, std::ostream* out) { *out << migration.name; }

/// A unit's header table, its id column and its line table.
struct UnitTables {
  std::string header;
  std::string id;
  std::string lines;
};

UnitTables TablesOf(Migration migration) {
  return migration == Migration::Baskets ? UnitTables{"BASKETHEADER", "BASKETID", "BASKETLINE"}
                                         : UnitTables{"orderheader", "ORDERID", "orderline"};
}

/// Calls `freeze` at the migration's first progress report.
class FreezeAtFirstReport : public RunProgress {
 public:
  explicit FreezeAtFirstReport(std::function<void()> freeze) : freeze_(std::move(freeze)) {}
  void Report(std::string_view, std::int64_t, std::int64_t, std::string_view) override {
    if (freeze_) std::exchange(freeze_, nullptr)();
  }
  bool StopRequested() const override { return false; }

 private:
  std::function<void()> freeze_;
};

class FrozenServerMigrationTest : public ::testing::TestWithParam<FrozenMigration> {
 protected:
  void SetUp() override {
    if (const std::string why = testing::WhyNoServerToFreeze(); !why.empty()) GTEST_SKIP() << why;
    const TestDatabase instance("instance");
    const auto source = source_.Connect();
    const auto reference = reference_.Connect();
    const auto instanceConnection = instance.Connect();
    samples::SampleDatabases databases{*source, *reference, *instanceConnection};
    if (GetParam().migration == Migration::Baskets) {
      samples::FillBasketSamples(databases, {22, kUnits});
    } else {
      samples::FillOrderSamples(databases, {22, kUnits});
      samples::FillOrderReferenceSamples(*target_.Connect());
    }
    ASSERT_TRUE(Migrate(reference_, NoProgress(), folder_.File("reference.log")));
  }

  bool Migrate(const TestDatabase& target, RunProgress& progress, const std::string& log) {
    std::unique_ptr<Converter> converter;
    if (GetParam().migration == Migration::Baskets) {
      converter = std::make_unique<ConvertBaskets>();
    } else {
      converter = std::make_unique<ConvertOrders>();
    }
    converter->SetProgress(progress, GetParam().name);
    return testing::RunConverter(*converter, testing::ValuesFor(source_, target), log);
  }

  /// The number of lines of each unit of `database`, by its id.
  std::map<std::string, long> LinesPerUnit(const TestDatabase& database) const {
    const UnitTables tables = TablesOf(GetParam().migration);
    std::map<std::string, long> lines;
    for (const std::vector<Variant>& row :
         testing::Rows(*database.Connect(), "select h." + tables.id + ", count(l." + tables.id +
                                                ") from " + tables.header + " h left join " +
                                                tables.lines + " l on l." + tables.id + " = h." +
                                                tables.id + " group by h." + tables.id)) {
      lines[row.at(0).ToText()] = row.at(1).ToLong();
    }
    return lines;
  }

  TestDatabase source_{"source"};
  TestDatabase reference_{"target"};  // migrated while the server answers
  TestDatabase target_{"target"};
  testing::TempFolder folder_;
  std::string log_ = folder_.File("Vantrel23Conversion.log");
};

TEST_P(FrozenServerMigrationTest, EndsLeavesUnitsWholeAndARerunCompletes) {
  const FrozenMigration& frozen = GetParam();
  const UnitTables tables = TablesOf(frozen.migration);
  const std::vector<const TestDatabase*> server{&source_, &target_};
  if (frozen.moment == Moment::Commit) {
    testing::PrepareSelfFreezingCommit(target_, tables.header, server);
  }
  {
    const testing::ScopedEnvironmentVariable groupSize("VANTREL_GROUP_SIZE", frozen.groupSize);
    std::optional<testing::Freeze> freeze;
    FreezeAtFirstReport progress([&] {
      if (frozen.moment == Moment::Commit) testing::ArmFrozenCommit(target_);
      freeze.emplace(testing::ServerProcesses(server), frozen.moment == Moment::Commit
                                                           ? testing::Freeze::Start::Themselves
                                                           : testing::Freeze::Start::Now);
    });
    EXPECT_FALSE(Migrate(target_, progress, log_));
    ASSERT_TRUE(freeze) << "the migration reported its progress";
  }
  const std::string log = testing::ReadFileBytes(log_);
  EXPECT_NE(log.find("Query timeout expired"), std::string::npos) << log;
  const std::map<std::string, long> expected = LinesPerUnit(reference_);
  for (const auto& [id, lines] : LinesPerUnit(target_)) {
    EXPECT_EQ(lines, expected.at(id)) << id << " is whole";
  }
  if (frozen.moment == Moment::Commit) testing::DisarmFrozenCommit(target_);
  EXPECT_TRUE(Migrate(target_, NoProgress(), log_));
  EXPECT_EQ(
      bench::CompareTables(
          *target_.Connect(), *reference_.Connect(),
          {{tables.header, {tables.id}},
           {tables.lines,
            {tables.id, frozen.migration == Migration::Baskets ? "BASKETLINENR" : "LINENR"}}}),
      std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Freezes, FrozenServerMigrationTest,
    ::testing::Values(
        FrozenMigration{"BasketSourceStream", Migration::Baskets, Moment::FirstReport, "1000"},
        FrozenMigration{"OrderSourceStream", Migration::SubmittedOrders, Moment::FirstReport,
                        "700"},
        FrozenMigration{"BasketTargetWrite", Migration::Baskets, Moment::FirstReport},
        FrozenMigration{"OrderTargetWrite", Migration::SubmittedOrders, Moment::FirstReport},
        FrozenMigration{"BasketCommit", Migration::Baskets, Moment::Commit},
        FrozenMigration{"OrderCommit", Migration::SubmittedOrders, Moment::Commit}),
    [](const ::testing::TestParamInfo<FrozenMigration>& info) { return info.param.name; });

#else
TEST(FrozenServerMigrationTest, NeedsPosixSignals) {
  GTEST_SKIP() << "Windows has no SIGSTOP to freeze the server with";
}
#endif
}  // namespace
}  // namespace mv
