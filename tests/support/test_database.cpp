#include "tests/support/test_database.h"

#include <unistd.h>
#include <atomic>
#include <random>
#include <string>

#include "driver/convert_functions.h"
#include "platform/unicode.h"
#include "tools/setup/schema_script.h"

namespace mv::testing {
namespace {

std::string UniqueName() {
  static std::atomic<int> counter{0};
  static const unsigned salt = std::random_device{}();
  return "mv_test_" + std::to_string(salt % 100000) + "_" + std::to_string(::getpid()) + "_" +
         std::to_string(counter++);
}

}  // namespace

TempFolder::TempFolder() : path_(std::filesystem::temp_directory_path() / UniqueName()) {
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::File(const std::string& name) const {
  return Utf8FromPath((path_ / PathFromUtf8(name)).make_preferred());
}

TestDatabase::TestDatabase(const std::string& schema)
    : engine_(setup::EngineFromEnvironment()),
      address_(setup::CreateDatabase(
          engine_, engine_ == setup::Engine::Sqlite ? folder_.File("test.db") : UniqueName())) {
  if (!schema.empty()) setup::ApplySchema(*Connect(), SchemaRoot(), engine_, schema);
}

TestDatabase::~TestDatabase() { setup::DropDatabase(engine_, address_); }

std::unique_ptr<Connection> TestDatabase::Connect() const {
  return OpenConnection(address_.server, address_.user, address_.password, address_.database);
}

ConnectionValues ValuesFor(const TestDatabase& source, const TestDatabase& target) {
  const auto& s = source.Address();
  const auto& t = target.Address();
  return {s.server, s.user, s.password, s.database, t.server, t.user, t.password, t.database};
}

std::filesystem::path SchemaRoot() { return MV_SCHEMA_DIR; }

}  // namespace mv::testing
