// The text of an insert of rows whose values are bound as parameters.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/odbc/field_row.h"

namespace mv::odbc {

/// "insert into TABLE (A, B) values (?, ?), (?, ?)": `rows` rows that set the `setColumns` of
/// `columns`; "insert into TABLE default values" when they set none.
inline std::string InsertText(const std::string& table, const ResultColumns& columns,
                              const std::vector<size_t>& setColumns, size_t rows = 1) {
  if (setColumns.empty()) return "insert into " + table + " default values";
  std::string names;
  std::string row;
  for (size_t i : setColumns) {
    names += (names.empty() ? "" : ", ") + columns[i].name;
    row += row.empty() ? "(?" : ", ?";
  }
  row += ")";
  std::string sql = "insert into " + table + " (" + names + ") values " + row;
  for (size_t n = 1; n < rows; ++n) sql += ", " + row;
  return sql;
}

}  // namespace mv::odbc
