// An open ODBC connection: the ADO connection of the program, with transactions and
// savepoints, and what its database engine offers.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/odbc/dialect.h"
#include "platform/odbc/savepoint_statements.h"
#include "platform/odbc/tcp_link.h"
#include "platform/variant.h"

namespace mv::odbc {
class Handle;
class ServerSession;
struct StatementContext;
}  // namespace mv::odbc

namespace mv {

/// What the program relies on that only some database engines offer, decided once per
/// connection from the engine's dialect and, where a guess could be wrong, by trying.
struct EngineCapabilities {
  /// The engine's savepoint statements, when a transaction on this connection took them at
  /// connect (TriedSavepoints), so that many records can share one transaction, each under a
  /// savepoint of its own, and many rows can go out in one insert that is undone whole when it
  /// fails. None where the try failed: every record is then written in a transaction of its
  /// own.
  std::optional<SavepointStatements> savepoints;
  StatementLimits limits;
  /// Statement texts reach the driver as UTF-8 through the narrow calls. Tried for the SQLite
  /// driver, and true where its wide calls lose characters beyond U+FFFF: where unixODBC
  /// converts wide texts to UCS-2 for it (Linux, and Windows programs under Wine, whose odbc32
  /// hands its calls to the host's unixODBC). The narrow calls reach it unchanged there.
  bool narrowStatementText = false;
  /// The driver hands a text value over only up to its first NUL character (SQLite's driver
  /// does): tried for the SQLite driver; queries then flag such values (odbc::Statement).
  bool textReadStopsAtNul = false;
};

/// How a connection's queries hand their rows over.
enum class ResultReading {
  /// As the driver does by default; some drivers hold a query's whole result from its execute on.
  DriverDefault,
  /// As they are fetched, the driver's streaming mode switched on where it has one, so that a
  /// table of any size is read in bounded memory. For a connection that only reads: such a mode
  /// may keep the reads in a transaction of their own (Dialect::streamingKeywords).
  Streamed,
};

/// The seconds the program gives a server to accept a connection, and each statement to answer.
inline constexpr int kLoginTimeoutSeconds = 15;
inline constexpr int kQueryTimeoutSeconds = 30;

/// An open database connection. Statements commit on their own unless a transaction is open.
/// Failures throw RuntimeError with the provider's number and message; no error text ever
/// shows the password of the connection string.
class Connection {
 public:
  /// Connects with `connectionString`; the login time-out applies to connecting, the query
  /// time-out to every call of a statement (see odbc::Statement). A failure to connect throws
  /// the driver's error with the connection string's passwords hidden (odbc::HidePasswords),
  /// since drivers may echo the connection string, whole or in part. The engine's dialect is
  /// decided once connected, and its session statements run. A connection for
  /// `ResultReading::Streamed` connects again with the dialect's streaming keywords where the
  /// engine's driver has such a mode.
  Connection(const std::string& connectionString, int loginTimeoutSeconds, int queryTimeoutSeconds,
             ResultReading reading = ResultReading::DriverDefault);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  /// Asks the driver to take the connection as read-only (ODBC's access mode): a hint that
  /// some drivers take and others ignore, so never the only guard against writing.
  void AskReadOnly() noexcept;

  /// Runs a statement that returns no rows.
  void Execute(std::string_view sql);
  /// The first column of the first row that `sql` reads; throws when it reads no row.
  Variant QueryValue(std::string_view sql);

  void BeginTransaction();
  void CommitTransaction();
  /// Rolls back an open transaction; does nothing when none is open.
  void RollbackTransaction();
  bool InTransaction() const { return inTransaction_; }
  /// Begins the open transaction on the server with a read of a table, where no statement has
  /// begun it yet: its first savepoint is then a savepoint too, not the transaction itself, so
  /// that a failure which ends the transaction shows when returning to it (Savepoint::Undo).
  void BeginOnServer();
  /// True when a Savepoint found the open transaction ended by the server (or beyond returning
  /// to a mark) after a failed statement: only rolling the whole transaction back is left.
  /// Cleared when a transaction begins or is rolled back.
  bool TransactionLost() const { return transactionLost_; }
  /// True while a savepoint marked inside the open transaction is neither kept nor undone.
  bool InsideSavepoint() const { return marked_ > 0; }
  /// Rolls a lost transaction back and goes on in a new one, when that loses nothing: no
  /// savepoint in it was kept and none is marked. Answers whether it did. psqlODBC rolls a
  /// whole transaction back when the first write in it fails, since it sets no savepoint of its
  /// own before a transaction's first write.
  bool RestartLostTransaction();

  /// The statement as this engine takes it: "select top N ..." becomes "select ... limit N"
  /// where the dialect has no "top"; every other text is unchanged.
  std::string ForEngine(std::string_view sql) const;

  /// The engine's name as the driver reports it ("Microsoft SQL Server", "SQLite", ...), for
  /// texts; its words are in Words, what it offers in Capabilities.
  const std::string& EngineName() const { return engineName_; }
  /// The engine's dialect, decided once at connect from its name (DialectOf).
  const Dialect& Words() const { return *dialect_; }
  const EngineCapabilities& Capabilities() const { return capabilities_; }
  /// Tries `statements` on this connection (TriedSavepoints) and takes them, or none when the
  /// try fails. Done at connect with the engine's own words; no transaction may be open.
  void TrySavepoints(const SavepointStatements& statements);
  /// Lowers the statement limits below the engine's own, to no less than one row and one
  /// parameter: smaller statements for an engine that takes less than it reports.
  void NarrowStatementLimits(const StatementLimits& limits);
  /// What a statement on this connection needs of it: its handle, query time-out, text
  /// capabilities, and CutOff for a call that does not return after its cancel.
  odbc::StatementContext StatementContext() const;

  /// Rolls back an open transaction and disconnects, each bounded as a statement is: a server
  /// that does not answer is cut off. Further calls fail. Never throws.
  void Close() noexcept;

 private:
  /// Connects the handle with `connectionString`, the password hidden in the error of a
  /// failure, and finds the TCP link the driver opened. Refuses a string of more characters
  /// than the driver call's 16-bit length can tell.
  void Connect(const std::string& connectionString);
  /// Cuts every network link of this process to the connection's server, so that a call
  /// waiting for a server that does not answer returns with the connection lost; further calls
  /// fail. That is the connection's own link, the driver's cancel request, which waits for the
  /// same server, and the program's other connections to it: a server that answers no cancel
  /// answers them no more, and closing their results (a streamed result's cursor) or their
  /// transactions would each wait for it again. Does nothing where the link is not known (an
  /// embedded engine, Windows). Callable from any thread; never throws.
  void CutOff() const noexcept;
  /// Disconnects, bounded as a statement is (odbc::WatchedRelease).
  void Disconnect() noexcept;
  void SetAutoCommit(bool on);
  /// Rolls the open transaction back and goes on in a new one, autocommit still off.
  void RestartTransaction();
  /// Commits or rolls back under the query time-out: a server that does not answer is cut off
  /// and the call fails with the time-out, the connection then lost.
  void EndTransaction(bool commit);

  std::unique_ptr<odbc::Handle> connection_;
  std::string engineName_;
  const Dialect* dialect_ = nullptr;
  EngineCapabilities capabilities_;
  int queryTimeoutSeconds_;
  std::optional<odbc::TcpLink> link_;  // the TCP connection the driver opened, when known
  bool connected_ = false;
  bool inTransaction_ = false;
  bool transactionLost_ = false;
  bool keptInTransaction_ = false;  // a savepoint was kept in the open transaction
  int savepoints_ = 0;              // marked so far: each savepoint gets a name of its own
  int marked_ = 0;                  // savepoints marked and neither kept nor undone
  std::shared_ptr<odbc::ServerSession> session_;
  friend class Savepoint;
};

/// Rolls back the connection's transaction when it goes out of scope uncommitted: one basket,
/// one order or one table is written whole or not at all.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void Commit();

 private:
  Connection& connection_;
  bool done_ = false;
};

/// A point the connection's work can return to: a savepoint inside the open transaction, or
/// the start of a transaction of its own when none is open. The first point of a transaction
/// that has begun nothing on the server yet is the transaction itself: no savepoint is sent
/// (under SQL Server's implicit transactions one would meet no transaction), and returning to
/// it rolls the transaction back, which loses nothing that came before it. Work not kept is
/// undone when the savepoint goes out of scope.
class Savepoint {
 public:
  /// Marks the point; throws when the connection's transaction was lost (TransactionLost) and
  /// cannot be restarted without losing work (Connection::RestartLostTransaction).
  explicit Savepoint(Connection& connection);
  ~Savepoint();
  Savepoint(const Savepoint&) = delete;
  Savepoint& operator=(const Savepoint&) = delete;

  /// Keeps the work done since the savepoint (commits it when no transaction was open).
  void Keep();
  /// Undoes the work done since the savepoint; the work before it stays. When the server ended
  /// the transaction (or it can no longer return to the mark), the connection's transaction is
  /// marked lost and this throws: the work before the savepoint is gone as well, or soon will
  /// be, and only a full rollback is left.
  void Undo();

 private:
  Connection& connection_;
  bool ownTransaction_;
  std::string name_;  // of a savepoint sent inside a transaction; empty for its first point
  bool done_ = false;
};

}  // namespace mv
