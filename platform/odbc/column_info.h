// What the driver reports of one result column.
#pragma once

#include <cstddef>
#include <string>

#include "platform/variant.h"

namespace mv::odbc {

/// One result column: its name, the SQL type the driver reports for it (the ODBC type number,
/// its size and decimal digits), the engine's own name of that type, and the Variant kind its
/// values read as. A parameter bound as a value of the column is sent with its SQL type.
struct ColumnInfo {
  std::string name;
  short sqlType = 0;  // SQL_UNKNOWN_TYPE
  std::size_t size = 0;
  short decimalDigits = 0;
  std::string typeName;  // the engine's own name of the type ("money", "numeric")
  VariantKind kind = VariantKind::String;
};

}  // namespace mv::odbc
