// The contract every migration meets, and the factory through which a run creates them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "driver/connection_values.h"
#include "driver/run_progress.h"
#include "driver/run_tally.h"
#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/text_file.h"

namespace mv {

/// One migration. A converter lives for one call: it opens and closes its own connections,
/// writes whole lines below the section header that the run has written, never closes the
/// log, and reports every failure in the log and through its result instead of throwing.
class Converter {
 public:
  virtual ~Converter() = default;
  /// True when the migration finished without errors. A migration the operator stopped
  /// writes kStoppedByOperator after its last whole unit and answers false.
  virtual bool Convert(const ConnectionValues& values, TextWriter& log) = 0;

  /// Where the migration named `migration` (its caption name) reports its progress and
  /// learns of a stop; without it, nothing is shown and nothing stops.
  void SetProgress(RunProgress& progress, std::string migration) {
    progress_ = &progress;
    migration_ = std::move(migration);
  }
  /// Where the migration counts what it does, for the run's summary; without it, nothing is
  /// counted.
  void SetTally(RunTally& tally) { tally_ = &tally; }
  /// Makes the migration a rehearsal: it reads and writes as a real run does, but inside
  /// transactions that are always rolled back, and leaves the configuration store as it is.
  void SetRehearsal() { rehearsal_ = true; }

 protected:
  void ReportProgress(std::int64_t done, std::int64_t total, std::string_view unit) {
    progress_->Report(migration_, done, total, unit);
  }
  bool StopRequested() const { return progress_->StopRequested(); }
  /// Why the failure of a statement ends the migration (errors::MigrationEnd): the operator's
  /// stop, whatever the error, or what the error shows; None when it ends only its unit.
  errors::MigrationEnd MigrationEndOf(const RuntimeError& error) const {
    return StopRequested() ? errors::MigrationEnd::Stopped : errors::MigrationEndOf(error);
  }
  /// True when the failure of a statement ends the migration rather than one unit: nothing of
  /// it is sent again.
  bool EndsTheMigration(const RuntimeError& error) const {
    return MigrationEndOf(error) != errors::MigrationEnd::None;
  }
  bool Rehearsing() const { return rehearsal_; }
  /// Counts `count` under `what` in this migration's summary.
  void Tally(std::string_view what, std::int64_t count = 1) {
    if (tally_) tally_->Add(migration_, what, count);
  }
  /// Counts units converted: "converted", or in a rehearsal "would be converted".
  void TallyConverted(std::int64_t count) {
    Tally(rehearsal_ ? "would be converted" : "converted", count);
  }
  /// Counts `rows` rows written to `table`.
  void TallyRows(std::string_view table, std::int64_t rows) {
    if (tally_) tally_->AddRows(migration_, table, rows);
  }

 private:
  RunProgress* progress_ = &NoProgress();
  std::string migration_;
  RunTally* tally_ = nullptr;
  bool rehearsal_ = false;
};

/// The four migrations, in the order a run executes them.
enum class Migration { Baskets, SubmittedOrders, Parameters, CopyData };

/// Creates a new converter for a migration.
using ConverterFactory = std::function<std::unique_ptr<Converter>(Migration)>;

}  // namespace mv
