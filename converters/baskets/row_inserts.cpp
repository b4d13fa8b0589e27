// RowInserts: the kept rows cut into executions of one prepared multi-row insert.
#include "converters/baskets/row_inserts.h"

#include <algorithm>
#include <utility>

namespace mv {
namespace {

/// Columns known by name alone: a value bound to one goes as the text it holds.
ResultColumns NamedColumns(const std::vector<std::string>& names) {
  std::vector<odbc::ColumnInfo> columns(names.size());
  for (size_t i = 0; i < names.size(); ++i) columns[i].name = names[i];
  return ResultColumns(std::move(columns));
}

}  // namespace

RowInserts::RowInserts(Connection& target, std::string table,
                       const std::vector<std::string>& columns)
    : insert_(target, std::move(table), NamedColumns(columns)) {
  for (size_t i = 0; i < columns.size(); ++i) columns_.push_back(i);
}

void RowInserts::Add(std::vector<Variant> row) { rows_.push_back(std::move(row)); }

void RowInserts::Write() {
  const std::vector<std::vector<Variant>> rows = std::move(rows_);
  rows_.clear();
  const size_t perExecution = insert_.RowsPerExecution(columns_.size());
  std::vector<const std::vector<Variant>*> execution;
  for (size_t first = 0; first < rows.size(); first += perExecution) {
    execution.clear();
    for (size_t n = first; n < std::min(rows.size(), first + perExecution); ++n) {
      execution.push_back(&rows[n]);
    }
    insert_.Execute(columns_, execution);
  }
}

}  // namespace mv
