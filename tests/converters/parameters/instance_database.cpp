#include "tests/converters/parameters/instance_database.h"

#include "driver/convert_functions.h"
#include "tools/setup/schema_script.h"
#include "tools/setup/wine_host.h"

namespace mv::testing {
namespace {

constexpr const char* kName = "Kestrine";
// PostgreSQL keeps the letter case of a quoted name only; connections pass it as it is.
constexpr const char* kQuotedName = "\"Kestrine\"";

void DropPostgresInstance() {
  setup::DropDatabase(setup::Engine::Postgresql, {"", "", "", kQuotedName});
}

/// The file or folder "Kestrine" in the current folder, when a test left one there.
void RemoveLeftInstance() {
  std::error_code ignored;
  std::filesystem::remove_all(kName, ignored);
}

}  // namespace

InstanceDatabase::InstanceDatabase(State state)
    : engine_(setup::EngineFromEnvironment()), previousFolder_(std::filesystem::current_path()) {
  // Under Wine the host's SQLite driver reads a relative name from the folder that the test
  // started in, whatever the current folder: there the test keeps to that folder.
  if (setup::UnderWine()) {
    RemoveLeftInstance();
  } else {
    std::filesystem::current_path(folder_.Path());
  }
  const bool sqlite = engine_ == setup::Engine::Sqlite;
  if (!sqlite) DropPostgresInstance();
  if (state == State::Unreachable) {
    if (sqlite) std::filesystem::create_directory(kName);
    return;
  }
  address_ = setup::CreateDatabase(engine_, sqlite ? kName : kQuotedName);
  address_.database = kName;
  created_ = true;
  setup::ApplySchema(*Connect(), SchemaRoot(), engine_, "instance");
}

InstanceDatabase::~InstanceDatabase() {
  if (created_ && engine_ == setup::Engine::Postgresql) DropPostgresInstance();
  if (setup::UnderWine()) RemoveLeftInstance();
  std::error_code ignored;
  std::filesystem::current_path(previousFolder_, ignored);
}

void InstanceDatabase::AddInstance(int bisId, int defaultBis) {
  Connect()->Execute("insert into BISINSTANCE (BISID, BISNAME, DEFAULTBIS) values (" +
                     std::to_string(bisId) + ", 'Instance " + std::to_string(bisId) + "', " +
                     std::to_string(defaultBis) + ")");
}

std::unique_ptr<Connection> InstanceDatabase::Connect() const {
  return OpenConnection(address_.server, address_.user, address_.password, address_.database);
}

}  // namespace mv::testing
