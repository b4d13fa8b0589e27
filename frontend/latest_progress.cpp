// LatestProgress: the latest report kept under a lock and turned into the progress line on
// request.
#include "frontend/latest_progress.h"

namespace mv {

void LatestProgress::Report(std::string_view migration, std::int64_t done, std::int64_t total,
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

std::optional<std::string> LatestProgress::Text() const {
  std::optional<Latest> latest;
  {
    const std::lock_guard lock(mutex_);
    latest = latest_;
  }
  if (!latest) return std::nullopt;
  return ProgressText(latest->migration, latest->done, latest->total, latest->unit,
                      Clock::now() - latest->started);
}

}  // namespace mv
