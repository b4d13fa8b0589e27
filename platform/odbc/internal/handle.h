// Ownership of ODBC handles.
#pragma once

#ifdef _WIN32
#include <windows.h>  // the ODBC headers of Windows build on its types
#endif

#include <sql.h>
#include <sqlext.h>

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

}  // namespace mv::odbc
