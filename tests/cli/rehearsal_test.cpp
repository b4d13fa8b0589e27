// vantrel-migrate --rehearse: the target, its identity counters and the configuration store
// stay as they were, and the summary counts what the real run that follows then does.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "driver/convert_functions.h"
#include "tests/cli/shop.h"
#include "tests/converters/parameters/instance_database.h"
#include "tests/support/copied_tables.h"
#include "tests/support/recording_message_display.h"

namespace mv::testing {
namespace {

/// Everything of the shop that a rehearsal must leave as it found it.
struct ShopState {
  std::vector<long> rows;                // the target tables the migrations write
  std::vector<std::string> exportFiles;  // ORDEREXPORTFILE's rows, which the parameters update
  std::vector<std::string> counters;     // the identity counters of zones and freightgroup
  std::string store;
  std::string realLog;
  bool operator==(const ShopState&) const = default;
};

void PrintTo(const ShopState& state, std::ostream* os) {
  *os << "rows " << ::testing::PrintToString(state.rows) << ", ORDEREXPORTFILE "
      << ::testing::PrintToString(state.exportFiles) << ", counters "
      << ::testing::PrintToString(state.counters) << ", store of " << state.store.size()
      << " bytes, real log of " << state.realLog.size() << " bytes";
}

std::string FirstValue(Connection& connection, const std::string& sql) {
  const auto rows = OpenRecordset(connection, sql);
  return rows->Eof() ? "" : rows->Field(rows->FieldNames().front()).ToText();
}

std::string Counter(Connection& target, const std::string& table, const std::string& key) {
  if (target.EngineName() == "SQLite") {
    return FirstValue(target, "select seq from sqlite_sequence where name = '" + table + "'");
  }
  const std::string sequence =
      FirstValue(target, "select pg_get_serial_sequence('" + table + "', '" + key + "')");
  return FirstValue(target,
                    "select cast(last_value as varchar(20)) || ' ' || "
                    "cast(is_called as varchar(5)) from " +
                        sequence);
}

ShopState StateOf(const Shop& shop) {
  ShopState state;
  state.rows = CopiedTableCounts(shop.target);
  const auto target = shop.target.Connect();
  for (const char* table : {"BASKETHEADER", "BASKETLINE", "orderheader", "orderline"}) {
    state.rows.push_back(
        OpenRecordset(*target, std::string("select * from ") + table)->RecordCount());
  }
  const auto exportFiles = OpenRecordset(*target, "select * from ORDEREXPORTFILE");
  for (; !exportFiles->Eof(); exportFiles->MoveNext()) {
    std::string row;
    for (const std::string& name : exportFiles->FieldNames()) {
      row +=
          exportFiles->Field(name).IsNull() ? "<null>|" : exportFiles->Field(name).ToText() + "|";
    }
    state.exportFiles.push_back(row);
  }
  state.counters.push_back(Counter(*target, "zones", "zoneid"));
  state.counters.push_back(Counter(*target, "freightgroup", "freightgroupid"));
  state.store = ReadFileBytes(shop.folder_.File("instance/VantrelConfiguration.xml"));
  state.realLog = shop.Log();
  return state;
}

/// The summary lines of `migration` as label and count.
std::vector<std::pair<std::string, long>> Summary(const std::string& out,
                                                  const std::string& migration) {
  std::vector<std::pair<std::string, long>> counts;
  bool inMigration = false;
  for (const std::string& line : Lines(out)) {
    if (line.rfind("  ", 0) != 0) {
      inMigration = line == migration;
    } else if (inMigration) {
      size_t labelAt = 0;
      const long count = std::stol(line, &labelAt);
      counts.emplace_back(line.substr(labelAt + 2), count);
    }
  }
  return counts;
}

/// The count of the summary line `label` of `migration`; -1 when the summary has none.
long Count(const std::string& out, const std::string& migration, const std::string& label) {
  for (const auto& [what, count] : Summary(out, migration)) {
    if (what == label) return count;
  }
  return -1;
}

/// The number that opens the real log's line ending in `ending`.
long LoggedCount(const Shop& shop, const std::string& ending) {
  for (const std::string& line : Lines(shop.Log())) {
    if (line.find(ending) != std::string::npos) return std::stol(line);
  }
  return -1;
}

TEST(RehearsalTest, WritesNothingAndCountsWhatTheRealRunThenDoes) {
  InstanceDatabase kestrine(InstanceDatabase::State::Reachable);
  kestrine.AddInstance(4, 1);
  Shop shop;
  shop.FillSamples(12);
  const ShopState before = StateOf(shop);

  const ChildResult rehearsal = shop.Migrate({"--all", "--rehearse"});
  EXPECT_EQ(StateOf(shop), before) << rehearsal.out;
  EXPECT_NE(ReadFileBytes(shop.folder_.File("instance/VantrelConfiguration.xml.rehearsal")),
            before.store);

  const ChildResult real = shop.Migrate({"--all"});
  EXPECT_EQ(real.status, rehearsal.status);
  EXPECT_EQ(DatesMasked(Lines(ReadFileBytes(shop.folder_.File("Vantrel23Rehearsal.log")))),
            DatesMasked(Lines(shop.Log())));
  const char* baskets = "Migrate Baskets";
  const char* orders = "Migrate Submitted Orders";
  EXPECT_EQ(Count(rehearsal.out, baskets, "would be converted"),
            LoggedCount(shop, " saved baskets copied/converted to "));
  EXPECT_EQ(Count(rehearsal.out, orders, "would be converted"),
            LoggedCount(shop, " order were converted."));
  long refused = 0;  // as the real run counts them: already converted ones are not
  for (const auto& [what, count] : Summary(rehearsal.out, orders)) {
    if (what != "would be converted" && what != "refused: already converted") refused += count;
  }
  EXPECT_EQ(refused, LoggedCount(shop, " order were NOT converted."));
  const std::vector<long> copied = CopiedTableCounts(shop.target);
  for (size_t i = 0; i < kCopiedTables.size(); ++i) {
    EXPECT_EQ(
        Count(rehearsal.out, "Copy Remaining Data", std::string("rows of ") + kCopiedTables[i]),
        copied[i])
        << kCopiedTables[i];
  }
  EXPECT_EQ(Count(rehearsal.out, "Migrate Parameters", "ORDEREXPORTFILE rows added"), 1);

  // Over the migrated shop: everything is already there, and still nothing changes.
  const ShopState migrated = StateOf(shop);
  const ChildResult again = shop.Migrate({"--all", "--rehearse"});
  EXPECT_EQ(StateOf(shop), migrated);
  EXPECT_EQ(Count(again.out, baskets, "refused: already converted"),
            Count(rehearsal.out, baskets, "would be converted"));
  EXPECT_EQ(Count(again.out, orders, "refused: already converted"),
            Count(rehearsal.out, orders, "would be converted"));
  EXPECT_EQ(Count(again.out, "Copy Remaining Data", "already filled: zones"), 1);
  EXPECT_EQ(Count(again.out, "Migrate Parameters", "ORDEREXPORTFILE rows updated"), 1);
}

}  // namespace
}  // namespace mv::testing
