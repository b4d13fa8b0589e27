// vantrel-migrate --rehearse: the target, its identity counters and the configuration store
// stay as they were, and the summary counts what the real run that follows then does; the
// real run's summary and its JSON report count the same.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <vector>

#include "driver/convert_functions.h"
#include "tests/cli/shop.h"
#include "tests/converters/parameters/instance_database.h"
#include "tests/support/converter_run.h"
#include "tests/support/copied_tables.h"
#include "tests/support/recording_message_display.h"
#include "tools/setup/wine_host.h"

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

/// The number that opens the real log's line ending in `ending`.
long LoggedCount(const Shop& shop, const std::string& ending) {
  for (const std::string& line : Lines(shop.Log())) {
    if (line.find(ending) != std::string::npos) return std::stol(line);
  }
  return -1;
}

/// The report of an --all run on the sample shop: every field the README lists, of its type.
void ExpectReportOfTheRun(const std::string& path, int status, bool rehearsal,
                          const std::vector<long>& copiedRows) {
  const nlohmann::json report = nlohmann::json::parse(ReadFileBytes(path));
  EXPECT_EQ(report["program"], "vantrel-migrate");
  EXPECT_TRUE(report["version"].is_string() && report["commit"].is_string());
  EXPECT_EQ(report["rehearsal"], rehearsal);
  EXPECT_EQ(report["stopped"], false);
  EXPECT_EQ(report["exitStatus"], status);
  EXPECT_TRUE(report["log"].get<std::string>().ends_with(rehearsal ? "Vantrel23Rehearsal.log"
                                                                   : "Vantrel23Conversion.log"));
  ASSERT_EQ(report["migrations"].size(), 4u);
  for (const auto& migration : report["migrations"]) {
    EXPECT_TRUE(
        migration["caption"].get<std::string>().starts_with(migration["name"].get<std::string>()));
    EXPECT_EQ(migration["result"], status == 0 ? "no errors" : "errors found");
    EXPECT_GE(migration["seconds"].get<double>(), 0.0);
    EXPECT_TRUE(migration["counts"].is_object() && migration["rowsPerTable"].is_object());
  }
  std::vector<long> rows;
  for (const char* table : kCopiedTables) {
    rows.push_back(report["migrations"][3]["rowsPerTable"].value(table, -1L));
  }
  EXPECT_EQ(rows, copiedRows);
}

TEST(RehearsalTest, WritesNothingAndCountsWhatTheRealRunThenDoes) {
  InstanceDatabase kestrine(InstanceDatabase::State::Reachable);
  kestrine.AddInstance(4, 1);
  Shop shop;
  shop.FillSamples(12);
  const std::vector<std::string> before = StateOf(shop);

  const auto reportArgument = [&](const std::string& name) {
    return "--report=" + setup::HostFileName(shop.folder_.File(name));
  };
  const ChildResult rehearsal =
      shop.Migrate({"--all", "--rehearse", reportArgument("rehearsal.json")});
  EXPECT_EQ(StateOf(shop), before) << rehearsal.out;
  EXPECT_NE(ReadFileBytes(shop.folder_.File(kStore + std::string(".rehearsal"))),
            ReadFileBytes(shop.folder_.File(kStore)));

  const ChildResult real = shop.Migrate({"--all", reportArgument("real.json")});
  EXPECT_EQ(real.status, rehearsal.status);
  const std::vector<long> copiedRows = CopiedTableCounts(shop.target);
  ExpectReportOfTheRun(shop.folder_.File("real.json"), real.status, false, copiedRows);
  ExpectReportOfTheRun(shop.folder_.File("rehearsal.json"), rehearsal.status, true, copiedRows);
  // The real run's summary says what the rehearsal said it would do.
  for (const char* migration : {"Migrate Baskets", "Migrate Submitted Orders", "Migrate Parameters",
                                "Copy Remaining Data"}) {
    auto rehearsed = Summary(rehearsal.out, migration);
    if (rehearsed.contains("would be converted")) {
      rehearsed["converted"] = rehearsed["would be converted"];
      rehearsed.erase("would be converted");
    }
    EXPECT_EQ(Summary(real.out, migration), rehearsed) << migration;
    EXPECT_EQ(ReportCounts(shop.folder_.File("real.json"), migration), Summary(real.out, migration))
        << migration;
  }
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
