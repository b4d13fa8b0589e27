// Recordset: the whole result fetched, fields read and set by name, and the pending rows written
// by UpdateBatch, added rows many to an insert.
#include "platform/odbc/recordset.h"

#include <algorithm>
#include <regex>

#include "platform/errors.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/internal/batch_writer.h"
#include "platform/odbc/internal/insert_text.h"
#include "platform/odbc/internal/statement.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

/// The table a single-table query reads: the name after its first "from".
std::string BaseTable(std::string_view sql) {
  static const std::regex from(R"(\bfrom\s+([A-Za-z0-9_.\[\]"]+))", std::regex::icase);
  std::match_results<std::string_view::const_iterator> match;
  if (!std::regex_search(sql.begin(), sql.end(), match, from)) return {};
  return match[1].str();
}

std::vector<std::string> PrimaryKeyNames(Connection& connection, const std::string& table) {
  std::vector<std::string> names;
  odbc::Statement statement(connection.StatementContext());
  statement.PrimaryKeys(table);
  const auto columns = statement.DescribeColumns();
  std::vector<Variant> values;
  while (statement.FetchRow(columns, values)) {
    // Column 4 of SQLPrimaryKeys is COLUMN_NAME.
    names.push_back(values.at(3).ToText());
  }
  return names;
}

}  // namespace

Recordset::Recordset(Connection& connection, std::string_view sql)
    : connection_(connection), table_(BaseTable(sql)) {
  odbc::Statement statement(connection.StatementContext());
  statement.ExecuteDirect(connection.ForEngine(sql));
  columns_ = ResultColumns(statement.DescribeColumns());
  std::vector<Variant> values;
  while (statement.FetchRow(columns_.All(), values)) {
    Row row;
    row.values = std::move(values);
    row.assigned.assign(columns_.size(), false);
    rows_.push_back(std::move(row));
  }
}

Recordset::~Recordset() = default;

void Recordset::MoveFirst() { position_ = 0; }

void Recordset::MoveNext() {
  if (Eof()) ThrowNoCurrentRecord();
  ++position_;
}

std::vector<std::string> Recordset::FieldNames() const {
  std::vector<std::string> names;
  for (const auto& column : columns_.All()) names.push_back(column.name);
  return names;
}

bool Recordset::HasField(std::string_view name) const { return columns_.Contains(name); }

Recordset::Row& Recordset::CurrentRow() {
  if (Bof() || Eof()) ThrowNoCurrentRecord();
  return rows_[static_cast<size_t>(position_)];
}

const Recordset::Row& Recordset::CurrentRow() const {
  if (Bof() || Eof()) ThrowNoCurrentRecord();
  return rows_[static_cast<size_t>(position_)];
}

const Variant& Recordset::Field(std::string_view name) const {
  const size_t column = columns_.Index(name);
  return CurrentRow().values[column];
}

size_t Recordset::FieldIndex(std::string_view name) const { return columns_.Index(name); }

void Recordset::SetField(std::string_view name, Variant value) {
  SetFieldAt(columns_.Index(name), std::move(value));
}

void Recordset::SetFieldAt(size_t column, Variant value) {
  // Drivers take a bound text up to its first NUL character and would store the rest cut off.
  if (HoldsNulCharacter(value)) {
    throw errors::NulInText(table_ + "." + columns_[column].name);
  }
  Row& row = CurrentRow();
  if (row.state == RowState::Unchanged) {
    row.original = row.values;
    row.state = RowState::Changed;
    MarkPending(static_cast<size_t>(position_));
  }
  row.values[column] = std::move(value);
  row.assigned[column] = true;
}

void Recordset::AddNew() {
  Row row;
  row.values.assign(columns_.size(), Variant());
  row.assigned.assign(columns_.size(), false);
  row.state = RowState::Added;
  rows_.push_back(std::move(row));
  position_ = static_cast<long>(rows_.size()) - 1;
  MarkPending(rows_.size() - 1);
}

void Recordset::MarkPending(size_t rowIndex) { pending_.push_back(rowIndex); }

const std::vector<size_t>& Recordset::ConditionColumns() {
  if (!conditionColumns_) {
    std::vector<std::string> names = PrimaryKeyNames(connection_, table_);
    if (names.empty()) names = PrimaryKeyNames(connection_, AsciiLowerCase(table_));
    conditionColumns_.emplace();
    for (const auto& name : names) {
      if (HasField(name)) conditionColumns_->push_back(columns_.Index(name));
    }
    if (conditionColumns_->empty()) {
      for (size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].kind != VariantKind::ByteArray) conditionColumns_->push_back(i);
      }
    }
  }
  return *conditionColumns_;
}

Recordset::PreparedWrite& Recordset::PreparedFor(const Row& row, PreparedWrites& prepared) {
  const bool added = row.state == RowState::Added;
  std::vector<bool> shape = row.assigned;
  shape.push_back(added);
  if (!added) {
    for (size_t i : ConditionColumns()) shape.push_back((*row.original)[i].IsNull());
  }
  PreparedWrite& write = prepared[shape];
  if (write.statement) return write;

  for (size_t i = 0; i < columns_.size(); ++i) {
    if (row.assigned[i]) write.setColumns.push_back(i);
  }
  std::string sql;
  if (added) {
    sql = odbc::InsertText(table_, columns_, write.setColumns);
  } else {
    std::string assignments;
    for (size_t i : write.setColumns) {
      assignments += (assignments.empty() ? "" : ", ") + columns_[i].name + " = ?";
    }
    std::string condition;
    for (size_t i : ConditionColumns()) {
      condition += condition.empty() ? "" : " and ";
      if ((*row.original)[i].IsNull()) {
        condition += columns_[i].name + " is null";
      } else {
        condition += columns_[i].name + " = ?";
        write.whereColumns.push_back(i);
      }
    }
    sql = "update " + table_ + " set " + assignments + " where " + condition;
  }
  write.statement = std::make_unique<odbc::Statement>(connection_.StatementContext());
  write.statement->Prepare(sql);
  return write;
}

void Recordset::WriteRow(Row& row, PreparedWrites& prepared) {
  PreparedWrite& write = PreparedFor(row, prepared);
  odbc::Statement& statement = *write.statement;
  SQLUSMALLINT number = 1;
  for (size_t i : write.setColumns) statement.BindParameter(number++, row.values[i], columns_[i]);
  for (size_t i : write.whereColumns) {
    statement.BindParameter(number++, (*row.original)[i], columns_[i]);
  }
  statement.Execute();
  MarkWritten(row);
}

void Recordset::WriteAddedRows(size_t& written, PreparedWrites& prepared) {
  const std::vector<bool> shape = rows_[pending_[written]].assigned;
  const std::vector<size_t> setColumns = PreparedFor(rows_[pending_[written]], prepared).setColumns;
  if (!batchWriter_)
    batchWriter_ = std::make_unique<odbc::BatchWriter>(connection_, table_, columns_);
  batchWriter_->WriteAdded(
      setColumns, {.addedLikeNext = [&](size_t n) -> const std::vector<Variant>* {
                     if (written + n >= pending_.size()) return nullptr;
                     const Row& row = rows_[pending_[written + n]];
                     return row.state == RowState::Added && row.assigned == shape ? &row.values
                                                                                  : nullptr;
                   },
                   .writeNextAlone =
                       [&] {
                         WriteRow(rows_[pending_[written]], prepared);
                         ++written;
                       },
                   .markNextWritten =
                       [&] {
                         MarkWritten(rows_[pending_[written]]);
                         ++written;
                       }});
}

void Recordset::MarkWritten(Row& row) {
  row.state = RowState::Unchanged;
  row.original.reset();
  row.assigned.assign(columns_.size(), false);
}

void Recordset::UpdateBatch() {
  if (pending_.empty()) return;
  if (table_.empty()) {
    throw errors::NoBaseTable();
  }
  const bool manyRows = !eachRowAlone_ && connection_.Capabilities().savepoints.has_value();
  PreparedWrites& prepared = prepared_;
  size_t written = 0;
  try {
    while (written < pending_.size()) {
      Row& row = rows_[pending_[written]];
      if (manyRows && row.state == RowState::Added) {
        WriteAddedRows(written, prepared);
      } else {
        WriteRow(row, prepared);
        ++written;
      }
    }
  } catch (...) {
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(written));
    throw;
  }
  pending_.clear();
}

void Recordset::ForgetWrittenRows() {
  std::vector<Row> kept;
  std::vector<size_t> pending;
  for (size_t index : pending_) {
    pending.push_back(kept.size());
    kept.push_back(std::move(rows_[index]));
  }
  rows_ = std::move(kept);
  pending_ = std::move(pending);
  position_ = rows_.empty() ? 0 : static_cast<long>(rows_.size()) - 1;
}

void Recordset::CancelBatch() {
  std::vector<Row> kept;
  long newPosition = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    Row& row = rows_[i];
    if (row.state == RowState::Added) continue;
    if (row.state == RowState::Changed) {
      row.values = std::move(*row.original);
      row.original.reset();
      row.state = RowState::Unchanged;
      row.assigned.assign(columns_.size(), false);
    }
    if (static_cast<long>(i) <= position_) newPosition = static_cast<long>(kept.size());
    kept.push_back(std::move(row));
  }
  rows_ = std::move(kept);
  position_ = rows_.empty() ? 0 : std::min(newPosition, static_cast<long>(rows_.size()) - 1);
  pending_.clear();
}

}  // namespace mv
