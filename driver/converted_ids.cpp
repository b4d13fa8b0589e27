// ConvertedIds: a filter of 2^24 bits over the ids' hashes, the recent ids as texts, and the
// target asked for an id the filter may hold.
#include "driver/converted_ids.h"

#include <functional>
#include <utility>

#include "driver/bound_ids.h"
#include "platform/odbc/row_reader.h"

namespace mv {
namespace {

/// Two megabytes of filter: with three bits an id, one id in seven thousand that was never
/// added is asked of the target at 300,000 ids added, one in fourteen at three million.
constexpr std::uint64_t kFilterBits = std::uint64_t{1} << 24;
constexpr int kBitsPerId = 3;

/// The filter positions of `id`: three from two hashes of it (double hashing).
template <typename Visit>
void ForEachBit(const std::string& id, Visit visit) {
  const std::uint64_t first = std::hash<std::string>{}(id);
  // A second hash stirred out of the first (splitmix64's finaliser), odd so that it steps
  // through every position.
  std::uint64_t second = first + 0x9E3779B97F4A7C15ULL;
  second = (second ^ (second >> 30)) * 0xBF58476D1CE4E5B9ULL;
  second = (second ^ (second >> 27)) * 0x94D049BB133111EBULL;
  second = (second ^ (second >> 31)) | 1;
  for (int i = 0; i < kBitsPerId; ++i) visit((first + i * second) % kFilterBits);
}

}  // namespace

ConvertedIds::ConvertedIds(Connection& target, std::string table, std::string column,
                           std::size_t unwrittenUnits, bool keepAll)
    : target_(&target),
      table_(std::move(table)),
      column_(std::move(column)),
      recentLimit_(unwrittenUnits),
      keepAll_(keepAll),
      filter_(kFilterBits / 64) {
  RowReader rows(*target_, "select " + column_ + " from " + table_);
  idColumn_ = rows.Columns().All().at(0);
  while (rows.Next()) AddToFilter(rows.Row().Field(column_).ToText());
}

bool ConvertedIds::contains(const std::string& id) {
  if (recent_.contains(id)) return true;
  if (!FilterMayHold(id) || !TargetHolds(id)) return false;
  // Asked once: the converters ask about a unit more than once.
  KeepRecent(id);
  return true;
}

void ConvertedIds::insert(const std::string& id) {
  AddToFilter(id);
  KeepRecent(id);
}

void ConvertedIds::erase(const std::string& id) {
  // Its filter bits stay: the target, asked, tells that it does not hold the id.
  recent_.erase(id);
}

void ConvertedIds::AskTargetAbout(const std::vector<std::string>& ids) {
  if (!target_) return;
  std::vector<std::string> asked;
  for (const std::string& id : ids) {
    if (!recent_.contains(id) && FilterMayHold(id)) asked.push_back(id);
  }
  const std::unordered_set<std::string> askedTexts(asked.begin(), asked.end());
  ForEachIdSlice(*target_, asked, idColumn_, [&](const std::vector<QueryParameter>& slice) {
    for (RowReader rows(*target_,
                        "select " + column_ + " from " + table_ + " where " + column_ + " in (" +
                            ParameterMarkers(slice.size()) + ")",
                        slice);
         rows.Next();) {
      // A server that ignores case or trailing blanks may answer with a text other than the
      // one asked: kept only as asked, since contains is asked with that text. An id answered
      // with another text is asked about alone when contains comes to it.
      const std::string held = rows.Row().Field(column_).ToText();
      if (askedTexts.contains(held)) KeepRecent(held);
    }
  });
}

void ConvertedIds::AddToFilter(const std::string& id) {
  if (filter_.empty()) return;  // no target: only the recent ids count
  ForEachBit(id,
             [this](std::uint64_t bit) { filter_[bit / 64] |= std::uint64_t{1} << (bit % 64); });
}

bool ConvertedIds::FilterMayHold(const std::string& id) const {
  if (filter_.empty()) return false;
  bool all = true;
  ForEachBit(id, [&](std::uint64_t bit) { all = all && (filter_[bit / 64] >> (bit % 64) & 1); });
  return all;
}

void ConvertedIds::KeepRecent(const std::string& id) {
  if (!recent_.insert(id).second || keepAll_) return;
  recentOrder_.push_back(id);
  // An id dropped here was kept before more than the unwritten units: its rows are in the
  // target, which is asked for it from now on.
  if (recentOrder_.size() > recentLimit_) {
    recent_.erase(recentOrder_.front());
    recentOrder_.pop_front();
  }
}

bool ConvertedIds::TargetHolds(const std::string& id) {
  RowReader rows(*target_, "select " + column_ + " from " + table_ + " where " + column_ + " = ?",
                 {{Variant::String(id), idColumn_}});
  return rows.Next();
}

}  // namespace mv
