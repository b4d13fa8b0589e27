#include "tools/setup/database_factory.h"

#include <cstdlib>
#include <filesystem>

#include "driver/convert_functions.h"
#include "platform/runtime_error.h"
#include "tools/setup/wine_host.h"

namespace mv::setup {
namespace {

std::string EnvironmentOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}

DatabaseAddress PostgresAddress(const std::string& database) {
  return {EnvironmentOr("PGHOST", "127.0.0.1"), "postgres", "", database};
}

}  // namespace

Engine EngineFromEnvironment() {
  return EnvironmentOr("MV_TEST_ENGINE", "sqlite") == "postgresql" ? Engine::Postgresql
                                                                   : Engine::Sqlite;
}

DatabaseAddress ExistingDatabase(Engine engine, const std::string& name) {
  return engine == Engine::Sqlite ? DatabaseAddress{"localhost", "sa", "", HostFileName(name)}
                                  : PostgresAddress(name);
}

DatabaseAddress CreateDatabase(Engine engine, const std::string& name) {
  if (engine == Engine::Sqlite) {
    const DatabaseAddress address = ExistingDatabase(engine, name);
    OpenConnection(address.server, address.user, address.password, address.database)->Close();
    return address;
  }
  const DatabaseAddress admin = PostgresAddress("postgres");
  auto connection = OpenConnection(admin.server, admin.user, admin.password, admin.database);
  connection->Execute("drop database if exists " + name + " with (force)");
  connection->Execute("create database " + name);
  return PostgresAddress(name);
}

void DropDatabase(Engine engine, const DatabaseAddress& address) noexcept {
  try {
    if (engine == Engine::Sqlite) {
      std::error_code ignored;
      std::filesystem::remove(address.database, ignored);
      return;
    }
    const DatabaseAddress admin = PostgresAddress("postgres");
    OpenConnection(admin.server, admin.user, admin.password, admin.database)
        ->Execute("drop database if exists " + address.database + " with (force)");
  } catch (...) {
    // A database left behind lives in a throwaway server or folder.
  }
}

}  // namespace mv::setup
