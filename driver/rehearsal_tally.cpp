#include "driver/rehearsal_tally.h"

#include <algorithm>

namespace mv {

RehearsalTally::Section& RehearsalTally::SectionOf(std::string_view migration) {
  const auto found = std::find_if(sections_.begin(), sections_.end(), [&](const Section& section) {
    return section.migration == migration;
  });
  if (found != sections_.end()) return *found;
  return sections_.emplace_back(Section{std::string(migration), {}});
}

void RehearsalTally::Add(std::string_view migration, std::string_view what, std::int64_t count) {
  std::vector<Line>& lines = SectionOf(migration).lines;
  const auto found =
      std::find_if(lines.begin(), lines.end(), [&](const Line& line) { return line.what == what; });
  if (found != lines.end()) {
    found->count += count;
  } else {
    lines.push_back({std::string(what), count});
  }
}

std::vector<std::string> RehearsalTally::Summary() const {
  size_t countWidth = 0;
  for (const Section& section : sections_) {
    for (const Line& line : section.lines) {
      countWidth = std::max(countWidth, std::to_string(line.count).size());
    }
  }
  std::vector<std::string> summary{kRehearsalHeading};
  for (const Section& section : sections_) {
    summary.push_back(section.migration);
    for (const Line& line : section.lines) {
      const std::string count = std::to_string(line.count);
      summary.push_back("  " + std::string(countWidth - count.size(), ' ') + count + "  " +
                        line.what);
    }
  }
  return summary;
}

}  // namespace mv
