#include "platform/odbc/statement.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>

#include "platform/errors.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/statement_watchdog.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv::odbc {
namespace {

/// Calls `narrow` with `sql` as UTF-8 or `wide` with it as UTF-16, as the connection takes
/// statement texts. Drivers read a statement text up to its first NUL character, so a text
/// holding one is refused rather than cut off.
SQLRETURN CallWithText(const Handle& statement, bool wideText, const std::string& sql,
                       decltype(&SQLExecDirect) narrow, decltype(&SQLExecDirectW) wide) {
  if (sql.find('\0') != std::string::npos) {
    throw errors::InvalidProcedureCall(
        "A text holding a NUL character cannot be sent to the database");
  }
  if (!wideText) {
    std::string text = sql;
    return narrow(statement.Get(), reinterpret_cast<SQLCHAR*>(text.data()),
                  static_cast<SQLINTEGER>(text.size()));
  }
  std::u16string text = Utf8ToUtf16(sql);
  return wide(statement.Get(), reinterpret_cast<SQLWCHAR*>(text.data()),
              static_cast<SQLINTEGER>(text.size()));
}

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

/// The UTF-8 text of the `units` characters a driver wrote into `buffer`, cut to the buffer
/// when the driver reports a longer text than fitted.
template <size_t Capacity>
std::string BufferText(const SQLWCHAR (&buffer)[Capacity], size_t units) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer),
                                         std::min(units, Capacity - 1)));
}

template <typename Integral>
Integral CheckedNarrow(SQLBIGINT value) {
  if (value < std::numeric_limits<Integral>::min() ||
      value > std::numeric_limits<Integral>::max()) {
    throw errors::Overflow();
  }
  return static_cast<Integral>(value);
}

bool IsDateTimeType(SQLSMALLINT type) {
  return type == SQL_TYPE_TIMESTAMP || type == SQL_TIMESTAMP || type == SQL_TYPE_TIME ||
         type == SQL_TIME || type == SQL_TYPE_DATE || type == SQL_DATE;
}

/// The type `value` binds with as a value of `column`. Throws a type mismatch for kinds no
/// parameter holds.
ParameterType TypeOf(const Variant& value, const ColumnInfo& column) {
  ParameterType type;
  type.sqlType = column.sqlType == SQL_UNKNOWN_TYPE ? SQL_WVARCHAR : column.sqlType;
  type.size = column.size;
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
      const DateTime& date = value.AsDate();
      SQL_TIMESTAMP_STRUCT stamp{};
      stamp.year = static_cast<SQLSMALLINT>(date.year);
      stamp.month = static_cast<SQLUSMALLINT>(date.month);
      stamp.day = static_cast<SQLUSMALLINT>(date.day);
      stamp.hour = static_cast<SQLUSMALLINT>(date.hour);
      stamp.minute = static_cast<SQLUSMALLINT>(date.minute);
      stamp.second = static_cast<SQLUSMALLINT>(date.second);
      SQLUINTEGER unit = 1;
      for (int digit = std::clamp<int>(type.decimalDigits, 0, 9); digit < 9; ++digit) unit *= 10;
      stamp.fraction = static_cast<SQLUINTEGER>(date.nanosecond) / unit * unit;
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
    default:
      return SQL_NULL_DATA;
  }
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

Statement::Statement(Connection& connection)
    : connection_(&connection),
      statement_(SQL_HANDLE_STMT, connection.Handle().Get()),
      wideText_(connection.TakesWideText()) {
  Check(
      SQLSetStmtAttrW(
          statement_.Get(), SQL_ATTR_QUERY_TIMEOUT,
          reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(connection.QueryTimeoutSeconds())), 0),
      statement_);
}

template <typename Call>
auto Statement::Watched(Call call) {
  // The driver's own time-out stays set as well: it ends a slow statement on the server.
  Deadline deadline(statement_, std::chrono::seconds(connection_->QueryTimeoutSeconds()),
                    [connection = connection_](const std::vector<TcpLink>& linksBeforeCancel) {
                      connection->CutOff(linksBeforeCancel);
                    });
  std::optional<decltype(call())> result;
  try {
    result.emplace(call());
  } catch (const RuntimeError&) {
    if (!deadline.End().expired) throw;
  }
  // A call cancelled for time fails with the time-out, also where the driver still reported
  // it done: the cancel may have ended its work anywhere.
  if (const Deadline::Outcome outcome = deadline.End(); outcome.expired) {
    ThrowTimedOut(statement_, outcome.cutOff);
  }
  return std::move(*result);
}

void Statement::ExecuteDirect(const std::string& sql) {
  Check(Watched([&] {
          return CallWithText(statement_, wideText_, sql, SQLExecDirect, SQLExecDirectW);
        }),
        statement_);
}

void Statement::Prepare(const std::string& sql) {
  Check(Watched([&] { return CallWithText(statement_, wideText_, sql, SQLPrepare, SQLPrepareW); }),
        statement_);
}

void Statement::ClearParameters() {
  SQLFreeStmt(statement_.Get(), SQL_RESET_PARAMS);
  parameterData_.clear();
  parameterLengths_.clear();
}

void Statement::Execute() {
  Check(Watched([this] { return SQLExecute(statement_.Get()); }), statement_);
}

void Statement::BindParameter(SQLUSMALLINT number, const Variant& value, const ColumnInfo& column) {
  ParameterType type = TypeOf(value, column);
  std::vector<char>& data = parameterData_.emplace_back();
  SQLLEN& length = parameterLengths_.emplace_back(AppendBytes(value, type, data));
  if (data.empty()) data.push_back('\0');
  Check(SQLBindParameter(statement_.Get(), number, SQL_PARAM_INPUT, type.cType, type.sqlType,
                         std::max<SQLULEN>(type.size, 1), type.decimalDigits, data.data(),
                         static_cast<SQLLEN>(data.size()), &length),
        statement_);
}

bool Bindable(const Variant& value) {
  return value.Kind() != VariantKind::Error && value.Kind() != VariantKind::Object;
}

std::vector<ColumnInfo> Statement::DescribeColumns() {
  SQLSMALLINT count = 0;
  Check(SQLNumResultCols(statement_.Get(), &count), statement_);
  std::vector<ColumnInfo> columns(static_cast<size_t>(count));
  for (SQLUSMALLINT i = 0; i < static_cast<SQLUSMALLINT>(count); ++i) {
    SQLWCHAR name[256] = {};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT nullable = 0;
    ColumnInfo& column = columns[i];
    Check(SQLDescribeColW(statement_.Get(), static_cast<SQLUSMALLINT>(i + 1), name,
                          static_cast<SQLSMALLINT>(std::size(name)), &nameLength, &column.sqlType,
                          &column.size, &column.decimalDigits, &nullable),
          statement_);
    column.name = BufferText(name, static_cast<size_t>(nameLength));
    SQLWCHAR typeName[128] = {};
    SQLSMALLINT typeNameBytes = 0;
    Check(SQLColAttributeW(statement_.Get(), static_cast<SQLUSMALLINT>(i + 1), SQL_DESC_TYPE_NAME,
                           typeName, sizeof(typeName), &typeNameBytes, nullptr),
          statement_);
    column.typeName = BufferText(typeName, static_cast<size_t>(typeNameBytes) / sizeof(SQLWCHAR));
    column.kind = KindOfColumn(column.sqlType, column.typeName);
  }
  return columns;
}

bool Statement::Fetch() {
  const SQLRETURN code = Watched([this] { return SQLFetch(statement_.Get()); });
  if (code == SQL_NO_DATA) return false;
  Check(code, statement_);
  return true;
}

Variant Statement::GetValue(SQLUSMALLINT index, const ColumnInfo& column) {
  return Watched([&] { return ReadValue(index, column); });
}

Variant Statement::ReadValue(SQLUSMALLINT index, const ColumnInfo& column) {
  const SQLUSMALLINT number = static_cast<SQLUSMALLINT>(index + 1);
  const auto fixed = [&](SQLSMALLINT cType, void* target, SQLLEN size) {
    SQLLEN indicator = 0;
    Check(SQLGetData(statement_.Get(), number, cType, target, size, &indicator), statement_);
    return indicator != SQL_NULL_DATA;
  };
  switch (column.kind) {
    case VariantKind::Boolean:
    case VariantKind::Byte:
    case VariantKind::Integer:
    case VariantKind::Long: {
      // Read wide, so that a value beyond the kind (engines without fixed integer widths
      // store any) fails with Overflow instead of wrapping.
      SQLBIGINT value = 0;
      if (!fixed(SQL_C_SBIGINT, &value, sizeof(value))) return Variant::Null();
      if (column.kind == VariantKind::Boolean) return Variant::Boolean(value != 0);
      if (column.kind == VariantKind::Byte)
        return Variant::Byte(CheckedNarrow<std::uint8_t>(value));
      if (column.kind == VariantKind::Integer) {
        return Variant::Integer(CheckedNarrow<std::int16_t>(value));
      }
      return Variant::Long(CheckedNarrow<std::int32_t>(value));
    }
    case VariantKind::Single:
    case VariantKind::Double: {
      double value = 0;
      if (!fixed(SQL_C_DOUBLE, &value, sizeof(value))) return Variant::Null();
      if (column.kind == VariantKind::Double) return Variant::Double(value);
      // A REAL column of an engine without fixed widths may hold more than a float does.
      if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max()) {
        throw errors::Overflow();
      }
      return Variant::Single(static_cast<float>(value));
    }
    case VariantKind::Date: {
      SQL_TIMESTAMP_STRUCT stamp{};
      if (!fixed(SQL_C_TYPE_TIMESTAMP, &stamp, sizeof(stamp))) return Variant::Null();
      // A time of day alone sits on the runtime's day zero, as the drivers give it today's
      // date; its text is then the time alone.
      const bool timeOnly = column.sqlType == SQL_TYPE_TIME || column.sqlType == SQL_TIME;
      return Variant::Date(DateTime{timeOnly ? 1899 : stamp.year, timeOnly ? 12 : stamp.month,
                                    timeOnly ? 30 : stamp.day, stamp.hour, stamp.minute,
                                    stamp.second, static_cast<std::int32_t>(stamp.fraction)});
    }
    case VariantKind::ByteArray: {
      std::string bytes;
      if (!ReadAll(statement_, number, SQL_C_BINARY, bytes)) return Variant::Null();
      return Variant::Bytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
    case VariantKind::Currency:
    case VariantKind::Decimal: {
      std::string text;
      if (!ReadAll(statement_, number, SQL_C_CHAR, text)) return Variant::Null();
      const DecimalNumber number = DecimalNumber::Parse(text);
      if (column.kind == VariantKind::Decimal) return Variant::Decimal(number);
      return Variant::Currency(number.ToCurrencyScaled());
    }
    default: {
      std::u16string text;
      if (!ReadAll(statement_, number, SQL_C_WCHAR, text)) return Variant::Null();
      return Variant::String(Utf16ToUtf8(text));
    }
  }
}

}  // namespace mv::odbc
