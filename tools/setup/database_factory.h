// Creates and drops whole databases on the engine that "SQL Server" is registered as.
#pragma once

#include <string>

#include "driver/connection_values.h"
#include "tools/setup/schema_script.h"

namespace mv::setup {

/// The engine of this process's ODBC set-up: MV_TEST_ENGINE ("sqlite", the default, or
/// "postgresql").
Engine EngineFromEnvironment();

/// Where and how to reach one database: server, user, password, database name as the
/// operator would type them.
struct DatabaseAddress {
  std::string server;
  std::string user;
  std::string password;
  std::string database;
};

/// The address of an existing database `name`: for SQLite a file path (the host's name of it
/// under Wine), for PostgreSQL a database on the server at PGHOST (user "postgres").
DatabaseAddress ExistingDatabase(Engine engine, const std::string& name);

/// For SQLite, `name` is a file path and creating it creates the file; for PostgreSQL, a
/// database of that name is created on the server at PGHOST (user "postgres").
DatabaseAddress CreateDatabase(Engine engine, const std::string& name);
/// Drops a database made by CreateDatabase; never throws.
void DropDatabase(Engine engine, const DatabaseAddress& address) noexcept;

}  // namespace mv::setup
