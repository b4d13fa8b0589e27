// The drivers' own modes that hand a query's rows over as they are fetched, for a connection
// that only reads.
#pragma once

#include <optional>
#include <string>

#include "platform/odbc/internal/handle.h"

namespace mv::odbc {

/// `connectionString` with the keywords that switch on the streaming mode of the driver that
/// `connection` (connected) reached, for connecting again; none when that driver hands rows
/// over as they are fetched already (SQL Server's default result set) or has no such mode.
/// SQLite's driver holds a query's whole result from its execute on unless its step mode is on;
/// psqlODBC does unless it reads through a server-side cursor, a block of rows at a time,
/// which keeps the connection's reads in a transaction of its own: for reads only.
std::optional<std::string> StreamingConnectionString(const Handle& connection,
                                                     const std::string& connectionString);

}  // namespace mv::odbc
