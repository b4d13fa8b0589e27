// The back-end instance database "Kestrine" for one test, reached the way the parameter
// migration reaches it: by that name on the target server.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/odbc/connection.h"
#include "tests/support/test_database.h"

namespace mv::testing {

/// With SQLite the name is a file in the working folder, so the test runs in a folder of its
/// own that holds the file "Kestrine" (under Wine, the folder it started in); with PostgreSQL a
/// database named exactly "Kestrine" is created. An unreachable one is a folder named "Kestrine"
/// (SQLite) or no database at all.
class InstanceDatabase {
 public:
  enum class State { Reachable, Unreachable };
  explicit InstanceDatabase(State state);
  ~InstanceDatabase();
  InstanceDatabase(const InstanceDatabase&) = delete;
  InstanceDatabase& operator=(const InstanceDatabase&) = delete;

  /// Adds a BISINSTANCE row.
  void AddInstance(int bisId, int defaultBis);

 private:
  std::unique_ptr<Connection> Connect() const;

  setup::Engine engine_;
  TempFolder folder_;
  std::filesystem::path previousFolder_;
  setup::DatabaseAddress address_;
  bool created_ = false;
};

}  // namespace mv::testing
