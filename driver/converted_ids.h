// The ids of the units (baskets, orders) a target holds, in memory that does not grow with the
// shop: a rerun refuses them without asking the target for each unit it never converted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/odbc/column_info.h"
#include "platform/odbc/connection.h"

namespace mv {

/// Whether a unit's id is converted: held by the target, or converted in this run. Read once
/// per run into a fixed-size filter of the ids' hashes; an id the filter may hold is asked of
/// the target, so that the answer is exact. The ids converted most recently, which may not be
/// written to the target yet, are kept as texts. A set's interface, for the converters' sets
/// of converted ids.
class ConvertedIds {
 public:
  /// No ids, and no target to ask.
  ConvertedIds() = default;
  /// Reads the texts of `column` in every row of `table` on `target`, which must outlive this.
  /// `unwrittenUnits` is how many units may be converted before the first of them is written
  /// to the target (twice a group: the rows of a group go out at its end). With `keepAll`
  /// every converted id is kept as text: a rehearsal never leaves its units in the target.
  ConvertedIds(Connection& target, std::string table, std::string column,
               std::size_t unwrittenUnits, bool keepAll);

  /// True when the target holds `id` or it was inserted since and not erased.
  bool contains(const std::string& id);
  /// Marks `id` converted in this run.
  void insert(const std::string& id);
  /// Takes back a conversion whose rows never reached the target.
  void erase(const std::string& id);
  /// Asks the target in one query (more where its parameter limit asks for it) about those of
  /// `ids` that the filter may hold, bound as values of the id column, and keeps as texts the
  /// ones it answers with the very text asked: a group's ids asked before its units are looked
  /// at, so that a rerun asks once a group rather than once a unit.
  void AskTargetAbout(const std::vector<std::string>& ids);

 private:
  /// Adds `id` to the filter of hashes.
  void AddToFilter(const std::string& id);
  /// False when `id` was never added to the filter; true for every id that was, and rarely
  /// for another.
  bool FilterMayHold(const std::string& id) const;
  /// Keeps `id` as text, dropping the oldest beyond the unwritten units.
  void KeepRecent(const std::string& id);
  /// Asks the target whether it holds `id`.
  bool TargetHolds(const std::string& id);

  Connection* target_ = nullptr;
  std::string table_;
  std::string column_;
  odbc::ColumnInfo idColumn_;
  std::size_t recentLimit_ = 0;
  bool keepAll_ = false;
  std::vector<std::uint64_t> filter_;
  std::unordered_set<std::string> recent_;
  std::deque<std::string> recentOrder_;  // oldest first
};

}  // namespace mv
