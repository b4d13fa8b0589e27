// Writes a recordset's added rows many in one insert: consecutive rows that set the same
// columns go out as one multi-row insert under a savepoint, and one by one when it fails.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/odbc/field_row.h"
#include "platform/odbc/multi_row_insert.h"
#include "platform/variant.h"

namespace mv {
class Connection;
}

namespace mv::odbc {

/// The pending rows of a recordset as the batch writer sees them, counted from the next row to
/// be written.
struct PendingRows {
  /// The values of the `n`-th row from the next when it is an added row that sets the same
  /// columns as the next one; nullptr when it is not, or when there is no such row.
  std::function<const std::vector<Variant>*(size_t n)> addedLikeNext;
  /// Writes the next row with a statement of its own and moves past it; throws its error.
  std::function<void()> writeNextAlone;
  /// Marks the next row written and moves past it.
  std::function<void()> markNextWritten;
};

/// Writes added rows into one table for an engine that takes savepoints.
class BatchWriter {
 public:
  /// Writes into `table`, whose columns are `columns`; `connection` must outlive the writer.
  BatchWriter(Connection& connection, std::string table, ResultColumns columns);

  /// Writes the next of `rows`, an added row that sets `setColumns`, together with the added
  /// rows after it that set the same columns, as many as one execution takes
  /// (MultiRowInsert::RowsPerExecution), in one multi-row insert. A value no
  /// parameter holds ends the insert before its row. A failed execution is undone whole and its
  /// rows are written one by one: the rows before the failing one are written, and its own error
  /// reaches the caller; inside a savepoint of the caller's, which undoes the caller's whole
  /// unit, the insert's own error reaches the caller at once. A row that has no other to go
  /// with goes out alone.
  void WriteAdded(const std::vector<size_t>& setColumns, const PendingRows& rows);

 private:
  /// The values of the rows from the next on that go out in one insert.
  std::vector<const std::vector<Variant>*> RowsOfOneInsert(const std::vector<size_t>& setColumns,
                                                           const PendingRows& rows) const;
  /// Runs the insert of `rows` under a savepoint; false when it failed and was undone.
  bool InsertTogether(const std::vector<const std::vector<Variant>*>& rows,
                      const std::vector<size_t>& setColumns);

  Connection& connection_;
  MultiRowInsert insert_;
};

}  // namespace mv::odbc
