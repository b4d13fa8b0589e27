// What a running migration tells the operator about its progress, and how the operator's
// request to stop reaches it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace mv {

/// Receives a migration's progress and answers whether the operator asked to stop. Called on
/// the thread that runs the migration.
class RunProgress {
 public:
  virtual ~RunProgress() = default;
  /// `done` of `total` `unit` ("baskets", "orders", "rows") of the migration whose caption
  /// name is `migration` are through. Converters call it after each unit or group; a
  /// receiver that shows it decides how often it redraws.
  virtual void Report(std::string_view migration, std::int64_t done, std::int64_t total,
                      std::string_view unit) = 0;
  /// True once the operator asked the run to stop: the migration ends after the unit or
  /// group it is writing, and the run starts no further migration.
  virtual bool StopRequested() const = 0;
  /// What the run is doing before any migration starts, e.g. "Connecting to Source Database
  /// (srv)...", so that a slow server is not silence. Shown until the next report or line.
  virtual void Status(std::string_view text) { (void)text; }
};

/// A receiver that shows nothing and never stops.
RunProgress& NoProgress();

/// The operator's request to stop a run. Once made it stays made, and making it cancels the
/// database calls running at that moment, which then end with the driver's error: the run
/// need not wait for a long statement before it stops.
class StopRequest {
 public:
  /// Callable from any thread and from a signal handler: a lock-free store, then the cancel.
  void Make() noexcept;
  bool Made() const noexcept { return made_.load(); }

 private:
  std::atomic<bool> made_{false};
  static_assert(std::atomic<bool>::is_always_lock_free);
};

/// The line the operator reads while a migration runs, e.g. "Migrate Submitted Orders:
/// 12,500 of 200,000 orders, 2,900/s, about 1 min left"; rate and time left once `elapsed`
/// allows an estimate. With `columns` above 0, the line has at most that many characters where
/// the counts allow it: the parts that do not fit go, the least needed first (the rate, the
/// migration's name, which its caption shows, then the unit, then the time left), so that the
/// counts always stay.
std::string ProgressText(std::string_view migration, std::int64_t done, std::int64_t total,
                         std::string_view unit, std::chrono::duration<double> elapsed,
                         int columns = 0);

/// The log line of a migration the operator stopped.
inline constexpr const char* kStoppedByOperator = "Migration stopped by the operator.";

}  // namespace mv
