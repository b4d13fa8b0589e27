// ConvertedIds: one pass over a target table's id column, each id kept as text.
#include "driver/converted_ids.h"

#include "platform/odbc/row_reader.h"

namespace mv {

std::unordered_set<std::string> ConvertedIds(Connection& target, const std::string& table,
                                             const std::string& column) {
  std::unordered_set<std::string> ids;
  for (RowReader rows(target, "select " + column + " from " + table); rows.Next();) {
    ids.insert(rows.Row().Field(column).ToText());
  }
  return ids;
}

}  // namespace mv
