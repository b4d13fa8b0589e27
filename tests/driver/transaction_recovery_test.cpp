// Savepoints found by trying at connect, the statement limits of multi-row inserts, and groups
// of units whose transaction the server ends after a failure.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "converters/baskets/row_inserts.h"
#include "driver/convert_functions.h"
#include "driver/unit_groups.h"
#include "platform/odbc/recordset.h"
#include "platform/text_file.h"
#include "tests/support/insert_statements.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

using testing::CountInsertStatements;
using testing::InsertStatements;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::TestDatabase;

bool OnPostgresql(const TestDatabase& database) {
  return database.GetEngine() == setup::Engine::Postgresql;
}

/// The ids in table `unit`, in order.
std::vector<long> UnitIds(Connection& connection, const std::string& table = "unit") {
  Recordset rows(connection, "select id from " + table + " order by id");
  std::vector<long> ids;
  for (; !rows.Eof(); rows.MoveNext()) ids.push_back(rows.Field("id").ToLong());
  return ids;
}

/// An engine name as a driver may report it, and the dialect it gets.
struct DialectCase {
  const char* name;
  const char* engineName;
  const char* dialect;
};

class DialectChoiceTest : public ::testing::TestWithParam<DialectCase> {};

TEST_P(DialectChoiceTest, TheStandInsAreKnownByNameAndEveryOtherEngineIsSqlServer) {
  EXPECT_EQ(DialectOf(GetParam().engineName).name, GetParam().dialect);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DialectChoiceTest,
    ::testing::Values(DialectCase{"Microsoft", "Microsoft SQL Server", "SQL Server"},
                      DialectCase{"FreeTdsLoginName", "SQL Server", "SQL Server"},
                      DialectCase{"Unknown", "Some Other Engine", "SQL Server"},
                      DialectCase{"Empty", "", "SQL Server"},
                      DialectCase{"Sqlite", "SQLite", "SQLite"},
                      DialectCase{"SqliteOtherCase", "sqlite 3", "SQLite"},
                      DialectCase{"Postgresql", "PostgreSQL", "PostgreSQL"},
                      DialectCase{"PostgresqlSuffix", "POSTGRESQL 16", "PostgreSQL"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SqlServerDialectTest, SavepointsAndTheCounterAreInTransactSqlWords) {
  const Dialect& sqlServer = DialectOf("Microsoft SQL Server");
  const SavepointStatements& statements = sqlServer.savepoints;
  EXPECT_EQ(SavepointStatements::Named(statements.mark, "mv_savepoint_7"),
            "save transaction mv_savepoint_7");
  EXPECT_EQ(SavepointStatements::Named(statements.returnTo, "mv_savepoint_7"),
            "rollback transaction mv_savepoint_7");
  EXPECT_EQ(statements.release, "");
  EXPECT_EQ(statements.transactionState, "select xact_state()");
  EXPECT_TRUE(sqlServer.selectTop);
  EXPECT_EQ(sqlServer.sessionStatements, std::vector<std::string>{"set nocount on"});
  // sql_variant takes no arithmetic before a cast.
  EXPECT_NE(sqlServer.identityCounter.read.find("cast(seed_value as decimal(38, 0)) - "
                                                "cast(increment_value as decimal(38, 0))"),
            std::string::npos);
}

class SavepointTryTest : public ::testing::Test {
 protected:
  TestDatabase database_;
  std::unique_ptr<Connection> connection_ = database_.Connect();
  TempFolder folder_;
};

TEST_F(SavepointTryTest, TheEnginesOwnWordsAreTakenAndWordsItRefusesLeaveNone) {
  ASSERT_TRUE(connection_->Capabilities().savepoints);
  connection_->TrySavepoints(DialectOf("Microsoft SQL Server").savepoints);
  EXPECT_FALSE(connection_->Capabilities().savepoints);
  EXPECT_FALSE(connection_->InTransaction());
  connection_->Execute("create table unit (id integer primary key)");  // nothing is left open
}

TEST_F(SavepointTryTest, WithoutSavepointsEachUnitHasATransactionAndTheLogSaysSoOnce) {
  connection_->TrySavepoints(DialectOf("Microsoft SQL Server").savepoints);
  const std::string path = folder_.File("log.txt");
  {
    TextWriter log(PathFromUtf8(path), TextWriter::Mode::Append);
    const UnitGroups groups(*connection_, log, 500, false, "baskets");
    EXPECT_EQ(groups.Size(), 1);
    EXPECT_THROW(UnitGroups(*connection_, log, 500, true, "baskets"), RuntimeError);
  }
  EXPECT_EQ(ReadFileBytes(path), NoSavepointsLine(connection_->EngineName(), "baskets") + "\r\n");
}

struct LimitsCase {
  const char* name;
  StatementLimits limits;
  long statementsFor10Rows;  // with two columns set
};

class StatementLimitsTest : public SavepointTryTest,
                            public ::testing::WithParamInterface<LimitsCase> {};

TEST_P(StatementLimitsTest, MultiRowInsertsAreSplitWithinTheLimitsAndKeepTheRowsInOrder) {
  connection_->Execute("create table unit (id integer primary key, name varchar(10))");
  if (OnPostgresql(database_)) CountInsertStatements(*connection_, "unit");
  connection_->NarrowStatementLimits(GetParam().limits);
  {
    Transaction transaction(*connection_);
    Recordset rows(*connection_, "select top 1 * from unit");
    for (int id = 1; id <= 10; ++id) {
      rows.AddNew();
      rows.SetField("id", Variant::Long(id));
      rows.SetField("name", Variant::String("n" + std::to_string(id)));
    }
    rows.UpdateBatch();
    transaction.Commit();
  }
  EXPECT_EQ(UnitIds(*connection_), (std::vector<long>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  if (OnPostgresql(database_)) {
    EXPECT_EQ(InsertStatements(*connection_, "unit"), GetParam().statementsFor10Rows);
  }
}

TEST_P(StatementLimitsTest, BasketRowInsertsAreSplitWithinTheLimitsAndKeepTheRowsInOrder) {
  connection_->Execute("create table unit (id integer primary key, name varchar(10))");
  if (OnPostgresql(database_)) CountInsertStatements(*connection_, "unit");
  connection_->NarrowStatementLimits(GetParam().limits);
  RowInserts inserts(*connection_, "unit", {"id", "name"});
  for (int id = 1; id <= 10; ++id) {
    inserts.Add({Variant::String(std::to_string(id)), Variant::String("n")});
  }
  inserts.Write();
  EXPECT_EQ(UnitIds(*connection_), (std::vector<long>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  if (OnPostgresql(database_)) {
    EXPECT_EQ(InsertStatements(*connection_, "unit"), GetParam().statementsFor10Rows);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, StatementLimitsTest,
    ::testing::Values(LimitsCase{"ThreeRowsPerInsert", {3, 1000}, 4},
                      LimitsCase{"FiveParametersGiveTwoRowsOfTwo", {1000, 5}, 5},
                      LimitsCase{"OneRowPerInsert", {1, 1000}, 10},
                      LimitsCase{"EnginesOwnLimits", {1'000'000, 1'000'000}, 1}),
    [](const ::testing::TestParamInfo<LimitsCase>& info) { return info.param.name; });

/// Units that are rows of table `unit`, written as the converters write theirs: together in
/// one multi-row insert, or one by one under a savepoint each.
class UnitRows : public GroupWrite {
 public:
  UnitRows(Connection& connection, UnitGroups& groups, TextWriter& log, std::vector<int> ids,
           bool failOnItsOwn)
      : connection_(connection),
        groups_(groups),
        log_(log),
        ids_(std::move(ids)),
        failOnItsOwn_(failOnItsOwn) {}

  TogetherOutcome WriteTogether() override {
    if (failOnItsOwn_) return TogetherOutcome::UnitFailed;
    std::string values;
    for (int id : ids_) values += (values.empty() ? "" : ", ") + ("(" + std::to_string(id) + ")");
    connection_.Execute("insert into unit (id) values " + values);
    return TogetherOutcome::Written;
  }
  void CountTogether() override {
    for (int id : ids_) groups_.UnitWritten(std::to_string(id));
  }
  void ForgetTogether() override {}
  void WriteOneByOne() override {
    for (int id : ids_) {
      try {
        Savepoint unit(connection_);
        connection_.Execute("insert into unit (id) values (" + std::to_string(id) + ")");
        unit.Keep();
        groups_.UnitWritten(std::to_string(id));
      } catch (const RuntimeError&) {
        log_.WriteLine("unit " + std::to_string(id) + " failed");
      }
    }
  }
  void EndAfterFailedWrite(const RuntimeError& error) override { throw error; }

 private:
  Connection& connection_;
  UnitGroups& groups_;
  TextWriter& log_;
  std::vector<int> ids_;
  bool failOnItsOwn_;
};

/// On PostgreSQL, with psqlODBC set to roll the whole transaction back when a statement fails
/// (as SQL Server does after a batch-aborting error), instead of returning to a savepoint of
/// its own before the statement.
class EndedTransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPostgresql(database_)) GTEST_SKIP() << "psqlODBC's rollback level is PostgreSQL's";
    const auto& address = database_.Address();
    connection_ = std::make_unique<Connection>(
        BuildConnectionString(address.server, address.user, address.password, address.database) +
            ";Protocol=7.4-1",
        kLoginTimeoutSeconds, kQueryTimeoutSeconds);
    connection_->Execute("create table unit (id integer primary key)");
    connection_->Execute("insert into unit (id) values (13)");
    log_ = std::make_unique<TextWriter>(PathFromUtf8(folder_.File("log.txt")),
                                        TextWriter::Mode::Append);
    groups_ = std::make_unique<UnitGroups>(*connection_, *log_, 5, false, "units");
  }

  bool Write(std::vector<int> ids, bool failOnItsOwn) {
    UnitRows units(*connection_, *groups_, *log_, std::move(ids), failOnItsOwn);
    return groups_->Write(units, [](const RuntimeError&) { return false; });
  }

  std::string Log() {
    log_->Close();
    return ReadFileBytes(folder_.File("log.txt"));
  }

  TestDatabase database_;
  TempFolder folder_;
  std::unique_ptr<Connection> connection_;
  std::unique_ptr<TextWriter> log_;
  std::unique_ptr<UnitGroups> groups_;
};

TEST_F(EndedTransactionTest, AGroupWhoseWriteEndedTheTransactionIsWrittenAgainUnitByUnit) {
  EXPECT_TRUE(Write({1, 2, 3, 4, 5}, false));
  EXPECT_TRUE(Write({11, 12, 13, 14, 15}, false));  // 13 is taken
  groups_->Commit();
  EXPECT_EQ(UnitIds(*connection_), (std::vector<long>{1, 2, 3, 4, 5, 11, 12, 13, 14, 15}));
  EXPECT_EQ(groups_->Committed(), 9);
  EXPECT_EQ(Log(), "unit 13 failed\r\n");
}

TEST_F(EndedTransactionTest, AUnitEndingTheTransactionOfACarefulGroupAbandonsTheGroup) {
  EXPECT_TRUE(Write({1, 2, 3, 4, 5}, false));
  try {
    Write({11, 12, 13, 14, 15}, true);
    ADD_FAILURE() << "the group was taken for written";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description(),
              "The server ended the transaction of the units from '11' to '12' after a failure: "
              "none of them was written; a rerun converts them");
  }
  groups_->Commit();
  EXPECT_EQ(UnitIds(*connection_), (std::vector<long>{1, 2, 3, 4, 5, 13}));
  EXPECT_EQ(groups_->Committed(), 5);
  EXPECT_EQ(Log(), "");
}

}  // namespace
}  // namespace mv
