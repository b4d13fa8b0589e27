// What a statement needs of the connection it runs on, handed over by the connection
// (Connection::StatementContext), so that statements never depend on the connection itself.
#pragma once

#include <memory>

#include "platform/odbc/internal/handle.h"
#include "platform/odbc/internal/server_session.h"
#include "platform/odbc/statement_watchdog.h"

namespace mv::odbc {

struct StatementContext {
  SQLHDBC connection = SQL_NULL_HDBC;  // the connection's ODBC handle
  int queryTimeoutSeconds = 0;         // 0 for none
  bool narrowStatementText = false;    // EngineCapabilities::narrowStatementText
  bool textReadStopsAtNul = false;     // EngineCapabilities::textReadStopsAtNul
  /// The connection's session: its transaction, and its unread result under strict results.
  std::shared_ptr<ServerSession> session;
  /// Cuts the links to the connection's server, for a watched call that does not return after
  /// its cancel, or a release that does not return in time (Deadline). Called from the
  /// watchdog's thread.
  Deadline::CutOffCall cutOff;
};

}  // namespace mv::odbc
