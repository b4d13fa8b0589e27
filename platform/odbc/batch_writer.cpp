// BatchWriter: runs of added rows bound into one prepared multi-row insert under a savepoint.
#include "platform/odbc/internal/batch_writer.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/internal/insert_text.h"
#include "platform/runtime_error.h"

namespace mv::odbc {
namespace {

/// How many added rows go to the database in one execution at most, and how many values they
/// bind at most, where the engine's own limits (EngineCapabilities::limits) allow more.
constexpr size_t kRowsPerExecution = 500;
constexpr size_t kMaxParameters = 2000;
/// How many multi-row inserts of different sizes a writer keeps prepared.
constexpr size_t kMaxKeptMultiRowInserts = 16;

}  // namespace

BatchWriter::BatchWriter(Connection& connection, std::string table, ResultColumns columns)
    : connection_(connection), table_(std::move(table)), columns_(std::move(columns)) {}

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
  const StatementLimits& limits = connection_.Capabilities().limits;
  const size_t parameters = std::min(kMaxParameters, limits.parameters);
  const size_t maxRows =
      setColumns.empty() ? 1
                         : std::max<size_t>(1, std::min({kRowsPerExecution, limits.rowsPerInsert,
                                                         parameters / setColumns.size()}));
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
  Statement& insert = MultiRowInsert(setColumns, rows.size());
  SQLUSMALLINT number = 1;
  for (const std::vector<Variant>* values : rows) {
    for (size_t i : setColumns) insert.BindParameter(number++, (*values)[i], columns_[i]);
  }
  if (connection_.InsideSavepoint()) {
    // The caller's savepoint undoes its whole unit when the insert fails: the insert needs no
    // savepoint of its own, and its failure is the unit's.
    insert.Execute();
    return true;
  }
  bool executed = false;
  {
    Savepoint savepoint(connection_);
    try {
      insert.Execute();
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
      // An insert that ran out of time or was cancelled would wait as long again row by row.
      if (errors::EndedByTimeoutOrCancel(failure)) throw;
    }
  }
  return executed;
}

Statement& BatchWriter::MultiRowInsert(const std::vector<size_t>& setColumns, size_t rows) {
  auto key = std::make_pair(setColumns, rows);
  if (const auto found = inserts_.find(key); found != inserts_.end()) return *found->second;
  // Statements for the odd tail sizes of earlier batches are dropped before they pile up.
  if (inserts_.size() >= kMaxKeptMultiRowInserts) inserts_.clear();
  auto statement = std::make_unique<Statement>(connection_.StatementContext());
  statement->Prepare(InsertText(table_, columns_, setColumns, rows));
  return *(inserts_[std::move(key)] = std::move(statement));
}

}  // namespace mv::odbc
