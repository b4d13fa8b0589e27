// Texts holding a NUL character, read through a driver that hands a text over only up to its
// first NUL (SQLite's): the query is run inside one that also tells, per row, which of its
// text values held one, so that such a value is never taken for the whole text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/odbc/column_info.h"
#include "platform/variant.h"

namespace mv::odbc {

/// True for a statement text that reads rows ("select ..."), which can be run inside another.
bool ReadsRows(std::string_view sql);

/// `sql` inside a query whose first column is a text of one "0" or "1" per result column of
/// `sql` (`columns`), "1" where a text value holds a NUL character, followed by `sql`'s own
/// columns. Empty when `sql` returns no text column. Written in SQLite's words.
std::string QueryWithNulFlags(std::string_view sql, const std::vector<ColumnInfo>& columns);

/// The value read for a column whose flag says it held a NUL: the part before the NUL, which
/// is all the driver hands over, followed by a NUL, so that every check for a text that a
/// database or the store cannot take whole finds it.
Variant MarkedAsHoldingNul(const Variant& readBeforeNul);

}  // namespace mv::odbc
