// Ownership of ODBC handles and the one checked path from an ODBC return code to RuntimeError.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>

namespace mv::odbc {

/// Owns one ODBC handle and frees it when destroyed.
class Handle {
 public:
  Handle() = default;
  /// Allocates a handle of `type` under `parent` (SQL_NULL_HANDLE for the environment).
  Handle(SQLSMALLINT type, SQLHANDLE parent);
  ~Handle();
  Handle(Handle&& other) noexcept;
  Handle& operator=(Handle&& other) noexcept;
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  SQLHANDLE Get() const { return handle_; }
  SQLSMALLINT Type() const { return type_; }
  void Reset() noexcept;

 private:
  SQLSMALLINT type_ = 0;
  SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

/// `text` on one line: tabs and line breaks become blanks, runs of blanks one blank, and blanks
/// at either end go, so that every error description fits on one log line.
std::string OneLine(std::string_view text);

/// Throws RuntimeError for a failed call: the first diagnostic record's native error number
/// (errors::kGenericProviderError when it has none) and its message on one line. `redact`, when not
/// empty, is removed from the message (drivers may echo a connection string). The error is
/// marked ConnectionLost when the diagnostic says that the connection is gone.
void Check(SQLRETURN code, const Handle& handle, std::string_view redact = {});

/// Throws the error of a call that was cancelled because it ran past its time-out: the driver's
/// own diagnostic when it reports the time-out (SQLSTATE HYT00), else errors::kQueryTimeout with
/// "Query timeout expired". `connectionLost` marks a call that had to be cut off the server.
[[noreturn]] void ThrowTimedOut(const Handle& handle, bool connectionLost);

/// The process's ODBC environment (ODBC 3), created on first use.
SQLHENV Environment();

}  // namespace mv::odbc
