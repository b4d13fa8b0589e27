// CopyData: the twelve remaining tables, one transaction each, zones and freight groups renumbered.
#include "converters/copydata/copy_data.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "converters/copydata/copy_list.h"
#include "converters/copydata/identity_counter.h"
#include "driver/convert_functions.h"
#include "platform/odbc/row_reader.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

constexpr std::array<std::string_view, 4> kZoneColumns{"ZONEID", "SHIPFROMZONEID", "SHIPTOZONEID",
                                                       "SHIPFROMZONE"};
constexpr std::string_view kFreightGroupColumn = "FREIGHTGROUPID";

/// Column names are compared without regard to case, since some engines report them folded.
bool IsZoneColumn(std::string_view name) {
  for (std::string_view column : kZoneColumns) {
    if (EqualsIgnoreCase(name, column)) return true;
  }
  return false;
}

/// How many rows are sent to the target at a time.
constexpr long kRowsPerChunk = 5000;

std::string ErrorLine(const RuntimeError& error) {
  return std::to_string(error.Number()) + ": " + error.Description();
}

/// Pairs the old keys, in source order, with the keys the target gave the same rows. The rows
/// went out one insert statement each in that order, and an engine numbers single-row inserts
/// in sequence with rising keys, though not necessarily from 1 (a key that an earlier,
/// rolled-back attempt drew is not given again). The rows of one multi-row insert carry no
/// such promise, so a renumbered table's rows never go out that way.
std::vector<std::pair<std::int32_t, std::int32_t>> PairKeys(
    Connection& target, const std::string& table, const std::string& keyColumn,
    const std::vector<std::int32_t>& oldKeys) {
  std::vector<std::pair<std::int32_t, std::int32_t>> newKeys;
  RowReader written(target, "select " + keyColumn + " from " + table + " order by " + keyColumn);
  for (const std::int32_t oldKey : oldKeys) {
    if (!written.Next()) break;
    newKeys.emplace_back(oldKey, written.Row().Field(keyColumn).ToLong());
  }
  // Sorted by old key for the look-ups; of the pairs of a repeated key the first stays.
  const auto byOldKey = [](const auto& a, const auto& b) { return a.first < b.first; };
  std::stable_sort(newKeys.begin(), newKeys.end(), byOldKey);
  const auto sameOldKey = [](const auto& a, const auto& b) { return a.first == b.first; };
  newKeys.erase(std::unique(newKeys.begin(), newKeys.end(), sameOldKey), newKeys.end());
  newKeys.shrink_to_fit();
  return newKeys;
}

/// The source rows of a table; a renumbered table's in key order, so that the keys the target
/// gives them, one insert at a time, follow the old keys' order, and a resumed copy pairs them
/// again the same way.
std::string SourceSql(const CopyData::CopiedTable& table) {
  return std::string("select * from ") + table.name + (table.Renumbered() ? " order by 1" : "");
}

std::int32_t CountRows(Connection& connection, const std::string& table) {
  return OpenRecordset(connection, "select count(*) as TABLEROWS from " + table)
      ->Field("TABLEROWS")
      .ToLong();
}

std::int32_t Lookup(const std::vector<std::pair<std::int32_t, std::int32_t>>& newKeys,
                    std::int32_t oldId) {
  const auto found =
      std::lower_bound(newKeys.begin(), newKeys.end(), oldId,
                       [](const auto& pair, std::int32_t key) { return pair.first < key; });
  return found == newKeys.end() || found->first != oldId ? 0 : found->second;
}

}  // namespace

CopyData::CopyData(bool resumeCopy) : resumeCopy_(resumeCopy) {}

bool CopyData::Convert(const ConnectionValues& values, TextWriter& log) {
  bool copied = true;
  try {
    const auto source =
        OpenSourceConnection(values.SDBServer, values.SUser, values.SPassword, values.SDB);
    const auto target =
        OpenConnection(values.TDBServer, values.TUser, values.TPassword, values.TDB);
    log.WriteLine(TargetDialectLine(*target));
    CopyRun run(*source, *target, log);
    bool resuming = resumeCopy_;
    std::int64_t done = 0;
    for (const CopiedTable& table : kCopyList) {
      if (StopRequested()) {
        copied = false;
        break;
      }
      resuming = resuming && KeepCopiedTable(run, table);
      if (!resuming && !CopyTable(run, table)) {
        copied = false;
        break;
      }
      ReportProgress(++done, static_cast<std::int64_t>(kCopyList.size()), "tables");
    }
  } catch (const RuntimeError& error) {
    log.WriteLine(ErrorLine(error));
    Tally("errors");
    copied = false;
  }
  // A stop ends the copy before its next table, or cancels the statement of the table being
  // written, which then ends with the driver's error line and is rolled back.
  if (!copied && StopRequested()) log.WriteLine(kStoppedByOperator);
  return copied;
}

bool CopyData::KeepCopiedTable(CopyRun& run, const CopiedTable& table) {
  const std::int32_t rows = CountRows(run.target, table.name);
  if (rows != CountRows(run.source, table.name)) return false;
  if (rows == 0) return true;
  PairCopiedKeys(run, table);
  run.log.WriteLine(std::string("Table ") + table.name + " is already copied (" +
                    std::to_string(rows) + " rows), data is not copied again");
  return true;
}

void CopyData::PairCopiedKeys(CopyRun& run, const CopiedTable& table) {
  const auto [oldIds, newIds] = run.KeysOf(table);
  if (!oldIds) return;
  RowReader sourceRows(run.source, SourceSql(table));
  const std::string key = sourceRows.Columns().All().front().name;
  oldIds->clear();
  while (sourceRows.Next()) oldIds->push_back(sourceRows.Row().Field(key).ToLong());
  *newIds = PairKeys(run.target, table.name, key, *oldIds);
}

std::pair<std::vector<std::int32_t>*, CopyData::KeyMap*> CopyData::CopyRun::KeysOf(
    const CopiedTable& table) {
  switch (table.key) {
    case RenumberedKey::Zone:
      return {&OldZoneIds, &newZoneIds};
    case RenumberedKey::FreightGroup:
      return {&OldFreightGroupIds, &newFreightGroupIds};
    case RenumberedKey::None:
      break;
  }
  return {nullptr, nullptr};
}

bool CopyData::CopyTable(CopyRun& run, const CopiedTable& table) {
  // A rehearsal rolls the table back and then puts back the counter that numbered its rows.
  std::optional<IdentityCounter> counter;
  try {
    RowReader sourceRows(run.source, SourceSql(table));
    const auto [oldIds, newIds] = run.KeysOf(table);
    if (oldIds) {
      oldIds->clear();
      newIds->clear();
    }
    const ResultColumns& columns = sourceRows.Columns();
    if (Rehearsing() && table.Renumbered())
      counter.emplace(run.target, table.name, columns[0].name);

    Transaction transaction(run.target);
    const auto targetRows =
        OpenRecordset(run.target, std::string("select top 1 * from ") + table.name);
    if (!targetRows->Eof()) {
      run.log.WriteLine(std::string("Table ") + table.name +
                        " is already filled, data is not copied");
      Tally(std::string("already filled: ") + table.name);
      return false;
    }
    if (table.Renumbered()) targetRows->InsertEachRowAlone();
    const std::int64_t copied = CopyRows(run, table, sourceRows, *targetRows);
    if (oldIds) *newIds = PairKeys(run.target, table.name, columns[0].name, *oldIds);
    if (!Rehearsing()) transaction.Commit();
    TallyRows(table.name, copied);
    if (!Rehearsing()) return true;
  } catch (const RuntimeError& error) {
    run.log.WriteLine(ErrorLine(error));
    Tally("errors");
    if (counter) counter->Restore();
    return false;
  }
  if (counter) counter->Restore();
  return true;
}

std::int64_t CopyData::CopyRows(CopyRun& run, const CopiedTable& table, RowReader& sourceRows,
                                Recordset& targetRows) {
  // The rows go out in chunks inside the table's transaction, so that neither side holds
  // the whole table.
  long inChunk = 0;
  std::int64_t copied = 0;
  std::vector<CopiedColumn> columns;
  while (sourceRows.Next()) {
    if (copied++ == 0) columns = CopiedColumns(table, sourceRows.Columns(), targetRows);
    targetRows.AddNew();
    CopyRow(run, table, columns, sourceRows.Row(), targetRows);
    if (++inChunk == kRowsPerChunk) {
      WriteChunk(targetRows);
      inChunk = 0;
    }
  }
  WriteChunk(targetRows);
  return copied;
}

std::vector<CopyData::CopiedColumn> CopyData::CopiedColumns(const CopiedTable& table,
                                                            const ResultColumns& source,
                                                            const Recordset& target) {
  std::vector<CopiedColumn> columns;
  for (size_t n = 0; n < source.size(); ++n) {
    const std::string& name = source[n].name;
    CopiedColumn column{.source = source.Index(name)};
    if (table.skippedColumn && EqualsIgnoreCase(name, table.skippedColumn)) {
      column.use = CopiedColumn::Use::Skipped;
    } else if (n == 0 && table.Renumbered()) {
      column.use = CopiedColumn::Use::OldKey;
    } else {
      column.target = target.FieldIndex(name);
      if (IsZoneColumn(name)) {
        column.use = CopiedColumn::Use::ZoneId;
      } else if (EqualsIgnoreCase(name, kFreightGroupColumn)) {
        column.use = CopiedColumn::Use::FreightGroupId;
      }
    }
    columns.push_back(column);
  }
  return columns;
}

void CopyData::CopyRow(CopyRun& run, const CopiedTable& table,
                       const std::vector<CopiedColumn>& columns, const FieldRow& row,
                       Recordset& targetRows) {
  const auto [oldIds, newIds] = run.KeysOf(table);
  for (const CopiedColumn& column : columns) {
    const Variant& value = row.FieldAt(column.source);
    switch (column.use) {
      case CopiedColumn::Use::Skipped:
        break;
      case CopiedColumn::Use::OldKey:
        if (oldIds) oldIds->push_back(value.ToLong());
        break;
      case CopiedColumn::Use::Copied:
      case CopiedColumn::Use::ZoneId:
      case CopiedColumn::Use::FreightGroupId:
        targetRows.SetFieldAt(column.target, CopiedValue(run, column, value));
        break;
    }
  }
}

Variant CopyData::CopiedValue(const CopyRun& run, const CopiedColumn& column,
                              const Variant& value) {
  switch (column.use) {
    case CopiedColumn::Use::ZoneId:
      return Variant::Long(run.MapZoneId(value.ToLong()));
    case CopiedColumn::Use::FreightGroupId:
      return Variant::Long(run.MapFreightGroupId(value.ToLong()));
    case CopiedColumn::Use::Skipped:
    case CopiedColumn::Use::OldKey:
    case CopiedColumn::Use::Copied:
      break;
  }
  return value;
}

void CopyData::WriteChunk(Recordset& rows) {
  rows.UpdateBatch();
  rows.ForgetWrittenRows();
}

std::int32_t CopyData::CopyRun::MapZoneId(std::int32_t oldId) const {
  return Lookup(newZoneIds, oldId);
}

std::int32_t CopyData::CopyRun::MapFreightGroupId(std::int32_t oldId) const {
  return Lookup(newFreightGroupIds, oldId);
}

}  // namespace mv
