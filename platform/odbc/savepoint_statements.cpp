// SavepointStatements: a point's name put into the words, and the try that decides whether a
// connection takes them.
#include "platform/odbc/savepoint_statements.h"

#include "platform/odbc/connection.h"
#include "platform/odbc/dialect.h"
#include "platform/runtime_error.h"
#include "platform/variant.h"

namespace mv {
namespace {

constexpr const char* kTriedName = "mv_try";

}  // namespace

std::string SavepointStatements::Named(const std::string& text, const std::string& name) {
  return Filled(text, "name", name);
}

std::optional<SavepointStatements> TriedSavepoints(Connection& connection,
                                                   const SavepointStatements& statements) {
  try {
    Transaction transaction(connection);  // rolled back on leaving
    connection.QueryValue(statements.beginTransaction);
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
