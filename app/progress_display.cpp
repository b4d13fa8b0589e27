// ProgressDisplay: the latest report kept under a lock, shown every 250 ms on the window's thread.
#include "app/progress_display.h"

#include <utility>

namespace mv {
namespace {

// Often enough to look live, seldom enough that a run reporting every unit costs the window
// nothing.
constexpr std::chrono::milliseconds kShowEvery{250};

}  // namespace

ProgressDisplay::ProgressDisplay(std::function<void(const std::string&)> show)
    : show_(std::move(show)) {
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { ShowLatest(); });
  timer_.start(kShowEvery);
}

void ProgressDisplay::Report(std::string_view migration, std::int64_t done, std::int64_t total,
                             std::string_view unit) {
  const Clock::time_point now = Clock::now();
  const std::lock_guard lock(mutex_);
  if (!latest_ || latest_->migration != migration) {
    latest_ = Latest{std::string(migration), 0, 0, {}, now};
  }
  latest_->done = done;
  latest_->total = total;
  latest_->unit = unit;
}

void ProgressDisplay::ShowLatest() {
  std::optional<Latest> latest;
  {
    const std::lock_guard lock(mutex_);
    latest = latest_;
  }
  if (!latest) return;
  show_(ProgressText(latest->migration, latest->done, latest->total, latest->unit,
                     Clock::now() - latest->started));
}

}  // namespace mv
