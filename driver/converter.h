// The contract every migration meets, and the factory through which a run creates them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "driver/connection_values.h"
#include "driver/rehearsal_tally.h"
#include "driver/run_progress.h"
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
  /// Makes the migration a rehearsal: it reads and writes as a real run does, but inside
  /// transactions that are always rolled back, leaves the configuration store as it is, and
  /// counts what it would do into `tally`.
  void SetRehearsal(RehearsalTally& tally) { tally_ = &tally; }

 protected:
  void ReportProgress(std::int64_t done, std::int64_t total, std::string_view unit) {
    progress_->Report(migration_, done, total, unit);
  }
  bool StopRequested() const { return progress_->StopRequested(); }
  /// True when the failure of a statement ends the migration rather than one unit: the
  /// operator stopped the run, or the statement ran out of time or was cancelled. Such a
  /// statement is never sent again: it would wait as long again.
  bool EndsTheMigration(const RuntimeError& error) const {
    return StopRequested() || errors::EndedByTimeoutOrCancel(error);
  }
  bool Rehearsing() const { return tally_ != nullptr; }
  /// Counts `count` under `what` in this migration's rehearsal summary; nothing in a real run.
  void Tally(std::string_view what, std::int64_t count = 1) {
    if (tally_) tally_->Add(migration_, what, count);
  }

 private:
  RunProgress* progress_ = &NoProgress();
  std::string migration_;
  RehearsalTally* tally_ = nullptr;
};

/// The four migrations, in the order a run executes them.
enum class Migration { Baskets, SubmittedOrders, Parameters, CopyData };

/// Creates a new converter for a migration.
using ConverterFactory = std::function<std::unique_ptr<Converter>(Migration)>;

}  // namespace mv
