// The process's ODBC environment, under which every connection is allocated.
#pragma once

#include "platform/odbc/internal/handle.h"

namespace mv::odbc {

/// The process's ODBC environment (ODBC 3), created on first use. The process's character
/// locale is set at start-up beforehand (PrepareProcessLocale). Throws RuntimeError when the
/// driver manager refuses it.
SQLHENV Environment();

}  // namespace mv::odbc
