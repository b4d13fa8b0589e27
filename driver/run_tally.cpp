// RunTally: counts added per migration and label in first-counted order, and the aligned summary.
#include "driver/run_tally.h"

#include <algorithm>

namespace mv {

RunTally::Section& RunTally::SectionOf(std::string_view migration) {
  for (Section& section : sections_) {
    if (section.migration == migration) return section;
  }
  return sections_.emplace_back(Section{std::string(migration), {}, {}});
}

RunTally::Section RunTally::CountedBy(std::string_view migration) const {
  for (const Section& section : sections_) {
    if (section.migration == migration) return section;
  }
  return Section{std::string(migration), {}, {}};
}

namespace {

/// Adds `count` to the entry of `counts` named `what`, made at the end when there is none.
void AddTo(std::vector<RunTally::Count>& counts, std::string_view what, std::int64_t count) {
  const auto found = std::find_if(counts.begin(), counts.end(),
                                  [&](const RunTally::Count& entry) { return entry.what == what; });
  if (found != counts.end()) {
    found->count += count;
  } else {
    counts.push_back({std::string(what), count});
  }
}

}  // namespace

void RunTally::Add(std::string_view migration, std::string_view what, std::int64_t count) {
  AddTo(SectionOf(migration).counts, what, count);
}

void RunTally::AddRows(std::string_view migration, std::string_view table, std::int64_t rows) {
  AddTo(SectionOf(migration).tableRows, table, rows);
  Add(migration, "rows of " + std::string(table), rows);
}

std::vector<std::string> RunTally::Summary(const std::string& heading) const {
  size_t countWidth = 0;
  for (const Section& section : sections_) {
    for (const Count& line : section.counts) {
      countWidth = std::max(countWidth, std::to_string(line.count).size());
    }
  }
  std::vector<std::string> summary{heading};
  for (const Section& section : sections_) {
    summary.push_back(section.migration);
    for (const Count& line : section.counts) {
      const std::string count = std::to_string(line.count);
      summary.push_back("  " + std::string(countWidth - count.size(), ' ') + count + "  " +
                        line.what);
    }
  }
  return summary;
}

}  // namespace mv
