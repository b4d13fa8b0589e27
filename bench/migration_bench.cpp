// migration_bench: the steps of scripts/bench, each in a process of its own so that the peak
// memory of a migration is that of its process: run a migration into a new target, time the
// engine's INSERT ... SELECT and the plain ODBC inserts of the same rows, compare two targets.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/benchmarked_migration.h"
#include "bench/engine_insert.h"
#include "bench/plain_insert.h"
#include "bench/target_comparison.h"
#include "driver/convert_functions.h"
#include "platform/process_locale.h"
#include "platform/runtime_error.h"
#include "tools/setup/database_factory.h"
#include "tools/setup/schema_script.h"

namespace {

using mv::bench::BenchmarkedMigration;
using mv::setup::DatabaseAddress;
using mv::setup::Engine;

constexpr const char* kUsage =
    "usage: migration_bench migrate MIGRATION SOURCE TARGET LOG\n"
    "         creates the database TARGET with the 2.3 tables, runs MIGRATION from SOURCE\n"
    "         into it through its converter, logging into the file LOG, and prints the rows\n"
    "         written, the seconds, the peak resident memory in MB and \"ok\" or \"errors\"\n"
    "       migration_bench engine MIGRATION TARGET\n"
    "         times the engine's INSERT ... SELECT of the rows MIGRATION wrote into TARGET\n"
    "         and prints the rows and the seconds\n"
    "       migration_bench plain MIGRATION FROM TARGET\n"
    "         creates the database TARGET with the 2.3 tables, times writing the rows MIGRATION\n"
    "         wrote into FROM into it with prepared multi-row inserts and prints the rows and\n"
    "         the seconds\n"
    "       migration_bench compare MIGRATION FIRST SECOND\n"
    "         prints the differences between the tables MIGRATION writes in two targets;\n"
    "         exit status 1 when there are any\n"
    "  MIGRATION: baskets, orders or copy. Databases are SQLite file paths or PostgreSQL\n"
    "  database names, on the engine MV_TEST_ENGINE selects (\"sqlite\" or \"postgresql\").\n";

/// A connection for the benchmark's own work, without a query time-out: staging and comparing
/// a large shop takes longer than a statement of the program may.
std::unique_ptr<mv::Connection> Connect(
    const DatabaseAddress& address, mv::ResultReading reading = mv::ResultReading::DriverDefault) {
  return std::make_unique<mv::Connection>(
      mv::BuildConnectionString(address.server, address.user, address.password, address.database),
      mv::kLoginTimeoutSeconds, 0, reading);
}

/// The resident set high-water mark of this process (VmHWM), in MB; 0 where the system does
/// not report it.
double PeakResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;  // kB
  }
  return 0;
}

/// A new database `name` with the 2.3 tables and what the migration reads there.
DatabaseAddress CreateTarget(const BenchmarkedMigration& migration, Engine engine,
                             const std::string& name) {
  const DatabaseAddress target = mv::setup::CreateDatabase(engine, name);
  const auto connection = Connect(target);
  mv::setup::ApplySchema(*connection, MV_SCHEMA_DIR, engine, "target");
  migration.prepareTarget(*connection);
  return target;
}

int Migrate(const BenchmarkedMigration& migration, Engine engine, const std::string& sourceName,
            const std::string& targetName, const std::string& logPath) {
  const DatabaseAddress source = mv::setup::ExistingDatabase(engine, sourceName);
  const DatabaseAddress target = CreateTarget(migration, engine, targetName);
  const mv::ConnectionValues values{source.server, source.user, source.password, source.database,
                                    target.server, target.user, target.password, target.database};
  mv::TextWriter log(logPath, mv::TextWriter::Mode::Append);
  const auto converter = migration.makeConverter();

  const auto start = std::chrono::steady_clock::now();
  const bool clean = converter->Convert(values, log);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  const double peak = PeakResidentMegabytes();

  long rows = 0;
  const auto connection = Connect(target);
  for (const auto& table : migration.tables) rows += mv::bench::CountRows(*connection, table.name);
  std::printf("%ld %.3f %.1f %s\n", rows, seconds.count(), peak, clean ? "ok" : "errors");
  return 0;
}

int TimeEngine(const BenchmarkedMigration& migration, Engine engine,
               const std::string& targetName) {
  const auto target = Connect(mv::setup::ExistingDatabase(engine, targetName));
  const auto time = mv::bench::TimeEngineInsert(*target, engine, migration.tables);
  std::printf("%ld %.3f\n", time.rows, time.seconds);
  return 0;
}

int TimePlain(const BenchmarkedMigration& migration, Engine engine, const std::string& fromName,
              const std::string& targetName) {
  const auto reader =
      Connect(mv::setup::ExistingDatabase(engine, fromName), mv::ResultReading::Streamed);
  const auto target = Connect(CreateTarget(migration, engine, targetName));
  const auto time = mv::bench::TimePlainInsert(*reader, *target, migration.tables);
  std::printf("%ld %.3f\n", time.rows, time.seconds);
  return 0;
}

int Compare(const BenchmarkedMigration& migration, Engine engine, const std::string& firstName,
            const std::string& secondName) {
  const auto first = Connect(mv::setup::ExistingDatabase(engine, firstName));
  const auto second = Connect(mv::setup::ExistingDatabase(engine, secondName));
  const auto differences = mv::bench::CompareTables(*first, *second, migration.tables);
  for (const auto& difference : differences) std::cout << difference << "\n";
  return differences.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  mv::PrepareProcessLocale();
  const std::vector<std::string> args(argv + 1, argv + argc);
  const auto usage = [] {
    std::cerr << kUsage;
    return 2;
  };
  if (args.size() < 3) return usage();
  try {
    const BenchmarkedMigration& migration = mv::bench::FindMigration(args[1]);
    const Engine engine = mv::setup::EngineFromEnvironment();
    if (args[0] == "migrate" && args.size() == 5) {
      return Migrate(migration, engine, args[2], args[3], args[4]);
    }
    if (args[0] == "engine" && args.size() == 3) return TimeEngine(migration, engine, args[2]);
    if (args[0] == "plain" && args.size() == 4) {
      return TimePlain(migration, engine, args[2], args[3]);
    }
    if (args[0] == "compare" && args.size() == 4) {
      return Compare(migration, engine, args[2], args[3]);
    }
    return usage();
  } catch (const mv::RuntimeError& error) {
    std::cerr << "migration_bench: " << error.Number() << ": " << error.Description() << "\n";
  } catch (const std::exception& error) {
    std::cerr << "migration_bench: " << error.what() << "\n";
  }
  return 2;
}
