// Lists of ids sent to a server as bound parameters, in as many statements as its parameter
// limit asks for.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/odbc/column_info.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/row_reader.h"

namespace mv {

/// "?, ?, ?": `count` parameter markers, for an IN list.
std::string ParameterMarkers(std::size_t count);

/// Calls `query` with `ids`, each bound typed as a value of `column`, in consecutive slices of
/// no more than one statement on `connection` may carry when each id is bound `bindsPerId`
/// times; not at all for no ids.
void ForEachIdSlice(const Connection& connection, const std::vector<std::string>& ids,
                    const odbc::ColumnInfo& column,
                    const std::function<void(const std::vector<QueryParameter>&)>& query,
                    std::size_t bindsPerId = 1);

}  // namespace mv
