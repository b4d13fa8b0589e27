// The rows of one basket table gathered and written many to an insert.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/odbc/connection.h"
#include "platform/odbc/multi_row_insert.h"
#include "platform/variant.h"

namespace mv {

/// Rows of one table, kept until Write sends them in prepared multi-row inserts. Every value is
/// a text or Null, bound as a text: the target converts it to its column's type as it converts
/// a literal in a statement's text.
class RowInserts {
 public:
  /// Rows of `table` that set `columns`, in that order; `target` must outlive the inserts.
  RowInserts(Connection& target, std::string table, const std::vector<std::string>& columns);

  /// Adds a row: one value for each column.
  void Add(std::vector<Variant> row);
  /// Writes the rows added since the last Write or Forget in the order they were added, as many
  /// to an execution as one takes. They are gone afterwards, also when writing failed.
  void Write();
  /// Drops the rows added since the last Write or Forget.
  void Forget() { rows_.clear(); }

 private:
  MultiRowInsert insert_;
  std::vector<size_t> columns_;  // every column, in order
  std::vector<std::vector<Variant>> rows_;
};

}  // namespace mv
