// A client-side recordset: the whole result of a query held in memory, read and changed by
// field name, with changes sent to the database in one batch.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/odbc/field_row.h"
#include "platform/variant.h"

namespace mv {

class Connection;

namespace odbc {
class BatchWriter;
class Statement;
}  // namespace odbc

/// The result of one query, fetched completely when opened. Positions follow ADO: an empty
/// result is at its beginning and its end at once; otherwise the first row is current.
/// Rows added or changed stay pending until UpdateBatch writes them to the table named after
/// the query's "from".
class Recordset : public FieldSource {
 public:
  /// Runs `sql` on `connection` (which must outlive the recordset) and fetches every row.
  Recordset(Connection& connection, std::string_view sql);
  ~Recordset() override;
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  bool Bof() const { return rows_.empty() || position_ < 0; }
  bool Eof() const { return rows_.empty() || position_ >= static_cast<long>(rows_.size()); }
  void MoveFirst();
  /// Throws RuntimeError 3021 when already past the end.
  void MoveNext();
  long RecordCount() const { return static_cast<long>(rows_.size()); }

  /// The column names in result order, as the engine spells them.
  std::vector<std::string> FieldNames() const;
  bool HasField(std::string_view name) const;
  /// The position of column `name` (any letter case), for SetFieldAt. Throws RuntimeError 3265
  /// for an unknown name.
  size_t FieldIndex(std::string_view name) const;
  /// The value of the current row's column `name` (any letter case). Throws RuntimeError 3265
  /// for an unknown name and 3021 when there is no current row.
  const Variant& Field(std::string_view name) const override;
  /// Sets the current row's column `name`; the row becomes pending. Throws RuntimeError 5,
  /// naming the table and column, for a text holding a NUL character.
  void SetField(std::string_view name, Variant value);
  /// SetField of the column at `index` (FieldIndex).
  void SetFieldAt(size_t index, Variant value);

  /// Appends an empty row and makes it current; it becomes pending.
  void AddNew();
  /// Writes every pending row in the order it became pending, each statement prepared once:
  /// an added row as an insert naming only the columns that were set, a changed row as an
  /// update found by the table's key. When a row fails, the rows before it stay written, it
  /// and the rows after it stay pending, and the error reaches the caller. Where the engine
  /// allows, consecutive added rows of one insert go to the database many in one execution,
  /// unless InsertEachRowAlone was called.
  void UpdateBatch();
  /// Makes UpdateBatch send every added row in an insert statement of its own, in the order
  /// the rows were added. A key the table numbers itself then rises with that order; the rows
  /// of one multi-row insert may be numbered in any order.
  void InsertEachRowAlone() { eachRowAlone_ = true; }
  /// Drops every pending change: added rows disappear, changed rows take their old values.
  void CancelBatch();
  /// The number of rows waiting for UpdateBatch.
  size_t PendingCount() const { return pending_.size(); }
  /// Drops every row without a pending change, so that a recordset that only appends keeps
  /// no rows it has written. No row is current afterwards unless one is pending.
  void ForgetWrittenRows();

 private:
  enum class RowState { Unchanged, Added, Changed };
  struct Row {
    std::vector<Variant> values;
    std::vector<bool> assigned;
    std::optional<std::vector<Variant>> original;
    RowState state = RowState::Unchanged;
  };

  /// A statement prepared for rows of one shape (which columns were set, and for an update
  /// which old values were null), with the columns its parameters come from.
  struct PreparedWrite {
    std::unique_ptr<odbc::Statement> statement;
    std::vector<size_t> setColumns;    // the row's values, in parameter order
    std::vector<size_t> whereColumns;  // then the row's old values
  };
  using PreparedWrites = std::map<std::vector<bool>, PreparedWrite>;

  Row& CurrentRow();
  const Row& CurrentRow() const;
  void MarkPending(size_t rowIndex);
  /// The columns that find a changed row: the table's key, or every column but binary ones
  /// when the table has none. Read from the database once per recordset.
  const std::vector<size_t>& ConditionColumns();
  /// The statement for `row`'s shape, prepared on first use.
  PreparedWrite& PreparedFor(const Row& row, PreparedWrites& prepared);
  void WriteRow(Row& row, PreparedWrites& prepared);
  /// Writes the added row pending_[written] with the ones after it that share its insert (see
  /// odbc::BatchWriter), and advances `written` past the rows written.
  void WriteAddedRows(size_t& written, PreparedWrites& prepared);
  void MarkWritten(Row& row);

  Connection& connection_;
  std::string table_;
  ResultColumns columns_;
  std::vector<Row> rows_;
  long position_ = 0;
  std::vector<size_t> pending_;
  std::optional<std::vector<size_t>> conditionColumns_;
  /// Statements prepared by earlier batches, kept for the next (a write per order or basket
  /// would otherwise prepare its insert again every time).
  PreparedWrites prepared_;
  std::unique_ptr<odbc::BatchWriter> batchWriter_;  // made on the first batch of added rows
  bool eachRowAlone_ = false;
};

}  // namespace mv
