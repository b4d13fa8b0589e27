// One ODBC statement on a connection: execute, describe and fetch result columns as Variants,
// bind Variants as parameters.
#pragma once

#include <deque>
#include <optional>
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
  std::string typeName;  // the engine's own name of the type ("money", "numeric")
  VariantKind kind = VariantKind::String;
};

/// The Variant kind a column of this SQL type reads as, as ADO maps them: decimal and numeric
/// as Decimal, only the engine's money types as Currency.
VariantKind KindOfColumn(SQLSMALLINT sqlType, std::string_view typeName);

/// How a parameter value reaches the driver: the C type of its buffer, and the SQL type and
/// column size it is sent as.
struct ParameterType {
  SQLSMALLINT cType = SQL_C_CHAR;
  SQLSMALLINT sqlType = SQL_WVARCHAR;
  SQLULEN size = 0;
  SQLSMALLINT decimalDigits = 0;
};

/// Whether a parameter can hold `value`: every kind but Error and objects.
bool Bindable(const Variant& value);

/// Every call that waits for the server (execute, fetch, read a value) is watched: one that
/// has not answered within the connection's query time-out is cancelled and throws
/// RuntimeError errors::kQueryTimeout "Query timeout expired" (or the driver's own time-out
/// text), also when the driver itself never gives up; one running when the operator stops the
/// run is cancelled and throws the driver's error.
class Statement {
 public:
  /// `connection` must outlive the statement.
  explicit Statement(Connection& connection);

  /// Runs `sql`. Throws RuntimeError 5 for a text holding a NUL character, which no driver
  /// would take whole.
  void ExecuteDirect(const std::string& sql);
  /// Prepares `sql`; refuses a NUL character as ExecuteDirect does.
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
  /// Runs `call` under the connection's query time-out; see the class.
  template <typename Call>
  auto Watched(Call call);
  Variant ReadValue(SQLUSMALLINT index, const ColumnInfo& column);

  Connection* connection_;
  Handle statement_;
  bool wideText_;  // texts go through the wide calls (Connection::TakesWideText)
  std::deque<std::vector<char>> parameterData_;
  std::deque<SQLLEN> parameterLengths_;
};

}  // namespace mv::odbc
