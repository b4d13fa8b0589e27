// The Variant kind of each SQL column type, a Variant's bytes and types as a parameter, and a
// column's value read back in pieces.
#include "platform/odbc/internal/value_binding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "platform/decimal_number.h"
#include "platform/errors.h"
#include "platform/odbc/internal/diagnostics.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv::odbc {
namespace {

// ColumnInfo::sqlType starts as 0, which must mean "unknown".
static_assert(SQL_UNKNOWN_TYPE == 0);

bool IsTextType(SQLSMALLINT type) {
  switch (type) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
      return true;
    default:
      return false;
  }
}

bool IsDateTimeType(SQLSMALLINT type) {
  return type == SQL_TYPE_TIMESTAMP || type == SQL_TIMESTAMP || type == SQL_TYPE_TIME ||
         type == SQL_TIME || type == SQL_TYPE_DATE || type == SQL_DATE;
}

/// The exact number a Decimal, Currency, Single or Double holds; none for the other kinds and
/// for a floating-point value so large (2^53 and beyond) that it is a whole number.
std::optional<DecimalNumber> ExactNumber(const Variant& value) {
  switch (value.Kind()) {
    case VariantKind::Currency:
    case VariantKind::Decimal:
      return value.ToDecimal();
    case VariantKind::Single:
    case VariantKind::Double: {
      const double real = value.ToDouble();
      if (!(std::fabs(real) < 0x1p53)) return std::nullopt;
      return DecimalNumber::FromDouble(real);
    }
    case VariantKind::Empty:
    case VariantKind::Null:
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Date:
    case VariantKind::String:
    case VariantKind::Boolean:
    case VariantKind::Byte:
    case VariantKind::Error:
    case VariantKind::ByteArray:
    case VariantKind::Object:
      break;
  }
  return std::nullopt;
}

/// `value` rounded to the scale of a decimal `column`, half away from zero as the server rounds
/// a literal, when it has more decimal places than the column keeps: the drivers refuse to cut
/// them off a text (SQLSTATE 22001) and cut them off a floating-point value without rounding.
/// None when `value` goes to the column as it is.
std::optional<Variant> RoundedToScale(const Variant& value, const ColumnInfo& column) {
  if (column.sqlType != SQL_DECIMAL && column.sqlType != SQL_NUMERIC) return std::nullopt;
  const std::optional<DecimalNumber> exact = ExactNumber(value);
  if (!exact) return std::nullopt;
  const DecimalNumber rounded = exact->RoundedAwayFromZero(column.decimalDigits);
  if (rounded == *exact) return std::nullopt;
  return Variant::Decimal(rounded);
}

/// The type `value` binds with as a value of `column`. Throws a type mismatch for kinds no
/// parameter holds.
ParameterType TypeOf(const Variant& value, const ColumnInfo& column) {
  ParameterType type;
  type.sqlType = column.sqlType == SQL_UNKNOWN_TYPE ? SQL_WVARCHAR : column.sqlType;
  type.size = static_cast<SQLULEN>(column.size);
  type.decimalDigits = column.decimalDigits;
  switch (value.Kind()) {
    case VariantKind::Empty:
    case VariantKind::Null:
    case VariantKind::Currency:
    case VariantKind::Decimal:
      type.cType = SQL_C_CHAR;
      break;
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Byte:
    case VariantKind::Boolean:
      type.cType = SQL_C_SLONG;
      break;
    case VariantKind::Single:
    case VariantKind::Double:
      type.cType = SQL_C_DOUBLE;
      break;
    case VariantKind::Date:
      type.cType = SQL_C_TYPE_TIMESTAMP;
      // Fractions of a second go out with as many digits as a date-time column keeps (the
      // SQL Server drivers refuse more); to the millisecond where the column does not say,
      // and not at all for whole seconds there, so their text stays as it was.
      if (!IsDateTimeType(column.sqlType) || type.decimalDigits == 0) {
        type.decimalDigits = value.AsDate().nanosecond == 0 ? 0 : 3;
      }
      if (!IsTextType(type.sqlType)) type.sqlType = SQL_TYPE_TIMESTAMP;
      type.size = type.decimalDigits == 0 ? 19 : 20 + static_cast<SQLULEN>(type.decimalDigits);
      break;
    case VariantKind::String:
      type.cType = SQL_C_WCHAR;
      break;
    case VariantKind::ByteArray:
      type.cType = SQL_C_BINARY;
      break;
    case VariantKind::Error:
    case VariantKind::Object:
      throw errors::TypeMismatch();
  }
  return type;
}

/// The driver's timestamp of `date`, its fraction cut to `decimalDigits` digits.
SQL_TIMESTAMP_STRUCT TimestampOf(const DateTime& date, SQLSMALLINT decimalDigits) {
  SQL_TIMESTAMP_STRUCT stamp{};
  stamp.year = static_cast<SQLSMALLINT>(date.year);
  stamp.month = static_cast<SQLUSMALLINT>(date.month);
  stamp.day = static_cast<SQLUSMALLINT>(date.day);
  stamp.hour = static_cast<SQLUSMALLINT>(date.hour);
  stamp.minute = static_cast<SQLUSMALLINT>(date.minute);
  stamp.second = static_cast<SQLUSMALLINT>(date.second);
  SQLUINTEGER unit = 1;
  for (int digit = std::clamp<int>(decimalDigits, 0, 9); digit < 9; ++digit) unit *= 10;
  stamp.fraction = static_cast<SQLUINTEGER>(date.nanosecond) / unit * unit;
  return stamp;
}

/// Appends the bytes the driver reads for `value`, bound as `type` (from TypeOf), to `bytes`
/// and returns their count, or SQL_NULL_DATA for a null. A text or byte string longer than
/// the column widens `type.size`.
SQLLEN AppendBytes(const Variant& value, ParameterType& type, std::vector<char>& bytes) {
  const auto append = [&](const void* data, size_t count) {
    const char* first = static_cast<const char*>(data);
    bytes.insert(bytes.end(), first, first + count);
    return static_cast<SQLLEN>(count);
  };
  switch (value.Kind()) {
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Byte:
    case VariantKind::Boolean: {
      SQLINTEGER number32 = value.ToLong();
      if (value.Kind() == VariantKind::Boolean && type.sqlType == SQL_BIT) number32 = -number32;
      return append(&number32, sizeof(number32));
    }
    case VariantKind::Single:
    case VariantKind::Double: {
      const double real = value.ToDouble();
      return append(&real, sizeof(real));
    }
    case VariantKind::Currency:
    case VariantKind::Decimal: {
      const std::string text = value.ToDecimal().Text();
      return append(text.data(), text.size());
    }
    case VariantKind::Date: {
      const SQL_TIMESTAMP_STRUCT stamp = TimestampOf(value.AsDate(), type.decimalDigits);
      return append(&stamp, sizeof(stamp));
    }
    case VariantKind::String: {
      const std::u16string wide = Utf8ToUtf16(value.AsString());
      if (IsTextType(type.sqlType)) type.size = std::max<SQLULEN>({type.size, wide.size(), 1});
      return append(wide.data(), wide.size() * sizeof(char16_t));
    }
    case VariantKind::ByteArray: {
      const auto& data = value.AsBytes();
      type.size = std::max<SQLULEN>({type.size, data.size(), 1});
      return append(data.data(), data.size());
    }
    case VariantKind::Empty:
    case VariantKind::Null:
    case VariantKind::Error:
    case VariantKind::Object:
      break;
  }
  return SQL_NULL_DATA;
}

/// Reads a variable-length value in pieces; returns false for NULL.
template <typename Char>
bool ReadAll(const Handle& statement, SQLUSMALLINT column, SQLSMALLINT cType,
             std::basic_string<Char>& out) {
  out.clear();
  Char buffer[4096];
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN code =
        SQLGetData(statement.Get(), column, cType, buffer, sizeof(buffer), &indicator);
    if (code == SQL_NO_DATA) return true;
    Check(code, statement);
    if (indicator == SQL_NULL_DATA) return false;
    const size_t terminator = cType == SQL_C_BINARY ? 0 : 1;
    const size_t room = sizeof(buffer) / sizeof(Char) - terminator;
    size_t got = room;
    if (indicator != SQL_NO_TOTAL && static_cast<size_t>(indicator) / sizeof(Char) <= room) {
      got = static_cast<size_t>(indicator) / sizeof(Char);
    }
    out.append(buffer, got);
    if (code == SQL_SUCCESS) return true;
  }
}

/// Reads a fixed-size value of C type `cType` into `target`; returns false for NULL.
bool ReadFixed(const Handle& statement, SQLUSMALLINT number, SQLSMALLINT cType, void* target,
               SQLLEN size) {
  SQLLEN indicator = 0;
  Check(SQLGetData(statement.Get(), number, cType, target, size, &indicator), statement);
  return indicator != SQL_NULL_DATA;
}

template <typename Integral>
Integral CheckedNarrow(SQLBIGINT value) {
  if (value < std::numeric_limits<Integral>::min() ||
      value > std::numeric_limits<Integral>::max()) {
    throw errors::Overflow();
  }
  return static_cast<Integral>(value);
}

Variant ReadInteger(const Handle& statement, SQLUSMALLINT number, VariantKind kind) {
  // Read wide, so that a value beyond the kind (engines without fixed integer widths store
  // any) fails with Overflow instead of wrapping.
  SQLBIGINT value = 0;
  if (!ReadFixed(statement, number, SQL_C_SBIGINT, &value, sizeof(value))) return Variant::Null();
  if (kind == VariantKind::Boolean) return Variant::Boolean(value != 0);
  if (kind == VariantKind::Byte) return Variant::Byte(CheckedNarrow<std::uint8_t>(value));
  if (kind == VariantKind::Integer) return Variant::Integer(CheckedNarrow<std::int16_t>(value));
  return Variant::Long(CheckedNarrow<std::int32_t>(value));
}

Variant ReadReal(const Handle& statement, SQLUSMALLINT number, VariantKind kind) {
  double value = 0;
  if (!ReadFixed(statement, number, SQL_C_DOUBLE, &value, sizeof(value))) return Variant::Null();
  if (kind == VariantKind::Double) return Variant::Double(value);
  // A REAL column of an engine without fixed widths may hold more than a float does.
  if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max()) {
    throw errors::Overflow();
  }
  return Variant::Single(static_cast<float>(value));
}

Variant ReadDate(const Handle& statement, SQLUSMALLINT number, SQLSMALLINT sqlType) {
  SQL_TIMESTAMP_STRUCT stamp{};
  if (!ReadFixed(statement, number, SQL_C_TYPE_TIMESTAMP, &stamp, sizeof(stamp))) {
    return Variant::Null();
  }
  // A time of day alone sits on the runtime's day zero, as the drivers give it today's date;
  // its text is then the time alone.
  const bool timeOnly = sqlType == SQL_TYPE_TIME || sqlType == SQL_TIME;
  return Variant::Date(DateTime{timeOnly ? 1899 : stamp.year, timeOnly ? 12 : stamp.month,
                                timeOnly ? 30 : stamp.day, stamp.hour, stamp.minute, stamp.second,
                                static_cast<std::int32_t>(stamp.fraction)});
}

Variant ReadBytes(const Handle& statement, SQLUSMALLINT number) {
  std::string bytes;
  if (!ReadAll(statement, number, SQL_C_BINARY, bytes)) return Variant::Null();
  return Variant::Bytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

Variant ReadDecimal(const Handle& statement, SQLUSMALLINT number, VariantKind kind) {
  std::string text;
  if (!ReadAll(statement, number, SQL_C_CHAR, text)) return Variant::Null();
  const DecimalNumber decimal = DecimalNumber::Parse(text);
  if (kind == VariantKind::Decimal) return Variant::Decimal(decimal);
  return Variant::Currency(decimal.ToCurrencyScaled());
}

Variant ReadText(const Handle& statement, SQLUSMALLINT number) {
  std::u16string text;
  if (!ReadAll(statement, number, SQL_C_WCHAR, text)) return Variant::Null();
  return Variant::String(Utf16ToUtf8(text));
}

}  // namespace

VariantKind KindOfColumn(SQLSMALLINT sqlType, std::string_view typeName) {
  switch (sqlType) {
    case SQL_BIT:
      return VariantKind::Boolean;
    case SQL_TINYINT:
      return VariantKind::Byte;
    case SQL_SMALLINT:
      return VariantKind::Integer;
    case SQL_INTEGER:
      return VariantKind::Long;
    case SQL_BIGINT:
      return VariantKind::Decimal;
    case SQL_REAL:
      return VariantKind::Single;
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return VariantKind::Double;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
      // SQL Server reports money and smallmoney as decimal(19,4) and decimal(10,4) and names
      // them; any other decimal column may hold more than Currency's range.
      return EqualsIgnoreCase(typeName, "money") || EqualsIgnoreCase(typeName, "smallmoney")
                 ? VariantKind::Currency
                 : VariantKind::Decimal;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP:
    case SQL_DATE:
    case SQL_TIME:
    case SQL_TIMESTAMP:
      return VariantKind::Date;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return VariantKind::ByteArray;
    default:
      return VariantKind::String;
  }
}

bool Bindable(const Variant& value) {
  return value.Kind() != VariantKind::Error && value.Kind() != VariantKind::Object;
}

void SetParameter(ParameterValue& parameter, const Variant& value, const ColumnInfo& column) {
  const std::optional<Variant> rounded = RoundedToScale(value, column);
  const Variant& bound = rounded ? *rounded : value;
  parameter.type = TypeOf(bound, column);
  parameter.bytes.clear();
  parameter.length = AppendBytes(bound, parameter.type, parameter.bytes);
  if (parameter.bytes.empty()) parameter.bytes.push_back('\0');
}

Variant ReadColumnValue(const Handle& statement, SQLUSMALLINT number, const ColumnInfo& column) {
  switch (column.kind) {
    case VariantKind::Boolean:
    case VariantKind::Byte:
    case VariantKind::Integer:
    case VariantKind::Long:
      return ReadInteger(statement, number, column.kind);
    case VariantKind::Single:
    case VariantKind::Double:
      return ReadReal(statement, number, column.kind);
    case VariantKind::Date:
      return ReadDate(statement, number, column.sqlType);
    case VariantKind::ByteArray:
      return ReadBytes(statement, number);
    case VariantKind::Currency:
    case VariantKind::Decimal:
      return ReadDecimal(statement, number, column.kind);
    case VariantKind::Empty:
    case VariantKind::Null:
    case VariantKind::String:
    case VariantKind::Error:
    case VariantKind::Object:
      break;
  }
  return ReadText(statement, number);
}

}  // namespace mv::odbc
