// The client-side recordset on the real engines: types, positions, batches.
#include "platform/odbc/recordset.h"

#include <gtest/gtest.h>

#include "platform/odbc/connection.h"
#include "platform/runtime_error.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

using setup::Engine;
using testing::TestDatabase;

class RecordsetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection_ = database_.Connect();
    const bool postgres = database_.GetEngine() == Engine::Postgresql;
    connection_->Execute(
        std::string("create table sample (id integer primary key, small smallint, big integer, "
                    "ratio float, stamp ") +
        (postgres ? "timestamp" : "datetime") + ", name varchar(50), data " +
        (postgres ? "bytea" : "varbinary(16)") + ", note varchar(20) default 'preset')");
  }

  Recordset Open(const std::string& sql = "select * from sample order by id") {
    return Recordset(*connection_, sql);
  }

  void Insert(int id, const std::string& name) {
    connection_->Execute("insert into sample (id, name) values (" + std::to_string(id) + ", '" +
                         name + "')");
  }

  TestDatabase database_;
  std::unique_ptr<Connection> connection_;
};

TEST_F(RecordsetTest, EmptyResultIsAtBeginningAndEndAtOnce) {
  Recordset rows = Open();
  EXPECT_TRUE(rows.Bof());
  EXPECT_TRUE(rows.Eof());
  EXPECT_EQ(rows.RecordCount(), 0);
  EXPECT_THROW(rows.Field("id"), RuntimeError);
}

TEST_F(RecordsetTest, MovesThroughRowsInOrderAndEndsAtEof) {
  Insert(1, "a");
  Insert(2, "b");
  Recordset rows = Open();
  ASSERT_FALSE(rows.Eof());
  EXPECT_FALSE(rows.Bof());
  EXPECT_EQ(rows.Field("NAME").AsString(), "a") << "field names are case-insensitive";
  rows.MoveNext();
  EXPECT_EQ(rows.Field("name").AsString(), "b");
  rows.MoveNext();
  EXPECT_TRUE(rows.Eof());
  EXPECT_THROW(rows.MoveNext(), RuntimeError);
  rows.MoveFirst();
  EXPECT_EQ(rows.Field("id").ToLong(), 1);
}

TEST_F(RecordsetTest, UnknownFieldIsError3265) {
  Insert(1, "a");
  Recordset rows = Open();
  try {
    rows.Field("nope");
    FAIL();
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 3265);
  }
}

TEST_F(RecordsetTest, ColumnTypesReadAsTheRuntimeKinds) {
  connection_->Execute(
      "insert into sample (id, small, big, ratio, stamp, name) values "
      "(7, 12, 70000, 2.5, '2026-12-08 04:10:36', 'x')");
  Recordset rows = Open();
  EXPECT_EQ(rows.Field("id").TypeName(), "Long");
  EXPECT_EQ(rows.Field("small").TypeName(), "Integer");
  EXPECT_EQ(rows.Field("big").TypeName(), "Long");
  EXPECT_EQ(rows.Field("ratio").TypeName(), "Double");
  EXPECT_EQ(rows.Field("stamp").TypeName(), "Date");
  EXPECT_EQ(rows.Field("name").TypeName(), "String");
  EXPECT_EQ(rows.Field("small").ToLong(), 12);
  EXPECT_EQ(rows.Field("big").ToLong(), 70000);
  EXPECT_EQ(rows.Field("ratio").ToDouble(), 2.5);
  EXPECT_EQ(rows.Field("stamp").AsDate(), (DateTime{2026, 12, 8, 4, 10, 36}));
}

TEST_F(RecordsetTest, NullIsDistinctFromEmptyText) {
  connection_->Execute("insert into sample (id, name, note) values (1, '', null)");
  Recordset rows = Open();
  EXPECT_EQ(rows.Field("name").TypeName(), "String");
  EXPECT_EQ(rows.Field("name").AsString(), "");
  EXPECT_TRUE(rows.Field("note").IsNull());
  EXPECT_TRUE(rows.Field("small").IsNull());
  EXPECT_TRUE(rows.Field("stamp").IsNull());
}

TEST_F(RecordsetTest, AddedRowsWrittenByUpdateBatchRoundTripEveryKind) {
  Recordset rows = Open("select top 1 * from sample");
  rows.AddNew();
  rows.SetField("id", Variant::Long(1));
  rows.SetField("small", Variant::Integer(-3));
  rows.SetField("ratio", Variant::Double(0.125));
  rows.SetField("stamp", Variant::Date(DateTime{2001, 2, 3, 4, 5, 6}));
  rows.SetField("name", Variant::String("Müller €"));
  rows.SetField("data", Variant::Bytes({0, 1, 255}));
  rows.AddNew();
  rows.SetField("id", Variant::Long(2));
  rows.SetField("name", Variant::Null());
  EXPECT_EQ(rows.PendingCount(), 2u);
  rows.UpdateBatch();
  EXPECT_EQ(rows.PendingCount(), 0u);

  Recordset stored = Open();
  ASSERT_EQ(stored.RecordCount(), 2);
  EXPECT_EQ(stored.Field("small").ToLong(), -3);
  EXPECT_EQ(stored.Field("ratio").ToDouble(), 0.125);
  EXPECT_EQ(stored.Field("stamp").AsDate(), (DateTime{2001, 2, 3, 4, 5, 6}));
  EXPECT_EQ(stored.Field("name").AsString(), "Müller €");
  EXPECT_EQ(stored.Field("data").AsBytes(), (std::vector<std::uint8_t>{0, 1, 255}));
  EXPECT_EQ(stored.Field("note").AsString(), "preset") << "unset columns take their default";
  stored.MoveNext();
  EXPECT_TRUE(stored.Field("name").IsNull());
  EXPECT_TRUE(stored.Field("small").IsNull());
}

TEST_F(RecordsetTest, CancelBatchLeavesTheTableUntouched) {
  Insert(1, "kept");
  Recordset rows = Open();
  rows.SetField("name", Variant::String("changed"));
  rows.AddNew();
  rows.SetField("id", Variant::Long(2));
  rows.CancelBatch();
  EXPECT_EQ(rows.RecordCount(), 1);
  EXPECT_EQ(rows.Field("name").AsString(), "kept");
  rows.UpdateBatch();
  Recordset stored = Open();
  EXPECT_EQ(stored.RecordCount(), 1);
  EXPECT_EQ(stored.Field("name").AsString(), "kept");
}

TEST_F(RecordsetTest, ChangedRowsAreUpdatedByTheirKey) {
  Insert(1, "one");
  Insert(2, "two");
  Recordset rows = Open();
  rows.MoveNext();
  rows.SetField("name", Variant::String("zwei"));
  rows.UpdateBatch();
  Recordset stored = Open();
  EXPECT_EQ(stored.Field("name").AsString(), "one");
  stored.MoveNext();
  EXPECT_EQ(stored.Field("name").AsString(), "zwei");
}

TEST_F(RecordsetTest, RowsWithoutKeyAreFoundByTheirOldValues) {
  connection_->Execute("create table nokey (code varchar(10), amount integer)");
  connection_->Execute("insert into nokey (code, amount) values ('a', 1)");
  connection_->Execute("insert into nokey (code, amount) values ('b', null)");
  Recordset rows(*connection_, "select * from nokey order by code");
  rows.MoveNext();
  rows.SetField("amount", Variant::Long(5));
  rows.UpdateBatch();
  Recordset stored(*connection_, "select * from nokey order by code");
  EXPECT_EQ(stored.Field("amount").ToLong(), 1);
  stored.MoveNext();
  EXPECT_EQ(stored.Field("amount").ToLong(), 5);
}

TEST_F(RecordsetTest, FailingRowKeepsTheRowsBeforeItAndStaysPending) {
  Insert(2, "taken");
  Recordset rows = Open("select top 1 * from sample");
  for (int id : {1, 2, 3}) {
    rows.AddNew();
    rows.SetField("id", Variant::Long(id));
  }
  EXPECT_THROW(rows.UpdateBatch(), RuntimeError);
  EXPECT_EQ(rows.PendingCount(), 2u);
  rows.CancelBatch();
  Recordset stored = Open();
  ASSERT_EQ(stored.RecordCount(), 2);
  EXPECT_EQ(stored.Field("id").ToLong(), 1);
}

TEST_F(RecordsetTest, PendingRowsOfAFailedTransactionAreRolledBack) {
  Recordset rows = Open("select top 1 * from sample");
  {
    Transaction transaction(*connection_);
    rows.AddNew();
    rows.SetField("id", Variant::Long(1));
    rows.UpdateBatch();
  }
  EXPECT_EQ(Open().RecordCount(), 0);
}

}  // namespace
}  // namespace mv
