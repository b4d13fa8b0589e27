// CompareTables: whether two target databases hold the same rows, so that a migration run in
// groups can be checked against a run that writes one basket or order at a time.
#pragma once

#include <string>
#include <vector>

#include "platform/odbc/connection.h"

namespace mv::bench {

/// A table and the columns that put its rows in a fixed order: its key, or every column for
/// a table without one.
struct ComparedTable {
  std::string name;
  std::vector<std::string> orderColumns;
};

/// The number of rows in `table`.
long CountRows(Connection& connection, const std::string& table);

/// The differences between `first` and `second` in `tables`, read in the order of each
/// table's order columns a few thousand rows at a time and compared row by row in every
/// column (kind and value; Null equals only Null). One line when the row counts or the
/// columns differ, one line per differing row up to `reportedRowsPerTable` and then one line
/// with the number of the others. Empty when both hold the same rows.
std::vector<std::string> CompareTables(Connection& first, Connection& second,
                                       const std::vector<ComparedTable>& tables,
                                       int reportedRowsPerTable = 10);

}  // namespace mv::bench
