// vantrel-migrate as scripts run it: its options, exit statuses and output lines, passwords
// from the environment, and Ctrl-C during a long copy.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "driver/convert_functions.h"
#include "driver/global_convert.h"
#include "driver/run_progress.h"
#include "driver/run_tally.h"
#include "driver/window_paths.h"
#include "tests/cli/shop.h"
#include "tests/support/converter_run.h"
#include "tests/support/copied_tables.h"
#include "tests/support/recording_message_display.h"
#include "tools/sample_data/copydata_samples.h"
#include "tools/sample_data/order_samples.h"
#include "tools/setup/wine_host.h"

namespace mv::testing {
namespace {

bool Postgres() { return setup::EngineFromEnvironment() == setup::Engine::Postgresql; }

std::string FirstLine(const std::string& text) {
  const auto lines = Lines(text);
  return lines.empty() ? "" : lines.front();
}

struct UsageCase {
  const char* name;
  std::vector<std::string> arguments;
  int status;
  std::string out;  // the first line of each stream
  std::string err;
  friend void PrintTo(const UsageCase& c, std::ostream* out) { *out << c.name; }
};

class UsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageTest, AnswersOnTheRightStreamWithItsStatus) {
  const UsageCase& c = GetParam();
  const ChildResult run = RunChild(kVantrelMigrate, c.arguments);
  EXPECT_EQ(run.status, c.status);
  EXPECT_EQ(FirstLine(run.out), c.out);
  EXPECT_EQ(FirstLine(run.err), c.err);
}

INSTANTIATE_TEST_SUITE_P(
    Options, UsageTest,
    ::testing::Values(
        UsageCase{"Help",
                  {"--help"},
                  0,
                  "Usage: vantrel-migrate [OPTION]... --baskets|--orders|--parameters|--copy|--all",
                  ""},
        UsageCase{"ResumeWithoutCopy",
                  {"--orders", "--resume-copy"},
                  2,
                  "",
                  "vantrel-migrate: option '--resume-copy' needs the copy: add --copy or --all"},
        UsageCase{"NoPasswordOption",
                  {"--copy", "--source-password=secret"},
                  2,
                  "",
                  "vantrel-migrate: unrecognized option '--source-password=secret'"},
        UsageCase{"NoMigration",
                  {"--source-db=shop.db"},
                  2,
                  "",
                  "vantrel-migrate: choose the migrations to run: --baskets, --orders, "
                  "--parameters, --copy or --all"}),
    [](const auto& info) { return std::string(info.param.name); });

/// A run on a shop whose settings file names its databases; "{server}" in an expected line
/// stands for the source server, "{missing}" in an argument for a database that cannot be
/// reached, "{file}" for a file of the shop. An expected line ending in "*" is the start of
/// the line.
struct RunCase {
  const char* name;
  std::vector<std::string> arguments;
  std::vector<std::string> targetStatements;
  int status;
  std::vector<std::string> out;
  std::vector<std::string> err;
  friend void PrintTo(const RunCase& c, std::ostream* out) { *out << c.name; }
};

class RunTest : public ::testing::TestWithParam<RunCase> {};

std::string Filled(std::string text, const std::string& placeholder, const std::string& value) {
  for (size_t at; (at = text.find(placeholder)) != std::string::npos;) {
    text.replace(at, placeholder.size(), value);
  }
  return text;
}

/// `lines` without the run's summary, from "This run did:" to the "Log: " line.
std::vector<std::string> WithoutSummary(std::vector<std::string> lines) {
  const auto from = std::find(lines.begin(), lines.end(), kRunHeading);
  const auto to = std::find_if(from, lines.end(),
                               [](const std::string& line) { return line.rfind("Log: ", 0) == 0; });
  if (to != lines.end()) lines.erase(from, to + 1);
  return lines;
}

/// True when each line equals its expected line, or starts with it where that ends in "*".
bool MatchLines(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
  if (lines.size() != expected.size()) return false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& e = expected[i];
    const bool prefix = !e.empty() && e.back() == '*';
    if (prefix ? lines[i].rfind(e.substr(0, e.size() - 1), 0) != 0 : lines[i] != e) return false;
  }
  return true;
}

TEST_P(RunTest, PrintsTheWindowsTexts) {
  const RunCase& c = GetParam();
  Shop shop;
  shop.source.Connect()->Execute("insert into zones values (5, 'Domestic', 'Home country')");
  for (const std::string& statement : c.targetStatements) shop.target.Connect()->Execute(statement);
  const std::string settings = shop.Settings();
  const std::string missing = Postgres()
                                  ? "mv_no_such_database"
                                  : setup::HostFileName(shop.folder_.File("missing/source.db"));
  std::vector<std::string> arguments;
  const std::string aFile = setup::HostFileName(shop.ConfigurationPath());
  for (const std::string& argument : c.arguments) {
    arguments.push_back(Filled(Filled(argument, "{missing}", missing), "{file}", aFile));
  }
  std::vector<std::string> err;
  for (const std::string& line : c.err) {
    err.push_back(Filled(line, "{server}", shop.source.Address().server));
  }

  const ChildResult run = shop.Migrate(arguments);

  EXPECT_EQ(run.status, c.status);
  EXPECT_EQ(WithoutSummary(Lines(run.out)), c.out);
  // No password was asked for: standard input is no terminal.
  EXPECT_TRUE(MatchLines(Lines(run.err), err)) << run.err;
  EXPECT_EQ(shop.Settings(), settings);
}

INSTANTIATE_TEST_SUITE_P(
    ExitStatuses, RunTest,
    ::testing::Values(
        RunCase{"CopySucceeds",
                {"--copy"},
                {},
                0,
                {"Copy Remaining Data   (Busy)", "Copy Remaining Data   (Done, No Errors Found)",
                 kConversionSucceeded},
                {}},
        RunCase{"CopyFindsAFilledTable",
                {"--copy"},
                {"insert into zones (ZONENAME) values ('Existing')"},
                1,
                {"Copy Remaining Data   (Busy)", "Copy Remaining Data   (Done, Errors Found)"},
                {kConversionFailed,
                 "Table zones is already filled, so the copy wrote nothing: a copy that an "
                 "earlier run left unfinished goes on with --resume-copy."}},
        RunCase{"CopyFindsALaterTableFilled",
                {"--copy"},
                {"insert into countriesbyzone values (1, 'XX')"},
                1,
                {"Copy Remaining Data   (Busy)", "Copy Remaining Data   (Done, Errors Found)"},
                {kConversionFailed}},
        RunCase{"EmptyTargetServerGiven",
                {"--copy", "--target-server="},
                {},
                2,
                {},
                {"Please enter a Target Database Server",
                 "Give --target-server=NAME, or fill line 2 of *", kConversionFailed}},
        RunCase{"UnreachableSourceGiven",
                {"--source-db", "{missing}", "--copy"},
                {},
                2,
                {},
                {"Cannot connect to Source Database ({server}): *",
                 "Check --source-server, --source-user and --source-db (lines 1, 3 and 5 of *",
                 kConversionFailed}},
        RunCase{"LogThatCannotBeWritten",
                {"--copy", "--log={file}/Vantrel23Conversion.log"},
                {},
                2,
                {},
                {"Error Occurred: Logfile could not opened. Check rights on the folder.: *",
                 "The log *"}}),
    [](const auto& info) { return std::string(info.param.name); });

/// A connection value or settings line that no connection could use, or a run that cannot
/// start: refused with status 2 before any connection is tried, any log opened or any file
/// written. "{tdb}" stands for the target database, "{settings}" for the settings file and
/// "{log}" for a log of the shop's; `line` replaces line `settingsLine` of the settings file.
struct RefusedCase {
  const char* name;
  std::vector<std::string> arguments;
  EnvironmentChanges environment;
  int settingsLine;  // 1 to 6, or 0 to leave the file as it is
  std::string line;
  std::vector<std::string> err;
  bool rawBytes = false;  // the case hands on bytes that are no UTF-8, which Windows converts
  friend void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.name; }
};

class RefusedTest : public ::testing::TestWithParam<RefusedCase> {};

/// The names of the files in `folder` and below.
std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    names.push_back(entry.path().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void ReplaceSettingsLine(const Shop& shop, int number, const std::string& line) {
  std::vector<std::string> lines = Lines(shop.Settings());
  lines.at(static_cast<size_t>(number - 1)) = line;
  std::ofstream file(std::filesystem::path(shop.folder_.File("Vantrel23Convert.INI")),
                     std::ios::binary);
  for (const std::string& text : lines) file << text << "\r\n";
}

TEST_P(RefusedTest, RefusedBeforeAnyConnectionLogOrFile) {
  const RefusedCase& c = GetParam();
#ifdef _WIN32
  if (c.rawBytes) GTEST_SKIP() << "Windows hands a program its arguments as UTF-16";
#endif
  Shop shop;
  const std::string tdb = ValuesFor(shop.source, shop.target).TDB;
  const std::string log = shop.folder_.File("elsewhere.log");
  if (c.settingsLine != 0) ReplaceSettingsLine(shop, c.settingsLine, Filled(c.line, "{tdb}", tdb));
  std::vector<std::string> arguments;
  for (const std::string& argument : c.arguments) {
    arguments.push_back(Filled(Filled(argument, "{tdb}", tdb), "{log}", log));
  }
  const std::string settingsFile = WindowPathsFor(shop.ConfigurationPath()).sIniFileName;
  std::vector<std::string> err;
  for (const std::string& line : c.err) err.push_back(Filled(line, "{settings}", settingsFile));
  const std::string settings = shop.Settings();
  const std::vector<std::string> files = FilesIn(shop.folder_.Path());

  const ChildResult run = shop.Migrate(arguments, c.environment);

  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(MatchLines(Lines(run.err), err)) << run.err;
  EXPECT_EQ(run.err.find("secret"), std::string::npos);
  EXPECT_EQ(shop.Settings(), settings);
  // No log (the run opens it before it connects), nor any other file.
  EXPECT_EQ(FilesIn(shop.folder_.Path()), files);
  EXPECT_EQ(CountRows(*shop.target.Connect(), "zones"), 0);
}

const std::string kOptionHint = " as text of at most 1000 characters, without control characters.";
const std::string kLineHint =
    " of {settings} as text of at most 1000 characters, without control characters, or empty it "
    "and give ";

INSTANTIATE_TEST_SUITE_P(
    Values, RefusedTest,
    ::testing::Values(
        RefusedCase{"OptionWithAControlCharacter",
                    {"--copy", "--target-db={tdb}\x01junk"},
                    {},
                    0,
                    "",
                    {"The Target Database Name holds a control character.",
                     "Give --target-db=NAME" + kOptionHint}},
        RefusedCase{"OptionNotUtf8",
                    {"--copy", "--source-server=db\xff"},
                    {},
                    0,
                    "",
                    {"The Source Database Server is not valid UTF-8 text.",
                     "Give --source-server=NAME" + kOptionHint},
                    true},
        RefusedCase{"OptionTooLong",
                    {"--copy", "--target-db={tdb}" + std::string(1000, 'x')},
                    {},
                    0,
                    "",
                    {"The Target Database Name is longer than 1000 characters.",
                     "Give --target-db=NAME" + kOptionHint}},
        RefusedCase{"PasswordWithATab",
                    {"--copy"},
                    {{"VANTREL_TARGET_PASSWORD", "secret\tword"}},
                    0,
                    "",
                    {"The Target Database Password holds a control character.",
                     "Give the password in VANTREL_TARGET_PASSWORD, or when asked," + kOptionHint}},
        RefusedCase{"SettingsLineWithANul",
                    {"--copy"},
                    {},
                    6,
                    std::string("{tdb}\0junk", 10),
                    {"Line 6 (target database) of '{settings}' holds a control character.",
                     "Correct line 6" + kLineHint + "--target-db=NAME."}},
        RefusedCase{"SettingsLineWithACarriageReturn",
                    {"--copy", "--source-user=given"},
                    {},
                    3,
                    "us\rer",
                    {"Line 3 (source user) of '{settings}' holds a control character.",
                     "Correct line 3" + kLineHint + "--source-user=NAME."}},
        RefusedCase{"SettingsLineNotUtf8",
                    {"--copy"},
                    {{"LC_ALL", "C.UTF-8"}},
                    5,
                    "shop\xc3(",
                    {"Line 5 (source database) of '{settings}' is not valid text in the file's "
                     "encoding (UTF-8).",
                     "Correct line 5" + kLineHint + "--source-db=NAME."},
                    true},
        RefusedCase{"SettingsLineTooLong",
                    {"--copy"},
                    {},
                    2,
                    std::string(1001, 'x'),
                    {"Line 2 (target server) of '{settings}' is longer than 1000 characters.",
                     "Correct line 2" + kLineHint + "--target-server=NAME."}},
        RefusedCase{"ParametersWithALogButNoInstallation",
                    {"--all", "--log={log}"},
                    {{"VANTREL_CONFIGURATION", std::nullopt}},
                    0,
                    "",
                    {"The configuration component has no installation path: set the environment "
                     "variable VANTREL_CONFIGURATION to the full path of the installation's "
                     "configuration file.",
                     "The parameter migration writes the configuration store that the "
                     "installation names: --log does not stand in for VANTREL_CONFIGURATION."}}),
    [](const auto& info) { return std::string(info.param.name); });

/// A run with ODBC keywords from the option, the environment or both. A driver that is not
/// registered shows which setting reached the driver manager: named by the program's own
/// "SQL Server" before it, it would go unused.
struct KeywordsCase {
  const char* name;
  std::vector<std::string> arguments;
  std::optional<std::string> variable;
  int status;
  std::vector<std::string> err;  // as RunCase's
  friend void PrintTo(const KeywordsCase& c, std::ostream* out) { *out << c.name; }
};

class KeywordsTest : public ::testing::TestWithParam<KeywordsCase> {};

TEST_P(KeywordsTest, ReachTheDriverOrRefuseTheRunBeforeAnyConnection) {
  const KeywordsCase& c = GetParam();
  Shop shop;
  std::vector<std::string> arguments{"--copy"};
  arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());

  const ChildResult run = shop.Migrate(arguments, {{"VANTREL_ODBC_KEYWORDS", c.variable}});

  EXPECT_EQ(run.status, c.status);
  std::vector<std::string> err;
  for (const std::string& line : c.err) {
    err.push_back(Filled(line, "{server}", shop.source.Address().server));
  }
  EXPECT_TRUE(MatchLines(Lines(run.err), err)) << run.err;
  EXPECT_EQ((run.out + run.err).find("secret"), std::string::npos);
}

const std::string kNoSuchDriver = "Driver={No Such Driver};Encrypt=yes";
const std::string kTryHelp = "Try 'vantrel-migrate --help' for more information.";

INSTANTIATE_TEST_SUITE_P(
    OptionAndVariable, KeywordsTest,
    ::testing::Values(
        KeywordsCase{
            "VariableNamesTheDriver",
            {},
            kNoSuchDriver,
            2,
            {"Cannot connect to Source Database ({server}): *", "Check *",
             "Cannot connect to Target Database ({server}): *", "Check *", kConversionFailed}},
        KeywordsCase{"OptionWinsOverTheVariable",
                     {"--odbc-keywords=DRIVER={SQL Server}"},
                     kNoSuchDriver,
                     0,
                     {}},
        KeywordsCase{
            "OptionWinsOverAMalformedVariable", {"--odbc-keywords", ""}, "pwd=secret", 0, {}},
        KeywordsCase{"MalformedOptionRefused",
                     {"--odbc-keywords=Encrypt=yes;Password=secret}"},
                     std::nullopt,
                     2,
                     {"vantrel-migrate: option '--odbc-keywords': the value of 'Password=****' "
                      "holds a brace: enclose the value in {...}, '}' doubled",
                      kTryHelp}},
        KeywordsCase{"MalformedVariableRefused",
                     {},
                     "Driver={SQL Server};PWD=secret",
                     2,
                     {"vantrel-migrate: VANTREL_ODBC_KEYWORDS: 'PWD=****' repeats 'pwd', which "
                      "the program sets from the connection values",
                      kTryHelp}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PasswordTest, PasswordFromTheEnvironmentReachesTheServerAndNoOutputOrFile) {
  const std::string password = "Env-Pa55-word";
  Shop shop;
  std::vector<std::string> arguments{"--copy"};
  if (Postgres()) {
    // The throwaway server asks "mig", and only "mig", for a password.
    const auto server = shop.source.Connect();
    server->Execute(
        "do $$ begin create role mig login; exception when duplicate_object then null; end $$");
    server->Execute("alter role mig password '" + password + "'");
    server->Execute("grant select on all tables in schema public to mig");
    arguments.push_back("--source-user=mig");
  }

  const ChildResult run = shop.Migrate(
      arguments, {{"VANTREL_SOURCE_PASSWORD", password}, {"VANTREL_TARGET_PASSWORD", password}});

  EXPECT_EQ(run.status, 0) << run.err;
  std::string everything = run.out + run.err;
  for (const auto& file : std::filesystem::recursive_directory_iterator(shop.folder_.Path())) {
    if (file.is_regular_file()) everything += ReadFileBytes(file.path().string());
  }
  EXPECT_EQ(everything.find("Pa55"), std::string::npos);
  if (Postgres()) {
    const ChildResult refused = shop.Migrate(arguments, {{"VANTREL_SOURCE_PASSWORD", "wrong"}});
    EXPECT_EQ(refused.status, 2);
    const std::vector<std::string> lines = Lines(refused.err);
    ASSERT_GE(lines.size(), 2u) << refused.err;
    EXPECT_EQ(lines[0].rfind(
                  "Cannot connect to Source Database (" + shop.source.Address().server + "): ", 0),
              0u);
    EXPECT_NE(lines[0].find("password authentication failed"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1].rfind("Check --source-server, --source-user and --source-db", 0), 0u);
    EXPECT_NE(lines[1].find("VANTREL_SOURCE_PASSWORD"), std::string::npos);
    EXPECT_EQ(refused.err.find("wrong"), std::string::npos);
  }
}

TEST(InterruptTest, CtrlCStopsBetweenTablesAndAResumedCopyCompletes) {
  Shop shop;
  shop.FillSampleSet(samples::FillCopyDataSamples, 8000);
  const std::vector<long> full = CopiedTableCounts(shop.source);
  ChildProcess copy(kVantrelMigrate, {"--copy"}, shop.Environment());
  ASSERT_TRUE(copy.WaitForOutput("Copy Remaining Data   (Busy)\n"));
  // Once the first table has arrived, the copy is in the middle of the list.
  const auto target = shop.target.Connect();
  while (OpenRecordset(*target, "select * from zones")->RecordCount() == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!copy.Interrupt()) {
    GTEST_SKIP() << "The system sends no console event to the child: Wine's "
                    "GenerateConsoleCtrlEvent fails for a process without a console window";
  }
  const ChildResult stopped = copy.Finish();

  EXPECT_EQ(stopped.status, 1);
  EXPECT_EQ(WithoutSummary(Lines(stopped.out)),
            (std::vector<std::string>{"Copy Remaining Data   (Busy)",
                                      "Copy Remaining Data   (Done, Errors Found)"}));
  EXPECT_EQ(Lines(stopped.err),
            (std::vector<std::string>{
                "Stopping after the unit being written; press Ctrl-C again to end at once.",
                kConversionFailed}));
  EXPECT_EQ(Lines(shop.Log()).back(), kStoppedByOperator);
  // Whole tables only, from the first on: each holds all its rows or none.
  const std::vector<long> kept = CopiedTableCounts(shop.target);
  size_t copied = 0;
  while (copied < kept.size() && kept[copied] == full[copied]) ++copied;
  EXPECT_GE(copied, 1u);
  EXPECT_LT(copied, kept.size());
  for (size_t i = copied; i < kept.size(); ++i) EXPECT_EQ(kept[i], 0) << i;

  const ChildResult resumed = shop.Migrate({"--copy", "--resume-copy"});
  EXPECT_EQ(resumed.status, 0) << resumed.err;
  EXPECT_EQ(CopiedTableCounts(shop.target), full);
}

#ifndef _WIN32  // Windows sends no SIGTERM or SIGHUP to another program
/// The line count of each order in `database`, "ORDERID:lines", in key order.
std::vector<std::string> LinesPerOrder(const TestDatabase& database) {
  std::vector<std::string> orders;
  const auto connection = database.Connect();
  for (auto rows =
           OpenRecordset(*connection,
                         "select h.ORDERID as id, count(l.ORDERID) as lines from orderheader "
                         "h left join orderline l on l.ORDERID = h.ORDERID group by "
                         "h.ORDERID order by h.ORDERID");
       !rows->Eof(); rows->MoveNext()) {
    orders.push_back(rows->Field("id").ToText() + ":" + rows->Field("lines").ToText());
  }
  return orders;
}

TEST(SignalTest, TerminationStopsAfterTheGroupAndASecondSignalEndsAtOnce) {
  Shop shop;
  shop.FillSampleSet(samples::FillOrderSamples, 3000);
  EnvironmentChanges environment = shop.Environment();
  environment["VANTREL_GROUP_SIZE"] = "10";
  const auto waitForOrders = [&shop](long atLeast) {
    const auto target = shop.target.Connect();
    while (CountRows(*target, "orderheader") < atLeast) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  };

  ChildProcess terminated(kVantrelMigrate, {"--orders"}, environment);
  waitForOrders(1);
  ASSERT_TRUE(terminated.Signal(SIGTERM));
  const ChildResult stopped = terminated.Finish();
  EXPECT_EQ(stopped.status, 1) << stopped.err;
  const std::vector<std::string> log = Lines(shop.Log());
  EXPECT_NE(std::find(log.begin(), log.end(), kStoppedByOperator), log.end()) << shop.Log();
  // Whole orders only: each converted one has all the lines it has in the source.
  const std::vector<std::string> source = LinesPerOrder(shop.source);
  const std::vector<std::string> kept = LinesPerOrder(shop.target);
  EXPECT_LT(kept.size(), source.size());
  for (const std::string& order : kept) {
    EXPECT_NE(std::find(source.begin(), source.end(), order), source.end()) << order;
  }

  ChildProcess ended(kVantrelMigrate, {"--orders"}, environment);
  waitForOrders(static_cast<long>(kept.size()) + 1);
  ASSERT_TRUE(ended.Signal(SIGHUP) && ended.Signal(SIGTERM));
  EXPECT_EQ(ended.Finish().status, 130);
}

TEST(TerminalTest, ProgressLinesFitA40ColumnTerminal) {
  if (!std::filesystem::exists("/usr/bin/script")) GTEST_SKIP() << "no /usr/bin/script for a pty";
  Shop shop;
  shop.FillSampleSet(samples::FillCopyDataSamples, 2000);
  // script(1) runs the command on a pseudo-terminal and copies what it shows to standard output.
  const ChildResult run = RunChild(
      "/usr/bin/script",
      {"-qfec", "stty cols 40; exec " + std::string(kVantrelMigrate) + " --copy", "/dev/null"},
      shop.Environment());

  EXPECT_EQ(run.status, 0) << run.out;
  // A progress line is drawn on an erased line and erased again by the next one; a whole line
  // that follows an erased progress line ends with a line end instead.
  const std::string erase = "\r\x1b[K";
  const std::regex counts("^([^:]+: )?[0-9][0-9,]* of [0-9][0-9,]*( |,|$)");
  int progressLines = 0;
  int countLines = 0;
  for (size_t at = run.out.find(erase); at != std::string::npos;) {
    const size_t start = at + erase.size();
    at = run.out.find(erase, start);
    const std::string shown = run.out.substr(start, at - start);
    if (shown.empty() || shown.find('\n') != std::string::npos) continue;
    ++progressLines;
    EXPECT_LE(shown.size(), 39u) << shown;
    // A migration's line keeps its counts whole however narrow; only the line that says
    // where the run connects may be cut.
    if (shown.starts_with("Connecting")) continue;
    ++countLines;
    EXPECT_TRUE(std::regex_search(shown, counts)) << shown;
  }
  EXPECT_GT(progressLines, 0) << run.out;
  EXPECT_GT(countLines, 0) << run.out;
}
#endif

}  // namespace
}  // namespace mv::testing
