// Rows written into one table many to a statement: prepared multi-row inserts whose parameters
// stay bound from one execution to the next.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/odbc/field_row.h"
#include "platform/variant.h"

namespace mv {

class Connection;

namespace odbc {
class Statement;
}

/// Inserts rows into one table through one connection, as many in one execution as the
/// program's limits (500 rows, 2,000 values) and the engine's statement limits
/// (EngineCapabilities::limits) allow.
class MultiRowInsert {
 public:
  /// Writes into `table`, whose columns are `columns`; `connection` must outlive the insert.
  MultiRowInsert(Connection& connection, std::string table, ResultColumns columns);
  ~MultiRowInsert();
  MultiRowInsert(const MultiRowInsert&) = delete;
  MultiRowInsert& operator=(const MultiRowInsert&) = delete;

  /// How many rows that set `setCount` columns one execution takes; at least one.
  size_t RowsPerExecution(size_t setCount) const;
  /// Inserts `rows` (at most RowsPerExecution), setting the `setColumns` of each, each value
  /// typed as a value of its column, in one execution of an insert prepared on first use.
  /// Throws the execution's error.
  void Execute(const std::vector<size_t>& setColumns,
               const std::vector<const std::vector<Variant>*>& rows);

 private:
  /// The insert of `rows` rows setting `setColumns`, prepared on first use.
  odbc::Statement& Prepared(const std::vector<size_t>& setColumns, size_t rows);

  Connection& connection_;
  std::string table_;
  ResultColumns columns_;
  /// Inserts prepared by earlier executions, by the columns they set and their number of rows.
  std::map<std::pair<std::vector<size_t>, size_t>, std::unique_ptr<odbc::Statement>> inserts_;
};

}  // namespace mv
