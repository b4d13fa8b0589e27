// CopyData: copies the twelve tables that need no conversion from the 2.2 shop database to the
// 2.3 one, renumbering zones and freight groups and translating every reference to them.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "driver/converter.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/recordset.h"
#include "platform/variant.h"

namespace mv {

class CopyData : public Converter {
 public:
  /// Copies the tables in their fixed order and stops at the first that is already filled in
  /// the target or fails; the tables before it stay copied. Writes one log line for such a
  /// table, and one for a connection that cannot be opened. True when all twelve were copied.
  bool Convert(const ConnectionValues& values, TextWriter& log) override;

 private:
  /// Copies one table in one transaction: either all its rows reach the target or none. With
  /// `renumber`, the first column is the key: it is not copied, the target numbers the rows
  /// itself, and the old keys are paired with the new ones. False after logging an already
  /// filled target table or an error.
  bool CopyTable(Connection& source, Connection& target, const std::string& table, bool renumber,
                 TextWriter& log);
  /// Writes the rows pending in `rows`, `count` of them, and reports the progress.
  void WriteChunk(Recordset& rows, long count);
  /// The new key of the zone whose old key is `oldId`; 0 when no copied zone had it.
  std::int32_t MapZoneId(std::int32_t oldId) const;
  /// The new key of the freight group whose old key is `oldId`; 0 when none had it.
  std::int32_t MapFreightGroupId(std::int32_t oldId) const;

  /// The old zone keys in the order the source returned the rows.
  std::vector<Variant> OldZoneIds;
  /// The old freight-group keys in the order the source returned the rows.
  std::vector<Variant> OldFreightGroupIds;
  /// Old key to the key the target gave the same row; the first row wins for a repeated key.
  std::unordered_map<std::int32_t, std::int32_t> newZoneIds_;
  std::unordered_map<std::int32_t, std::int32_t> newFreightGroupIds_;
  /// The rows of all twelve source tables, and those copied so far, for the progress.
  long totalRows_ = 0;
  long copiedRows_ = 0;
};

}  // namespace mv
