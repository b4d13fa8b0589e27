// The client-side recordset on the real engines: types, positions, changed rows and texts.
#include "platform/odbc/recordset.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/odbc/connection.h"
#include "platform/odbc/row_reader.h"
#include "platform/runtime_error.h"
#include "tests/platform/recordset_fixture.h"

namespace mv {
namespace {

using testing::RecordsetTest;

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

/// Texts beyond the basic multilingual plane, which need UTF-16 surrogate pairs.
const std::vector<std::string> kAstralTexts = {"B-\U0001F600", "\U00013000 hieroglyph",
                                               "Ærø \U0001D11E \U0001F1E9\U0001F1EA"};

TEST_F(RecordsetTest, TextBeyondTheBasicPlaneRoundTripsInStatementsAndBoundValues) {
  for (size_t i = 0; i < kAstralTexts.size(); ++i) {
    const std::string& text = kAstralTexts[i];
    SCOPED_TRACE(text);
    Insert(static_cast<int>(2 * i), text);
    Recordset rows = Open("select top 1 * from sample");
    rows.AddNew();
    rows.SetField("id", Variant::Long(static_cast<std::int32_t>(2 * i + 1)));
    rows.SetField("name", Variant::String(text));
    rows.UpdateBatch();

    Recordset found = Open("select * from sample where name = '" + text + "' order by id");
    ASSERT_EQ(found.RecordCount(), 2) << "the literal and the bound value, found by the literal";
    for (; !found.Eof(); found.MoveNext()) EXPECT_EQ(found.Field("name").AsString(), text);
  }
}

TEST_F(RecordsetTest, TextHoldingANulCharacterIsRefusedNotCut) {
  const std::string text("a\0b", 3);
  const auto failure = [](const std::function<void()>& action) -> std::string {
    try {
      action();
    } catch (const RuntimeError& error) {
      return std::to_string(error.Number()) + " " + error.Description();
    }
    return "no error";
  };
  Recordset rows = Open("select top 1 * from sample");
  rows.AddNew();
  EXPECT_EQ(failure([&] { Insert(1, text); }),
            "5 A text holding a NUL character cannot be sent to the database");
  EXPECT_EQ(failure([&] { rows.SetField("name", Variant::String(text)); }),
            "5 The value for sample.name holds a NUL character and cannot be written whole");
  EXPECT_EQ(Open().RecordCount(), 0);
}

/// "name/note" of a row, marked "NUL " when the name holds a NUL character.
std::string NameAndNote(const Variant& name, const Variant& note) {
  return std::string(HoldsNulCharacter(name) ? "NUL " : "") + name.ToText() + "/" + note.ToText();
}

TEST_F(RecordsetTest, TextHoldingANulCharacterIsReadAsHoldingOneNotCut) {
  if (database_.GetEngine() != setup::Engine::Sqlite) {
    GTEST_SKIP() << "only SQLite's text columns hold a NUL character among these engines";
  }
  connection_->Execute(
      "insert into sample (id, name, note) values (1, 'ab' || char(0) || 'cd', 'plain')");
  Insert(2, "whole");
  const std::vector<std::string> expected{std::string("NUL ab\0/plain", 13), "whole/preset"};

  // The same name twice in one result (a join) and a parameter, as the order migration reads.
  std::vector<std::string> read;
  const odbc::ColumnInfo id = RowReader(*connection_, "select id from sample").Columns().All()[0];
  for (RowReader rows(*connection_,
                      "select a.name, b.note, a.id, b.id from sample a join sample b "
                      "on a.id = b.id where a.id >= ? order by a.id",
                      {{Variant::Long(1), id}});
       rows.Next();) {
    read.push_back(NameAndNote(rows.Row().Field("name"), rows.Row().Field("note")));
  }
  EXPECT_EQ(read, expected);

  read.clear();
  for (Recordset rows = Open(); !rows.Eof(); rows.MoveNext()) {
    read.push_back(NameAndNote(rows.Field("name"), rows.Field("note")));
  }
  EXPECT_EQ(read, expected);
}

}  // namespace
}  // namespace mv
