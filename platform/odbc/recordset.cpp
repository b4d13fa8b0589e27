#include "platform/odbc/recordset.h"

#include <algorithm>
#include <regex>

#include "platform/errors.h"
#include "platform/odbc/connection.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

/// How many added rows go to the database in one execution at most, and how many values they
/// bind at most (SQL Server takes 2,100 parameters, SQLite 32,766, PostgreSQL 65,535).
constexpr size_t kRowsPerExecution = 500;
constexpr size_t kMaxParameters = 2000;
/// How many multi-row inserts of different sizes a recordset keeps prepared.
constexpr size_t kMaxKeptMultiRowInserts = 16;

/// The table a single-table query reads: the name after its first "from".
std::string BaseTable(std::string_view sql) {
  static const std::regex from(R"(\bfrom\s+([A-Za-z0-9_.\[\]"]+))", std::regex::icase);
  std::match_results<std::string_view::const_iterator> match;
  if (!std::regex_search(sql.begin(), sql.end(), match, from)) return {};
  return match[1].str();
}

std::string ToLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::vector<std::string> PrimaryKeyNames(Connection& connection, const std::string& table) {
  std::vector<std::string> names;
  odbc::Statement statement(connection);
  std::u16string wide = Utf8ToUtf16(table);
  odbc::Check(SQLPrimaryKeysW(statement.Get().Get(), nullptr, 0, nullptr, 0,
                              reinterpret_cast<SQLWCHAR*>(wide.data()),
                              static_cast<SQLSMALLINT>(wide.size())),
              statement.Get());
  const auto columns = statement.DescribeColumns();
  while (statement.Fetch()) {
    // Column 4 of SQLPrimaryKeys is COLUMN_NAME.
    names.push_back(statement.GetValue(3, columns.at(3)).ToText());
  }
  return names;
}

}  // namespace

Recordset::Recordset(Connection& connection, std::string_view sql)
    : connection_(connection), table_(BaseTable(sql)) {
  odbc::Statement statement(connection);
  statement.ExecuteDirect(connection.ForEngine(sql));
  columns_ = ResultColumns(statement.DescribeColumns());
  while (statement.Fetch()) {
    Row row;
    row.values.reserve(columns_.size());
    for (size_t i = 0; i < columns_.size(); ++i) {
      row.values.push_back(statement.GetValue(static_cast<SQLUSMALLINT>(i), columns_[i]));
    }
    row.assigned.assign(columns_.size(), false);
    rows_.push_back(std::move(row));
  }
}

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

void Recordset::SetField(std::string_view name, Variant value) {
  const size_t column = columns_.Index(name);
  // Drivers take a bound text up to its first NUL character and would store the rest cut off.
  if (value.Kind() == VariantKind::String && value.AsString().find('\0') != std::string::npos) {
    throw errors::InvalidProcedureCall("The value for " + table_ + "." + columns_[column].name +
                                       " holds a NUL character, which the database would cut off");
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
    if (names.empty()) names = PrimaryKeyNames(connection_, ToLower(table_));
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
    std::string names;
    std::string marks;
    for (size_t i : write.setColumns) {
      names += (names.empty() ? "" : ", ") + columns_[i].name;
      marks += marks.empty() ? "?" : ", ?";
    }
    sql = write.setColumns.empty()
              ? "insert into " + table_ + " default values"
              : "insert into " + table_ + " (" + names + ") values (" + marks + ")";
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
  write.statement = std::make_unique<odbc::Statement>(connection_);
  write.statement->Prepare(sql);
  return write;
}

void Recordset::WriteRow(Row& row, PreparedWrites& prepared) {
  PreparedWrite& write = PreparedFor(row, prepared);
  odbc::Statement& statement = *write.statement;
  statement.ClearParameters();
  SQLUSMALLINT number = 1;
  for (size_t i : write.setColumns) statement.BindParameter(number++, row.values[i], columns_[i]);
  for (size_t i : write.whereColumns) {
    statement.BindParameter(number++, (*row.original)[i], columns_[i]);
  }
  statement.Execute();
  MarkWritten(row);
}

odbc::Statement& Recordset::MultiRowInsert(const Row& first, size_t rows,
                                           const std::vector<size_t>& setColumns) {
  std::unique_ptr<odbc::Statement>& statement = multiRowInserts_[{first.assigned, rows}];
  if (!statement) {
    // Statements for the odd tail sizes of earlier batches are dropped before they pile up.
    if (multiRowInserts_.size() > kMaxKeptMultiRowInserts) {
      auto kept = std::move(statement);
      multiRowInserts_.clear();
      statement = std::move(kept);
    }
    std::string names;
    std::string row;
    for (size_t i : setColumns) {
      names += (names.empty() ? "" : ", ") + columns_[i].name;
      row += row.empty() ? "(?" : ", ?";
    }
    row += ")";
    std::string sql = "insert into " + table_ + " (" + names + ") values " + row;
    for (size_t n = 1; n < rows; ++n) sql += ", " + row;
    statement = std::make_unique<odbc::Statement>(connection_);
    statement->Prepare(sql);
  }
  return *statement;
}

void Recordset::WriteAddedRows(size_t& written, PreparedWrites& prepared) {
  const Row& first = rows_[pending_[written]];
  const std::vector<size_t> setColumns = PreparedFor(first, prepared).setColumns;
  const size_t maxRows =
      setColumns.empty() ? 1 : std::min(kRowsPerExecution, kMaxParameters / setColumns.size());
  size_t count = 0;
  for (; written + count < pending_.size() && count < maxRows; ++count) {
    const Row& row = rows_[pending_[written + count]];
    if (row.state != RowState::Added || row.assigned != first.assigned) break;
    // A value no parameter holds ends the statement before its row, which then fails alone.
    if (std::any_of(setColumns.begin(), setColumns.end(),
                    [&row](size_t i) { return !odbc::Bindable(row.values[i]); })) {
      break;
    }
  }
  if (count < 2) {
    WriteRow(rows_[pending_[written]], prepared);
    ++written;
    return;
  }
  // Many rows go out as one multi-row insert. A failed execution is undone whole and its rows
  // are written one by one: the rows before the failing one are written, and its own error
  // reaches the caller.
  odbc::Statement& insert = MultiRowInsert(first, count, setColumns);
  insert.ClearParameters();
  SQLUSMALLINT number = 1;
  for (size_t n = 0; n < count; ++n) {
    const Row& row = rows_[pending_[written + n]];
    for (size_t i : setColumns) insert.BindParameter(number++, row.values[i], columns_[i]);
  }
  bool executed = false;
  {
    Savepoint savepoint(connection_);
    try {
      insert.Execute();
      executed = true;
      savepoint.Keep();
    } catch (const RuntimeError&) {
      savepoint.Undo();
    }
  }
  insert.ClearParameters();
  for (size_t end = written + count; written < end; ++written) {
    Row& row = rows_[pending_[written]];
    if (executed) {
      MarkWritten(row);
    } else {
      WriteRow(row, prepared);
    }
  }
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
  const bool manyRows = connection_.TakesSavepoints();
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
