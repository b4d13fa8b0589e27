#include "platform/odbc/row_reader.h"

#include "platform/odbc/connection.h"
#include "platform/runtime_error.h"

namespace mv {

void ThrowItemNotFound() {
  throw RuntimeError(3265,
                     "Item cannot be found in the collection corresponding to the requested name "
                     "or ordinal.");
}

void ThrowNoCurrentRecord() {
  throw RuntimeError(3021,
                     "Either BOF or EOF is True, or the current record has been deleted. "
                     "Requested operation requires a current record.");
}

size_t ResultColumns::Index(std::string_view name) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (EqualsIgnoreCase(columns_[i].name, name)) return i;
  }
  ThrowItemNotFound();
}

RowReader::RowReader(Connection& connection, std::string_view sql) : statement_(connection) {
  statement_.ExecuteDirect(connection.ForEngine(sql));
  columns_ = std::make_shared<const ResultColumns>(statement_.DescribeColumns());
}

bool RowReader::Next() {
  row_.reset();
  if (!statement_.Fetch()) return false;
  const auto& columns = columns_->All();
  std::vector<Variant> values;
  values.reserve(columns.size());
  for (size_t i = 0; i < columns.size(); ++i) {
    values.push_back(statement_.GetValue(static_cast<SQLUSMALLINT>(i), columns[i]));
  }
  row_ = std::make_unique<FieldRow>(columns_, std::move(values));
  return true;
}

const FieldRow& RowReader::Row() const {
  if (!row_) ThrowNoCurrentRecord();
  return *row_;
}

}  // namespace mv
