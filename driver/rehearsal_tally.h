// RehearsalTally: what the migrations of a rehearsal would do, counted for the operator.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mv {

/// Counts per migration, under short labels ("would be converted", "refused: already
/// converted", "rows of zones" ...). The converters of a rehearsal count into it as they go,
/// with the same decisions a real run makes, so that the counts say what a real run would do.
class RehearsalTally {
 public:
  /// Adds `count` to the label `what` of the migration named `migration` (its caption name).
  /// Migrations and labels keep the order in which they were first counted.
  void Add(std::string_view migration, std::string_view what, std::int64_t count = 1);

  /// The summary: a heading, then per migration its name and one line per label: two blanks,
  /// the count right-aligned to the widest count of the summary, two blanks, the label.
  std::vector<std::string> Summary() const;

 private:
  struct Line {
    std::string what;
    std::int64_t count = 0;
  };
  struct Section {
    std::string migration;
    std::vector<Line> lines;
  };
  Section& SectionOf(std::string_view migration);

  std::vector<Section> sections_;
};

/// The summary's heading.
inline constexpr const char* kRehearsalHeading =
    "Rehearsal: nothing was written. A real run would do this:";

}  // namespace mv
