#include "bench/target_comparison.h"

#include <algorithm>
#include <cstdio>

#include "platform/odbc/recordset.h"

namespace mv::bench {
namespace {

constexpr long kRowsPerRead = 5000;

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const auto& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

/// A value as a difference line shows it: texts quoted, Null and Empty by name, floating-point
/// numbers with every digit, since two sums of the same numbers may differ in the last bit.
std::string Shown(const Variant& value) {
  switch (value.Kind()) {
    case VariantKind::Single:
    case VariantKind::Double: {
      char digits[32];
      std::snprintf(digits, sizeof digits, "%.17g", value.ToDouble());
      return digits;
    }
    case VariantKind::Null:
    case VariantKind::Empty:
      return value.TypeName();
    case VariantKind::String:
      return "'" + value.AsString() + "'";
    case VariantKind::ByteArray:
      return std::to_string(value.AsBytes().size()) + " bytes";
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Currency:
    case VariantKind::Date:
    case VariantKind::Boolean:
    case VariantKind::Byte:
    case VariantKind::Decimal:
    case VariantKind::Error:
    case VariantKind::Object:
      break;
  }
  return value.ToText();
}

/// "BASKETID 'B-1001', BASKETLINENR 2": where a row sits in the order of its table.
std::string RowKey(const Recordset& rows, const std::vector<std::string>& orderColumns) {
  std::vector<std::string> parts;
  for (const auto& column : orderColumns) parts.push_back(column + " " + Shown(rows.Field(column)));
  return Joined(parts);
}

/// The columns in which the current rows differ, each as "NAME first / second", with the
/// type names when two values that are not Null differ in kind.
std::string RowDifference(const Recordset& first, const Recordset& second) {
  std::vector<std::string> parts;
  for (const auto& column : first.FieldNames()) {
    const Variant& a = first.Field(column);
    const Variant& b = second.Field(column);
    if (a == b) continue;
    const bool kindsShown = a.Kind() != b.Kind() && !a.IsNull() && !b.IsNull();
    parts.push_back(column + " " + Shown(a) + (kindsShown ? " (" + a.TypeName() + ")" : "") +
                    " / " + Shown(b) + (kindsShown ? " (" + b.TypeName() + ")" : ""));
  }
  return Joined(parts);
}

void CompareTable(Connection& first, Connection& second, const ComparedTable& table,
                  int reportedRows, std::vector<std::string>& differences) {
  const long firstCount = CountRows(first, table.name);
  const long secondCount = CountRows(second, table.name);
  if (firstCount != secondCount) {
    differences.push_back(table.name + ": " + std::to_string(firstCount) + " rows in the first, " +
                          std::to_string(secondCount) + " in the second");
  }
  const std::string query = "select * from " + table.name + " order by " +
                            Joined(table.orderColumns) + " limit " + std::to_string(kRowsPerRead) +
                            " offset ";
  long differing = 0;
  for (long offset = 0; offset < std::min(firstCount, secondCount); offset += kRowsPerRead) {
    Recordset a(first, query + std::to_string(offset));
    Recordset b(second, query + std::to_string(offset));
    if (a.FieldNames() != b.FieldNames()) {
      differences.push_back(table.name + ": the columns differ: " + Joined(a.FieldNames()) + " / " +
                            Joined(b.FieldNames()));
      return;
    }
    for (; !a.Eof() && !b.Eof(); a.MoveNext(), b.MoveNext()) {
      const std::string difference = RowDifference(a, b);
      if (difference.empty()) continue;
      if (++differing <= reportedRows) {
        differences.push_back(table.name + ": row " + RowKey(a, table.orderColumns) + ": " +
                              difference);
      }
    }
  }
  if (differing > reportedRows) {
    differences.push_back(table.name + ": " + std::to_string(differing - reportedRows) +
                          " more differing rows");
  }
}

}  // namespace

long CountRows(Connection& connection, const std::string& table) {
  Recordset count(connection, "select count(*) as ROWSINTABLE from " + table);
  return static_cast<long>(count.Field("ROWSINTABLE").ToDouble());
}

std::vector<std::string> CompareTables(Connection& first, Connection& second,
                                       const std::vector<ComparedTable>& tables,
                                       int reportedRowsPerTable) {
  std::vector<std::string> differences;
  for (const auto& table : tables) {
    CompareTable(first, second, table, reportedRowsPerTable, differences);
  }
  return differences;
}

}  // namespace mv::bench
