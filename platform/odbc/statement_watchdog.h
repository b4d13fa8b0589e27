// The process's watchdog over running ODBC calls: cancels a call that has not answered within
// its time-out, and every running call when the operator stops the run.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/odbc/tcp_link.h"

namespace mv::odbc {

class Handle;

/// While it lives, the watchdog cancels the call running on `handle` (SQLCancel, on a thread
/// of its own, since a driver's cancel may itself wait for the server) once `timeout` has
/// passed, or when CancelRunningStatements() is called. When the call has not returned
/// `kCancelGrace` after the cancel (a driver that waits for a server that does not answer),
/// the watchdog calls `cutOff` with the process's TCP links as they were before the cancel;
/// it must make the call and the cancel return. `handle` and `cutOff` are held, not copied:
/// both must outlive the Deadline (a StatementContext's `cutOff` does). Watching ends (End or the
/// destructor) once a cancel in progress is over, so the handle is never cancelled after it is
/// freed. A `timeout` of 0 or less sets no deadline (ODBC's "no time-out"); a stop still cancels.
/// A call on a connection handle (the end of a transaction) cannot be cancelled: it is only
/// cut off, `kCancelGrace` after its time-out, and a stop leaves it alone, so that a commit
/// under way is never broken off by the operator.
class Deadline {
 public:
  using CutOffCall = std::function<void(const std::vector<TcpLink>& linksBeforeCancel)>;
  Deadline(const Handle& handle, std::chrono::milliseconds timeout, const CutOffCall& cutOff);
  Deadline(const Handle&, std::chrono::milliseconds, CutOffCall&&) = delete;  // would dangle
  ~Deadline();
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;

  struct Outcome {
    bool expired = false;  // the call was cancelled because its time-out had passed
    bool cutOff = false;   // and had to be cut off
  };
  /// Stops watching the call, after which nothing more happens to it, and tells what the
  /// watchdog did. Further calls answer the same.
  Outcome End();

  /// The watchdog's record of the call. It lives in the Deadline, which is neither copied nor
  /// moved, so that watching a call allocates nothing.
  struct Entry {
    const Handle* handle = nullptr;
    bool cancellable = true;  // a statement handle, which SQLCancel and a stop apply to
    std::chrono::steady_clock::time_point deadline;
    const CutOffCall* cutOff = nullptr;
    std::uint64_t stopsAtStart = 0;  // a later stop cancels this call
    // The rest is set by the watchdog under its lock; the owner reads it once unregistered.
    std::optional<std::chrono::steady_clock::time_point> cancelledAt;
    std::vector<TcpLink> linksBeforeCancel;
    bool expired = false;
    bool cutOffCalled = false;
    bool cancelling = false;  // SQLCancel is running on this call's handle
  };

 private:
  Entry entry_;
  bool ended_ = false;
};

/// How long a cancelled call may take to return before the watchdog cuts it off.
inline constexpr std::chrono::seconds kCancelGrace{5};

/// Cancels the calls running at this moment (not those started later) within a fraction of a
/// second. Safe to call from any thread and from a signal handler.
void CancelRunningStatements() noexcept;

}  // namespace mv::odbc
