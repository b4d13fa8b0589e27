// vantrel-migrate when its files fail: a log that fills the disk mid-run, a report that cannot be
// written, and the report of a run that a failed check ended.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "driver/global_convert.h"
#include "tests/cli/shop.h"
#include "tests/support/converter_run.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/small_disk.h"
#include "tools/sample_data/basket_samples.h"
#include "tools/sample_data/order_samples.h"
#include "tools/setup/wine_host.h"

namespace mv::testing {
namespace {

/// Room on the disk for the first groups' log lines: 600 units log some 30 to 40 KB.
constexpr std::size_t kRoom = 8192;

/// A migration whose log meets a full disk after its first groups.
struct FullLogCase {
  const char* name;
  void (*fill)(samples::SampleDatabases&, const samples::SampleOptions&);
  const char* option;
  const char* migration;
  const char* table;  // one row per unit converted
  friend void PrintTo(const FullLogCase& c, std::ostream* out) { *out << c.name; }
};

class FullLogTest : public ::testing::TestWithParam<FullLogCase> {};

TEST_P(FullLogTest, SaysTheDiskIsFullAndCountsTheCommittedGroups) {
  const FullLogCase& c = GetParam();
  SmallDisk disk;
  if (!disk.Missing().empty()) GTEST_SKIP() << disk.Missing();
  Shop shop;
  shop.FillSampleSet(c.fill, 600);
  const std::string log = disk.File("Vantrel23Conversion.log");
  const std::string report = shop.folder_.File("report.json");
  disk.FillLeaving(kRoom);

  const ChildResult run = shop.Migrate({c.option, "--log=" + log, "--report=" + report},
                                       {{"VANTREL_GROUP_SIZE", "20"}});

  EXPECT_EQ(run.status, 1);
  const long committed = CountRows(*shop.target.Connect(), c.table);
  EXPECT_GT(committed, 0);
  EXPECT_LT(committed, 600);
  EXPECT_EQ(Summary(run.out, c.migration)["converted"], committed) << run.out;
  EXPECT_EQ(ReportCounts(report, c.migration)["converted"], committed);
  const std::string logged = ReadFileBytes(log);
  EXPECT_TRUE(logged.ends_with("\r\n")) << "a line was cut";
  // Said in the log when the line fits in what the cut-back write freed, else on standard error.
  const std::string reason = "No space left on device: the file '" + log + "' cannot be written";
  EXPECT_NE((logged + run.err).find(reason), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Migrations, FullLogTest,
    ::testing::Values(FullLogCase{"Baskets", samples::FillBasketSamples, "--baskets",
                                  "Migrate Baskets", "BASKETHEADER"},
                      FullLogCase{"SubmittedOrders", samples::FillOrderSamples, "--orders",
                                  "Migrate Submitted Orders", "orderheader"}),
    [](const auto& info) { return std::string(info.param.name); });

/// A report that cannot be written after a run that succeeded.
struct ReportFailureCase {
  const char* name;
  const char* report;  // on the shop's folder, or on a full disk
  bool fullDisk;
  const char* reason;  // the system's, as Linux says it
  friend void PrintTo(const ReportFailureCase& c, std::ostream* out) { *out << c.name; }
};

class ReportFailureTest : public ::testing::TestWithParam<ReportFailureCase> {};

TEST_P(ReportFailureTest, EndsWithStatus1AndTheSystemsReason) {
  const ReportFailureCase& c = GetParam();
  Shop shop;
  SmallDisk disk;
  std::string report = shop.folder_.File(c.report);
  if (c.fullDisk) {
    if (!disk.Missing().empty()) GTEST_SKIP() << disk.Missing();
    report = disk.File(c.report);
    disk.FillLeaving(0);
  }
  std::filesystem::create_directory(shop.folder_.File("folder.json"));

  const ChildResult run = shop.Migrate({"--copy", "--report=" + setup::HostFileName(report)});

  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> err = Lines(run.err);
  ASSERT_EQ(err.size(), 1u) << run.err;
  const std::string said = "The report could not be written: ";
  EXPECT_TRUE(err[0].starts_with(said)) << err[0];
#ifndef _WIN32  // Windows words its reasons in its own way
  EXPECT_TRUE(err[0].starts_with(said + c.reason)) << err[0];
#endif
  EXPECT_EQ(err[0].find("Permission denied"), std::string::npos) << err[0];
}

INSTANTIATE_TEST_SUITE_P(Report, ReportFailureTest,
                         ::testing::Values(ReportFailureCase{"MissingFolder", "missing/report.json",
                                                             false, "Path not found"},
                                           ReportFailureCase{"FolderInItsPlace", "folder.json",
                                                             false, "Is a directory"},
                                           ReportFailureCase{"FullDisk", "report.json", true,
                                                             "No space left on device"}),
                         [](const auto& info) { return std::string(info.param.name); });

/// A run that a failed check ends, and the messages its report keeps, as the operator saw them;
/// an expected text ending in "*" is the start of the text.
struct FailedCheckCase {
  const char* name;
  std::vector<std::string> arguments;
  std::vector<std::string> texts;
  std::vector<bool> reasons;  // whether each message has a reason
  friend void PrintTo(const FailedCheckCase& c, std::ostream* out) { *out << c.name; }
};

class FailedCheckTest : public ::testing::TestWithParam<FailedCheckCase> {};

TEST_P(FailedCheckTest, TheReportKeepsTheMessagesShown) {
  const FailedCheckCase& c = GetParam();
  Shop shop;
  const std::string report = shop.folder_.File("report.json");
  std::vector<std::string> arguments = c.arguments;
  arguments.push_back("--report=" + setup::HostFileName(report));

  const ChildResult run = shop.Migrate(arguments);

  EXPECT_EQ(run.status, 2);
  const nlohmann::json json = nlohmann::json::parse(ReadFileBytes(report));
  EXPECT_EQ(json["exitStatus"], 2);
  EXPECT_EQ(json["migrations"][0]["result"], "not run");
  ASSERT_EQ(json["messages"].size(), c.texts.size()) << json.dump(2);
  for (size_t i = 0; i < c.texts.size(); ++i) {
    const std::string text = json["messages"][i]["text"];
    const std::string reason = json["messages"][i]["reason"];
    const std::string& expected = c.texts[i];
    if (expected.ends_with('*')) {
      EXPECT_TRUE(text.starts_with(expected.substr(0, expected.size() - 1))) << text;
    } else {
      EXPECT_EQ(text, expected);
    }
    EXPECT_EQ(!reason.empty(), c.reasons[i]) << text << ": " << reason;
    // What standard error showed.
    const std::string shown = reason.empty() ? text : text + ": " + reason;
    EXPECT_NE(run.err.find(shown), std::string::npos) << run.err;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Checks, FailedCheckTest,
    ::testing::Values(FailedCheckCase{"EmptyTargetServer",
                                      {"--copy", "--target-server="},
                                      {"Please enter a Target Database Server", kConversionFailed},
                                      {false, false}},
                      FailedCheckCase{"UnknownDriver",
                                      {"--copy", "--odbc-keywords=Driver={No Such Driver}"},
                                      {"Cannot connect to Source Database (*",
                                       "Cannot connect to Target Database (*", kConversionFailed},
                                      {true, true, false}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mv::testing
