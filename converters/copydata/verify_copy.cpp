// CopyData::Verify: each table of the copy list read from the source in groups, the rows of one
// first-column value kept in one group, each group's rows in the target matched by the server
// through that column and compared value by value with what the copy writes.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "converters/copydata/copy_data.h"
#include "converters/copydata/copy_list.h"
#include "driver/convert_functions.h"
#include "driver/stored_value.h"
#include "driver/unit_verification.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

/// The most source rows a group of a table's verification holds, with as many of the target's.
constexpr size_t kMostRowsPerGroup = 4000;

/// A source row as the copy writes it: each copied value with its column's place in the target.
struct WrittenRow {
  std::string id;  // the table and the row's first column as the source holds it
  std::vector<std::pair<size_t, Variant>> values;
};

/// What one table's rows came to.
struct TableCounts {
  std::int64_t equal = 0;
  std::int64_t different = 0;
  std::int64_t missing = 0;
};

/// "table.COLUMN is <stored>, would be <written>" for the first value of `row` that `stored`
/// does not hold; empty when it holds them all.
std::string FirstDifference(const std::string& table, const WrittenRow& row,
                            const FieldRow& stored) {
  for (const auto& [at, written] : row.values) {
    if (!StoredAsWritten(written, stored.FieldAt(at), stored.Columns()[at])) {
      return table + "." + stored.Columns()[at].name + " is " + ShownValue(stored.FieldAt(at)) +
             ", would be " + ShownValue(written);
    }
  }
  return "";
}

/// The source rows of one first-column value against the target rows the server matched to it:
/// each source row takes a stored row that holds all its values (equal); the rest pair up with
/// the stored rows left (different); source rows left after that are missing.
void CompareRowsOfKey(const std::string& table, const std::vector<WrittenRow>& rows,
                      std::vector<FieldRow> stored, TableCounts& counts,
                      VerificationAccount& account) {
  std::vector<const WrittenRow*> unmatched;
  for (const WrittenRow& row : rows) {
    const auto equal = std::find_if(stored.begin(), stored.end(), [&](const FieldRow& each) {
      return FirstDifference(table, row, each).empty();
    });
    if (equal == stored.end()) {
      unmatched.push_back(&row);
    } else {
      stored.erase(equal);
      ++counts.equal;
    }
  }
  for (size_t i = 0; i < unmatched.size(); ++i) {
    if (i < stored.size()) {
      ++counts.different;
      account.Find(
          {kVerifiedDifferent, unmatched[i]->id, FirstDifference(table, *unmatched[i], stored[i])});
    } else {
      ++counts.missing;
      account.Find({kVerifiedMissing, unmatched[i]->id, ""});
    }
  }
}

/// A group of source rows by the first-column value the target holds for them.
class RowGroup {
 public:
  size_t Rows() const { return rows_; }
  bool Holds(const std::string& key) const { return positions_.contains(key); }
  void Add(const std::string& key, WrittenRow row) {
    const auto [at, added] = positions_.try_emplace(key, keys_.size());
    if (added) {
      keys_.push_back(key);
      rowsByKey_.emplace_back();
    }
    rowsByKey_[at->second].push_back(std::move(row));
    ++rows_;
  }
  /// Compares the group's rows with the target's rows of their keys, read in one query, and
  /// empties the group.
  void Verify(MatchedRows& target, const std::string& table, TableCounts& counts,
              VerificationAccount& account) {
    std::vector<std::vector<FieldRow>> stored(keys_.size());
    target.ForEach(keys_,
                   [&](size_t position, const FieldRow& row) { stored[position].push_back(row); });
    for (size_t i = 0; i < keys_.size(); ++i) {
      CompareRowsOfKey(table, rowsByKey_[i], std::move(stored[i]), counts, account);
    }
    *this = RowGroup();
  }

 private:
  std::vector<std::string> keys_;
  std::vector<std::vector<WrittenRow>> rowsByKey_;
  std::unordered_map<std::string, size_t> positions_;
  size_t rows_ = 0;
};

}  // namespace

void CopyData::Verify(const ConnectionValues& values, TextWriter& log, RunProgress& progress,
                      VerificationAccount& account) {
  const auto source =
      OpenSourceConnection(values.SDBServer, values.SUser, values.SPassword, values.SDB);
  const auto target = OpenConnection(values.TDBServer, values.TUser, values.TPassword, values.TDB);
  target->AskReadOnly();
  CopyRun run(*source, *target, log);
  std::int64_t done = 0;
  for (const CopiedTable& table : kCopyList) {
    if (progress.StopRequested()) return;
    VerifyTable(run, table, progress, account);
    progress.Report(account.Migration(), ++done, static_cast<std::int64_t>(kCopyList.size()),
                    "tables");
  }
}

void CopyData::VerifyTable(CopyRun& run, const CopiedTable& table, RunProgress& progress,
                           VerificationAccount& account) {
  PairCopiedKeys(run, table);
  // The rows of one first-column value come together, so that a group holds all of them.
  RowReader sourceRows(run.source, std::string("select * from ") + table.name + " order by 1");
  const auto shape =
      OpenRecordset(run.target, std::string("select * from ") + table.name + " where 1 = 0");
  const std::vector<CopiedColumn> columns = CopiedColumns(table, sourceRows.Columns(), *shape);
  const std::string keyColumn = sourceRows.Columns()[0].name;
  MatchedRows targetRows(run.target, table.name, keyColumn, "t.*");
  // As many keys as one query binds, up to kMostRowsPerGroup rows: a table whose first
  // column has no index is read whole by the server for each group.
  const size_t groupSize = std::min(kMostRowsPerGroup, run.target.Capabilities().limits.parameters);
  TableCounts counts;
  RowGroup group;
  while (sourceRows.Next() && !progress.StopRequested()) {
    const FieldRow& row = sourceRows.Row();
    WrittenRow written{std::string(table.name) + " " + keyColumn + " " + ShownValue(row.FieldAt(0)),
                       {}};
    Variant key;
    try {
      for (const CopiedColumn& column : columns) {
        if (column.use == CopiedColumn::Use::Skipped) continue;
        if (column.use == CopiedColumn::Use::OldKey) {
          key = Variant::Long(table.key == RenumberedKey::Zone
                                  ? run.MapZoneId(row.FieldAt(0).ToLong())
                                  : run.MapFreightGroupId(row.FieldAt(0).ToLong()));
          continue;
        }
        written.values.emplace_back(column.target,
                                    CopiedValue(run, column, row.FieldAt(column.source)));
        if (column.source == 0) key = written.values.back().second;
      }
    } catch (const RuntimeError& error) {
      // A value the copy cannot translate (a Null or a text in a zone column) fails its table.
      account.Find({kVerifiedUnreadable, written.id, error.Description()});
      continue;
    }
    if (key.IsNull() || (table.Renumbered() && key.ToLong() == 0)) {
      // No target row can hold it: Null matches nothing, and 0 is no key the target gave.
      ++counts.missing;
      account.Find({kVerifiedMissing, written.id, ""});
      continue;
    }
    const std::string keyText = key.ToText();
    if (group.Rows() >= groupSize && !group.Holds(keyText)) {
      group.Verify(targetRows, table.name, counts, account);
    }
    group.Add(keyText, std::move(written));
  }
  if (progress.StopRequested()) return;
  group.Verify(targetRows, table.name, counts, account);
  const std::int64_t stored =
      run.target.QueryValue(std::string("select count(*) as TABLEROWS from ") + table.name)
          .ToLong();
  const std::int64_t extra = std::max<std::int64_t>(0, stored - counts.equal - counts.different);
  account.Add(kVerifiedEqual, counts.equal);
  if (extra > 0) {
    account.Find({kVerifiedExtra, table.name,
                  std::to_string(extra) + " rows that no source row accounts for"},
                 extra);
  }
  run.log.WriteLine(std::string(table.name) + ": " + std::to_string(counts.equal) + " equal, " +
                    std::to_string(counts.different) + " different, " +
                    std::to_string(counts.missing) + " missing, " + std::to_string(extra) +
                    " extra");
}

}  // namespace mv
