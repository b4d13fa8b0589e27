#include "bench/engine_insert.h"

#include <chrono>
#include <string>

namespace mv::bench {
namespace {

std::string Staging(const ComparedTable& table) { return "staging_" + table.name; }

/// Empties the tables so that the timed inserts start from the storage of new tables.
void EmptyTables(Connection& target, setup::Engine engine,
                 const std::vector<ComparedTable>& tables) {
  for (const auto& table : tables) {
    target.Execute((engine == setup::Engine::Postgresql ? "truncate table " : "delete from ") +
                   table.name);
  }
  if (engine == setup::Engine::Sqlite) target.Execute("vacuum");
}

}  // namespace

EngineInsertTime TimeEngineInsert(Connection& target, setup::Engine engine,
                                  const std::vector<ComparedTable>& tables) {
  for (const auto& table : tables) {
    target.Execute("create table " + Staging(table) + " as select * from " + table.name);
  }
  EmptyTables(target, engine, tables);

  const auto start = std::chrono::steady_clock::now();
  Transaction transaction(target);
  for (const auto& table : tables) {
    target.Execute("insert into " + table.name + " select * from " + Staging(table));
  }
  transaction.Commit();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

  EngineInsertTime result{0, elapsed.count()};
  for (const auto& table : tables) result.rows += CountRows(target, table.name);
  return result;
}

}  // namespace mv::bench
