// TimePlainInsert: the best plain ODBC path for writing rows a migration wrote, prepared
// multi-row inserts with bound parameters, as the bound a program going through ODBC can reach.
#pragma once

#include <vector>

#include "bench/target_comparison.h"
#include "platform/odbc/connection.h"

namespace mv::bench {

struct PlainInsertTime {
  long rows = 0;
  double seconds = 0;
};

/// Times reading every row of `tables` from `from` and writing it into the same, empty tables
/// of `to` in one transaction: one prepared multi-row insert per table, its parameters bound
/// row by row as the rows are read, as many rows to an execution as keep the parameters under
/// 2,000 (and the rows at 1,000, SQL Server's limit).
PlainInsertTime TimePlainInsert(Connection& from, Connection& to,
                                const std::vector<ComparedTable>& tables);

}  // namespace mv::bench
