// One database engine's words: every statement text and limit that differs between SQL Server,
// the engine the shops run, and the two engines that stand in for it in the tests and the demo.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/odbc/savepoint_statements.h"

namespace mv {

/// The most that one statement may carry on an engine.
struct StatementLimits {
  /// Rows in one VALUES list: 1,000 on SQL Server; SQLite and PostgreSQL set none.
  size_t rowsPerInsert = 1000;
  /// Parameters in one statement: 2,100 on SQL Server, 32,766 on SQLite, 65,535 on PostgreSQL.
  size_t parameters = 2100;
};

/// An engine's identity counter in statements: `read` answers one text, the value that `restore`
/// puts back in place of `{value}`, for the key column `{column}` of the table `{table}`; it
/// reads no row, or null, for a table without a counter. Both empty where the engine keeps no
/// counter apart from the rows (a rollback restores it).
struct IdentityCounterWords {
  std::string read;
  std::string restore;
};

/// The words of one engine, decided once per connection from the engine's name.
struct Dialect {
  /// "SQL Server", "SQLite" or "PostgreSQL", for the log.
  std::string name;
  /// "select top N ..." is taken as it is (SQL Server); the others get "select ... limit N".
  bool selectTop = false;
  StatementLimits limits;
  /// The savepoint words, used where a try at connect shows that the connection takes them.
  SavepointStatements savepoints;
  IdentityCounterWords identityCounter;
  /// Connection-string keywords that make the engine's driver hand a query's rows over as they
  /// are fetched, for connections that only read; empty where the driver does so already (SQL
  /// Server's default result set). SQLite's driver holds a query's whole result from its
  /// execute on unless its step mode is on; psqlODBC does unless it reads through a server-side
  /// cursor, 1,000 rows at a time, which keeps the connection's reads in a transaction of
  /// their own.
  std::string streamingKeywords;
  /// A derived table of VALUES rows takes a list of its columns' names after its own name (SQL
  /// Server, PostgreSQL); SQLite takes none and names them column1, column2, ...
  bool namesValuesColumns = true;
  /// Statements run once on every new connection: SQL Server's SET NOCOUNT ON, so that no row
  /// count (a trigger's among them) is left as a pending result.
  std::vector<std::string> sessionStatements;
};

/// The dialect of the engine that names itself `engineName` (SQL_DBMS_NAME): the two engines
/// that stand in for SQL Server by their names ("SQLite", "PostgreSQL", in any letter case and
/// with anything after them); every other engine is SQL Server, the engine of the shops, whose
/// drivers name it in more than one way.
const Dialect& DialectOf(std::string_view engineName);

/// The rows `rows` ("(?, 0), (?, 1)") as a derived table named `name` whose columns are named
/// `columns` in order, in the words of `dialect`; for a FROM clause.
std::string ValuesTable(const Dialect& dialect, std::string_view name,
                        const std::vector<std::string>& columns, std::string_view rows);

/// `text` with every `{placeholder}` replaced by `value`.
std::string Filled(std::string text, std::string_view placeholder, std::string_view value);

}  // namespace mv
