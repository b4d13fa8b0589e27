// TimeEngineInsert: the engine's own INSERT ... SELECT of rows a migration wrote, as the lower
// bound for writing that many rows of that shape on that engine.
#pragma once

#include <vector>

#include "bench/target_comparison.h"
#include "platform/odbc/connection.h"
#include "tools/setup/schema_script.h"

namespace mv::bench {

struct EngineInsertTime {
  long rows = 0;
  double seconds = 0;
};

/// Moves the rows of `tables` in `target` into staging copies and empties the tables, then
/// times refilling them from the copies with one INSERT ... SELECT per table in one
/// transaction. The tables end up holding the same rows as before.
EngineInsertTime TimeEngineInsert(Connection& target, setup::Engine engine,
                                  const std::vector<ComparedTable>& tables);

}  // namespace mv::bench
