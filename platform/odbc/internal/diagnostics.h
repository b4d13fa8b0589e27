// What the driver reports about a failed call: its first diagnostic record turned into
// RuntimeError, marked when it says that the connection is gone.
#pragma once

#include "platform/odbc/internal/handle.h"

namespace mv::odbc {

/// Throws RuntimeError for a failed call: the first diagnostic record's native error number
/// (errors::kGenericProviderError when it has none), its message on one line and its SQLSTATE.
/// The error is marked ConnectionLost when the diagnostic says that the connection is gone.
void Check(SQLRETURN code, const Handle& handle);

/// Throws the error of a call that was cancelled because it ran past its time-out: the driver's
/// own diagnostic when it reports the time-out (SQLSTATE HYT00), else errors::kQueryTimeout with
/// "Query timeout expired". `connectionLost` marks a call that had to be cut off the server.
[[noreturn]] void ThrowTimedOut(const Handle& handle, bool connectionLost);

}  // namespace mv::odbc
