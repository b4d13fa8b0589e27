// IdentityCounter: the counter from which a table numbers its new rows, kept so that it can be
// put back after a rolled-back copy, since not every engine rolls it back.
#pragma once

#include <string>

#include "platform/odbc/connection.h"

namespace mv {

class IdentityCounter {
 public:
  /// Reads the counter of the key column `key` of `table` in the engine's words
  /// (Dialect::identityCounter). PostgreSQL: the column's sequence (last value and whether it
  /// was drawn); SQL Server: the table's identity value. SQLite keeps its counter in a table
  /// that a rollback restores, so nothing is read there.
  IdentityCounter(Connection& connection, const std::string& table, const std::string& key);

  /// Sets the counter back to the value read, so that the next row is numbered as it would
  /// have been. Call it with no transaction open. Failures throw.
  void Restore();

 private:
  Connection& connection_;
  std::string restore_;  // the statement that puts the counter back; empty when none is needed
};

}  // namespace mv
