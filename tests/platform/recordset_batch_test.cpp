// The recordset's batches of added rows on the real engines: many rows in one insert, the
// row that fails and the rows around it, rows of different shapes in one batch.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/odbc/connection.h"
#include "platform/odbc/recordset.h"
#include "platform/runtime_error.h"
#include "tests/platform/recordset_fixture.h"

namespace mv {
namespace {

using testing::RecordsetTest;

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

struct LargeBatchCase {
  int failingRow;  // index of the added row whose id is taken
  bool inTransaction;
};

void PrintTo(const LargeBatchCase& c, std::ostream* out) {
  *out << "row " << c.failingRow << (c.inTransaction ? " in a transaction" : " in autocommit");
}

class LargeBatchTest : public RecordsetTest,
                       public ::testing::WithParamInterface<LargeBatchCase> {};

TEST_P(LargeBatchTest, KeepsRowsBeforeFailure) {
  constexpr int kRows = 1100;
  const int failing = GetParam().failingRow;
  const int takenId = failing + 1;
  Insert(takenId, "taken");
  const RuntimeError expected = ErrorOfInsertingTakenId(takenId);
  Recordset rows = Open("select top 1 * from sample");
  for (int i = 0; i < kRows; ++i) {
    rows.AddNew();
    rows.SetField("id", Variant::Long(i + 1));
    rows.SetField("name", Variant::String("row " + std::to_string(i)));
  }
  std::optional<Transaction> transaction;
  if (GetParam().inTransaction) transaction.emplace(*connection_);
  try {
    rows.UpdateBatch();
    FAIL() << "expected the taken id to fail";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), expected.Number());
    EXPECT_EQ(error.Description(), expected.Description());
  }
  EXPECT_EQ(rows.PendingCount(), static_cast<size_t>(kRows - failing));
  if (transaction) transaction->Commit();
  EXPECT_EQ(Open().RecordCount(), failing + 1)
      << "the rows before the failing one and the taken one";

  connection_->Execute("delete from sample where id = " + std::to_string(takenId));
  rows.UpdateBatch();
  EXPECT_EQ(rows.PendingCount(), 0u);
  Recordset stored = Open();
  ASSERT_EQ(stored.RecordCount(), kRows);
  for (int i = 0; i < kRows; ++i, stored.MoveNext()) {
    ASSERT_EQ(stored.Field("name").AsString(), "row " + std::to_string(i));
  }
}

INSTANTIATE_TEST_SUITE_P(FailingPositions, LargeBatchTest,
                         ::testing::Values(LargeBatchCase{0, false}, LargeBatchCase{1, true},
                                           LargeBatchCase{499, true}, LargeBatchCase{500, false},
                                           LargeBatchCase{777, true}, LargeBatchCase{1099, false}),
                         [](const ::testing::TestParamInfo<LargeBatchCase>& info) {
                           return "Row" + std::to_string(info.param.failingRow) +
                                  (info.param.inTransaction ? "InTransaction" : "Autocommit");
                         });

TEST_F(RecordsetTest, ValueNoParameterHoldsStopsALargeBatchAtItsRow) {
  Recordset rows = Open("select top 1 * from sample");
  for (int i = 0; i < 300; ++i) {
    rows.AddNew();
    rows.SetField("id", Variant::Long(i + 1));
    rows.SetField("name", i == 200 ? Variant::Error(5) : Variant::String("ok"));
  }
  try {
    rows.UpdateBatch();
    FAIL() << "expected a type mismatch";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 13);
    EXPECT_EQ(error.Description(), "Type mismatch");
  }
  EXPECT_EQ(rows.PendingCount(), 100u);
  EXPECT_EQ(Open().RecordCount(), 200);
}

TEST_F(RecordsetTest, AddedRowsWithNothingSetTakeEveryDefault) {
  CreateJournal();
  Recordset rows(*connection_, "select top 1 * from journal");
  for (int i = 0; i < 3; ++i) rows.AddNew();
  rows.UpdateBatch();
  Recordset stored(*connection_, "select * from journal order by seq");
  ASSERT_EQ(stored.RecordCount(), 3);
  for (; !stored.Eof(); stored.MoveNext()) {
    EXPECT_TRUE(stored.Field("label").IsNull());
    EXPECT_EQ(stored.Field("note").AsString(), "preset");
  }
}

TEST_F(RecordsetTest, MixedRowsOfALargeBatchAreWrittenInOrderWithTheirOwnColumns) {
  CreateJournal();
  constexpr int kRows = 1200;
  Recordset rows(*connection_, "select top 1 * from journal");
  for (int i = 0; i < kRows; ++i) {
    rows.AddNew();
    rows.SetField("label", Variant::String("entry " + std::to_string(i)));
    if (i % 7 == 0) {
      // amount left unset
    } else if (i % 11 == 0) {
      rows.SetField("amount", Variant::Null());
    } else if (i % 13 == 0) {
      rows.SetField("amount", Variant::Long(i));
    } else {
      rows.SetField("amount", Variant::Double(i + 0.5));
    }
    if (i % 100 == 99) rows.SetField("note", Variant::String(""));
  }
  Transaction transaction(*connection_);
  rows.UpdateBatch();
  transaction.Commit();

  Recordset stored(*connection_, "select * from journal order by seq");
  ASSERT_EQ(stored.RecordCount(), kRows);
  for (int i = 0; i < kRows; ++i, stored.MoveNext()) {
    SCOPED_TRACE("row " + std::to_string(i));
    ASSERT_EQ(stored.Field("label").AsString(), "entry " + std::to_string(i));
    if (i % 7 == 0 || i % 11 == 0) {
      EXPECT_TRUE(stored.Field("amount").IsNull());
    } else {
      EXPECT_EQ(stored.Field("amount").ToDouble(), i % 13 == 0 ? i : i + 0.5);
    }
    EXPECT_EQ(stored.Field("note").AsString(), i % 100 == 99 ? "" : "preset");
  }
}

DateTime StampOf(size_t i) {
  const int n = static_cast<int>(i);
  return DateTime{2001 + n, 1 + n, 3 + n, 4 + n, 5 + n, 6 + n};
}

TEST_F(RecordsetTest, ValuesOfDifferentLengthsInOneBatchKeepTheirOwnLength) {
  const std::vector<std::string> names{"", "a", "Müller €", "abcdefghijklmnopqrstuvwxyz", "z"};
  const std::vector<std::string> ratios{"0", "-12345.125", "1.5", "250", "-0.25"};
  const std::vector<std::vector<std::uint8_t>> data{
      {}, {0}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {255}, {0, 0}};
  // The first five rows set texts only, the next five bytes as well.
  const size_t count = names.size();
  Recordset rows = Open("select top 1 * from sample");
  for (size_t i = 0; i < 2 * count; ++i) {
    rows.AddNew();
    rows.SetField("id", Variant::Long(static_cast<std::int32_t>(i + 1)));
    rows.SetField("name", Variant::String(names[i % count]));
    rows.SetField("ratio", Variant::Decimal(ratios[i % count]));
    rows.SetField("stamp", i == 2 ? Variant::Null() : Variant::Date(StampOf(i)));
    rows.SetField("small",
                  i == 3 ? Variant::Null() : Variant::Integer(static_cast<std::int16_t>(-i)));
    if (i >= count) rows.SetField("data", Variant::Bytes(data[i % count]));
  }
  rows.UpdateBatch();
  Recordset stored = Open();
  ASSERT_EQ(stored.RecordCount(), static_cast<long>(2 * count));
  for (size_t i = 0; i < 2 * count; ++i, stored.MoveNext()) {
    SCOPED_TRACE("row " + std::to_string(i));
    EXPECT_EQ(stored.Field("name").AsString(), names[i % count]);
    EXPECT_EQ(stored.Field("ratio").ToDouble(), std::stod(ratios[i % count]));
    if (i == 2) {
      EXPECT_TRUE(stored.Field("stamp").IsNull());
    } else {
      EXPECT_EQ(stored.Field("stamp").AsDate(), StampOf(i));
    }
    if (i == 3) {
      EXPECT_TRUE(stored.Field("small").IsNull());
    } else {
      EXPECT_EQ(stored.Field("small").ToLong(), -static_cast<long>(i));
    }
    if (i >= count) {
      EXPECT_EQ(stored.Field("data").AsBytes(), data[i % count]);
    }
  }
}

TEST_F(RecordsetTest, PendingRowsOfAFailedTransactionAreRolledBack) {
  // One row, one parameter array, and arrays before a row that fails.
  for (const int count : {1, 3, 600}) {
    for (const bool lastTaken : {false, true}) {
      SCOPED_TRACE(std::to_string(count) + (lastTaken ? " rows, the last taken" : " rows"));
      connection_->Execute("delete from sample");
      if (lastTaken) Insert(count, "taken");
      Recordset rows = Open("select top 1 * from sample");
      {
        Transaction transaction(*connection_);
        for (int i = 1; i <= count; ++i) {
          rows.AddNew();
          rows.SetField("id", Variant::Long(i));
        }
        EXPECT_EQ(lastTaken, [&] {
          try {
            rows.UpdateBatch();
            return false;
          } catch (const RuntimeError&) {
            return true;
          }
        }());
      }
      EXPECT_EQ(Open().RecordCount(), lastTaken ? 1 : 0);
    }
  }
}

TEST_F(RecordsetTest, BatchesOfManyDifferentSizesAreAllWritten) {
  // Each size needs an insert of its own; more sizes than the recordset keeps prepared.
  Recordset rows = Open("select top 1 * from sample");
  int id = 0;
  for (int size = 2; size <= 21; ++size) {
    for (int n = 0; n < size; ++n) {
      rows.AddNew();
      rows.SetField("id", Variant::Long(++id));
    }
    rows.UpdateBatch();
  }
  Recordset stored = Open();
  ASSERT_EQ(stored.RecordCount(), id);
  for (int expected = 1; !stored.Eof(); ++expected, stored.MoveNext()) {
    EXPECT_EQ(stored.Field("id").ToLong(), expected);
  }
}

class ReexecutedInsertTest : public RecordsetTest, public ::testing::WithParamInterface<int> {};

TEST_P(ReexecutedInsertTest, CarriesNoValueOverFromTheExecutionBefore) {
  // Batches of the same size execute the same prepared insert again with new values.
  const std::vector<Variant> names{Variant::String("a rather long name"), Variant::String("ab"),
                                   Variant::Null(), Variant::String("Müller €"),
                                   Variant::String("")};
  const std::vector<Variant> data{Variant::Bytes({1, 2, 3, 4, 5, 6}), Variant::Null(),
                                  Variant::Bytes({7}), Variant::Bytes({8, 9, 10, 11, 12, 13, 14}),
                                  Variant::Bytes({})};
  const int rowsPerBatch = GetParam();
  Recordset rows = Open("select top 1 * from sample");
  for (size_t i = 0; i < names.size() * rowsPerBatch; ++i) {
    rows.AddNew();
    rows.SetField("id", Variant::Long(static_cast<std::int32_t>(i + 1)));
    rows.SetField("name", names[i / rowsPerBatch]);
    rows.SetField("data", data[i / rowsPerBatch]);
    rows.SetField("stamp", i % 2 == 0 ? Variant::Date(StampOf(i)) : Variant::Null());
    if ((i + 1) % rowsPerBatch == 0) rows.UpdateBatch();
  }
  Recordset stored = Open();
  ASSERT_EQ(stored.RecordCount(), static_cast<long>(names.size()) * rowsPerBatch);
  for (size_t i = 0; !stored.Eof(); ++i, stored.MoveNext()) {
    SCOPED_TRACE("row " + std::to_string(i));
    EXPECT_EQ(stored.Field("name"), names[i / rowsPerBatch]);
    EXPECT_EQ(stored.Field("data"), data[i / rowsPerBatch]);
    EXPECT_EQ(stored.Field("stamp"), i % 2 == 0 ? Variant::Date(StampOf(i)) : Variant::Null());
  }
}

INSTANTIATE_TEST_SUITE_P(RowsPerExecution, ReexecutedInsertTest, ::testing::Values(1, 2),
                         [](const auto& info) {
                           return info.param == 1 ? std::string("OneRow") : "TwoRows";
                         });

}  // namespace
}  // namespace mv
