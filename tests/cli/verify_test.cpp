// vantrel-migrate --verify over a migrated shop: everything equal at first, then each change made
// to the target found and named, on standard error and in the report, and nothing written.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "driver/convert_functions.h"
#include "driver/run_progress.h"
#include "platform/unicode.h"
#include "tests/cli/shop.h"
#include "tests/converters/parameters/instance_database.h"
#include "tests/support/converter_run.h"
#include "tests/support/copied_tables.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/scoped_environment.h"
#include "tools/sample_data/order_samples.h"
#include "tools/setup/wine_host.h"

namespace mv::testing {
namespace {

constexpr const char* kBaskets = "Migrate Baskets";
constexpr const char* kOrders = "Migrate Submitted Orders";
constexpr const char* kParameters = "Migrate Parameters";
constexpr const char* kCopy = "Copy Remaining Data";

class VerifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shop_.FillSamples(12);
    shop_.Migrate({"--all"});
  }

  /// Verifies the migrations `chosen` (by default the baskets and the orders).
  ChildResult Verify(std::vector<std::string> chosen = {"--baskets", "--orders"}) {
    chosen.insert(
        chosen.end(),
        {"--verify", "--report=" + setup::HostFileName(shop_.folder_.File("verify.json"))});
    return shop_.Migrate(chosen);
  }
  nlohmann::json VerifySection(size_t migration) const {
    const nlohmann::json report =
        nlohmann::json::parse(ReadFileBytes(shop_.folder_.File("verify.json")));
    return report["migrations"][migration]["verify"];
  }
  std::string FirstValue(const std::string& sql) const {
    const auto rows = OpenRecordset(*shop_.target.Connect(), sql);
    return rows->Field(rows->FieldNames().front()).ToText();
  }

  InstanceDatabase kestrine_{InstanceDatabase::State::Reachable};
  Shop shop_;
};

/// The line of `text` that starts with `start`; empty when there is none.
std::string LineStarting(const std::string& text, const std::string& start) {
  for (const std::string& line : Lines(text)) {
    if (line.starts_with(start)) return line;
  }
  return "";
}

TEST_F(VerifyTest, FindsEverythingEqualAfterTheRunAndListsTheRefusals) {
  const std::string logBefore = shop_.Log();
  const ChildResult verified = Verify();
  EXPECT_EQ(verified.status, 0) << verified.out << verified.err;
  EXPECT_TRUE(LineStarting(verified.out, std::string(kBaskets) + ": ")
                  .find(" equal, 0 different, 0 missing, 0 extra") != std::string::npos)
      << verified.out;
  EXPECT_TRUE(LineStarting(verified.out, std::string(kOrders) + ": ")
                  .find(" equal, 0 different, 0 missing, 0 extra") != std::string::npos)
      << verified.out;
  const nlohmann::json baskets = VerifySection(0);
  const nlohmann::json orders = VerifySection(1);
  EXPECT_GT(baskets["counts"]["equal"].get<long>(), 0);
  EXPECT_GT(orders["counts"]["equal"].get<long>(), 0);
  EXPECT_EQ(baskets["counts"]["refused: validation failure"], 1);
  EXPECT_EQ(
      orders["counts"]["refused: order is NewlySubmitted. So this order cannot be converted yet."],
      1);
  for (const auto& finding : orders["findings"]) {
    EXPECT_TRUE(finding["label"].get<std::string>().starts_with("refused: ")) << finding;
  }
  // The log keeps what it held, followed by the verification's sections.
  const std::string log = shop_.Log();
  EXPECT_TRUE(log.starts_with(logBefore));
  EXPECT_NE(log.find("Verification of Stored Baskets:", logBefore.size()), std::string::npos);
  EXPECT_NE(log.find("Verification of Submitted Orders:", logBefore.size()), std::string::npos);
}

TEST_F(VerifyTest, NamesAMissingBasketADifferentValueAndAnExtraOrder) {
  const std::string basket = FirstValue("select BASKETID from BASKETHEADER order by BASKETID");
  const std::string order = FirstValue("select ORDERID from orderline order by ORDERID");
  const std::string line =
      FirstValue("select LINENR from orderline where ORDERID = '" + order + "' order by LINENR");
  const std::string unitCode = FirstValue("select UNITCODE from orderline where ORDERID = '" +
                                          order + "' and LINENR = " + line);
  {
    const auto target = shop_.target.Connect();
    target->Execute("delete from BASKETLINE where BASKETID = '" + basket + "'");
    target->Execute("delete from BASKETHEADER where BASKETID = '" + basket + "'");
    target->Execute("update orderline set UNITCODE = 'XX' where ORDERID = '" + order +
                    "' and LINENR = " + line);
    target->Execute("insert into orderheader (ORDERID) values ('ORD-EXTRA')");
  }
  // Groups of a few units, so that the target's rows are matched over several queries.
  const ScopedEnvironmentVariable groups("VANTREL_GROUP_SIZE", "5");
  const ChildResult verified = Verify();
  EXPECT_EQ(verified.status, 1) << verified.out << verified.err;
  EXPECT_EQ(LineStarting(verified.err, std::string(kBaskets) + ": missing"),
            std::string(kBaskets) + ": missing " + basket);
  EXPECT_EQ(LineStarting(verified.err, std::string(kOrders) + ": different"),
            std::string(kOrders) + ": different " + order + ": orderline.UNITCODE of line " + line +
                " is 'XX', would be '" + unitCode + "'")
      << verified.err;
  EXPECT_EQ(LineStarting(verified.err, std::string(kOrders) + ": extra"),
            std::string(kOrders) + ": extra ORD-EXTRA");
  EXPECT_EQ(VerifySection(0)["counts"]["missing"], 1);
  EXPECT_EQ(VerifySection(1)["counts"]["different"], 1);
  EXPECT_EQ(VerifySection(1)["counts"]["extra"], 1);
}

TEST_F(VerifyTest, NamesEachParameterValueThatDiffersAndWritesNoStore) {
  const std::string store = shop_.folder_.File("instance/VantrelConfiguration.xml");
  const std::string storeBefore = ReadFileBytes(store);
  EXPECT_EQ(Verify({"--parameters"}).status, 0);
  {
    shop_.source.Connect()->Execute(
        "update SALESPARAMETER set PARAMVALUE = '7' where PARAMNAME = 'TaxSource'");
    shop_.target.Connect()->Execute("update ORDEREXPORTFILE set EDIFIELDSEPARATOR = 'X'");
  }
  const ChildResult verified = Verify({"--parameters"});
  EXPECT_EQ(verified.status, 1) << verified.out << verified.err;
  EXPECT_EQ(ReadFileBytes(store), storeBefore);
  const std::string differences = std::string(kParameters) + ": different ";
  EXPECT_TRUE(LineStarting(verified.err, differences + "GENERAL_PARAMETERS.TaxSource: is ")
                  .ends_with(", would be 7"))
      << verified.err;
  EXPECT_NE(verified.err.find(differences + "ORDEREXPORTFILE row of BISID 1: "
                                            "ORDEREXPORTFILE.EDIFIELDSEPARATOR is 'X', would be '"),
            std::string::npos)
      << verified.err;
  const nlohmann::json parameters = VerifySection(0);
  EXPECT_EQ(parameters["counts"]["different"], 2);
  EXPECT_GT(parameters["counts"]["equal"].get<long>(), 12);
}

TEST_F(VerifyTest, MatchesTheCopiedRowsThroughTheNewKeysAndNamesTheRowsNotThere) {
  const ChildResult all = Verify({"--all"});
  EXPECT_EQ(all.status, 0) << all.out << all.err;
  long copied = 0;
  for (const long rows : CopiedTableCounts(shop_.target)) copied += rows;
  EXPECT_EQ(VerifySection(3)["counts"]["equal"], copied);

  const std::string price =
      FirstValue("select FREIGHTPRICEID from freightprice order by FREIGHTPRICEID");
  {
    const auto target = shop_.target.Connect();
    target->Execute("update zones set ZONENAME = 'Renamed' where ZONEID = " +
                    FirstValue("select ZONEID from zones order by ZONEID"));
    target->Execute("delete from freightprice where FREIGHTPRICEID = " + price);
  }
  const ChildResult verified = Verify({"--copy"});
  EXPECT_EQ(verified.status, 1) << verified.out << verified.err;
  EXPECT_EQ(LineStarting(verified.out, std::string(kCopy) + ": "),
            std::string(kCopy) + ": " + std::to_string(copied - 2) +
                " equal, 1 different, 1 missing, 0 extra");
  // Column names as the engine reports them, in any letter case.
  const std::string findings = AsciiLowerCase(verified.err);
  EXPECT_TRUE(LineStarting(findings, "copy remaining data: different zones zoneid ")
                  .find(": zones.zonename is 'renamed', would be '") != std::string::npos)
      << verified.err;
  EXPECT_EQ(LineStarting(findings, "copy remaining data: missing"),
            "copy remaining data: missing freightprice freightpriceid " + price);
}

/// What ends a verification before its end, from outside the program.
struct EndingCase {
  const char* name;
  /// An SQLite database lives inside the process: its connection cannot be lost.
  bool needsAServer;
  /// Ends the verification `child` runs on `shop`; false when the system cannot.
  std::function<bool(const Shop& shop, ChildProcess& child)> end;
  /// The reason the verification gives; empty for any reason but a stop.
  std::string reason;
};

class VerificationEndingTest : public ::testing::TestWithParam<EndingCase> {
 protected:
  /// The rows of the orders' tables in the source and the target, which a verification leaves.
  std::vector<long> OrderRows() const {
    std::vector<long> rows;
    for (const TestDatabase* database : {&shop_.source, &shop_.target}) {
      const auto connection = database->Connect();
      for (const char* table : {"orderheader", "orderline"}) {
        rows.push_back(CountRows(*connection, table));
      }
    }
    return rows;
  }

  Shop shop_;
};

TEST_P(VerificationEndingTest, EndsItWithItsReasonAndExitStatus1WritingNothing) {
  if (GetParam().needsAServer && shop_.target.GetEngine() == setup::Engine::Sqlite) {
    GTEST_SKIP() << "an SQLite database lives inside the process";
  }
  shop_.FillSampleSet(samples::FillOrderSamples, 3000);
  ASSERT_EQ(shop_.Migrate({"--orders"}).status, 0);
  const std::vector<long> rows = OrderRows();
  EnvironmentChanges environment = shop_.Environment();
  environment["VANTREL_GROUP_SIZE"] = "5";
  ChildProcess verification(kVantrelMigrate, {"--orders", "--verify"}, environment);
  // The section's header is in the log as the verification begins.
  const auto givenUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (shop_.Log().find("Verification of Submitted Orders:") == std::string::npos) {
    ASSERT_LT(std::chrono::steady_clock::now(), givenUp) << "the verification never began";
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!GetParam().end(shop_, verification)) {
    verification.Finish();
    GTEST_SKIP() << "The system sends no console event to the child (Wine)";
  }
  const ChildResult ended = verification.Finish();

  EXPECT_EQ(ended.status, 1) << ended.out << ended.err;
  const std::string early = std::string(kOrders) + ": the verification ended early: ";
  const std::string reason = LineStarting(ended.err, early);
  ASSERT_FALSE(reason.empty()) << ended.err;
  if (GetParam().reason.empty()) {
    EXPECT_NE(reason, early + kStoppedByOperator);
  } else {
    EXPECT_EQ(reason, early + GetParam().reason);
  }
  EXPECT_NE(LineStarting(ended.out, std::string(kOrders) + ": ").find(" (ended early: "),
            std::string::npos)
      << ended.out;
  EXPECT_EQ(OrderRows(), rows);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, VerificationEndingTest,
    ::testing::Values(
        EndingCase{"StopByTheOperator", false,
                   [](const Shop&, ChildProcess& child) { return child.Interrupt(); },
                   kStoppedByOperator},
        // The server ends the sessions of the target, as a restart or a network failure would.
        EndingCase{"LostConnection", true,
                   [](const Shop& shop, ChildProcess&) {
                     // Until the verification has connected to the target.
                     const auto target = shop.target.Connect();
                     while (target
                                ->QueryValue("select count(pg_terminate_backend(pid, 10000)) "
                                             "from pg_stat_activity where datname = '" +
                                             shop.target.Address().database +
                                             "' and pid <> pg_backend_pid()")
                                .ToLong() == 0) {
                       std::this_thread::sleep_for(std::chrono::milliseconds(5));
                     }
                     return true;
                   },
                   ""}),
    [](const ::testing::TestParamInfo<EndingCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mv::testing
