// RunTally: what the migrations of a run did, or of a rehearsal would do, counted for the
// operator.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mv {

/// Counts per migration, under short labels ("converted", "refused: already converted",
/// "rows of zones" ...). The converters count into it as they go, with the same decisions in a
/// rehearsal as in a real run, so that a rehearsal's counts say what a real run would do.
class RunTally {
 public:
  /// A label, or a table's name, and its count.
  struct Count {
    std::string what;
    std::int64_t count = 0;
  };
  using Counts = std::vector<Count>;
  /// What one migration counted: labels, and rows per table written, in the order first
  /// counted.
  struct Section {
    std::string migration;
    Counts counts;
    Counts tableRows;
  };

  /// Adds `count` to the label `what` of the migration named `migration` (its caption name).
  /// Migrations and labels keep the order in which they were first counted.
  void Add(std::string_view migration, std::string_view what, std::int64_t count = 1);
  /// Adds `rows` rows written to `table`, counted under the label "rows of <table>" too.
  void AddRows(std::string_view migration, std::string_view table, std::int64_t rows);

  /// What the migration named `migration` counted; a section without counts when it counted
  /// nothing.
  Section CountedBy(std::string_view migration) const;

  /// The summary: `heading`, then per migration its name and one line per label: two blanks,
  /// the count right-aligned to the widest count of the summary, two blanks, the label.
  std::vector<std::string> Summary(const std::string& heading) const;

 private:
  /// The section of `migration`, made at the end when there is none.
  Section& SectionOf(std::string_view migration);

  std::vector<Section> sections_;
};

/// The heading of a rehearsal's summary.
inline constexpr const char* kRehearsalHeading =
    "Rehearsal: nothing was written. A real run would do this:";
/// The heading of a real run's summary.
inline constexpr const char* kRunHeading = "This run did:";

}  // namespace mv
