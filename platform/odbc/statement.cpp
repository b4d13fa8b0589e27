// One ODBC statement: executing, preparing, binding and fetching, each call under the watchdog.
#include "platform/odbc/internal/statement.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/errors.h"
#include "platform/odbc/internal/diagnostics.h"
#include "platform/odbc/internal/nul_flags.h"
#include "platform/odbc/internal/watched_call.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv::odbc {
namespace {

/// Calls `narrow` with `sql` as UTF-8 or `wide` with it as UTF-16, as the connection takes
/// statement texts. Drivers read a statement text up to its first NUL character, so a text
/// holding one is refused rather than cut off.
SQLRETURN CallWithText(const Handle& statement, bool narrowText, const std::string& sql,
                       decltype(&SQLExecDirect) narrow, decltype(&SQLExecDirectW) wide) {
  if (sql.find('\0') != std::string::npos) {
    throw errors::InvalidProcedureCall(
        "A text holding a NUL character cannot be sent to the database");
  }
  if (narrowText) {
    std::string text = sql;
    return narrow(statement.Get(), reinterpret_cast<SQLCHAR*>(text.data()),
                  static_cast<SQLINTEGER>(text.size()));
  }
  std::u16string text = Utf8ToUtf16(sql);
  return wide(statement.Get(), reinterpret_cast<SQLWCHAR*>(text.data()),
              static_cast<SQLINTEGER>(text.size()));
}

/// The UTF-8 text of the `units` characters a driver wrote into `buffer`, cut to the buffer
/// when the driver reports a longer text than fitted.
template <size_t Capacity>
std::string BufferText(const SQLWCHAR (&buffer)[Capacity], size_t units) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer),
                                         std::min(units, Capacity - 1)));
}

/// What the driver reports of result column `number` (from 1) of `statement`.
ColumnInfo DescribeColumn(const Handle& statement, SQLUSMALLINT number) {
  ColumnInfo column;
  SQLWCHAR name[256] = {};
  SQLSMALLINT nameLength = 0;
  SQLSMALLINT nullable = 0;
  SQLULEN size = 0;
  Check(SQLDescribeColW(statement.Get(), number, name, static_cast<SQLSMALLINT>(std::size(name)),
                        &nameLength, &column.sqlType, &size, &column.decimalDigits, &nullable),
        statement);
  column.size = static_cast<std::size_t>(size);
  column.name = BufferText(name, static_cast<size_t>(nameLength));
  SQLWCHAR typeName[128] = {};
  SQLSMALLINT typeNameBytes = 0;
  Check(SQLColAttributeW(statement.Get(), number, SQL_DESC_TYPE_NAME, typeName, sizeof(typeName),
                         &typeNameBytes, nullptr),
        statement);
  column.typeName = BufferText(typeName, static_cast<size_t>(typeNameBytes) / sizeof(SQLWCHAR));
  column.kind = KindOfColumn(column.sqlType, column.typeName);
  return column;
}

}  // namespace

Statement::Statement(StatementContext context)
    : context_(std::move(context)), statement_(SQL_HANDLE_STMT, context_.connection) {
  Check(SQLSetStmtAttrW(
            statement_.Get(), SQL_ATTR_QUERY_TIMEOUT,
            reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(context_.queryTimeoutSeconds)), 0),
        statement_);
}

Statement::~Statement() {
  context_.session->Finished(this);
  // A streamed result's cursor is closed on the server as the handle goes.
  WatchedRelease(context_, [this] { statement_.Reset(); });
}

template <typename Call>
auto Statement::Watched(Call call) {
  return WatchedCall(context_, statement_, call);
}

template <typename Call>
void Statement::Run(Call call, std::string_view sql) {
  ServerSession& session = *context_.session;
  session.RefuseWhenNotAllowed(this, sql);
  Check(Watched(call), statement_);
  SQLSMALLINT columns = 0;
  if (session.Strict()) Check(SQLNumResultCols(statement_.Get(), &columns), statement_);
  session.Ran(this, sql, columns > 0);
}

void Statement::ExecuteDirect(const std::string& sql) {
  if (context_.textReadStopsAtNul && ReadsRows(sql)) {
    Prepare(sql);
    Execute();
    return;
  }
  flaggedColumns_.reset();
  Run(
      [&] {
        return CallWithText(statement_, context_.narrowStatementText, sql, SQLExecDirect,
                            SQLExecDirectW);
      },
      sql);
}

void Statement::Prepare(const std::string& sql) {
  flaggedColumns_.reset();
  prepared_ = sql;
  PrepareText(sql);
  if (!context_.textReadStopsAtNul || !ReadsRows(sql)) return;
  std::vector<ColumnInfo> columns = DescribeColumns();
  const std::string flagged = QueryWithNulFlags(sql, columns);
  if (flagged.empty()) return;
  PrepareText(flagged);
  flaggedColumns_ = std::move(columns);
}

void Statement::PrepareText(const std::string& sql) {
  Check(Watched([&] {
          return CallWithText(statement_, context_.narrowStatementText, sql, SQLPrepare,
                              SQLPrepareW);
        }),
        statement_);
}

void Statement::Execute() {
  Run([this] { return SQLExecute(statement_.Get()); }, prepared_);
}

void Statement::PrimaryKeys(const std::string& table) {
  std::u16string wide = Utf8ToUtf16(table);
  Run(
      [&] {
        return SQLPrimaryKeysW(statement_.Get(), nullptr, 0, nullptr, 0,
                               reinterpret_cast<SQLWCHAR*>(wide.data()),
                               static_cast<SQLSMALLINT>(wide.size()));
      },
      {});
}

void Statement::BindParameter(SQLUSMALLINT number, const Variant& value, const ColumnInfo& column) {
  if (parameters_.size() < number) parameters_.resize(number);
  BoundParameter& parameter = parameters_[number - 1];
  ParameterValue& current = parameter.value;
  if (value.IsNull() && parameter.boundType) {
    // A null is sent as null whatever type the parameter is bound with.
    current.length = SQL_NULL_DATA;
    return;
  }
  SetParameter(current, value, column);
  const ParameterType& type = current.type;
  // The SQLite driver takes a byte string's length from the buffer's length given here, not
  // from the length of each execution's value; a text's length it takes from the value.
  const size_t bufferLength =
      type.cType == SQL_C_BINARY ? current.bytes.size() : current.bytes.capacity();
  const std::optional<ParameterType>& bound = parameter.boundType;
  // A size at most the bound one is sent within it: a text column's size only tells the
  // driver how long its values may be.
  if (bound && bound->cType == type.cType && bound->sqlType == type.sqlType &&
      bound->decimalDigits == type.decimalDigits && bound->size >= type.size &&
      parameter.boundBuffer == current.bytes.data() && parameter.boundLength == bufferLength) {
    return;
  }
  Check(SQLBindParameter(statement_.Get(), number, SQL_PARAM_INPUT, type.cType, type.sqlType,
                         std::max<SQLULEN>(type.size, 1), type.decimalDigits, current.bytes.data(),
                         static_cast<SQLLEN>(bufferLength), &current.length),
        statement_);
  parameter.boundType = type;
  parameter.boundBuffer = current.bytes.data();
  parameter.boundLength = bufferLength;
}

std::vector<ColumnInfo> Statement::DescribeColumns() {
  if (flaggedColumns_) return *flaggedColumns_;
  SQLSMALLINT count = 0;
  Check(SQLNumResultCols(statement_.Get(), &count), statement_);
  std::vector<ColumnInfo> columns;
  for (SQLSMALLINT number = 1; number <= count; ++number) {
    columns.push_back(DescribeColumn(statement_, static_cast<SQLUSMALLINT>(number)));
  }
  return columns;
}

bool Statement::FetchRow(const std::vector<ColumnInfo>& columns, std::vector<Variant>& values) {
  values.clear();
  const bool fetched = Watched([&] {
    const SQLRETURN code = SQLFetch(statement_.Get());
    if (code == SQL_NO_DATA) return false;
    Check(code, statement_);
    // The flags column, when there is one, comes before the query's own columns.
    if (flaggedColumns_) {
      ColumnInfo flags;
      flags.kind = VariantKind::String;
      nulFlags_ = ReadColumnValue(statement_, 1, flags).ToText();
    }
    const SQLUSMALLINT first = flaggedColumns_ ? 2 : 1;
    values.reserve(columns.size());
    for (size_t index = 0; index < columns.size(); ++index) {
      Variant value =
          ReadColumnValue(statement_, static_cast<SQLUSMALLINT>(first + index), columns[index]);
      if (flaggedColumns_ && index < nulFlags_.size() && nulFlags_[index] == '1') {
        value = MarkedAsHoldingNul(value);
      }
      values.push_back(std::move(value));
    }
    return true;
  });
  if (!fetched) context_.session->Finished(this);
  return fetched;
}

void Statement::CloseResult() {
  Check(Watched([this] { return SQLFreeStmt(statement_.Get(), SQL_CLOSE); }), statement_);
  context_.session->Finished(this);
}

}  // namespace mv::odbc
