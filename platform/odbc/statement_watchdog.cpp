// The watchdog's one thread: each watched call's deadline, the operator's stops, the cancel on a
// thread of its own and the cut-off after its grace.
#include "platform/odbc/statement_watchdog.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/odbc/internal/handle.h"

namespace mv::odbc {
namespace {

using Clock = std::chrono::steady_clock;

/// How often the watchdog looks at its calls: the precision of every time-out, and how soon a
/// stop requested from a signal handler (which cannot wake a thread) takes effect.
constexpr std::chrono::milliseconds kPollInterval{200};

/// Counts the operator's stops. A lock-free counter, so that a signal handler may count one.
std::atomic<std::uint64_t> stopRequests{0};
static_assert(std::atomic<std::uint64_t>::is_always_lock_free);

/// One thread that watches every registered call and never waits for a driver. It lives as
/// long as the process, as do cancels stuck in a driver.
class Watchdog {
 public:
  static Watchdog& Instance() {
    static Watchdog* watchdog = new Watchdog;
    return *watchdog;
  }

  void Add(Deadline::Entry& entry) {
    const std::lock_guard lock(mutex_);
    entries_.push_back(&entry);
  }

  void Remove(Deadline::Entry& entry) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !entry.cancelling; });
    entries_.erase(std::find(entries_.begin(), entries_.end(), &entry));
  }

 private:
  Watchdog() {
    std::thread([this] { Watch(); }).detach();
  }

  [[noreturn]] void Watch() {
    std::unique_lock lock(mutex_);
    for (;;) {
      const Clock::time_point now = Clock::now();
      const std::uint64_t stops = stopRequests.load();
      for (Deadline::Entry* entry : entries_) {
        if (!entry->cancelledAt) {
          entry->expired = now >= entry->deadline;
          const bool stopped =
              entry->kind != WatchedKind::TransactionEnd && stops != entry->stopsAtStart;
          if (entry->expired || stopped) StartCancel(*entry, now);
        }
        const bool graceOver = entry->cancelledAt && (entry->kind == WatchedKind::Release ||
                                                      now >= *entry->cancelledAt + kCancelGrace);
        if (graceOver && !entry->cutOffCalled) {
          entry->cutOffCalled = true;
          (*entry->cutOff)();
        }
      }
      changed_.wait_for(lock, kPollInterval);
    }
  }

  // Called under the lock. The owner waits in Remove until the cancel is over, so the handle
  // stays valid while it runs.
  void StartCancel(Deadline::Entry& entry, Clock::time_point now) {
    entry.cancelledAt = now;
    if (entry.kind != WatchedKind::Statement) return;  // the cut-off follows in time
    entry.cancelling = true;
    try {
      std::thread([this, &entry] {
        SQLCancel(entry.handle->Get());
        const std::lock_guard lock(mutex_);
        entry.cancelling = false;
        changed_.notify_all();
      }).detach();
    } catch (const std::system_error&) {
      entry.cancelling = false;  // no thread for the cancel: the cut-off follows in time
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Deadline::Entry*> entries_;
};

}  // namespace

Deadline::Deadline(const Handle& handle, std::chrono::milliseconds timeout,
                   const CutOffCall& cutOff)
    : Deadline(timeout, cutOff, &handle,
               handle.Type() == SQL_HANDLE_STMT ? WatchedKind::Statement
                                                : WatchedKind::TransactionEnd) {}

Deadline::Deadline(std::chrono::milliseconds timeout, const CutOffCall& cutOff)
    : Deadline(timeout, cutOff, nullptr, WatchedKind::Release) {}

Deadline::Deadline(std::chrono::milliseconds timeout, const CutOffCall& cutOff,
                   const Handle* handle, WatchedKind kind) {
  entry_.handle = handle;
  entry_.kind = kind;
  // A time-out of 0 is ODBC's "none": the call is then only ended by a stop.
  entry_.deadline = timeout.count() > 0 ? Clock::now() + timeout : Clock::time_point::max();
  entry_.cutOff = &cutOff;
  entry_.stopsAtStart = stopRequests.load();
  Watchdog::Instance().Add(entry_);
}

Deadline::~Deadline() { End(); }

Deadline::Outcome Deadline::End() {
  if (!ended_) Watchdog::Instance().Remove(entry_);
  ended_ = true;
  return {entry_.expired, entry_.cutOffCalled};
}

void CancelRunningStatements() noexcept { stopRequests.fetch_add(1); }

}  // namespace mv::odbc
