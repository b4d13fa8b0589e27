// The silent receiver, the operator's stop request that cancels running statements, and the
// progress line with its grouped counts, its rate and the time left, shortened to a width.
#include "driver/run_progress.h"

#include <cmath>

#include "platform/odbc/statement_watchdog.h"
#include "platform/unicode.h"

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
                         std::string_view unit, std::chrono::duration<double> elapsed,
                         int columns) {
  const std::string counts = Grouped(done) + " of " + Grouped(total);
  const std::string named = std::string(migration) + ": " + counts;
  const std::string units = " " + std::string(unit);
  std::string rate;
  std::string left;
  const double seconds = elapsed.count();
  if (done > 0 && seconds >= 1) {
    const double perSecond = done / seconds;
    rate = ", " + Grouped(std::llround(perSecond)) + "/s";
    if (total > done) left = ", " + TimeLeft((total - done) / perSecond);
  }
  // From the whole line to the counts alone, each leaving out what is least needed.
  const std::string lines[] = {named + units + rate + left, named + units + left,
                               counts + units + left, counts + left, counts};
  if (columns <= 0) return lines[0];
  for (const std::string& line : lines) {
    if (Utf8ToUtf32(line).size() <= static_cast<size_t>(columns)) return line;
  }
  return counts;
}

}  // namespace mv
