// FrontEndRun: the migration or dump a window runs on a worker thread, its progress, the stop,
// closing the window during it, and its ending.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "driver/connection_values.h"
#include "driver/converter.h"
#include "driver/global_convert.h"
#include "frontend/latest_progress.h"
#include "frontend/run_ending.h"
#include "platform/message_display.h"

namespace mv {

/// The question put to an operator who closes the window during a migration, in a box titled
/// "MigrateVantrel22To23" with Yes and No, No being the default.
inline constexpr const char* kStopMigrationQuestion =
    "A migration is running. Stop it after the current step?";

/// One run at a time, owned by the window's thread: every call but WorkDone() is made there.
/// While a run lasts, the window keeps painting, takes no input on its controls, polls
/// ProgressText() every kProgressShowEvery, and serves the calls the run makes to its thread.
class FrontEndRun {
 public:
  /// `workDone` is called on the worker thread as its last step, once the work has returned or
  /// thrown: the window wakes its own thread with it (posts itself a message) and there calls
  /// Finish().
  explicit FrontEndRun(std::function<void()> workDone);
  /// Asks a migration still running to stop and waits for it; its ending is not shown. A window
  /// whose thread serves the run's message boxes and captions first waits for WorkDone() while
  /// serving them, or the run could wait for it for ever.
  ~FrontEndRun();
  FrontEndRun(const FrontEndRun&) = delete;
  FrontEndRun& operator=(const FrontEndRun&) = delete;

  /// "Migrate", once CheckBeforeMigrate answered true: runs the selected migrations into the log
  /// at `sLogFileName`. `messages` and `captions` are called from the worker thread: the window
  /// shows each on its own thread and returns once it is shown, so the run's boxes appear one
  /// after another in its order. They must outlive the run.
  void StartMigration(ConverterFactory factory, MessageDisplay& messages,
                      const MigrationCaptions& captions, const ConnectionValues& values,
                      const MigrationSelection& selection, const std::string& sLogFileName);
  /// "Dump", once CheckBeforeDump answered true: dumps the stored order forms of the source into
  /// `dumpFileName`, overwriting it.
  void StartDump(const ConnectionValues& values, const std::string& dumpFileName);

  /// True from a Start until Finish(); the window's controls take no input meanwhile.
  bool Running() const { return running_; }
  /// True once the running work has returned or thrown; callable from any thread.
  bool WorkDone() const { return workDone_.load(); }

  /// The running migration's latest progress line, for `ResultText`; nothing before its first
  /// report, during a dump and between runs.
  std::optional<std::string> ProgressText() const;

  /// Asks the running migration to stop after its current step; a dump runs to its end.
  void RequestStop();

  /// A request to close the window: true when it closes now. With no run, it does. During a
  /// dump, or a migration already asked to stop, the request is ignored. During a migration,
  /// `askToStop` puts kStopMigrationQuestion to the operator: on Yes the migration is asked to
  /// stop and Finish() answers true, or the window closes now when the run ended while the
  /// question was up; on No nothing changes.
  bool MayClose(const std::function<bool()>& askToStop);

  /// Once `workDone` was called: waits for the worker, then shows the run's ending with
  /// `resultText` and `messages` (ShowMigrationEnding; for a dump DumpCompletedMessage, or the
  /// description of the error that ended it, by message box). Running() is false from its
  /// start, so the window takes input again before the boxes. True when the window is to close
  /// now, as MayClose() asked.
  bool Finish(ResultTextView& resultText, MessageDisplay& messages);

 private:
  /// Starts `work` on the worker thread; it leaves its ending in the members below.
  void Start(std::function<void()> work);

  std::function<void()> onWorkDone_;
  std::thread worker_;
  std::atomic<bool> workDone_{false};
  bool running_ = false;
  bool closeWhenEnded_ = false;
  /// The running migration's progress and stop; none during a dump and between runs.
  std::unique_ptr<LatestProgress> progress_;
  /// Left by the worker, read once it has been joined.
  std::optional<MigrationEnding> migrationEnding_;
  std::optional<std::string> dumpMessage_;
};

}  // namespace mv
