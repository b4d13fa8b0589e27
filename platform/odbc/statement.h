// One ODBC statement on a connection: execute, describe and fetch result columns as Variants,
// bind Variants as parameters.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/odbc/odbc_error.h"
#include "platform/variant.h"

namespace mv {
class Connection;
}

namespace mv::odbc {

/// What the driver reports of one result column.
struct ColumnInfo {
  std::string name;
  SQLSMALLINT sqlType = SQL_UNKNOWN_TYPE;
  SQLULEN size = 0;
  SQLSMALLINT decimalDigits = 0;
  VariantKind kind = VariantKind::String;
};

/// The Variant kind a column of this SQL type reads as, as ADO maps them.
VariantKind KindOfColumn(SQLSMALLINT sqlType, SQLULEN size, SQLSMALLINT decimalDigits);

class Statement {
 public:
  explicit Statement(Connection& connection);

  void ExecuteDirect(const std::string& sql);
  void Prepare(const std::string& sql);
  /// Binds `value` as parameter `number` (from 1), typed as a value of `column`. The value's
  /// data stays owned by the statement until the next ClearParameters.
  void BindParameter(SQLUSMALLINT number, const Variant& value, const ColumnInfo& column);
  void ClearParameters();
  void Execute();

  /// The result columns of the executed statement.
  std::vector<ColumnInfo> DescribeColumns();
  /// Moves to the next result row; false after the last.
  bool Fetch();
  /// The value of `column` (from 0) in the current row.
  Variant GetValue(SQLUSMALLINT index, const ColumnInfo& column);

  const Handle& Get() const { return statement_; }

 private:
  Handle statement_;
  std::deque<std::vector<char>> parameterData_;
  std::deque<SQLLEN> parameterLengths_;
};

}  // namespace mv::odbc
