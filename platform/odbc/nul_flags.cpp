// The SQLite query that flags, per row, the text values holding a NUL, and such a value marked.
#include "platform/odbc/internal/nul_flags.h"

#include <cctype>

#include "platform/unicode.h"

namespace mv::odbc {

bool ReadsRows(std::string_view sql) {
  constexpr std::string_view kSelect = "select";
  const size_t start = sql.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos || sql.size() - start <= kSelect.size()) return false;
  return EqualsIgnoreCase(sql.substr(start, kSelect.size()), kSelect) &&
         std::isspace(static_cast<unsigned char>(sql[start + kSelect.size()]));
}

std::string QueryWithNulFlags(std::string_view sql, const std::vector<ColumnInfo>& columns) {
  // The inner query's columns are renamed c1..cN, so that duplicate or odd names cannot clash.
  std::string names;
  std::string flags;
  std::string values;
  bool anyText = false;
  for (size_t i = 0; i < columns.size(); ++i) {
    const std::string name = "c" + std::to_string(i + 1);
    names += (i ? ", " : "") + name;
    values += ", " + name;
    const bool text = columns[i].kind == VariantKind::String;
    anyText = anyText || text;
    flags += text ? " || (ifnull(instr(" + name + ", char(0)), 0) > 0)" : " || '0'";
  }
  if (!anyText) return {};
  return "with mv_read(" + names + ") as (" + std::string(sql) + ") select ''" + flags + values +
         " from mv_read";
}

Variant MarkedAsHoldingNul(const Variant& readBeforeNul) {
  return Variant::String(readBeforeNul.ToText() + '\0');
}

}  // namespace mv::odbc
