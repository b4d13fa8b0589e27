// UnitVerification and FindExtraUnits: the target's rows of a group of units matched to them by
// the server, compared value by value, and the target's ids asked of the source.
#include "driver/unit_verification.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <map>
#include <memory>
#include <utility>

#include "driver/bound_ids.h"
#include "driver/stored_value.h"
#include "platform/odbc/dialect.h"
#include "platform/odbc/row_reader.h"

namespace mv {
namespace {

/// The derived table of the ids a query matches, and its columns: each id with its position.
constexpr const char* kMatchedIds = "MATCHED";
constexpr const char* kMatchedId = "MATCHED_ID";
constexpr const char* kMatchedUnit = "MATCHED_UNIT";
/// A query takes a power of two of ids, and no fewer than this: a few prepared queries serve
/// groups of any size.
constexpr size_t kFewestIdsPerQuery = 16;

/// What the key column of `table` holds, to bind ids as its values.
odbc::ColumnInfo KeyColumn(Connection& connection, const std::string& table,
                           const std::string& key) {
  const RowReader columns(connection, "select " + key + " from " + table + " where 1 = 0");
  return columns.Columns()[0];
}

/// The marker of an id bound for `column`: cast to a number where the column holds numbers,
/// since a VALUES table takes an untyped parameter (psqlODBC's) as text, which no engine
/// compares with a number; a text or a date stays as bound, typed as the column.
std::string IdMarker(const odbc::ColumnInfo& column) {
  switch (column.kind) {
    case VariantKind::Byte:
    case VariantKind::Integer:
    case VariantKind::Long:
      return "cast(? as integer)";
    case VariantKind::Decimal:
    case VariantKind::Currency:
      return "cast(? as decimal(" + std::to_string(column.size) + ", " +
             std::to_string(column.decimalDigits) + "))";
    default:
      return "?";
  }
}

/// "(?, 0), (?, 1), ...": `count` rows of an id marked as `marker` and its position.
std::string IdRows(const std::string& marker, size_t count) {
  std::string rows;
  for (size_t i = 0; i < count; ++i) {
    rows += (i == 0 ? "(" : ", (") + marker + ", " + std::to_string(i) + ")";
  }
  return rows;
}

/// Column names as the engines spell them, in any letter case.
bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

/// "t.A, t.B, ...": the columns of `table` in the order of a written row's values, so that a
/// stored row's value sits where the written row's does.
std::string WrittenColumns(const VerifiedTable& table) {
  std::string columns;
  for (const std::string& column : table.columns) {
    columns += (columns.empty() ? "t." : ", t.") + column;
  }
  return columns;
}

std::string LineText(const std::string& table, long number) {
  return table + " line " + std::to_string(number);
}

}  // namespace

MatchedRows::MatchedRows(Connection& connection, std::string table, std::string key,
                         std::string selected)
    : connection_(connection),
      table_(std::move(table)),
      key_(std::move(key)),
      selected_(std::move(selected)),
      keyColumn_(KeyColumn(connection_, table_, key_)) {}

void MatchedRows::ForEach(const std::vector<std::string>& ids,
                          const std::function<void(size_t position, const FieldRow& row)>& row) {
  size_t sliceFirst = 0;
  ForEachIdSlice(connection_, ids, keyColumn_, [&](const std::vector<QueryParameter>& slice) {
    // The ids fill the first rows of the derived table; Nulls, which match no key, the rest.
    const size_t count = std::min(std::bit_ceil(std::max(slice.size(), kFewestIdsPerQuery)),
                                  connection_.Capabilities().limits.parameters);
    std::vector<QueryParameter> padded(slice);
    padded.resize(count, {Variant::Null(), keyColumn_});
    RowReader rows(Query(count), padded);
    const size_t unitAt = rows.Columns().Index(kMatchedUnit);
    while (rows.Next()) {
      row(sliceFirst + static_cast<size_t>(rows.Row().FieldAt(unitAt).ToLong()), rows.Row());
    }
    sliceFirst += slice.size();
  });
}

PreparedQuery& MatchedRows::Query(size_t count) {
  std::unique_ptr<PreparedQuery>& query = queries_[count];
  if (!query) {
    // A join with the ids, not a CASE over them: the server seeks each id in the key's index
    // and never weighs a row against the other ids of the query.
    query = std::make_unique<PreparedQuery>(
        connection_, "select " + selected_ + ", " + kMatchedIds + "." + kMatchedUnit + " from " +
                         ValuesTable(connection_.Words(), kMatchedIds, {kMatchedId, kMatchedUnit},
                                     IdRows(IdMarker(keyColumn_), count)) +
                         " join " + table_ + " t on t." + key_ + " = " + kMatchedIds + "." +
                         kMatchedId);
  }
  return *query;
}

UnitVerification::UnitVerification(Connection& target, VerifiedTable headers, VerifiedTable lines,
                                   VerificationAccount& account)
    : headers_(std::move(headers)),
      lines_(std::move(lines)),
      storedHeaders_(target, headers_.name, headers_.key, WrittenColumns(headers_)),
      storedLines_(target, lines_.name, lines_.key, WrittenColumns(lines_)),
      account_(account) {}

void UnitVerification::VerifyGroup(const std::vector<WrittenUnit>& units) {
  if (units.empty()) return;
  const std::vector<std::vector<FieldRow>> headers = StoredRows(storedHeaders_, units);
  const std::vector<std::vector<FieldRow>> lines = StoredRows(storedLines_, units);
  for (size_t i = 0; i < units.size(); ++i) {
    if (headers[i].empty()) {
      account_.Find({kVerifiedMissing, units[i].id, ""});
      continue;
    }
    const std::string difference = FirstDifference(units[i], headers[i].front(), lines[i]);
    if (difference.empty()) {
      account_.Add(kVerifiedEqual);
    } else {
      account_.Find({kVerifiedDifferent, units[i].id, difference});
    }
  }
}

std::vector<std::vector<FieldRow>> UnitVerification::StoredRows(
    MatchedRows& stored, const std::vector<WrittenUnit>& units) {
  std::vector<std::string> ids;
  for (const WrittenUnit& unit : units) ids.push_back(unit.id);
  std::vector<std::vector<FieldRow>> rows(units.size());
  stored.ForEach(ids, [&](size_t position, const FieldRow& row) { rows[position].push_back(row); });
  return rows;
}

namespace {

/// "TABLE.COLUMN is <stored>, would be <written>" for the first column of `stored` (read as
/// WrittenColumns) that does not hold its value of `written` (the key, which the server
/// matched, left out); empty when all do. `where` follows the column's name, for a line.
std::string FirstDifferentColumn(const VerifiedTable& table, const std::vector<Variant>& written,
                                 const FieldRow& stored, const std::string& where) {
  for (size_t i = 0; i < table.columns.size() && i < written.size(); ++i) {
    if (SameName(table.columns[i], table.key)) continue;
    if (!StoredAsWritten(written[i], stored.FieldAt(i), stored.Columns()[i])) {
      return table.name + "." + table.columns[i] + where + " is " + ShownValue(stored.FieldAt(i)) +
             ", would be " + ShownValue(written[i]);
    }
  }
  return "";
}

size_t ColumnPosition(const VerifiedTable& table, const std::string& column) {
  for (size_t i = 0; i < table.columns.size(); ++i) {
    if (SameName(table.columns[i], column)) return i;
  }
  return table.columns.size();
}

}  // namespace

std::string UnitVerification::FirstDifference(const WrittenUnit& unit, const FieldRow& header,
                                              const std::vector<FieldRow>& lines) const {
  std::string difference = FirstDifferentColumn(headers_, unit.header, header, "");
  if (!difference.empty()) return difference;
  // Lines pair up by their numbers, whatever order the server hands them in.
  const size_t numberAt = ColumnPosition(lines_, lines_.lineNumber);
  std::map<long, const FieldRow*> stored;
  for (const FieldRow& line : lines) stored[line.FieldAt(numberAt).ToLong()] = &line;
  for (const std::vector<Variant>& line : unit.lines) {
    const long number = line.at(numberAt).ToLong();
    const auto found = stored.find(number);
    if (found == stored.end()) return LineText(lines_.name, number) + " is missing";
    difference =
        FirstDifferentColumn(lines_, line, *found->second, " of line " + std::to_string(number));
    if (!difference.empty()) return difference;
    stored.erase(found);
  }
  if (!stored.empty()) {
    return LineText(lines_.name, stored.begin()->first) + " is there, but not written";
  }
  return "";
}

void FindExtraUnits(Connection& target, const std::string& targetTable,
                    const std::string& targetKey, Connection& source,
                    const std::string& sourceTable, const std::string& sourceKey, int groupSize,
                    VerificationAccount& account, const std::function<bool()>& stopRequested) {
  MatchedRows sourceIds(source, sourceTable, sourceKey, "t." + sourceKey);
  RowReader targetIds(target, "select " + targetKey + " from " + targetTable);
  bool more = true;
  while (more && !stopRequested()) {
    std::vector<std::string> ids;
    while (static_cast<int>(ids.size()) < groupSize && (more = targetIds.Next())) {
      ids.push_back(targetIds.Row().FieldAt(0).ToText());
    }
    std::vector<bool> accounted(ids.size(), false);
    sourceIds.ForEach(ids, [&](size_t position, const FieldRow&) { accounted[position] = true; });
    for (size_t i = 0; i < ids.size(); ++i) {
      if (!accounted[i]) account.Find({kVerifiedExtra, ids[i], ""});
    }
  }
}

}  // namespace mv
