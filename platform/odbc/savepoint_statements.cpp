// SavepointStatements: SQLite's and PostgreSQL's SAVEPOINT words, SQL Server's SAVE TRANSACTION
// words, and the try that decides whether a connection takes them.
#include "platform/odbc/savepoint_statements.h"

#include "platform/odbc/connection.h"
#include "platform/runtime_error.h"
#include "platform/variant.h"

namespace mv {
namespace {

constexpr const char* kTriedName = "mv_try";

}  // namespace

std::string SavepointStatements::Named(const std::string& text, const std::string& name) {
  std::string named = text;
  const std::string placeholder = "{name}";
  if (const size_t at = named.find(placeholder); at != std::string::npos) {
    named.replace(at, placeholder.size(), name);
  }
  return named;
}

std::optional<SavepointStatements> SavepointStatementsOf(const std::string& engineName) {
  if (engineName == "SQLite" || engineName == "PostgreSQL") {
    return SavepointStatements{.mark = "savepoint {name}",
                               .returnTo = "rollback to savepoint {name}",
                               .release = "release savepoint {name}",
                               .transactionState = ""};
  }
  if (engineName == "Microsoft SQL Server") {
    // SAVE TRANSACTION has no release; ROLLBACK TRANSACTION to a saved point keeps the
    // transaction open. After a batch-aborting error XACT_STATE() is -1 (uncommittable) or 0
    // (rolled back), and only a full rollback is allowed.
    return SavepointStatements{.mark = "save transaction {name}",
                               .returnTo = "rollback transaction {name}",
                               .release = "",
                               .transactionState = "select xact_state()"};
  }
  return std::nullopt;
}

std::optional<SavepointStatements> TriedSavepoints(Connection& connection,
                                                   const SavepointStatements& statements) {
  try {
    Transaction transaction(connection);  // rolled back on leaving
    connection.Execute(SavepointStatements::Named(statements.mark, kTriedName));
    if (!statements.transactionState.empty() &&
        connection.QueryValue(statements.transactionState).ToLong() != 1) {
      return std::nullopt;
    }
    connection.Execute(SavepointStatements::Named(statements.returnTo, kTriedName));
    if (!statements.release.empty()) {
      connection.Execute(SavepointStatements::Named(statements.release, kTriedName));
    }
    return statements;
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

}  // namespace mv
