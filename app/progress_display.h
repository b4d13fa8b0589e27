// ProgressDisplay: a running migration's progress, shown on the window's thread a few times a
// second, and the operator's request to stop it.
#pragma once

#include <QTimer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "driver/run_progress.h"

namespace mv {

/// Created on the window's thread for one migration run; the run reports from its own thread.
class ProgressDisplay : public RunProgress {
 public:
  /// While it lives, calls `show` on the creating thread every 250 ms with ProgressText() of the
  /// latest report, once there is one; the time a migration has taken counts from its first
  /// report.
  explicit ProgressDisplay(std::function<void(const std::string&)> show);

  /// Keeps the report as the latest; callable from any thread, never waits for the window.
  void Report(std::string_view migration, std::int64_t done, std::int64_t total,
              std::string_view unit) override;
  bool StopRequested() const override { return stop_.Made(); }
  /// From now on StopRequested() answers true; the database call running now is cancelled.
  void RequestStop() { stop_.Make(); }

 private:
  using Clock = std::chrono::steady_clock;
  struct Latest {
    std::string migration;
    std::int64_t done = 0;
    std::int64_t total = 0;
    std::string unit;
    Clock::time_point started;
  };

  void ShowLatest();

  std::function<void(const std::string&)> show_;
  std::mutex mutex_;
  std::optional<Latest> latest_;
  StopRequest stop_;
  QTimer timer_;
};

}  // namespace mv
