// The process's watchdog over running ODBC calls: cancels a call that has not answered within
// its time-out, and every running call when the operator stops the run.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace mv::odbc {

class Handle;

/// What a watched call does, which decides how the watchdog ends it.
enum class WatchedKind {
  /// A statement's call: cancelled (SQLCancel) at its time-out or a stop.
  Statement,
  /// The end of a transaction, which cannot be cancelled: cut off `kCancelGrace` after its
  /// time-out; a stop leaves it alone, so that a commit under way is never broken off.
  TransactionEnd,
  /// Freeing a statement or disconnecting, which cannot be cancelled and loses nothing when
  /// broken off: cut off at its time-out or a stop.
  Release,
};

/// While it lives, the watchdog ends the call running on `handle` once `timeout` has passed,
/// or when CancelRunningStatements() is called, as its `kind` says. A statement's call is
/// cancelled (on a thread of its own, since a driver's cancel may itself wait for the server);
/// when it has not returned `kCancelGrace` after the cancel (a driver that waits for a server
/// that does not answer), the watchdog calls `cutOff`, which must make the call and the cancel
/// return. `handle` and `cutOff` are held, not copied: both must outlive the Deadline (a
/// StatementContext's `cutOff` does); `handle` is only used for the cancel. Watching ends (End
/// or the destructor) once a cancel in progress is over, so the handle is never cancelled after
/// it is freed. A `timeout` of 0 or less sets no deadline (ODBC's "no time-out"); a stop still
/// applies.
class Deadline {
 public:
  using CutOffCall = std::function<void()>;
  /// Watches a call on `handle`: a statement's, or the end of a transaction on a connection's.
  Deadline(const Handle& handle, std::chrono::milliseconds timeout, const CutOffCall& cutOff);
  Deadline(const Handle&, std::chrono::milliseconds, CutOffCall&&) = delete;  // would dangle
  /// Watches a release (WatchedKind::Release).
  Deadline(std::chrono::milliseconds timeout, const CutOffCall& cutOff);
  Deadline(std::chrono::milliseconds, CutOffCall&&) = delete;  // would dangle
  ~Deadline();
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;

  struct Outcome {
    bool expired = false;  // the call was ended because its time-out had passed
    bool cutOff = false;   // and had to be cut off
  };
  /// Stops watching the call, after which nothing more happens to it, and tells what the
  /// watchdog did. Further calls answer the same.
  Outcome End();

  /// The watchdog's record of the call. It lives in the Deadline, which is neither copied nor
  /// moved, so that watching a call allocates nothing.
  struct Entry {
    const Handle* handle = nullptr;  // for the cancel of a statement's call
    WatchedKind kind = WatchedKind::Statement;
    std::chrono::steady_clock::time_point deadline;
    const CutOffCall* cutOff = nullptr;
    std::uint64_t stopsAtStart = 0;  // a later stop cancels this call
    // The rest is set by the watchdog under its lock; the owner reads it once unregistered.
    std::optional<std::chrono::steady_clock::time_point> cancelledAt;
    bool expired = false;
    bool cutOffCalled = false;
    bool cancelling = false;  // SQLCancel is running on this call's handle
  };

 private:
  Deadline(std::chrono::milliseconds timeout, const CutOffCall& cutOff, const Handle* handle,
           WatchedKind kind);

  Entry entry_;
  bool ended_ = false;
};

/// How long a cancelled call may take to return before the watchdog cuts it off.
inline constexpr std::chrono::seconds kCancelGrace{5};

/// Cancels the calls running at this moment (not those started later) within a fraction of a
/// second. Safe to call from any thread and from a signal handler.
void CancelRunningStatements() noexcept;

}  // namespace mv::odbc
