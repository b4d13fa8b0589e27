// Strict results on the real engines: while a statement's result is unread, its connection
// refuses other commands as SQL Server does, and takes them again once the result is done.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/errors.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/recordset.h"
#include "platform/odbc/row_reader.h"
#include "platform/runtime_error.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

using testing::ScopedEnvironmentVariable;
using testing::TestDatabase;

/// A connection to a database whose table "numbers" holds three rows, with strict results on
/// or off for it.
class StrictResultsTest : public ::testing::Test {
 protected:
  void Connect(const std::optional<std::string>& strict) {
    const ScopedEnvironmentVariable variable("VANTREL_ODBC_STRICT_RESULTS", strict);
    connection_ = database_.Connect();
    connection_->Execute("create table numbers (n integer)");
    connection_->Execute("insert into numbers (n) values (1), (2), (3)");
  }

  /// A reader of "numbers" standing on its first row, the other two unread.
  std::unique_ptr<RowReader> ReaderOnFirstRow() {
    auto reader = std::make_unique<RowReader>(*connection_, "select n from numbers");
    EXPECT_TRUE(reader->Next());
    return reader;
  }

  TestDatabase database_;
  std::unique_ptr<Connection> connection_;
};

/// A command that SQL Server refuses while another statement's result is unread; `before`
/// runs before the reader opens.
struct CommandCase {
  const char* name;
  std::function<void(Connection&)> before;
  std::function<void(Connection&)> run;
};

class StrictCommandTest : public StrictResultsTest,
                          public ::testing::WithParamInterface<CommandCase> {};

TEST_P(StrictCommandTest, IsRefusedWhileAResultIsUnreadAndRunsOnceItIsReadToItsEnd) {
  Connect("1");
  GetParam().before(*connection_);
  const auto reader = ReaderOnFirstRow();
  try {
    GetParam().run(*connection_);
    FAIL() << "expected the connection to be busy";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.SqlState(), "HY000");
    EXPECT_EQ(error.Description(),
              "[Microsoft][ODBC SQL Server Driver]Connection is busy with results for another "
              "hstmt");
    EXPECT_EQ(error.Number(), errors::kGenericProviderError);
  }
  while (reader->Next()) {
  }
  EXPECT_NO_THROW(GetParam().run(*connection_));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, StrictCommandTest,
    ::testing::Values(
        CommandCase{"Statement", [](Connection&) {},
                    [](Connection& c) { c.Execute("insert into numbers (n) values (4)"); }},
        CommandCase{"Query", [](Connection&) {},
                    [](Connection& c) { Recordset(c, "select count(*) as n from numbers"); }},
        CommandCase{"Commit", [](Connection& c) { c.BeginTransaction(); },
                    [](Connection& c) { c.CommitTransaction(); }}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

TEST_F(StrictResultsTest, AReaderGoneBeforeItsEndLeavesTheConnectionFree) {
  Connect("1");
  ReaderOnFirstRow().reset();
  connection_->Execute("insert into numbers (n) values (4)");
  EXPECT_EQ(Recordset(*connection_, "select * from numbers").RecordCount(), 4);
}

TEST_F(StrictResultsTest, APreparedQueryRunsAgainOnceItsReaderIsGoneReadToItsEndOrNot) {
  Connect("1");
  const odbc::ColumnInfo column = RowReader(*connection_, "select n from numbers").Columns()[0];
  PreparedQuery query(*connection_, "select n from numbers where n >= ?");
  ASSERT_TRUE(RowReader(query, {{Variant::Long(2), column}}).Next());
  connection_->Execute("insert into numbers (n) values (4)");
  std::multiset<long> found;
  for (RowReader rows(query, {{Variant::Long(3), column}}); rows.Next();) {
    found.insert(rows.Row().FieldAt(0).ToLong());
  }
  EXPECT_EQ(found, (std::multiset<long>{3, 4}));
}

TEST_F(StrictResultsTest, WithoutTheVariableTheEngineRunsASecondStatement) {
  Connect(std::nullopt);
  const auto reader = ReaderOnFirstRow();
  connection_->Execute("insert into numbers (n) values (4)");
  EXPECT_TRUE(reader->Next());
}

/// A transaction's first statement, and whether a savepoint may follow it, as SQL Server's
/// implicit transactions have it.
struct FirstStatementCase {
  const char* name;
  const char* statement;
  bool beginsTheTransaction;
};

class SavepointRuleTest : public StrictResultsTest,
                          public ::testing::WithParamInterface<FirstStatementCase> {};

TEST_P(SavepointRuleTest, ASavepointNeedsAStatementThatBeganTheTransaction) {
  Connect("1");
  Transaction transaction(*connection_);
  if (*GetParam().statement) connection_->Execute(GetParam().statement);
  const auto mark = [&] { connection_->Execute("savepoint mv_try"); };
  if (GetParam().beginsTheTransaction) {
    EXPECT_NO_THROW(mark());
    return;
  }
  try {
    mark();
    FAIL() << "expected SQL Server's refusal of a savepoint outside a transaction";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 628);
    EXPECT_EQ(error.Description(),
              "[Microsoft][ODBC SQL Server Driver][SQL Server]Cannot issue SAVE TRANSACTION when "
              "there is no active transaction.");
  }
}

INSTANTIATE_TEST_SUITE_P(
    FirstStatements, SavepointRuleTest,
    ::testing::Values(FirstStatementCase{"Nothing", "", false},
                      FirstStatementCase{"BareValue", "select 1", false},
                      FirstStatementCase{"ReadOfATable", "select count(*) from numbers", true},
                      FirstStatementCase{"Insert", "insert into numbers (n) values (4)", true},
                      FirstStatementCase{"Update", "update numbers set n = n + 1", true}),
    [](const auto& info) { return std::string(info.param.name); });

/// What a transaction runs, through the program's own Savepoint, under the savepoint rule.
TEST_F(StrictResultsTest, TheFirstPointOfATransactionIsTheTransactionItself) {
  Connect("1");
  {
    Transaction transaction(*connection_);
    {
      Savepoint first(*connection_);  // nothing has begun the transaction: no savepoint sent
      connection_->Execute("insert into numbers (n) values (4)");
      Savepoint second(*connection_);  // a savepoint the server keeps
      connection_->Execute("insert into numbers (n) values (5)");
      second.Undo();
      first.Keep();
    }
    {
      Savepoint undone(*connection_);  // begun: a savepoint
      connection_->Execute("insert into numbers (n) values (6)");
    }
    transaction.Commit();
  }
  {
    Transaction transaction(*connection_);
    Savepoint first(*connection_);
    connection_->Execute("insert into numbers (n) values (7)");
    first.Undo();  // the whole transaction, which held nothing before it
    connection_->Execute("insert into numbers (n) values (8)");
    transaction.Commit();
  }
  EXPECT_EQ(Recordset(*connection_, "select n from numbers where n > 3").RecordCount(), 2);
  EXPECT_EQ(connection_->QueryValue("select sum(n) from numbers where n > 3").ToLong(), 12);
}

}  // namespace
}  // namespace mv
