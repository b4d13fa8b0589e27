// The ids of the units (baskets, orders) a target already holds, read once per run, so that a
// rerun refuses them without asking the target for each one.
#pragma once

#include <string>
#include <unordered_set>

#include "platform/odbc/connection.h"

namespace mv {

/// The texts of `column` in every row of `table` on `target`.
std::unordered_set<std::string> ConvertedIds(Connection& target, const std::string& table,
                                             const std::string& column);

}  // namespace mv
