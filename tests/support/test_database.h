// A fresh database for one test on the engine this test run uses, dropped afterwards.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "driver/connection_values.h"
#include "platform/odbc/connection.h"
#include "tools/setup/database_factory.h"

namespace mv::testing {

/// A folder of its own for one test, removed afterwards.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  /// The UTF-8 text of Path() / name.
  std::string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

/// An empty database, with the tables of `schema` ("source", "target", "instance") when one
/// is named.
class TestDatabase {
 public:
  explicit TestDatabase(const std::string& schema = "");
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  const setup::DatabaseAddress& Address() const { return address_; }
  std::unique_ptr<Connection> Connect() const;
  setup::Engine GetEngine() const { return engine_; }

 private:
  setup::Engine engine_;
  TempFolder folder_;
  setup::DatabaseAddress address_;
};

/// Source and target connection values for two test databases.
ConnectionValues ValuesFor(const TestDatabase& source, const TestDatabase& target);

/// The project's schema folder.
std::filesystem::path SchemaRoot();

}  // namespace mv::testing
