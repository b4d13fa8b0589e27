// Counting the insert statements a PostgreSQL server receives for a table: a multi-row insert
// counts once, and so does every single-row insert.
#pragma once

#include <string>

#include "platform/odbc/connection.h"

namespace mv::testing {

/// From now on a statement trigger adds one row to table insert_statements for every statement
/// that inserts into `table` (PostgreSQL only).
void CountInsertStatements(Connection& connection, const std::string& table);

/// The statements that inserted into `table` since CountInsertStatements.
long InsertStatements(Connection& connection, const std::string& table);

}  // namespace mv::testing
