#include "tests/support/copied_tables.h"

#include <string>

#include "driver/convert_functions.h"

namespace mv::testing {

std::vector<long> CopiedTableCounts(const TestDatabase& database) {
  const auto connection = database.Connect();
  std::vector<long> counts;
  for (const char* table : kCopiedTables) {
    counts.push_back(
        OpenRecordset(*connection, std::string("select * from ") + table)->RecordCount());
  }
  return counts;
}

}  // namespace mv::testing
