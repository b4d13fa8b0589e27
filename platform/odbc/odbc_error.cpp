#include "platform/odbc/odbc_error.h"

#include <algorithm>
#include <clocale>
#include <iterator>
#include <utility>

#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

#ifndef _WIN32
#include <langinfo.h>
#endif

namespace mv::odbc {

std::string OneLine(std::string_view text) {
  std::string out;
  bool blank = false;
  for (char c : text) {
    const bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (space) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

namespace {

void RemoveAll(std::string& text, std::string_view part) {
  if (part.empty()) return;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
    text.erase(at, part.size());
  }
}

/// Driver managers turn the wide calls into narrow ones for drivers that only have those, in
/// the encoding of the process's character locale. The C locale would squeeze every shop text
/// into ASCII, so the user's locale is taken, and UTF-8 where that names no encoding beyond
/// ASCII (the same rule as the program's narrow code page).
void UseTextEncodingOfTheUser() {
#ifndef _WIN32
  std::setlocale(LC_CTYPE, "");
  if (NarrowCodePageName() == "UTF-8" && std::string(nl_langinfo(CODESET)) != "UTF-8") {
    std::setlocale(LC_CTYPE, "C.UTF-8");
  }
#endif
}

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

}  // namespace

Handle::Handle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
  if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &handle_))) {
    handle_ = SQL_NULL_HANDLE;
    throw errors::ProviderError("Cannot allocate an ODBC handle");
  }
}

Handle::~Handle() { Reset(); }

Handle::Handle(Handle&& other) noexcept
    : type_(other.type_), handle_(std::exchange(other.handle_, nullptr)) {}

Handle& Handle::operator=(Handle&& other) noexcept {
  if (this != &other) {
    Reset();
    type_ = other.type_;
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

void Handle::Reset() noexcept {
  if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
  handle_ = SQL_NULL_HANDLE;
}

namespace {

struct Diagnostic {
  std::string sqlState;
  SQLINTEGER native = 0;
  std::string text;
};

/// The first diagnostic record of `handle`; `fallback` as its text when there is none.
Diagnostic FirstDiagnostic(const Handle& handle, std::string fallback) {
  SQLWCHAR state[6] = {};
  SQLINTEGER native = 0;
  SQLWCHAR message[2048] = {};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLGetDiagRecW(handle.Type(), handle.Get(), 1, state, &native, message,
                                    static_cast<SQLSMALLINT>(std::size(message)), &length))) {
    return {"", 0, std::move(fallback)};
  }
  const auto* chars = reinterpret_cast<const char16_t*>(message);
  return {Utf16ToUtf8(
              std::u16string_view(reinterpret_cast<const char16_t*>(state), std::size(state) - 1)),
          native,
          Utf16ToUtf8(std::u16string_view(
              chars, std::min<size_t>(static_cast<size_t>(length), std::size(message) - 1)))};
}

}  // namespace

void Check(SQLRETURN code, const Handle& handle, std::string_view redact) {
  if (SQL_SUCCEEDED(code) || code == SQL_NO_DATA) return;
  Diagnostic diagnostic = FirstDiagnostic(
      handle, code == SQL_INVALID_HANDLE ? "Invalid ODBC handle" : "Unknown ODBC error");
  RemoveAll(diagnostic.text, redact);
  const bool lost = IsConnectionLost(diagnostic.sqlState, diagnostic.text);
  throw errors::DatabaseError(diagnostic.native, OneLine(diagnostic.text),
                              std::move(diagnostic.sqlState), lost);
}

void ThrowTimedOut(const Handle& handle, bool connectionLost) {
  const Diagnostic diagnostic = FirstDiagnostic(handle, "");
  if (diagnostic.sqlState == "HYT00") {
    throw RuntimeError(diagnostic.native != 0 ? diagnostic.native : errors::kQueryTimeout,
                       OneLine(diagnostic.text), diagnostic.sqlState, connectionLost);
  }
  throw errors::QueryTimeout(connectionLost);
}

SQLHENV Environment() {
  static const Handle environment = [] {
    UseTextEncodingOfTheUser();
    Handle env(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    Check(SQLSetEnvAttr(env.Get(), SQL_ATTR_ODBC_VERSION,
                        reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
          env);
    return env;
  }();
  return environment.Get();
}

}  // namespace mv::odbc
