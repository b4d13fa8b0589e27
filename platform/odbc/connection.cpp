// Connection: connecting with the password hidden, the engine's capabilities found, transactions,
// savepoints, and a stuck statement's TCP link cut off.
#include "platform/odbc/connection.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <regex>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/odbc/connection_string.h"
#include "platform/odbc/internal/diagnostics.h"
#include "platform/odbc/internal/environment.h"
#include "platform/odbc/internal/handle.h"
#include "platform/odbc/internal/server_session.h"
#include "platform/odbc/internal/statement.h"
#include "platform/odbc/internal/statement_context.h"
#include "platform/odbc/internal/watched_call.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

/// The one TCP connection in `after` that is not in `before`; none when there is not exactly
/// one (an embedded engine, or another thread connecting at the same time).
std::optional<odbc::TcpLink> NewLink(const std::vector<odbc::TcpLink>& before,
                                     const std::vector<odbc::TcpLink>& after) {
  std::optional<odbc::TcpLink> found;
  for (const odbc::TcpLink& link : after) {
    if (std::find(before.begin(), before.end(), link) != before.end()) continue;
    if (found) return std::nullopt;
    found = link;
  }
  return found;
}

/// `connectionString` with `keywords` added at its end.
std::string WithKeywords(const std::string& connectionString, const std::string& keywords) {
  const bool ended = !connectionString.empty() && connectionString.back() == ';';
  return connectionString + (ended ? "" : ";") + keywords;
}

/// The failure of a savepoint on a transaction that the server ended (Connection::TransactionLost).
RuntimeError TransactionEnded() {
  return errors::ProviderError("The transaction was ended by the server after a failure");
}

/// The one value that `sql` reads on `connection`; none when the query fails or reads no row.
std::optional<Variant> ProbeValue(Connection& connection, const std::string& sql) {
  try {
    return connection.QueryValue(sql);
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

/// True when a character beyond U+FFFF in a statement's text reaches the engine whole through
/// the wide calls; such a text that is cut short fails or counts otherwise.
bool WideStatementTextIsWhole(Connection& connection) {
  const std::optional<Variant> length = ProbeValue(connection, "select length('\U0001F600')");
  return length && length->ToLong() == 1;
}

/// True when a text value holding a NUL character reaches the program only up to the NUL.
bool TextReadStopsAtNul(Connection& connection) {
  const std::optional<Variant> text = ProbeValue(connection, "select 'a' || char(0) || 'b'");
  return text && text->ToText() == "a";
}

}  // namespace

Connection::Connection(const std::string& connectionString, int loginTimeoutSeconds,
                       int queryTimeoutSeconds, ResultReading reading)
    : connection_(std::make_unique<odbc::Handle>(SQL_HANDLE_DBC, odbc::Environment())),
      queryTimeoutSeconds_(queryTimeoutSeconds),
      session_(std::make_shared<odbc::ServerSession>(odbc::StrictResultsWanted())) {
  odbc::Check(SQLSetConnectAttrW(
                  connection_->Get(), SQL_ATTR_LOGIN_TIMEOUT,
                  reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(loginTimeoutSeconds)), 0),
              *connection_);
  Connect(connectionString);
  SQLWCHAR name[256] = {};
  SQLSMALLINT length = 0;
  odbc::Check(SQLGetInfoW(connection_->Get(), SQL_DBMS_NAME, name, sizeof(name), &length),
              *connection_);
  engineName_ = Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(name),
                                                static_cast<size_t>(length) / sizeof(SQLWCHAR)));
  dialect_ = &DialectOf(engineName_);
  capabilities_.limits = dialect_->limits;
  if (reading == ResultReading::Streamed && !dialect_->streamingKeywords.empty()) {
    // Which engine answers is known only once connected; a driver is never handed a keyword
    // that is not its own.
    Disconnect();
    Connect(WithKeywords(connectionString, dialect_->streamingKeywords));
  }
  for (const std::string& statement : dialect_->sessionStatements) Execute(statement);
  if (dialect_->name == "SQLite") {
    capabilities_.narrowStatementText = !WideStatementTextIsWhole(*this);
    capabilities_.textReadStopsAtNul = TextReadStopsAtNul(*this);
  }
  TrySavepoints(dialect_->savepoints);
}

Connection::~Connection() { Close(); }

void Connection::Connect(const std::string& connectionString) {
  std::u16string wide = Utf8ToUtf16(connectionString);
  // Its length goes to the driver as a 16-bit number.
  if (wide.size() > static_cast<size_t>(std::numeric_limits<SQLSMALLINT>::max())) {
    throw errors::ProviderError(
        "The connection string is too long: " + std::to_string(wide.size()) +
        " characters, at most " + std::to_string(std::numeric_limits<SQLSMALLINT>::max()));
  }
  SQLSMALLINT outLength = 0;
  const std::vector<odbc::TcpLink> linksBefore = odbc::OpenTcpLinks();
  const SQLRETURN code = SQLDriverConnectW(
      connection_->Get(), nullptr, reinterpret_cast<SQLWCHAR*>(wide.data()),
      static_cast<SQLSMALLINT>(wide.size()), nullptr, 0, &outLength, SQL_DRIVER_NOPROMPT);
  try {
    odbc::Check(code, *connection_);
  } catch (const RuntimeError& error) {
    // Drivers may echo the connection string, whole or in part, in their messages: the whole
    // string goes, and the password wherever else it shows.
    std::string text = error.Description();
    for (size_t at = text.find(connectionString);
         !connectionString.empty() && at != std::string::npos; at = text.find(connectionString)) {
      text.erase(at, connectionString.size());
    }
    throw errors::Retold(error, odbc::HidePasswords(text, connectionString));
  }
  connected_ = true;
  link_ = NewLink(linksBefore, odbc::OpenTcpLinks());
}

void Connection::Execute(std::string_view sql) {
  odbc::Statement statement(StatementContext());
  statement.ExecuteDirect(ForEngine(sql));
}

Variant Connection::QueryValue(std::string_view sql) {
  odbc::Statement statement(StatementContext());
  statement.ExecuteDirect(ForEngine(sql));
  std::vector<Variant> values;
  if (!statement.FetchRow(statement.DescribeColumns(), values)) throw errors::NoCurrentRecord();
  return std::move(values.at(0));
}

bool Connection::RestartLostTransaction() {
  if (!transactionLost_ || keptInTransaction_ || marked_ > 0) return false;
  RestartTransaction();
  return true;
}

void Connection::RestartTransaction() {
  EndTransaction(false);  // the connection stays without autocommit: a new transaction opens
  transactionLost_ = false;
  keptInTransaction_ = false;
}

void Connection::TrySavepoints(const SavepointStatements& statements) {
  capabilities_.savepoints = TriedSavepoints(*this, statements);
}

void Connection::NarrowStatementLimits(const StatementLimits& limits) {
  StatementLimits& own = capabilities_.limits;
  own.rowsPerInsert = std::max<size_t>(1, std::min(own.rowsPerInsert, limits.rowsPerInsert));
  own.parameters = std::max<size_t>(1, std::min(own.parameters, limits.parameters));
}

void Connection::AskReadOnly() noexcept {
  // A driver that does not take the hint answers with an error, which changes nothing.
  SQLSetConnectAttrW(connection_->Get(), SQL_ATTR_ACCESS_MODE,
                     reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_MODE_READ_ONLY)), 0);
}

void Connection::SetAutoCommit(bool on) {
  const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
  odbc::Check(SQLSetConnectAttrW(connection_->Get(), SQL_ATTR_AUTOCOMMIT,
                                 reinterpret_cast<SQLPOINTER>(value), 0),
              *connection_);
}

void Connection::BeginTransaction() {
  if (inTransaction_) throw errors::ProviderError("A transaction is already open");
  SetAutoCommit(false);
  session_->TransactionOpened();
  inTransaction_ = true;
  transactionLost_ = false;
  keptInTransaction_ = false;
}

void Connection::BeginOnServer() {
  if (inTransaction_ && !session_->TransactionBegun()) {
    QueryValue(dialect_->savepoints.beginTransaction);
  }
}

void Connection::CommitTransaction() {
  if (!inTransaction_) throw errors::ProviderError("No transaction is open");
  EndTransaction(true);
  inTransaction_ = false;
  keptInTransaction_ = false;
  SetAutoCommit(true);
  session_->TransactionLeft();
}

void Connection::RollbackTransaction() {
  if (!inTransaction_) return;
  inTransaction_ = false;
  transactionLost_ = false;
  keptInTransaction_ = false;
  EndTransaction(false);
  SetAutoCommit(true);
  session_->TransactionLeft();
}

void Connection::EndTransaction(bool commit) {
  session_->RefuseWhenNotAllowed(nullptr, {});
  odbc::Check(odbc::WatchedCall(StatementContext(), *connection_,
                                [&] {
                                  return SQLEndTran(SQL_HANDLE_DBC, connection_->Get(),
                                                    commit ? SQL_COMMIT : SQL_ROLLBACK);
                                }),
              *connection_);
  session_->TransactionOpened();  // until autocommit goes back on, the next one is open
}

odbc::StatementContext Connection::StatementContext() const {
  return {.connection = connection_->Get(),
          .queryTimeoutSeconds = queryTimeoutSeconds_,
          .narrowStatementText = capabilities_.narrowStatementText,
          .textReadStopsAtNul = capabilities_.textReadStopsAtNul,
          .session = session_,
          .cutOff = [this] { CutOff(); }};
}

std::string Connection::ForEngine(std::string_view sql) const {
  if (dialect_->selectTop) return std::string(sql);
  static const std::regex top(R"(^(\s*select\s+)top\s+(\d+)\s+([\s\S]*?)\s*$)", std::regex::icase);
  std::match_results<std::string_view::const_iterator> match;
  if (!std::regex_match(sql.begin(), sql.end(), match, top)) return std::string(sql);
  return match[1].str() + match[3].str() + " limit " + match[2].str();
}

void Connection::Close() noexcept {
  if (connected_) {
    if (inTransaction_) {
      odbc::WatchedRelease(StatementContext(), [this] {
        SQLEndTran(SQL_HANDLE_DBC, connection_->Get(), SQL_ROLLBACK);
      });
    }
    Disconnect();
  }
  inTransaction_ = false;
  connection_->Reset();
}

void Connection::Disconnect() noexcept {
  odbc::WatchedRelease(StatementContext(), [this] { SQLDisconnect(connection_->Get()); });
  connected_ = false;
}

void Connection::CutOff() const noexcept {
  if (!link_) return;
  odbc::ShutDown(*link_);
  try {
    for (const odbc::TcpLink& link : odbc::OpenTcpLinks()) {
      if (link.remote == link_->remote) odbc::ShutDown(link);
    }
  } catch (const std::exception&) {
    // Listing the links failed: the connection's own link is cut all the same.
  }
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
  connection_.BeginTransaction();
}

Transaction::~Transaction() {
  if (done_) return;
  try {
    connection_.RollbackTransaction();
  } catch (...) {
    // A connection that is lost cannot roll back; the server drops the transaction itself.
  }
}

void Transaction::Commit() {
  connection_.CommitTransaction();
  done_ = true;
}

Savepoint::Savepoint(Connection& connection)
    : connection_(connection), ownTransaction_(!connection.InTransaction()) {
  if (ownTransaction_) {
    connection_.BeginTransaction();
    return;
  }
  if (connection_.TransactionLost() && !connection_.RestartLostTransaction()) {
    throw TransactionEnded();
  }
  const std::optional<SavepointStatements>& statements = connection_.Capabilities().savepoints;
  if (!statements) throw errors::ProviderError(connection_.EngineName() + " takes no savepoints");
  if (connection_.session_->TransactionBegun()) {
    name_ = "mv_savepoint_" + std::to_string(++connection_.savepoints_);
    connection_.Execute(SavepointStatements::Named(statements->mark, name_));
  }
  ++connection_.marked_;
}

Savepoint::~Savepoint() {
  if (done_) return;
  try {
    Undo();
  } catch (...) {
    // The error that left the work unkept is on its way to the caller; a transaction that
    // cannot return to the savepoint is marked lost for the caller to find.
  }
}

void Savepoint::Keep() {
  done_ = true;
  if (ownTransaction_) {
    connection_.CommitTransaction();
    return;
  }
  --connection_.marked_;
  const SavepointStatements& statements = *connection_.Capabilities().savepoints;
  if (!name_.empty() && !statements.release.empty()) {
    connection_.Execute(SavepointStatements::Named(statements.release, name_));
  }
  connection_.keptInTransaction_ = true;
}

void Savepoint::Undo() {
  done_ = true;
  if (ownTransaction_) {
    connection_.RollbackTransaction();
    return;
  }
  --connection_.marked_;
  const SavepointStatements& statements = *connection_.Capabilities().savepoints;
  try {
    if (name_.empty()) {
      // The transaction's first point: nothing before it is lost with the transaction.
      connection_.RestartTransaction();
      return;
    }
    if (connection_.TransactionLost()) {
      throw TransactionEnded();
    }
    // An uncommittable transaction takes no return to a mark, only a full rollback.
    if (!statements.transactionState.empty() &&
        connection_.QueryValue(statements.transactionState).ToLong() != 1) {
      throw errors::ProviderError("The server ended the transaction after a failure");
    }
    connection_.Execute(SavepointStatements::Named(statements.returnTo, name_));
    if (!statements.release.empty()) {
      connection_.Execute(SavepointStatements::Named(statements.release, name_));
    }
  } catch (const RuntimeError&) {
    connection_.transactionLost_ = true;
    throw;
  }
}

}  // namespace mv
