// The shared helpers: field check, connection string, connection test and the log file.
#include "driver/convert_functions.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/odbc/row_reader.h"
#include "platform/runtime_error.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

using testing::ReadFileBytes;
using testing::RecordingMessageDisplay;
using testing::TempFolder;
using testing::TestDatabase;

/// A parameterised case's test name: its description with every other character than a
/// letter or digit as '_'.
template <typename Info>
std::string CaseName(const Info& info) {
  std::string name = info.param.what;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

struct FieldCase {
  const char* what;
  std::array<std::string, 6> fields;  // servers, users, databases: source then target
  std::vector<std::string> messages;
  friend void PrintTo(const FieldCase& c, std::ostream* out) { *out << c.what; }
};

class ValidateFieldsTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(ValidateFieldsTest, FirstEmptyOnly) {
  const FieldCase& c = GetParam();
  RecordingMessageDisplay messages;
  std::vector<std::string> failures;
  const bool result = ValidateFields(c.fields[0], c.fields[1], c.fields[2], c.fields[3],
                                     c.fields[4], c.fields[5], messages, failures);
  EXPECT_EQ(result, c.messages.empty());
  EXPECT_EQ(messages.messages, c.messages);
  EXPECT_EQ(failures, c.messages) << "the log line is the message alone";
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ValidateFieldsTest,
    ::testing::Values(FieldCase{"all filled", {"s", "t", "su", "tu", "sd", "td"}, {}},
                      FieldCase{"blank counts as filled", {" ", " ", " ", " ", " ", " "}, {}},
                      FieldCase{"source server and target user empty",
                                {"", "t", "su", "", "sd", "td"},
                                {"Please enter a Source Database Server"}},
                      FieldCase{"target server",
                                {"s", "", "su", "tu", "sd", "td"},
                                {"Please enter a Target Database Server"}},
                      FieldCase{"source user",
                                {"s", "t", "", "tu", "sd", "td"},
                                {"Please enter a Source Database User"}},
                      FieldCase{"target user",
                                {"s", "t", "su", "", "sd", "td"},
                                {"Please enter a TargetDatabase User"}},
                      FieldCase{"source database",
                                {"s", "t", "su", "tu", "", "td"},
                                {"Please enter a Source Database Name"}},
                      FieldCase{"target database",
                                {"s", "t", "su", "tu", "sd", ""},
                                {"Please enter a Target Database Name"}}),
    CaseName<::testing::TestParamInfo<FieldCase>>);

struct ValueCase {
  const char* what;
  std::string value;
  std::optional<std::string> fault;
  friend void PrintTo(const ValueCase& c, std::ostream* out) { *out << c.what; }
};

class ConnectionValueFaultTest : public ::testing::TestWithParam<ValueCase> {};

// Every connection string is built from checked values: the value that the check refuses
// never reaches a driver.
TEST_P(ConnectionValueFaultTest, NamesTheFaultAndKeepsTheValueFromEveryConnectionString) {
  const ValueCase& c = GetParam();
  EXPECT_EQ(ConnectionValueFault(c.value), c.fault);
  if (c.fault) {
    EXPECT_THROW(BuildConnectionString("s", "u", "p", c.value, {}), RuntimeError);
    EXPECT_THROW(BuildConnectionString("s", "u", "p", "d", {{"App", c.value}}), RuntimeError);
  }
}

const std::string kControl = "holds a control character";

INSTANTIATE_TEST_SUITE_P(
    Values, ConnectionValueFaultTest,
    ::testing::Values(ValueCase{"empty", "", std::nullopt},
                      ValueCase{"1000 characters of two bytes each",
                                [] {
                                  std::string text;
                                  for (int i = 0; i < 1000; ++i) text += "\u00e9";
                                  return text;
                                }(),
                                std::nullopt},
                      ValueCase{"1001 characters", std::string(1001, 'x'),
                                "is longer than 1000 characters"},
                      ValueCase{"NUL", std::string("tgt.db\0junk", 11), kControl},
                      ValueCase{"line feed", "a\nb", kControl}, ValueCase{"DEL", "a\x7f", kControl},
                      ValueCase{"C1 control", "a\u0085", kControl},
                      ValueCase{"cut UTF-8 sequence", "a\xc3", "is not valid UTF-8 text"}),
    CaseName<::testing::TestParamInfo<ValueCase>>);

TEST(ValidateValuesTest, NamesTheFirstRefusedValueInConnectionOrderAndPassesEmptyOnes) {
  ConnectionValues values{"", "u", "p", "d", "t", "u", "pw\n", "x\x01"};
  RecordingMessageDisplay messages;
  std::vector<std::string> failures;
  EXPECT_FALSE(ValidateValues(values, messages, failures));
  EXPECT_EQ(messages.messages,
            std::vector<std::string>{"The Target Database Password holds a control character."});
  EXPECT_EQ(failures, messages.messages);
  values.TPassword = values.TDB = "";
  EXPECT_TRUE(ValidateValues(values, messages, failures));
}

TEST(BuildConnectionStringTest, OrdinaryValuesArePlacedVerbatim) {
  EXPECT_EQ(BuildConnectionString("srv\\inst", "sa", "", "Shop22"),
            "driver={SQL Server};server=srv\\inst;uid=sa;pwd=;database=Shop22");
  EXPECT_EQ(BuildConnectionString("s", "u", "p=w'd\"", "d b"),
            "driver={SQL Server};server=s;uid=u;pwd=p=w'd\";database=d b");
}

TEST(BuildConnectionStringTest, ValuesThatWouldBreakTheStringAreBraced) {
  EXPECT_EQ(BuildConnectionString("s", "u", "a;b}c", "d"),
            "driver={SQL Server};server=s;uid=u;pwd={a;b}}c};database=d");
  EXPECT_EQ(BuildConnectionString("s", "u", "{x", " d "),
            "driver={SQL Server};server=s;uid=u;pwd={{x};database={ d }");
}

struct KeywordsCase {
  const char* what;
  OdbcKeywords keywords;
  std::string connectionString;
  friend void PrintTo(const KeywordsCase& c, std::ostream* out) { *out << c.what; }
};

class BuildWithKeywordsTest : public ::testing::TestWithParam<KeywordsCase> {};

TEST_P(BuildWithKeywordsTest, KeepsTheProgramsOrder) {
  EXPECT_EQ(BuildConnectionString("db1", "shop", "p;w", "Shop22", GetParam().keywords),
            GetParam().connectionString);
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, BuildWithKeywordsTest,
    ::testing::Values(
        KeywordsCase{
            "none", {}, "driver={SQL Server};server=db1;uid=shop;pwd={p;w};database=Shop22"},
        KeywordsCase{"driver replaced where the program names it, the others appended in order",
                     {{"Encrypt", "yes"},
                      {"DRIVER", "ODBC Driver 18 for SQL Server"},
                      {"TrustServerCertificate", "yes"}},
                     "driver={ODBC Driver 18 for SQL Server};server=db1;uid=shop;pwd={p;w};"
                     "database=Shop22;Encrypt=yes;TrustServerCertificate=yes"},
        KeywordsCase{"values braced again as the string needs them",
                     {{"Driver", "odd}name"}, {"App", "a;b"}, {"Trusted_Connection", "no"}},
                     "driver={odd}}name};server=db1;uid=shop;pwd={p;w};database=Shop22;"
                     "App={a;b};Trusted_Connection=no"}),
    CaseName<::testing::TestParamInfo<KeywordsCase>>);

TEST(BuildConnectionStringTest, TakesTheChosenKeywordsOverTheEnvironments) {
  const testing::ScopedEnvironmentVariable variable(kOdbcKeywordsVariable, "Encrypt=yes");
  EXPECT_EQ(BuildConnectionString("s", "u", "", "d"),
            "driver={SQL Server};server=s;uid=u;pwd=;database=d;Encrypt=yes");
  {
    const ChosenOdbcKeywords chosen(OdbcKeywords{{"Encrypt", "no"}});
    EXPECT_EQ(BuildConnectionString("s", "u", "", "d"),
              "driver={SQL Server};server=s;uid=u;pwd=;database=d;Encrypt=no");
  }
  EXPECT_EQ(BuildConnectionString("s", "u", "", "d"),
            "driver={SQL Server};server=s;uid=u;pwd=;database=d;Encrypt=yes");
}

/// A server that cannot be reached on this engine: a file in a missing folder for SQLite, a
/// loopback address where nothing listens for PostgreSQL.
setup::DatabaseAddress Unreachable() {
  if (setup::EngineFromEnvironment() == setup::Engine::Sqlite) {
    return {"nowhere", "sa", "", "/no/such/folder/shop.db"};
  }
  return {"127.0.0.2", "postgres", "", "shop"};
}

ConnectionValues Values(const setup::DatabaseAddress& s, const setup::DatabaseAddress& t) {
  return {s.server, s.user, s.password, s.database, t.server, t.user, t.password, t.database};
}

TEST(TestConnectionsTest, BothReachableShowsNothing) {
  TestDatabase source, target;
  RecordingMessageDisplay messages;
  std::vector<std::string> failures;
  EXPECT_TRUE(TestConnections(Values(source.Address(), target.Address()), messages, failures));
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_TRUE(failures.empty());
}

TEST(TestConnectionsTest, UnreachableSourceStillTestsTheTarget) {
  TestDatabase target;
  RecordingMessageDisplay messages;
  std::vector<std::string> failures;
  EXPECT_FALSE(TestConnections(Values(Unreachable(), target.Address()), messages, failures));
  const std::string message = "Cannot connect to Source Database (" + Unreachable().server + ")";
  EXPECT_EQ(messages.messages, std::vector<std::string>{message});
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].substr(0, message.size() + 2), message + ": ");
}

TEST(TestConnectionsTest, BothUnreachableShowsSourceThenTarget) {
  RecordingMessageDisplay messages;
  std::vector<std::string> failures;
  EXPECT_FALSE(TestConnections(Values(Unreachable(), Unreachable()), messages, failures));
  const std::string server = Unreachable().server;
  EXPECT_EQ(messages.messages,
            (std::vector<std::string>{"Cannot connect to Source Database (" + server + ")",
                                      "Cannot connect to Target Database (" + server + ")"}));
}

class OpenConnectionTest : public ::testing::TestWithParam<bool> {};

TEST_P(OpenConnectionTest, ThePasswordNeverShowsInTheDriversReason) {
  // A password that is a word of the driver's own message stands in for a driver that
  // echoes it: SQLite says "connect failed" for a missing folder, PostgreSQL "password
  // authentication failed" for the user "mig", who must give a password. It is the program's
  // pwd value, or the operator's Password keyword behind an empty pwd.
  const bool sqlite = setup::EngineFromEnvironment() == setup::Engine::Sqlite;
  const std::string password = sqlite ? "connect" : "authentication";
  const bool amongKeywords = GetParam();
  const ChosenOdbcKeywords chosen(amongKeywords ? OdbcKeywords{{"Password", password}}
                                                : OdbcKeywords{});
  const std::string pwd = amongKeywords ? "" : password;
  try {
    if (sqlite) {
      OpenConnection("localhost", "sa", pwd, "/no/such/folder/shop.db");
    } else {
      OpenConnection(TestDatabase().Address().server, "mig", pwd, "postgres");
    }
    FAIL() << "expected the connection to fail";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description().find(password), std::string::npos) << error.Description();
    EXPECT_NE(error.Description().find("**** failed"), std::string::npos) << error.Description();
  }
}

INSTANTIATE_TEST_SUITE_P(Passwords, OpenConnectionTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "AmongTheKeywords" : "TheProgramsOwn";
                         });

TEST(OpenConnectionTest, AnAddedKeywordReachesTheDriver) {
  // Keywords that make a connection that works fail: SQLite's NoCreat refuses to create the
  // missing database file, PostgreSQL's Port points where no server listens.
  TempFolder folder;
  TestDatabase database;
  const bool sqlite = database.GetEngine() == setup::Engine::Sqlite;
  const setup::DatabaseAddress at =
      sqlite ? setup::DatabaseAddress{"localhost", "sa", "", folder.File("new.db")}
             : database.Address();
  const OdbcKeywords refusing{sqlite ? odbc::ConnectionKeyword{"NoCreat", "1"}
                                     : odbc::ConnectionKeyword{"Port", "1"}};
  {
    const ChosenOdbcKeywords chosen(refusing);
    EXPECT_THROW(OpenConnection(at.server, at.user, at.password, at.database), RuntimeError);
  }
  EXPECT_NO_THROW(OpenConnection(at.server, at.user, at.password, at.database)->Close());
}

TEST(OpenSourceConnectionTest, HandsRowsOverAsTheyAreFetched) {
  // The last of many rows fails: a driver that holds a query's whole result fails at the
  // execute, one that streams hands the rows before it over first.
  TestDatabase database;
  const bool sqlite = database.GetEngine() == setup::Engine::Sqlite;
  const auto writer = database.Connect();
  writer->Execute("create table numbers (n integer)");
  writer->Execute(
      "insert into numbers (n) with recursive c(n) as "
      "(select 1 union all select n + 1 from c where n < 20000) select n from c");
  const std::string failingLast =
      sqlite ? "abs(case when n = 20000 then -9223372036854775808 else n end)"
             : "case when n = 20000 then 1 / (n - 20000) else n end";
  const setup::DatabaseAddress& at = database.Address();
  const auto source = OpenSourceConnection(at.server, at.user, at.password, at.database);
  RowReader rows(*source, "select " + failingLast + " as n from numbers");
  ASSERT_TRUE(rows.Next());
  EXPECT_EQ(rows.Row().Field("n").ToLong(), 1);
  const auto readTheRest = [&rows] {
    while (rows.Next()) continue;
  };
  EXPECT_THROW(readTheRest(), RuntimeError);
}

TEST(OpenLogStreamTest, CreatesTheFileThenAppends) {
  TempFolder folder;
  const std::string path = folder.File("Vantrel23Conversion.log");
  RecordingMessageDisplay messages;
  OpenLogStream(path, messages)->WriteLine("one");
  EXPECT_EQ(ReadFileBytes(path), "one\r\n");
  OpenLogStream(path, messages)->WriteLine("two");
  EXPECT_EQ(ReadFileBytes(path), "one\r\ntwo\r\n");
  EXPECT_TRUE(messages.messages.empty());
}

TEST(OpenLogStreamTest, UnopenableLogShowsOneMessageAndGivesNoStream) {
  TempFolder folder;
  RecordingMessageDisplay messages;
  EXPECT_EQ(OpenLogStream(folder.File("missing/Vantrel23Conversion.log"), messages), nullptr);
  EXPECT_EQ(OpenLogStream(folder.File(""), messages), nullptr) << "a folder is no file";
  EXPECT_EQ(messages.messages,
            std::vector<std::string>(
                2, "Error Occurred: Logfile could not opened. Check rights on the folder."));
}

}  // namespace
}  // namespace mv
