// BatchWriter: runs of added rows bound into one prepared multi-row insert under a savepoint.
#include "platform/odbc/internal/batch_writer.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/internal/value_binding.h"
#include "platform/runtime_error.h"

namespace mv::odbc {

BatchWriter::BatchWriter(Connection& connection, std::string table, ResultColumns columns)
    : connection_(connection), insert_(connection, std::move(table), std::move(columns)) {}

void BatchWriter::WriteAdded(const std::vector<size_t>& setColumns, const PendingRows& rows) {
  const std::vector<const std::vector<Variant>*> together = RowsOfOneInsert(setColumns, rows);
  if (together.size() < 2) {
    rows.writeNextAlone();
    return;
  }
  const bool inserted = InsertTogether(together, setColumns);
  for (size_t n = 0; n < together.size(); ++n) {
    if (inserted) {
      rows.markNextWritten();
    } else {
      rows.writeNextAlone();
    }
  }
}

std::vector<const std::vector<Variant>*> BatchWriter::RowsOfOneInsert(
    const std::vector<size_t>& setColumns, const PendingRows& rows) const {
  const size_t maxRows = insert_.RowsPerExecution(setColumns.size());
  std::vector<const std::vector<Variant>*> together;
  while (together.size() < maxRows) {
    const std::vector<Variant>* values = rows.addedLikeNext(together.size());
    if (values == nullptr) break;
    // A value no parameter holds ends the statement before its row, which then fails alone.
    if (std::any_of(setColumns.begin(), setColumns.end(),
                    [values](size_t i) { return !Bindable((*values)[i]); })) {
      break;
    }
    together.push_back(values);
  }
  return together;
}

bool BatchWriter::InsertTogether(const std::vector<const std::vector<Variant>*>& rows,
                                 const std::vector<size_t>& setColumns) {
  if (connection_.InsideSavepoint()) {
    // The caller's savepoint undoes its whole unit when the insert fails: the insert needs no
    // savepoint of its own, and its failure is the unit's.
    insert_.Execute(setColumns, rows);
    return true;
  }
  bool executed = false;
  {
    Savepoint savepoint(connection_);
    try {
      insert_.Execute(setColumns, rows);
      executed = true;
      savepoint.Keep();
    } catch (const RuntimeError& failure) {
      try {
        savepoint.Undo();
      } catch (const RuntimeError&) {
        // The failure ended the whole transaction (psqlODBC rolls it back when the first write
        // in it fails). When nothing else was in it, the rows are tried one by one in a new
        // one; otherwise the insert's own error, not the lost savepoint's, says why it failed.
        if (!connection_.RestartLostTransaction()) throw failure;
      }
      // Row by row would only meet the same end again.
      if (errors::MigrationEndOf(failure) != errors::MigrationEnd::None) throw;
    }
  }
  return executed;
}

}  // namespace mv::odbc
