// One ODBC call that waits for the server, run under the connection's query time-out.
#pragma once

#include <chrono>
#include <optional>
#include <utility>

#include "platform/odbc/internal/diagnostics.h"
#include "platform/odbc/internal/handle.h"
#include "platform/odbc/internal/statement_context.h"
#include "platform/odbc/statement_watchdog.h"
#include "platform/runtime_error.h"

namespace mv::odbc {

/// Runs `call` on `handle` under the watchdog (see Deadline): a call that has not answered
/// within `context`'s query time-out throws RuntimeError errors::kQueryTimeout "Query timeout
/// expired" (or the driver's own time-out text), also where the driver reported it done, since
/// the cancel may have ended its work anywhere. Its link is cut off (`context.cutOff`) when it
/// does not return after the cancel.
template <typename Call>
auto WatchedCall(const StatementContext& context, const Handle& handle, Call call) {
  // The driver's own time-out stays set as well: it ends a slow statement on the server.
  Deadline deadline(handle, std::chrono::seconds(context.queryTimeoutSeconds), context.cutOff);
  std::optional<decltype(call())> result;
  try {
    result.emplace(call());
  } catch (const RuntimeError&) {
    if (!deadline.End().expired) throw;
  }
  if (const Deadline::Outcome outcome = deadline.End(); outcome.expired) {
    ThrowTimedOut(handle, outcome.cutOff);
  }
  return std::move(*result);
}

/// Runs `call`, which frees a statement's handle or disconnects and so may wait for the server,
/// bounded as a statement is: a server that has not answered within `context`'s query time-out,
/// or a stop, cuts the link (`context.cutOff`), after which the call returns at once.
template <typename Call>
void WatchedRelease(const StatementContext& context, Call call) noexcept {
  const Deadline deadline(std::chrono::seconds(context.queryTimeoutSeconds), context.cutOff);
  call();
}

}  // namespace mv::odbc
