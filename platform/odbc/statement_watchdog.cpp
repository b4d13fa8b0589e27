#include "platform/odbc/statement_watchdog.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace mv::odbc {
namespace {

using Clock = std::chrono::steady_clock;

/// How often the watchdog looks at its calls: the precision of every time-out, and how soon a
/// stop requested from a signal handler (which cannot wake a thread) takes effect.
constexpr std::chrono::milliseconds kPollInterval{200};

/// Counts the operator's stops. A lock-free counter, so that a signal handler may count one.
std::atomic<std::uint64_t> stopRequests{0};
static_assert(std::atomic<std::uint64_t>::is_always_lock_free);

enum class Action { None, Cancel, CutOff };

}  // namespace

struct Deadline::Entry {
  SQLHANDLE statement;
  Clock::time_point deadline;
  std::function<void()> cutOff;
  std::uint64_t stopsAtStart;  // a later stop cancels this call
  std::optional<Clock::time_point> cancelledAt;
  // Set by the watchdog under its lock; read by the owner once the call is unregistered.
  bool expired = false;
  bool cutOffCalled = false;
  bool busy = false;  // the watchdog is cancelling or cutting off this call right now
};

namespace {

/// One thread that watches every registered call. It lives as long as the process: a thread
/// stuck in a driver's cancel cannot be joined at exit.
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
    changed_.wait(lock, [&] { return !entry.busy; });
    entries_.erase(std::find(entries_.begin(), entries_.end(), &entry));
  }

 private:
  Watchdog() {
    std::thread([this] { Watch(); }).detach();
  }

  static Action ActionFor(Deadline::Entry& entry, Clock::time_point now, std::uint64_t stops) {
    if (!entry.cancelledAt) {
      const bool expired = now >= entry.deadline;
      if (!expired && stops == entry.stopsAtStart) return Action::None;
      entry.expired = expired;
      entry.cancelledAt = now;
      return Action::Cancel;
    }
    if (entry.cutOffCalled || now < *entry.cancelledAt + kCancelGrace) return Action::None;
    entry.cutOffCalled = true;
    return Action::CutOff;
  }

  [[noreturn]] void Watch() {
    std::unique_lock lock(mutex_);
    for (;;) {
      const Clock::time_point now = Clock::now();
      const std::uint64_t stops = stopRequests.load();
      Deadline::Entry* due = nullptr;
      Action action = Action::None;
      for (Deadline::Entry* entry : entries_) {
        action = ActionFor(*entry, now, stops);
        if (action != Action::None) {
          due = entry;
          break;
        }
      }
      if (due == nullptr) {
        changed_.wait_for(lock, kPollInterval);
        continue;
      }
      // The call's owner waits in Remove while this runs, so the handle stays valid; other
      // calls register and unregister meanwhile.
      due->busy = true;
      lock.unlock();
      if (action == Action::Cancel) {
        SQLCancel(due->statement);
      } else {
        due->cutOff();
      }
      lock.lock();
      due->busy = false;
      changed_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Deadline::Entry*> entries_;
};

}  // namespace

Deadline::Deadline(const Handle& statement, std::chrono::milliseconds timeout,
                   std::function<void()> cutOff)
    : entry_(new Entry{statement.Get(), Clock::now() + timeout, std::move(cutOff),
                       stopRequests.load(), std::nullopt}) {
  Watchdog::Instance().Add(*entry_);
}

Deadline::~Deadline() { End(); }

Deadline::Outcome Deadline::End() {
  if (!ended_) Watchdog::Instance().Remove(*entry_);
  ended_ = true;
  return {entry_->expired, entry_->cutOffCalled};
}

void CancelRunningStatements() noexcept { stopRequests.fetch_add(1); }

}  // namespace mv::odbc
