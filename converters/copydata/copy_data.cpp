// CopyData: the twelve remaining tables, one transaction each, zones and freight groups renumbered.
#include "converters/copydata/copy_data.h"

#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "converters/copydata/identity_counter.h"
#include "driver/convert_functions.h"
#include "platform/odbc/row_reader.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

struct CopiedTable {
  const char* name;
  bool renumber;  // the first column is the key, which the target numbers itself
};

/// The tables in the order they are copied: zones and freight groups before the tables that
/// refer to them.
constexpr std::array<CopiedTable, 12> kCopyList{{
    {"zones", true},
    {"countriesbyzone", false},
    {"freightgroup", true},
    {"freightproduct", false},
    {"freightprice", false},
    {"authorizationlog", false},
    {"billinglog", false},
    {"refundlog", false},
    {"merchantidbycurrency", false},
    {"addresshistory", false},
    {"productprice", false},
    {"customerprice", false},
}};

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

/// Pairs the old keys, in source order, with the keys the target gave the same rows: the
/// target numbers new rows in insertion order, but not necessarily from 1 (a key that an
/// earlier, rolled-back attempt drew is not given again).
std::unordered_map<std::int32_t, std::int32_t> PairKeys(Connection& target,
                                                        const std::string& table,
                                                        const std::string& keyColumn,
                                                        const std::vector<Variant>& oldKeys) {
  std::unordered_map<std::int32_t, std::int32_t> newKeys;
  const auto written =
      OpenRecordset(target, "select " + keyColumn + " from " + table + " order by " + keyColumn);
  for (const Variant& oldKey : oldKeys) {
    if (written->Eof()) break;
    newKeys.emplace(oldKey.ToLong(), written->Field(keyColumn).ToLong());
    written->MoveNext();
  }
  return newKeys;
}

/// The source rows of a table; a renumbered table's in key order, so that the keys the target
/// gives them follow the old keys' order, and a resumed copy pairs them again the same way.
std::string SourceSql(const std::string& table, bool renumber) {
  return "select * from " + table + (renumber ? " order by 1" : "");
}

std::int32_t CountRows(Connection& connection, const std::string& table) {
  return OpenRecordset(connection, "select count(*) as TABLEROWS from " + table)
      ->Field("TABLEROWS")
      .ToLong();
}

std::int32_t Lookup(const std::unordered_map<std::int32_t, std::int32_t>& newKeys,
                    std::int32_t oldId) {
  const auto found = newKeys.find(oldId);
  return found == newKeys.end() ? 0 : found->second;
}

}  // namespace

CopyData::CopyData(bool resumeCopy) : resumeCopy_(resumeCopy) {}

bool CopyData::Convert(const ConnectionValues& values, TextWriter& log) {
  std::unique_ptr<Connection> source;
  std::unique_ptr<Connection> target;
  try {
    source = OpenConnection(values.SDBServer, values.SUser, values.SPassword, values.SDB);
    target = OpenConnection(values.TDBServer, values.TUser, values.TPassword, values.TDB);
    bool resuming = resumeCopy_;
    std::int64_t done = 0;
    for (const CopiedTable& table : kCopyList) {
      if (StopRequested()) {
        log.WriteLine(kStoppedByOperator);
        return false;
      }
      resuming = resuming && KeepCopiedTable(*source, *target, table.name, table.renumber, log);
      if (!resuming && !CopyTable(*source, *target, table.name, table.renumber, log)) return false;
      ReportProgress(++done, static_cast<std::int64_t>(kCopyList.size()), "tables");
    }
  } catch (const RuntimeError& error) {
    log.WriteLine(ErrorLine(error));
    Tally("errors");
    return false;
  }
  return true;
}

bool CopyData::KeepCopiedTable(Connection& source, Connection& target, const std::string& table,
                               bool renumber, TextWriter& log) {
  const std::int32_t rows = CountRows(target, table);
  if (rows != CountRows(source, table)) return false;
  if (rows == 0) return true;
  const auto [oldIds, newIds] = KeysOf(table);
  if (oldIds) {
    const auto sourceRows = OpenRecordset(source, SourceSql(table, renumber));
    const std::string key = sourceRows->FieldNames().front();
    oldIds->clear();
    for (; !sourceRows->Eof(); sourceRows->MoveNext()) oldIds->push_back(sourceRows->Field(key));
    *newIds = PairKeys(target, table, key, *oldIds);
  }
  log.WriteLine("Table " + table + " is already copied (" + std::to_string(rows) +
                " rows), data is not copied again");
  return true;
}

std::pair<std::vector<Variant>*, std::unordered_map<std::int32_t, std::int32_t>*> CopyData::KeysOf(
    const std::string& table) {
  if (table == "zones") return {&OldZoneIds, &newZoneIds_};
  if (table == "freightgroup") return {&OldFreightGroupIds, &newFreightGroupIds_};
  return {nullptr, nullptr};
}

bool CopyData::CopyTable(Connection& source, Connection& target, const std::string& table,
                         bool renumber, TextWriter& log) {
  // A rehearsal rolls the table back and then puts back the counter that numbered its rows.
  std::optional<IdentityCounter> counter;
  try {
    RowReader sourceRows(source, SourceSql(table, renumber));
    const auto [oldIds, newIds] = KeysOf(table);
    if (oldIds) {
      oldIds->clear();
      newIds->clear();
    }
    std::vector<std::string> names;
    for (const auto& column : sourceRows.Columns().All()) names.push_back(column.name);
    if (Rehearsing() && renumber) counter.emplace(target, table, names.front());

    Transaction transaction(target);
    const auto targetRows = OpenRecordset(target, "select top 1 * from " + table);
    if (!targetRows->Eof()) {
      log.WriteLine("Table " + table + " is already filled, data is not copied");
      Tally("already filled: " + table);
      return false;
    }
    // The rows go out in chunks inside the table's transaction, so that neither side holds
    // the whole table.
    long inChunk = 0;
    std::int64_t copied = 0;
    while (sourceRows.Next()) {
      ++copied;
      const FieldRow& row = sourceRows.Row();
      targetRows->AddNew();
      for (size_t n = 0; n < names.size(); ++n) {
        const std::string& name = names[n];
        const Variant& value = row.Field(name);
        if (table == "addresshistory" && EqualsIgnoreCase(name, "LOCATION")) continue;
        if (n == 0 && renumber) {
          if (oldIds) oldIds->push_back(value);
          continue;
        }
        targetRows->SetField(name, value);
        if (IsZoneColumn(name)) {
          targetRows->SetField(name, Variant::Long(MapZoneId(value.ToLong())));
        } else if (EqualsIgnoreCase(name, kFreightGroupColumn)) {
          targetRows->SetField(name, Variant::Long(MapFreightGroupId(value.ToLong())));
        }
      }
      if (++inChunk == kRowsPerChunk) {
        WriteChunk(*targetRows);
        inChunk = 0;
      }
    }
    WriteChunk(*targetRows);
    if (oldIds) *newIds = PairKeys(target, table, names.front(), *oldIds);
    Tally("rows of " + table, copied);
    if (!Rehearsing()) {
      transaction.Commit();
      return true;
    }
  } catch (const RuntimeError& error) {
    log.WriteLine(ErrorLine(error));
    Tally("errors");
    if (counter) counter->Restore();
    return false;
  }
  if (counter) counter->Restore();
  return true;
}

void CopyData::WriteChunk(Recordset& rows) {
  rows.UpdateBatch();
  rows.ForgetWrittenRows();
}

std::int32_t CopyData::MapZoneId(std::int32_t oldId) const { return Lookup(newZoneIds_, oldId); }

std::int32_t CopyData::MapFreightGroupId(std::int32_t oldId) const {
  return Lookup(newFreightGroupIds_, oldId);
}

}  // namespace mv
