#include "tests/support/copied_tables.h"

#include "tests/support/converter_run.h"

namespace mv::testing {

std::vector<long> CopiedTableCounts(const TestDatabase& database) {
  const auto connection = database.Connect();
  std::vector<long> counts;
  for (const char* table : kCopiedTables) {
    counts.push_back(CountRows(*connection, table));
  }
  return counts;
}

}  // namespace mv::testing
