// CopyData: copies the twelve tables that need no conversion from the 2.2 shop database to the
// 2.3 one, renumbering zones and freight groups and translating every reference to them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "driver/converter.h"
#include "driver/verification.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/recordset.h"
#include "platform/odbc/row_reader.h"
#include "platform/variant.h"

namespace mv {

class CopyData : public Converter {
 public:
  /// With `resumeCopy`, a copy that an earlier run left unfinished goes on where it ended: the
  /// leading tables of the copy list whose target holds exactly as many rows as their source
  /// count as copied and are kept, their keys paired again for the tables after them.
  explicit CopyData(bool resumeCopy = false);

  /// Copies the tables in their fixed order and stops at the first that is already filled in
  /// the target or fails; the tables before it stay copied. Writes one log line for such a
  /// table, and one for a connection that cannot be opened. Reports each table copied and
  /// stops before the next one when the operator asks. True when all twelve were copied.
  bool Convert(const ConnectionValues& values, TextWriter& log) override;

  /// Accounts for the rows of each table of the copy list: the target's rows matched by the
  /// server to the source's through their first column (the renumbered keys paired as the copy
  /// paired them, a zone or freight-group reference translated as the copy translates it), a
  /// source row equal when a matched row holds every value the copy writes for it, different
  /// (its first differing column and both values) when only another one is matched, missing
  /// when none is; the target's rows left over are extra. One line of counts per table in
  /// `log`. Writes to neither database; a failure to read or a stop reaches the caller.
  static void Verify(const ConnectionValues& values, TextWriter& log, RunProgress& progress,
                     VerificationAccount& account);

  /// One table of the copy list: its name, the key it renumbers and the column it skips.
  struct CopiedTable;

 private:
  /// Old keys paired with the keys the target gave the same rows, sorted by old key: eight
  /// bytes a row, however many rows a renumbered table holds.
  using KeyMap = std::vector<std::pair<std::int32_t, std::int32_t>>;

  /// What one call works with: both connections, the log, and the keys of the renumbered
  /// tables, which the tables after them translate their references through.
  struct CopyRun {
    CopyRun(Connection& sourceConnection, Connection& targetConnection, TextWriter& runLog)
        : source(sourceConnection), target(targetConnection), log(runLog) {}
    Connection& source;
    Connection& target;
    TextWriter& log;
    /// The old zone keys in the order the source returned the rows.
    std::vector<std::int32_t> OldZoneIds;
    /// The old freight-group keys in the order the source returned the rows.
    std::vector<std::int32_t> OldFreightGroupIds;
    /// Old key to the key the target gave the same row; the first row wins for a repeated key.
    KeyMap newZoneIds;
    KeyMap newFreightGroupIds;

    /// The old-key array and the key map of a renumbered table; both null for the others.
    std::pair<std::vector<std::int32_t>*, KeyMap*> KeysOf(const CopiedTable& table);
    /// The new key of the zone whose old key is `oldId`; 0 when no copied zone had it.
    std::int32_t MapZoneId(std::int32_t oldId) const;
    /// The new key of the freight group whose old key is `oldId`; 0 when none had it.
    std::int32_t MapFreightGroupId(std::int32_t oldId) const;
  };

  /// Copies one table in one transaction: either all its rows reach the target or none. A
  /// renumbered table's first column is its key: it is not copied, the rows go out one insert
  /// each in key order, the target numbers them itself, and the old keys are paired with the
  /// new ones in that order. False after logging an already filled target table or an error.
  bool CopyTable(CopyRun& run, const CopiedTable& table);
  /// What the copy does with one source column, decided on the table's first row: the rows
  /// after it are then copied by position instead of by name.
  struct CopiedColumn {
    enum class Use { Skipped, OldKey, Copied, ZoneId, FreightGroupId };
    size_t source = 0;
    size_t target = 0;  // for the uses that set a target column
    Use use = Use::Copied;
  };
  /// Sends every source row to the target in chunks; answers the number of rows.
  static std::int64_t CopyRows(CopyRun& run, const CopiedTable& table, RowReader& sourceRows,
                               Recordset& targetRows);
  /// The use of each column of `source`, and where it goes in `target`.
  static std::vector<CopiedColumn> CopiedColumns(const CopiedTable& table,
                                                 const ResultColumns& source,
                                                 const Recordset& target);
  /// Sets the target row's columns from one source row, translating zone and freight-group
  /// references, and keeps a renumbered table's old key.
  static void CopyRow(CopyRun& run, const CopiedTable& table,
                      const std::vector<CopiedColumn>& columns, const FieldRow& row,
                      Recordset& targetRows);
  /// The value the copy writes for `value` of a column it copies: a zone or freight-group
  /// reference translated to the new key.
  static Variant CopiedValue(const CopyRun& run, const CopiedColumn& column, const Variant& value);
  /// Pairs the old keys of a renumbered table, already copied, with the keys the target gave
  /// its rows, as the copy paired them; nothing for the other tables.
  static void PairCopiedKeys(CopyRun& run, const CopiedTable& table);
  /// Verifies one table of the copy list (Verify).
  static void VerifyTable(CopyRun& run, const CopiedTable& table, RunProgress& progress,
                          VerificationAccount& account);
  /// Writes the rows pending in `rows` and forgets them.
  static void WriteChunk(Recordset& rows);
  /// True, after logging it, when the target holds as many rows of the table as the source and
  /// at least one: an earlier run copied it. Its keys are then paired as the copy paired them.
  static bool KeepCopiedTable(CopyRun& run, const CopiedTable& table);

  bool resumeCopy_;
};

}  // namespace mv
