// Whether a value the target holds is the value a migration writes into that column.
#pragma once

#include "platform/odbc/column_info.h"
#include "platform/variant.h"

namespace mv {

/// True when `stored`, read from the target's column `column`, is what writing `written` into
/// it leaves there. Empty `written` (a column the migration does not set) is always equal;
/// Null equals only Null. As the column converts what it takes: a number compares by value
/// (rounded to the column's decimal digits for an exact numeric column, as a float for a float
/// one; a text written for a number column by its digits, with '.' as the decimal point), a
/// date-time by its moment to the second when written as text, a text without the blanks that
/// pad a fixed-length column, a Boolean as 0 or not 0, bytes by bytes.
bool StoredAsWritten(const Variant& written, const Variant& stored, const odbc::ColumnInfo& column);

/// A value as a finding shows it: Null as "Null", a text between single quotes, a date-time
/// as "YYYY-MM-DDTHH:MM:SS", anything else as its text form.
std::string ShownValue(const Variant& value);

}  // namespace mv
