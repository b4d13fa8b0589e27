// Savepoints in each engine's own words, and the try at connect that decides whether a
// connection takes them.
#pragma once

#include <optional>
#include <string>

namespace mv {

class Connection;

/// The statements that mark a point inside a transaction, return to it and release it, as one
/// engine words them. `{name}` in a text stands for the point's name.
struct SavepointStatements {
  std::string mark;
  std::string returnTo;
  /// Empty where the engine releases nothing: a kept point simply stays (SQL Server).
  std::string release;
  /// A query answering 1 while the open transaction can still be written and returned to a
  /// mark (SQL Server's XACT_STATE()); empty where returning to the mark tells by failing.
  std::string transactionState;
  /// A query that reads a table every database has, and so begins the transaction on the server
  /// where turning autocommit off begins none (SQL Server's implicit transactions), for the try
  /// at connect.
  std::string beginTransaction;

  /// `text` with `{name}` replaced by `name`.
  static std::string Named(const std::string& text, const std::string& name);
};

/// `statements` when `connection` takes them: a transaction is opened and begun with a read of
/// a table, marked, returned to the mark (its state asked first, where the engine has a query
/// for it) and rolled back; none when any step fails. Nothing is written. `connection` must
/// have no transaction open.
std::optional<SavepointStatements> TriedSavepoints(Connection& connection,
                                                   const SavepointStatements& statements);

}  // namespace mv
