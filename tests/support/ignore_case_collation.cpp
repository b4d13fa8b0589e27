// IgnoreCaseCollation: SQLite's NOCASE, or a nondeterministic ICU collation made on PostgreSQL.
#include "tests/support/ignore_case_collation.h"

namespace mv::testing {

std::string IgnoreCaseCollation(Connection& connection, setup::Engine engine) {
  if (engine == setup::Engine::Sqlite) return " collate nocase";
  if (connection.QueryValue("select count(*) from pg_collation where collname = 'ignore_case'")
          .ToLong() == 0) {
    connection.Execute(
        "create collation ignore_case"
        " (provider = icu, locale = 'und-u-ks-level2', deterministic = false)");
  }
  return " collate ignore_case";
}

}  // namespace mv::testing
