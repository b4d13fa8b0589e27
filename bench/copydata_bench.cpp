// copydata_bench: times the remaining-data copy of sample tables on the engine that "SQL Server"
// is registered as, and prints rows per second.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>

#include "converters/copydata/copy_data.h"
#include "driver/convert_functions.h"
#include "platform/runtime_error.h"
#include "tools/sample_data/copydata_samples.h"
#include "tools/setup/database_factory.h"
#include "tools/setup/schema_script.h"

namespace {

using Clock = std::chrono::steady_clock;

/// Keeps the files and databases of runs at the same time apart.
const std::string kRunId = std::to_string(std::random_device{}());

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

/// A database created for the run and dropped at its end, with the tables of `schema`.
class ScratchDatabase {
 public:
  ScratchDatabase(mv::setup::Engine engine, const std::filesystem::path& folder,
                  const std::string& schema)
      : engine_(engine),
        address_(mv::setup::CreateDatabase(engine, engine == mv::setup::Engine::Sqlite
                                                       ? (folder / (schema + ".db")).string()
                                                       : "mv_bench_" + schema + "_" + kRunId)) {
    mv::setup::ApplySchema(*Connect(), MV_SCHEMA_DIR, engine, schema);
  }
  ~ScratchDatabase() { mv::setup::DropDatabase(engine_, address_); }
  ScratchDatabase(const ScratchDatabase&) = delete;
  ScratchDatabase& operator=(const ScratchDatabase&) = delete;

  std::unique_ptr<mv::Connection> Connect() const {
    return mv::OpenConnection(address_.server, address_.user, address_.password, address_.database);
  }
  const mv::setup::DatabaseAddress& Address() const { return address_; }

 private:
  mv::setup::Engine engine_;
  mv::setup::DatabaseAddress address_;
};

}  // namespace

int main(int argc, char** argv) {
  const int rowsPerTable = argc > 1 ? std::atoi(argv[1]) : 10000;
  constexpr int kFilledTables = 10;
  const auto folder = std::filesystem::temp_directory_path() / ("mv_copydata_bench_" + kRunId);
  std::filesystem::create_directories(folder);
  int status = 0;
  try {
    const auto engine = mv::setup::EngineFromEnvironment();
    ScratchDatabase source(engine, folder, "source");
    ScratchDatabase target(engine, folder, "target");
    {
      const auto sourceConnection = source.Connect();
      const auto targetConnection = target.Connect();
      mv::samples::SampleDatabases databases{*sourceConnection, *targetConnection,
                                             *targetConnection};
      const auto start = Clock::now();
      mv::samples::FillCopyDataSamples(databases, {22, rowsPerTable});
      std::cout << "sample rows written in " << SecondsSince(start) << " s\n";
    }
    const auto& s = source.Address();
    const auto& t = target.Address();
    const mv::ConnectionValues values{s.server, s.user, s.password, s.database,
                                      t.server, t.user, t.password, t.database};
    mv::TextWriter log(folder / "Vantrel23Conversion.log", mv::TextWriter::Mode::Append);
    const auto start = Clock::now();
    const bool copied = mv::CopyData().Convert(values, log);
    const double seconds = SecondsSince(start);
    const long rows = static_cast<long>(rowsPerTable) * kFilledTables;
    std::cout << "engine " << mv::setup::EngineFolderName(engine) << ": copied " << rows
              << " rows (" << rowsPerTable << " per filled table) in " << seconds << " s, "
              << static_cast<long>(rows / seconds) << " rows/s" << (copied ? "" : " (FAILED)")
              << "\n";
    status = copied ? 0 : 1;
  } catch (const mv::RuntimeError& error) {
    std::cerr << "copydata_bench: " << error.Number() << ": " << error.Description() << "\n";
    status = 1;
  }
  std::filesystem::remove_all(folder);
  return status;
}
