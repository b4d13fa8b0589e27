// How Variants reach the driver as parameter values and come back as column values: the
// Variant kind each SQL column type reads as, the C and SQL types a value binds with, and the
// reading of one column's value from the current row.
#pragma once

#include <string_view>
#include <vector>

#include "platform/odbc/column_info.h"
#include "platform/odbc/internal/handle.h"
#include "platform/variant.h"

namespace mv::odbc {

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

/// A parameter value as the driver reads it: how it is typed, its bytes (never none, so that
/// the driver always gets a buffer) and their count, or SQL_NULL_DATA for a null.
struct ParameterValue {
  ParameterType type;
  std::vector<char> bytes;
  SQLLEN length = 0;
};

/// Sets `parameter` to `value` typed as a value of `column`, reusing its buffer. A text or byte
/// string longer than the column widens the size it is sent with. Throws a type mismatch for
/// kinds no parameter holds.
void SetParameter(ParameterValue& parameter, const Variant& value, const ColumnInfo& column);

/// The value of result column `number` (from 1) in the current row of `statement`, read as
/// `column.kind`. Throws Overflow for a value beyond that kind.
Variant ReadColumnValue(const Handle& statement, SQLUSMALLINT number, const ColumnInfo& column);

}  // namespace mv::odbc
