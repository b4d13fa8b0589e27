// MultiRowInsert: the rows of one execution bound into an insert prepared for their number.
#include "platform/odbc/multi_row_insert.h"

#include <algorithm>

#include "platform/odbc/connection.h"
#include "platform/odbc/internal/insert_text.h"
#include "platform/odbc/internal/statement.h"

namespace mv {
namespace {

/// How many rows go to the database in one execution at most, and how many values they bind
/// at most, where the engine's own limits allow more.
constexpr size_t kRowsPerExecution = 500;
constexpr size_t kMaxParameters = 2000;
/// How many inserts of different sizes are kept prepared.
constexpr size_t kMaxKeptInserts = 16;

}  // namespace

MultiRowInsert::MultiRowInsert(Connection& connection, std::string table, ResultColumns columns)
    : connection_(connection), table_(std::move(table)), columns_(std::move(columns)) {}

MultiRowInsert::~MultiRowInsert() = default;

size_t MultiRowInsert::RowsPerExecution(size_t setCount) const {
  if (setCount == 0) return 1;
  const StatementLimits& limits = connection_.Capabilities().limits;
  const size_t parameters = std::min(kMaxParameters, limits.parameters);
  return std::max<size_t>(
      1, std::min({kRowsPerExecution, limits.rowsPerInsert, parameters / setCount}));
}

void MultiRowInsert::Execute(const std::vector<size_t>& setColumns,
                             const std::vector<const std::vector<Variant>*>& rows) {
  odbc::Statement& insert = Prepared(setColumns, rows.size());
  SQLUSMALLINT number = 1;
  for (const std::vector<Variant>* values : rows) {
    for (size_t i : setColumns) insert.BindParameter(number++, (*values)[i], columns_[i]);
  }
  insert.Execute();
}

odbc::Statement& MultiRowInsert::Prepared(const std::vector<size_t>& setColumns, size_t rows) {
  auto key = std::make_pair(setColumns, rows);
  if (const auto found = inserts_.find(key); found != inserts_.end()) return *found->second;
  // Statements for the odd tail sizes of earlier executions are dropped before they pile up.
  if (inserts_.size() >= kMaxKeptInserts) inserts_.clear();
  auto statement = std::make_unique<odbc::Statement>(connection_.StatementContext());
  statement->Prepare(odbc::InsertText(table_, columns_, setColumns, rows));
  return *(inserts_[std::move(key)] = std::move(statement));
}

}  // namespace mv
