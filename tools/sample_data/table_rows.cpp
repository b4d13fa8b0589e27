#include "tools/sample_data/table_rows.h"

#include <algorithm>

namespace mv::samples {
namespace {

constexpr int kRowsPerBatch = 5000;

}  // namespace

void WriteRows(Connection& connection, const std::string& table, int count,
               const std::function<void(Recordset&, int)>& fill) {
  Transaction transaction(connection);
  for (int first = 0; first < count; first += kRowsPerBatch) {
    Recordset rows(connection, "select * from " + table + " where 1 = 0");
    for (int i = first; i < std::min(count, first + kRowsPerBatch); ++i) {
      rows.AddNew();
      fill(rows, i);
    }
    rows.UpdateBatch();
  }
  transaction.Commit();
}

}  // namespace mv::samples
