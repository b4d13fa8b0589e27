// The dialects of SQL Server, SQLite and PostgreSQL, and the choice among them by engine name.
#include "platform/odbc/dialect.h"

#include "platform/unicode.h"

namespace mv {
namespace {

/// The SAVEPOINT words of SQLite and PostgreSQL, whose transactions begin with the first
/// statement of any kind.
SavepointStatements StandardSavepoints(std::string beginTransaction) {
  return {.mark = "savepoint {name}",
          .returnTo = "rollback to savepoint {name}",
          .release = "release savepoint {name}",
          .transactionState = "",
          .beginTransaction = std::move(beginTransaction)};
}

Dialect SqlServer() {
  return {
      .name = "SQL Server",
      .selectTop = true,
      .limits = {.rowsPerInsert = 1000, .parameters = 2100},
      // SAVE TRANSACTION has no release; ROLLBACK TRANSACTION to a saved point keeps the
      // transaction open. After a batch-aborting error XACT_STATE() is -1 (uncommittable) or 0
      // (rolled back), and only a full rollback is allowed. Under implicit transactions a
      // SELECT from a table begins the transaction; SAVE TRANSACTION begins none.
      .savepoints = {.mark = "save transaction {name}",
                     .returnTo = "rollback transaction {name}",
                     .release = "",
                     .transactionState = "select xact_state()",
                     .beginTransaction = "select count(*) from sys.objects"},
      // The catalog's values are sql_variant, which takes no arithmetic before a cast to its
      // base type. A table that never numbered a row gives its next row the seed, one that did
      // the reseed value plus the increment; the rows of a rolled-back copy count as numbered.
      .identityCounter =
          {.read = "select cast(coalesce(cast(last_value as decimal(38, 0)), "
                   "cast(seed_value as decimal(38, 0)) - cast(increment_value as decimal(38, 0))) "
                   "as varchar(40)) as IDENTITYVALUE from sys.identity_columns "
                   "where object_id = object_id('{table}')",
           .restore = "DBCC CHECKIDENT ('{table}', RESEED, {value})"},
      .streamingKeywords = "",
      .namesValuesColumns = true,
      .sessionStatements = {"set nocount on"},
  };
}

Dialect Sqlite() {
  return {.name = "SQLite",
          .selectTop = false,
          .limits = {.rowsPerInsert = 1'000'000, .parameters = 32'766},
          .savepoints = StandardSavepoints("select count(*) from sqlite_master"),
          .identityCounter = {},
          .streamingKeywords = "StepAPI=1",
          .namesValuesColumns = false,
          .sessionStatements = {}};
}

Dialect Postgresql() {
  // The sequence's last value with whether it was drawn, as setval takes them back; a sequence
  // never drawn from answers its start.
  return {.name = "PostgreSQL",
          .selectTop = false,
          .limits = {.rowsPerInsert = 1'000'000, .parameters = 65'535},
          .savepoints = StandardSavepoints("select count(*) from pg_catalog.pg_class"),
          .identityCounter =
              {.read = "select coalesce(cast(pg_sequence_last_value(s.seqrelid) as varchar(20)) || "
                       "', true', cast(s.seqstart as varchar(20)) || ', false') as IDENTITYVALUE "
                       "from pg_catalog.pg_sequence s where s.seqrelid = "
                       "cast(pg_get_serial_sequence('{table}', '{column}') as regclass)",
               .restore = "select setval(pg_get_serial_sequence('{table}', '{column}'), {value})"},
          .streamingKeywords = "UseDeclareFetch=1;Fetch=1000",
          .namesValuesColumns = true,
          .sessionStatements = {}};
}

}  // namespace

const Dialect& DialectOf(std::string_view engineName) {
  static const Dialect sqlServer = SqlServer();
  static const Dialect sqlite = Sqlite();
  static const Dialect postgresql = Postgresql();
  const std::string name = AsciiLowerCase(std::string(engineName));
  if (name.starts_with("sqlite")) return sqlite;
  if (name.starts_with("postgresql")) return postgresql;
  return sqlServer;
}

std::string ValuesTable(const Dialect& dialect, std::string_view name,
                        const std::vector<std::string>& columns, std::string_view rows) {
  std::string names;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) names += ", ";
    names += dialect.namesValuesColumns ? columns[i]
                                        : "column" + std::to_string(i + 1) + " as " + columns[i];
  }
  const std::string values = "(values " + std::string(rows) + ")";
  if (dialect.namesValuesColumns) return values + " as " + std::string(name) + "(" + names + ")";
  return "(select " + names + " from " + values + ") as " + std::string(name);
}

std::string Filled(std::string text, std::string_view placeholder, std::string_view value) {
  const std::string marked = "{" + std::string(placeholder) + "}";
  for (size_t at = text.find(marked); at != std::string::npos;
       at = text.find(marked, at + value.size())) {
    text.replace(at, marked.size(), value);
  }
  return text;
}

}  // namespace mv
