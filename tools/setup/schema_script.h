// Creates the tables of a 2.2 source, 2.3 target or instance database from the project's
// schema files, for tests, the demo, the sample-data tool and the benchmarks.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/odbc/connection.h"

namespace mv::setup {

/// The engines the project's schema files are written for.
enum class Engine { Sqlite, Postgresql };

/// "sqlite" or "postgresql".
std::string EngineFolderName(Engine engine);

/// The statements of one DDL file: split at semicolons that end a line, "--" comment lines
/// and blank statements dropped.
std::vector<std::string> SplitStatements(const std::string& script);

/// Runs every file of `schemaRoot`/<engine>/<database> in name order ("source", "target",
/// "instance"). Throws RuntimeError when the folder is missing or a statement fails.
void ApplySchema(Connection& connection, const std::filesystem::path& schemaRoot, Engine engine,
                 const std::string& database);

}  // namespace mv::setup
