// SQL literals of the utilities stand-in: exact texts, and the engines read them back as the
// values they stand for.
#include "platform/utilities/sql_encode.h"

#include <gtest/gtest.h>

#include "platform/odbc/recordset.h"
#include "platform/runtime_error.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

TEST(SqlEncodeTest, TextIsQuotedWithQuotesDoubled) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "''"},       {"A-100", "'A-100'"},       {"O'Neil", "'O''Neil'"},
      {"''", "''''''"}, {"Müller €", "'Müller €'"}, {"a\\b", "'a\\b'"},
  };
  for (const auto& [text, literal] : cases) EXPECT_EQ(SQLEncodeString(text), literal) << text;
}

TEST(SqlEncodeTest, TextThatIsNotUtf8IsRefused) {
  for (const std::string text : {"\xFF", "ab\xC3", "\xC3\x28'"}) {
    try {
      SQLEncodeString(text);
      ADD_FAILURE() << "encoded invalid text";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), 5);
      EXPECT_EQ(error.Description(), "Invalid procedure call or argument");
    }
  }
}

TEST(SqlEncodeTest, LongsAreDecimalDigits) {
  EXPECT_EQ(SQLEncodeLong(0), "0");
  EXPECT_EQ(SQLEncodeLong(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(SQLEncodeLong(2147483647), "2147483647");
}

TEST(SqlEncodeTest, DatesAreQuotedIsoTexts) {
  EXPECT_EQ(SQLEncodeDate({2001, 2, 3, 4, 5, 6}), "'2001-02-03T04:05:06'");
  EXPECT_EQ(SQLEncodeDate({1899, 12, 30, 0, 0, 0}), "'1899-12-30T00:00:00'");
}

TEST(SqlEncodeDatabaseTest, EnginesReadTheLiteralsBackAsTheirValues) {
  testing::TestDatabase database;
  const auto connection = database.Connect();
  const bool sqlite = database.GetEngine() == setup::Engine::Sqlite;
  connection->Execute(std::string("CREATE TABLE literals (name VARCHAR(50), number INTEGER, "
                                  "moment ") +
                      (sqlite ? "DATETIME" : "TIMESTAMP") + ")");
  const DateTime moment{2002, 12, 31, 23, 59, 58};
  connection->Execute("INSERT INTO literals (name, number, moment) VALUES (" +
                      SQLEncodeString("O'Neil € ''") + ", " + SQLEncodeLong(-2147483647 - 1) +
                      ", " + SQLEncodeDate(moment) + ")");
  Recordset row(*connection, "SELECT name, number, moment FROM literals");
  EXPECT_EQ(row.Field("name").AsString(), "O'Neil € ''");
  EXPECT_EQ(row.Field("number").ToLong(), -2147483647 - 1);
  EXPECT_EQ(row.Field("moment").AsDate(), moment);
}

}  // namespace
}  // namespace mv
