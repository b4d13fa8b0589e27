#include "platform/odbc/statement.h"

#include <algorithm>
#include <iterator>

#include "platform/odbc/connection.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv::odbc {
namespace {

std::u16string Wide(const std::string& sql) { return Utf8ToUtf16(sql); }

bool IsTextType(SQLSMALLINT type) {
  switch (type) {
    case SQL_CHAR: case SQL_VARCHAR: case SQL_LONGVARCHAR:
    case SQL_WCHAR: case SQL_WVARCHAR: case SQL_WLONGVARCHAR:
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

/// "-12.5" as Currency's amount times 10 000.
std::int64_t ScaledCurrencyFromText(const std::string& text) {
  const bool negative = !text.empty() && text[0] == '-';
  std::int64_t whole = 0;
  std::int64_t fraction = 0;
  int fractionDigits = 0;
  bool inFraction = false;
  for (char c : text) {
    if (c == '.') {
      inFraction = true;
    } else if (c >= '0' && c <= '9') {
      if (!inFraction) {
        whole = whole * 10 + (c - '0');
      } else if (fractionDigits < 4) {
        fraction = fraction * 10 + (c - '0');
        ++fractionDigits;
      }
    }
  }
  for (; fractionDigits < 4; ++fractionDigits) fraction *= 10;
  const std::int64_t scaled = whole * 10000 + fraction;
  return negative ? -scaled : scaled;
}

}  // namespace

VariantKind KindOfColumn(SQLSMALLINT sqlType, SQLULEN size, SQLSMALLINT decimalDigits) {
  switch (sqlType) {
    case SQL_BIT: return VariantKind::Boolean;
    case SQL_TINYINT: return VariantKind::Byte;
    case SQL_SMALLINT: return VariantKind::Integer;
    case SQL_INTEGER: return VariantKind::Long;
    case SQL_BIGINT: return VariantKind::Decimal;
    case SQL_REAL: return VariantKind::Single;
    case SQL_FLOAT: case SQL_DOUBLE: return VariantKind::Double;
    case SQL_DECIMAL: case SQL_NUMERIC:
      // SQL Server's money and smallmoney are decimal(19,4) and decimal(10,4).
      return decimalDigits == 4 && (size == 19 || size == 10) ? VariantKind::Currency
                                                               : VariantKind::Decimal;
    case SQL_TYPE_DATE: case SQL_TYPE_TIME: case SQL_TYPE_TIMESTAMP:
    case SQL_DATE: case SQL_TIME: case SQL_TIMESTAMP:
      return VariantKind::Date;
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY:
      return VariantKind::ByteArray;
    default:
      return VariantKind::String;
  }
}

Statement::Statement(Connection& connection)
    : statement_(SQL_HANDLE_STMT, connection.Handle().Get()) {
  Check(SQLSetStmtAttrW(statement_.Get(), SQL_ATTR_QUERY_TIMEOUT,
                        reinterpret_cast<SQLPOINTER>(
                            static_cast<SQLULEN>(connection.QueryTimeoutSeconds())),
                        0),
        statement_);
}

void Statement::ExecuteDirect(const std::string& sql) {
  std::u16string text = Wide(sql);
  Check(SQLExecDirectW(statement_.Get(), reinterpret_cast<SQLWCHAR*>(text.data()),
                       static_cast<SQLINTEGER>(text.size())),
        statement_);
}

void Statement::Prepare(const std::string& sql) {
  std::u16string text = Wide(sql);
  Check(SQLPrepareW(statement_.Get(), reinterpret_cast<SQLWCHAR*>(text.data()),
                    static_cast<SQLINTEGER>(text.size())),
        statement_);
}

void Statement::ClearParameters() {
  SQLFreeStmt(statement_.Get(), SQL_RESET_PARAMS);
  parameterData_.clear();
  parameterLengths_.clear();
}

void Statement::Execute() { Check(SQLExecute(statement_.Get()), statement_); }

void Statement::BindParameter(SQLUSMALLINT number, const Variant& value,
                              const ColumnInfo& column) {
  std::vector<char>& data = parameterData_.emplace_back();
  SQLLEN& length = parameterLengths_.emplace_back(0);
  SQLSMALLINT cType = SQL_C_CHAR;
  SQLSMALLINT sqlType = column.sqlType == SQL_UNKNOWN_TYPE ? SQL_WVARCHAR : column.sqlType;
  SQLULEN size = column.size;
  const auto store = [&](const void* bytes, size_t count) {
    data.assign(static_cast<const char*>(bytes), static_cast<const char*>(bytes) + count);
    length = static_cast<SQLLEN>(count);
  };
  switch (value.Kind()) {
    case VariantKind::Empty:
    case VariantKind::Null:
      data.assign(1, '\0');
      length = SQL_NULL_DATA;
      break;
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Byte:
    case VariantKind::Boolean: {
      SQLINTEGER number32 = value.ToLong();
      if (value.Kind() == VariantKind::Boolean && sqlType == SQL_BIT) number32 = -number32;
      cType = SQL_C_SLONG;
      store(&number32, sizeof(number32));
      break;
    }
    case VariantKind::Single:
    case VariantKind::Double: {
      const double real = value.ToDouble();
      cType = SQL_C_DOUBLE;
      store(&real, sizeof(real));
      break;
    }
    case VariantKind::Currency:
    case VariantKind::Decimal: {
      std::string text;
      if (value.Kind() == VariantKind::Decimal) {
        text = value.AsDecimalText();
      } else {
        const std::int64_t scaled = value.AsCurrencyScaled();
        const std::uint64_t magnitude =
            scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
        std::string fraction = std::to_string(magnitude % 10000);
        fraction.insert(0, 4 - fraction.size(), '0');
        text = (scaled < 0 ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction;
      }
      store(text.data(), text.size());
      break;
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
      cType = SQL_C_TYPE_TIMESTAMP;
      if (!IsTextType(sqlType)) sqlType = SQL_TYPE_TIMESTAMP;
      size = 19;
      store(&stamp, sizeof(stamp));
      break;
    }
    case VariantKind::String: {
      const std::u16string wide = Utf8ToUtf16(value.AsString());
      cType = SQL_C_WCHAR;
      store(wide.data(), wide.size() * sizeof(char16_t));
      if (IsTextType(sqlType)) size = std::max<SQLULEN>({size, wide.size(), 1});
      break;
    }
    case VariantKind::ByteArray: {
      const auto& bytes = value.AsBytes();
      cType = SQL_C_BINARY;
      store(bytes.data(), bytes.size());
      size = std::max<SQLULEN>({size, bytes.size(), 1});
      break;
    }
    case VariantKind::Error:
    case VariantKind::Object:
      throw RuntimeError(errors::kTypeMismatch, "Type mismatch");
  }
  if (data.empty()) data.push_back('\0');
  if (size == 0) size = 1;
  Check(SQLBindParameter(statement_.Get(), number, SQL_PARAM_INPUT, cType, sqlType, size,
                         column.decimalDigits, data.data(), static_cast<SQLLEN>(data.size()),
                         &length),
        statement_);
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
    column.name = Utf16ToUtf8(std::u16string_view(
        reinterpret_cast<const char16_t*>(name),
        std::min<size_t>(static_cast<size_t>(nameLength), std::size(name) - 1)));
    column.kind = KindOfColumn(column.sqlType, column.size, column.decimalDigits);
  }
  return columns;
}

bool Statement::Fetch() {
  const SQLRETURN code = SQLFetch(statement_.Get());
  if (code == SQL_NO_DATA) return false;
  Check(code, statement_);
  return true;
}

Variant Statement::GetValue(SQLUSMALLINT index, const ColumnInfo& column) {
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
      SQLINTEGER value = 0;
      if (!fixed(SQL_C_SLONG, &value, sizeof(value))) return Variant::Null();
      if (column.kind == VariantKind::Boolean) return Variant::Boolean(value != 0);
      if (column.kind == VariantKind::Byte) return Variant::Byte(static_cast<std::uint8_t>(value));
      if (column.kind == VariantKind::Integer) {
        return Variant::Integer(static_cast<std::int16_t>(value));
      }
      return Variant::Long(value);
    }
    case VariantKind::Single:
    case VariantKind::Double: {
      double value = 0;
      if (!fixed(SQL_C_DOUBLE, &value, sizeof(value))) return Variant::Null();
      return column.kind == VariantKind::Single ? Variant::Single(static_cast<float>(value))
                                                : Variant::Double(value);
    }
    case VariantKind::Date: {
      SQL_TIMESTAMP_STRUCT stamp{};
      if (!fixed(SQL_C_TYPE_TIMESTAMP, &stamp, sizeof(stamp))) return Variant::Null();
      return Variant::Date(DateTime{stamp.year, stamp.month, stamp.day, stamp.hour, stamp.minute,
                                    stamp.second});
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
      if (column.kind == VariantKind::Decimal) return Variant::Decimal(text);
      return Variant::Currency(ScaledCurrencyFromText(text));
    }
    default: {
      std::u16string text;
      if (!ReadAll(statement_, number, SQL_C_WCHAR, text)) return Variant::Null();
      return Variant::String(Utf16ToUtf8(text));
    }
  }
}

}  // namespace mv::odbc
