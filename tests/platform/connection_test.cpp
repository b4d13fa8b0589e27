// Connections on the real engines: statement rewriting, transactions and error texts.
#include "platform/odbc/connection.h"

#include <gtest/gtest.h>

#include "driver/convert_functions.h"
#include "platform/odbc/recordset.h"
#include "platform/runtime_error.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

using testing::TestDatabase;

long CountRows(Connection& connection, const std::string& table) {
  Recordset rows(connection, "select * from " + table);
  return rows.RecordCount();
}

TEST(ConnectionTest, SelectTopReturnsOneRowOnEveryEngine) {
  TestDatabase database;
  auto connection = database.Connect();
  connection->Execute("create table numbers (n integer)");
  for (int i = 1; i <= 3; ++i)
    connection->Execute("insert into numbers (n) values (" + std::to_string(i) + ")");
  Recordset top(*connection, "select top 1 * from numbers");
  EXPECT_EQ(top.RecordCount(), 1);
}

TEST(ConnectionTest, TopIsRewrittenOnlyAtTheStartOfASelect) {
  TestDatabase database;
  auto connection = database.Connect();
  EXPECT_EQ(connection->ForEngine("select top 1 * from orderline"),
            "select * from orderline limit 1");
  EXPECT_EQ(connection->ForEngine("SELECT TOP 25 a, b FROM t WHERE x = 'top 3'"),
            "SELECT a, b FROM t WHERE x = 'top 3' limit 25");
  EXPECT_EQ(connection->ForEngine("select * from topics"), "select * from topics");
  EXPECT_EQ(connection->ForEngine("delete from t where name = 'select top 1 x'"),
            "delete from t where name = 'select top 1 x'");
}

TEST(ConnectionTest, RolledBackTransactionLeavesNothingAndCommittedOneStays) {
  TestDatabase database;
  auto connection = database.Connect();
  connection->Execute("create table items (id integer)");
  {
    Transaction transaction(*connection);
    connection->Execute("insert into items (id) values (1)");
  }
  EXPECT_EQ(CountRows(*connection, "items"), 0);
  {
    Transaction transaction(*connection);
    connection->Execute("insert into items (id) values (2)");
    transaction.Commit();
  }
  EXPECT_EQ(CountRows(*connection, "items"), 1);
  connection->Execute("insert into items (id) values (3)");
  EXPECT_EQ(CountRows(*database.Connect(), "items"), 2) << "autocommit is back after a transaction";
}

TEST(ConnectionTest, NonAsciiTextInAStatementReachesTheTable) {
  TestDatabase database;
  auto connection = database.Connect();
  connection->Execute("create table names (name varchar(40))");
  connection->Execute("insert into names (name) values ('Müller € Ærø')");
  Recordset rows(*connection, "select * from names where name = 'Müller € Ærø'");
  ASSERT_EQ(rows.RecordCount(), 1);
  EXPECT_EQ(rows.Field("name").AsString(), "Müller € Ærø");
}

TEST(ConnectionTest, FailingStatementGivesOneLineDescriptionAndANumber) {
  TestDatabase database;
  auto connection = database.Connect();
  try {
    connection->Execute("select * from no_such_table");
    FAIL() << "expected an error";
  } catch (const RuntimeError& error) {
    EXPECT_NE(error.Number(), 0);
    EXPECT_NE(error.Description().find("no_such_table"), std::string::npos) << error.Description();
    EXPECT_EQ(error.Description().find_first_of("\r\n\t"), std::string::npos);
    EXPECT_EQ(error.SqlState().size(), 5u) << error.SqlState();
  }
}

TEST(ConnectionTest, FailedConnectNeverShowsThePassword) {
  const std::string password = "Secret;Pass}word";
  try {
    if (setup::EngineFromEnvironment() == setup::Engine::Sqlite) {
      OpenConnection("localhost", "sa", password, "/no/such/folder/x.db");
    } else {
      OpenConnection("127.0.0.1", "nobody_here", password, "no_such_database");
    }
    FAIL() << "expected an error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description().find("Secret"), std::string::npos) << error.Description();
    EXPECT_FALSE(error.Description().empty());
  }
}

TEST(ConnectionTest, AConnectionStringTooLongForTheDriverIsRefused) {
  // 32,768 characters would reach the driver as a negative 16-bit length.
  const std::string connectionString = "Driver={SQL Server};Extra=" + std::string(32768, 'x');
  try {
    Connection connection(connectionString, kLoginTimeoutSeconds, kQueryTimeoutSeconds);
    FAIL() << "expected an error";
  } catch (const RuntimeError& error) {
    EXPECT_NE(error.Description().find("too long"), std::string::npos) << error.Description();
  }
}

}  // namespace
}  // namespace mv
