// What the statements of one connection share about its session on the server: whether the
// open transaction has begun there, and, under strict results, two rules of SQL Server
// imitated on engines that do not have them.
#pragma once

#include <string_view>

namespace mv::odbc {

/// The state of one connection's session. SQL Server's ODBC drivers switch autocommit off with
/// implicit transactions: the transaction begins with the first statement that reads or
/// changes a table, not with a savepoint, which then meets no transaction. So a connection
/// marks a savepoint only once its transaction has begun (TransactionBegun).
///
/// With strict results on (VANTREL_ODBC_STRICT_RESULTS is "1"), the session refuses, as SQL
/// Server does, a statement while another statement's result is unread (without MARS), and a
/// savepoint while the transaction has begun nothing on the server, so that runs on engines
/// whose drivers hold whole results and begin transactions at once find the places that would
/// fail there.
class ServerSession {
 public:
  explicit ServerSession(bool strict) : strict_(strict) {}

  bool Strict() const { return strict_; }

  /// Under strict results, throws SQL Server's error when `sql` may not run now: "Connection is
  /// busy with results for another hstmt" (SQLSTATE HY000) while a statement other than
  /// `statement` has an unread result, and error 628 for a savepoint in a transaction that has
  /// not begun. `statement` is null for a transaction's end, which on SQL Server the unread
  /// result would not outlive either; `sql` is empty for a catalog query.
  void RefuseWhenNotAllowed(const void* statement, std::string_view sql) const;
  /// `statement` ran `sql`: the transaction has begun when `sql` reads or changes a table (the
  /// statements with which implicit transactions begin one); its result is unread when it has
  /// result columns (looked at under strict results only).
  void Ran(const void* statement, std::string_view sql, bool hasResult);
  /// `statement` read past its last row, closed its result or is destroyed.
  void Finished(const void* statement);

  /// Autocommit went off, or a transaction ended while it stays off: a new transaction is open
  /// and has begun nothing on the server yet.
  void TransactionOpened();
  /// Autocommit is back on.
  void TransactionLeft();
  /// True when a statement of the open transaction has begun it on the server.
  bool TransactionBegun() const { return begun_; }

 private:
  bool strict_;
  const void* owner_ = nullptr;  // the statement whose result is unread
  bool inTransaction_ = false;
  bool begun_ = false;
};

/// True for a statement that marks a savepoint ("savepoint ...", "save transaction ...").
bool MarksSavepoint(std::string_view sql);
/// True for a statement with which SQL Server's implicit transactions begin a transaction: one
/// that reads a table (a select with a from) or changes data or the schema. A select of a bare
/// value (select xact_state()) and a savepoint begin none.
bool BeginsTransaction(std::string_view sql);

/// True when strict results are switched on for new connections.
bool StrictResultsWanted();

}  // namespace mv::odbc
