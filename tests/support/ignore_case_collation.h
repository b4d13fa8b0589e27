// Texts compared as SQL Server's usual collations compare them: ignoring case.
#pragma once

#include <string>

#include "platform/odbc/connection.h"
#include "tools/setup/schema_script.h"

namespace mv::testing {

/// The clause that makes a text column of `engine` compare ignoring case: " collate nocase" on
/// SQLite; on PostgreSQL " collate ignore_case", a nondeterministic ICU collation that this
/// creates in the database of `connection` when it is not there yet.
std::string IgnoreCaseCollation(Connection& connection, setup::Engine engine);

}  // namespace mv::testing
