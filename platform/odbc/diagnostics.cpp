// The driver's first diagnostic record read whole as a RuntimeError, and the signs of a lost link.
#include "platform/odbc/internal/diagnostics.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/odbc/one_line.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv::odbc {
namespace {

/// Whether a diagnostic says that the connection is gone: the ODBC class 08 (connection
/// exception); PostgreSQL's 57P01 and 57P02, with which the server ends a session it
/// terminates; or the texts with which the PostgreSQL driver reports a lost server under a
/// general state.
bool IsConnectionLost(std::string_view sqlState, std::string_view message) {
  if (sqlState.starts_with("08") || sqlState == "57P01" || sqlState == "57P02") return true;
  for (std::string_view sign :
       {"could not send data", "server closed the connection", "The connection has been lost"}) {
    if (message.find(sign) != std::string_view::npos) return true;
  }
  return false;
}

struct Diagnostic {
  std::string sqlState;
  SQLINTEGER native = 0;
  std::string text;
};

/// The first diagnostic record of `handle`; `fallback` as its text when there is none. The
/// driver is asked for the message's length first, and the message is then read whole.
Diagnostic FirstDiagnostic(const Handle& handle, std::string fallback) {
  SQLWCHAR state[6] = {};
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(
          SQLGetDiagRecW(handle.Type(), handle.Get(), 1, state, &native, nullptr, 0, &length))) {
    return {"", 0, std::move(fallback)};
  }
  std::vector<SQLWCHAR> message(static_cast<size_t>(std::max<SQLSMALLINT>(length, 0)) + 1);
  if (!SQL_SUCCEEDED(SQLGetDiagRecW(handle.Type(), handle.Get(), 1, state, &native, message.data(),
                                    static_cast<SQLSMALLINT>(message.size()), &length))) {
    return {"", 0, std::move(fallback)};
  }
  const auto* chars = reinterpret_cast<const char16_t*>(message.data());
  return {Utf16ToUtf8(
              std::u16string_view(reinterpret_cast<const char16_t*>(state), std::size(state) - 1)),
          native,
          Utf16ToUtf8(std::u16string_view(
              chars, std::min<size_t>(static_cast<size_t>(length), message.size() - 1)))};
}

}  // namespace

void Check(SQLRETURN code, const Handle& handle) {
  if (SQL_SUCCEEDED(code) || code == SQL_NO_DATA) return;
  Diagnostic diagnostic = FirstDiagnostic(
      handle, code == SQL_INVALID_HANDLE ? "Invalid ODBC handle" : "Unknown ODBC error");
  const bool lost = IsConnectionLost(diagnostic.sqlState, diagnostic.text);
  throw errors::DatabaseError(diagnostic.native, OneLine(diagnostic.text),
                              std::move(diagnostic.sqlState), lost);
}

void ThrowTimedOut(const Handle& handle, bool connectionLost) {
  const Diagnostic diagnostic = FirstDiagnostic(handle, "");
  if (diagnostic.sqlState == "HYT00") {
    throw errors::DriverTimeout(diagnostic.native, OneLine(diagnostic.text), connectionLost);
  }
  throw errors::QueryTimeout(connectionLost);
}

}  // namespace mv::odbc
