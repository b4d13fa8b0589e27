// WriteRows: adds many sample rows to one table fast, in one transaction and large batches.
#pragma once

#include <functional>
#include <string>

#include "platform/odbc/connection.h"
#include "platform/odbc/recordset.h"

namespace mv::samples {

/// Adds `count` rows to `table` in one transaction; `fill` sets the fields of row i. The rows
/// are sent in batches of a few thousand, so that a large shop never sits in memory whole.
void WriteRows(Connection& connection, const std::string& table, int count,
               const std::function<void(Recordset&, int)>& fill);

}  // namespace mv::samples
