// The silent receiver, the operator's stop request that cancels running statements, and the
// progress line with its grouped counts, its rate and the time left.
#include "driver/run_progress.h"

#include <cmath>

#include "platform/odbc/statement_watchdog.h"

namespace mv {
namespace {

class SilentProgress : public RunProgress {
 public:
  void Report(std::string_view, std::int64_t, std::int64_t, std::string_view) override {}
  bool StopRequested() const override { return false; }
};

/// 12500 as "12,500".
std::string Grouped(std::int64_t number) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<size_t>(at), ",");
  }
  return (number < 0 ? "-" : "") + digits;
}

std::string TimeLeft(double seconds) {
  if (seconds < 60) return "less than 1 min left";
  const auto minutes = static_cast<std::int64_t>(std::ceil(seconds / 60));
  if (minutes < 120) return "about " + std::to_string(minutes) + " min left";
  return "about " + std::to_string((minutes + 30) / 60) + " h left";
}

}  // namespace

RunProgress& NoProgress() {
  static SilentProgress silent;
  return silent;
}

void StopRequest::Make() noexcept {
  made_.store(true);
  odbc::CancelRunningStatements();
}

std::string ProgressText(std::string_view migration, std::int64_t done, std::int64_t total,
                         std::string_view unit, std::chrono::duration<double> elapsed) {
  std::string text = std::string(migration) + ": " + Grouped(done) + " of " + Grouped(total) + " " +
                     std::string(unit);
  const double seconds = elapsed.count();
  if (done > 0 && seconds >= 1) {
    const double rate = done / seconds;
    text += ", " + Grouped(std::llround(rate)) + "/s";
    if (total > done) text += ", " + TimeLeft((total - done) / rate);
  }
  return text;
}

}  // namespace mv
