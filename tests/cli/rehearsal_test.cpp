// vantrel-migrate --rehearse: the target, its identity counters and the configuration store
// stay as they were, and the summary counts what the real run that follows then does.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "driver/convert_functions.h"
#include "tests/cli/shop.h"
#include "tests/converters/parameters/instance_database.h"
#include "tests/support/converter_run.h"
#include "tests/support/copied_tables.h"
#include "tests/support/recording_message_display.h"

namespace mv::testing {
namespace {

constexpr const char* kStore = "instance/VantrelConfiguration.xml";

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

/// Everything of the shop that a rehearsal must leave as it found it, one text each.
std::vector<std::string> StateOf(const Shop& shop) {
  std::vector<std::string> state;
  const auto target = shop.target.Connect();
  std::vector<std::string> tables(kCopiedTables.begin(), kCopiedTables.end());
  tables.insert(tables.end(), {"BASKETHEADER", "BASKETLINE", "orderheader", "orderline"});
  for (const std::string& table : tables) {
    const long rows = CountRows(*target, table);
    state.push_back(table + ": " + std::to_string(rows) + " rows");
  }
  // The parameters update the rows that are there.
  for (auto rows = OpenRecordset(*target, "select * from ORDEREXPORTFILE"); !rows->Eof();
       rows->MoveNext()) {
    std::string row = "ORDEREXPORTFILE:";
    for (const std::string& name : rows->FieldNames()) {
      row += " " + (rows->Field(name).IsNull() ? "<null>" : rows->Field(name).ToText());
    }
    state.push_back(row);
  }
  state.push_back("zones counter: " + Counter(*target, "zones", "zoneid"));
  state.push_back("freightgroup counter: " + Counter(*target, "freightgroup", "freightgroupid"));
  state.push_back("store: " + ReadFileBytes(shop.folder_.File(kStore)));
  state.push_back("real log: " + shop.Log());
  return state;
}

/// The summary's counts of `migration` by label.
std::map<std::string, long> Summary(const std::string& out, const std::string& migration) {
  std::map<std::string, long> counts;
  bool inMigration = false;
  for (const std::string& line : Lines(out)) {
    if (line.rfind("  ", 0) != 0) {
      inMigration = line == migration;
    } else if (inMigration) {
      size_t labelAt = 0;
      const long count = std::stol(line, &labelAt);
      counts[line.substr(labelAt + 2)] = count;
    }
  }
  return counts;
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
  const std::vector<std::string> before = StateOf(shop);

  const ChildResult rehearsal = shop.Migrate({"--all", "--rehearse"});
  EXPECT_EQ(StateOf(shop), before) << rehearsal.out;
  EXPECT_NE(ReadFileBytes(shop.folder_.File(kStore + std::string(".rehearsal"))),
            ReadFileBytes(shop.folder_.File(kStore)));

  const ChildResult real = shop.Migrate({"--all"});
  EXPECT_EQ(real.status, rehearsal.status);
  EXPECT_EQ(DatesMasked(Lines(ReadFileBytes(shop.folder_.File("Vantrel23Rehearsal.log")))),
            DatesMasked(Lines(shop.Log())));
  auto baskets = Summary(rehearsal.out, "Migrate Baskets");
  auto orders = Summary(rehearsal.out, "Migrate Submitted Orders");
  auto parameters = Summary(rehearsal.out, "Migrate Parameters");
  auto copy = Summary(rehearsal.out, "Copy Remaining Data");
  EXPECT_EQ(baskets["would be converted"],
            LoggedCount(shop, " saved baskets copied/converted to "));
  EXPECT_EQ(orders["would be converted"], LoggedCount(shop, " order were converted."));
  long refused = 0;  // as the real run counts them: already converted ones are not
  for (const auto& [what, count] : orders) {
    if (what != "would be converted" && what != "refused: already converted") refused += count;
  }
  EXPECT_EQ(refused, LoggedCount(shop, " order were NOT converted."));
  std::vector<long> rehearsedRows;
  for (const char* table : kCopiedTables)
    rehearsedRows.push_back(copy["rows of " + std::string(table)]);
  EXPECT_EQ(rehearsedRows, CopiedTableCounts(shop.target));
  EXPECT_EQ(parameters["ORDEREXPORTFILE rows added"], 1);

  // Over the migrated shop: everything is already there, and still nothing changes.
  const std::vector<std::string> migrated = StateOf(shop);
  const ChildResult again = shop.Migrate({"--all", "--rehearse"});
  EXPECT_EQ(StateOf(shop), migrated);
  EXPECT_EQ(Summary(again.out, "Migrate Baskets")["refused: already converted"],
            baskets["would be converted"]);
  EXPECT_EQ(Summary(again.out, "Migrate Submitted Orders")["refused: already converted"],
            orders["would be converted"]);
  EXPECT_EQ(Summary(again.out, "Copy Remaining Data")["already filled: zones"], 1);
  EXPECT_EQ(Summary(again.out, "Migrate Parameters")["ORDEREXPORTFILE rows updated"], 1);
}

}  // namespace
}  // namespace mv::testing
