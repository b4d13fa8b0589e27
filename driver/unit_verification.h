// Baskets and orders compared with the target a group at a time: each unit's header and lines
// as a migration writes them now against the rows the target holds, and the target's units
// that no source unit accounts for.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "driver/verification.h"
#include "platform/odbc/column_info.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/field_row.h"
#include "platform/odbc/row_reader.h"
#include "platform/variant.h"

namespace mv {

/// A table of the units' rows: its name, the column holding the unit's id, the columns a
/// migration writes (in the order of a row's values) and, for a table of lines, the column
/// that numbers a unit's lines.
struct VerifiedTable {
  std::string name;
  std::string key;
  std::vector<std::string> columns;
  std::string lineNumber;
};

/// What a migration writes for one unit now: its id as the source holds it, its header and its
/// lines, each row's values in the order of its table's columns.
struct WrittenUnit {
  std::string id;
  std::vector<Variant> header;
  std::vector<std::vector<Variant>> lines;
};

/// The rows of one table whose key the server matches to the ids of a list (bound typed as the
/// key column, which is read once, and compared under the server's own rules for case and
/// padding), each handed over with the position in the list of the id it matched.
class MatchedRows {
 public:
  /// The rows of `table` on `connection` (which must outlive this), matched through its column
  /// `key`; `selected` is what they hold ("t.*": every column).
  MatchedRows(Connection& connection, std::string table, std::string key, std::string selected);

  /// Hands each row whose key matches one of `ids` to `row` with the position of that id: the
  /// ids joined as a derived table of (id, position), in one query, more where the engine's
  /// parameter limit asks for it. Rows come in no promised order.
  void ForEach(const std::vector<std::string>& ids,
               const std::function<void(size_t position, const FieldRow& row)>& row);

 private:
  /// The query for `count` ids, prepared on its first use.
  PreparedQuery& Query(size_t count);

  Connection& connection_;
  std::string table_;
  std::string key_;
  std::string selected_;
  odbc::ColumnInfo keyColumn_;
  /// By the number of ids they take: a few sizes, each group's ids padded up to one of them.
  std::map<size_t, std::unique_ptr<PreparedQuery>> queries_;
};

class UnitVerification {
 public:
  /// Compares units with the `headers` and `lines` tables of `target`, counting into `account`.
  UnitVerification(Connection& target, VerifiedTable headers, VerifiedTable lines,
                   VerificationAccount& account);

  /// Counts each unit of a group equal, different (the first differing table, column and both
  /// values) or missing (no header), reading the group's headers in one query and its lines in
  /// another. A failure to read reaches the caller.
  void VerifyGroup(const std::vector<WrittenUnit>& units);

 private:
  /// The rows of `stored` for each of `units`, by the unit's position.
  static std::vector<std::vector<FieldRow>> StoredRows(MatchedRows& stored,
                                                       const std::vector<WrittenUnit>& units);
  /// The first difference between what is written and what is stored; empty when there is none.
  std::string FirstDifference(const WrittenUnit& unit, const FieldRow& header,
                              const std::vector<FieldRow>& lines) const;

  VerifiedTable headers_;
  VerifiedTable lines_;
  MatchedRows storedHeaders_;
  MatchedRows storedLines_;
  VerificationAccount& account_;
};

/// Counts as extra, with its id, each row of `targetTable` whose `targetKey` no row of
/// `sourceTable` holds (as the source's server compares `sourceKey`): the target's ids read
/// as one stream on `target`, a group of `groupSize` at a time asked of `source` in one
/// query. Stops after the group where `stopRequested` answers true. A failure to read reaches
/// the caller.
void FindExtraUnits(Connection& target, const std::string& targetTable,
                    const std::string& targetKey, Connection& source,
                    const std::string& sourceTable, const std::string& sourceKey, int groupSize,
                    VerificationAccount& account, const std::function<bool()>& stopRequested);

}  // namespace mv
