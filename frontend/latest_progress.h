// LatestProgress: a running migration's latest report, kept for the view to show, and the
// operator's request to stop it.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "driver/run_progress.h"

namespace mv {

/// How often a view shows a running migration's progress: often enough to look live, seldom
/// enough that a run reporting every unit costs the view nothing.
inline constexpr std::chrono::milliseconds kProgressShowEvery{250};

/// One migration run's progress: the run reports from its thread, the view reads Text() from
/// its own. The time a migration has taken counts from its first report.
class LatestProgress : public RunProgress {
 public:
  /// Keeps the report as the latest; never waits for the view.
  void Report(std::string_view migration, std::int64_t done, std::int64_t total,
              std::string_view unit) override;
  bool StopRequested() const override { return stop_.Made(); }
  /// From now on StopRequested() answers true; the database call running now is cancelled.
  void RequestStop() { stop_.Make(); }

  /// ProgressText() of the latest report, e.g. "Migrate Baskets: 3 of 10 baskets"; nothing
  /// before the first report.
  std::optional<std::string> Text() const;

 private:
  using Clock = std::chrono::steady_clock;
  struct Latest {
    std::string migration;
    std::int64_t done = 0;
    std::int64_t total = 0;
    std::string unit;
    Clock::time_point started;
  };

  mutable std::mutex mutex_;
  std::optional<Latest> latest_;
  StopRequest stop_;
};

}  // namespace mv
