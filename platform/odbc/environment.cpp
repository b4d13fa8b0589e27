// The process's ODBC 3 environment handle, allocated once on first use.
#include "platform/odbc/internal/environment.h"

#include "platform/odbc/internal/diagnostics.h"

namespace mv::odbc {

SQLHENV Environment() {
  static const Handle environment = [] {
    Handle env(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    Check(SQLSetEnvAttr(env.Get(), SQL_ATTR_ODBC_VERSION,
                        reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
          env);
    return env;
  }();
  return environment.Get();
}

}  // namespace mv::odbc
