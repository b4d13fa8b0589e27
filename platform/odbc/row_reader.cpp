// ResultColumns' lookup by name in any letter case, and RowReader: one fetched row at a time.
#include "platform/odbc/row_reader.h"

#include <algorithm>
#include <utility>

#include "platform/errors.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/internal/statement.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {

void ThrowItemNotFound() { throw errors::ItemNotFound(); }

void ThrowNoCurrentRecord() { throw errors::NoCurrentRecord(); }

ResultColumns::ResultColumns(std::vector<odbc::ColumnInfo> columns) : columns_(std::move(columns)) {
  for (size_t i = 0; i < columns_.size() && uniqueNames_; ++i) {
    for (size_t j = i + 1; j < columns_.size() && uniqueNames_; ++j) {
      uniqueNames_ = !EqualsIgnoreCase(columns_[i].name, columns_[j].name);
    }
  }
}

bool ResultColumns::Contains(std::string_view name) const {
  return std::any_of(columns_.begin(), columns_.end(), [name](const odbc::ColumnInfo& column) {
    return EqualsIgnoreCase(column.name, name);
  });
}

size_t ResultColumns::Index(std::string_view name) const {
  // Rows are mostly read and written column after column, so with unique names the search
  // starts after the column found last; the first match is then the only one.
  const size_t start = uniqueNames_ ? lastColumn_ + 1 : 0;
  for (size_t n = 0; n < columns_.size(); ++n) {
    const size_t i = (start + n) % columns_.size();
    if (EqualsIgnoreCase(columns_[i].name, name)) {
      lastColumn_ = i;
      return i;
    }
  }
  ThrowItemNotFound();
}

PreparedQuery::PreparedQuery(Connection& connection, std::string_view sql)
    : statement_(std::make_unique<odbc::Statement>(connection.StatementContext())) {
  statement_->Prepare(connection.ForEngine(sql));
}

PreparedQuery::~PreparedQuery() = default;

RowReader::RowReader(Connection& connection, std::string_view sql)
    : owned_(std::make_unique<odbc::Statement>(connection.StatementContext())),
      statement_(owned_.get()) {
  statement_->ExecuteDirect(connection.ForEngine(sql));
  columns_ = std::make_shared<const ResultColumns>(statement_->DescribeColumns());
}

RowReader::RowReader(Connection& connection, std::string_view sql,
                     const std::vector<QueryParameter>& parameters)
    : owned_(std::make_unique<odbc::Statement>(connection.StatementContext())),
      statement_(owned_.get()) {
  statement_->Prepare(connection.ForEngine(sql));
  Execute(parameters);
}

RowReader::RowReader(PreparedQuery& query, const std::vector<QueryParameter>& parameters)
    : statement_(query.statement_.get()) {
  Execute(parameters);
}

RowReader::~RowReader() {
  if (owned_) return;
  try {
    statement_->CloseResult();
  } catch (const RuntimeError&) {
    // A connection lost meanwhile: the next run of the query reports it.
  }
}

void RowReader::Execute(const std::vector<QueryParameter>& parameters) {
  SQLUSMALLINT number = 1;
  for (const QueryParameter& parameter : parameters) {
    statement_->BindParameter(number++, parameter.value, parameter.column);
  }
  statement_->Execute();
  columns_ = std::make_shared<const ResultColumns>(statement_->DescribeColumns());
}

bool RowReader::Next() {
  row_.reset();
  std::vector<Variant> values;
  if (!statement_->FetchRow(columns_->All(), values)) return false;
  row_ = std::make_unique<FieldRow>(columns_, std::move(values));
  return true;
}

const FieldRow& RowReader::Row() const {
  if (!row_) ThrowNoCurrentRecord();
  return *row_;
}

}  // namespace mv
