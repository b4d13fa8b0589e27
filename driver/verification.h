// What a verification of one migration found: counts by label and the units or rows behind
// every count that is not "equal".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mv {

/// Labels of a verification's counts.
inline constexpr const char* kVerifiedEqual = "equal";
inline constexpr const char* kVerifiedDifferent = "different";
inline constexpr const char* kVerifiedMissing = "missing";
inline constexpr const char* kVerifiedExtra = "extra";
/// A unit that could not be read or converted: never counted as equal.
inline constexpr const char* kVerifiedUnreadable = "unreadable";

/// One unit, row or value that is not as the migration writes it, or a unit it refuses.
struct VerificationFinding {
  std::string label;   ///< kVerifiedDifferent ..., or "refused: <reason>"
  std::string id;      ///< the unit's id, the table's key or the parameter's name
  std::string detail;  ///< for a difference: the table, the column and both values
};

/// The account of one migration's verification.
class VerificationAccount {
 public:
  struct Count {
    std::string label;
    std::int64_t count = 0;
  };

  /// `migration` is the migration's caption name ("Migrate Baskets").
  explicit VerificationAccount(std::string migration);

  const std::string& Migration() const { return migration_; }
  /// Adds `count` under `label`; the four main labels are always there, in the order equal,
  /// different, missing, extra, and the others follow in the order first counted.
  void Add(std::string_view label, std::int64_t count = 1);
  /// Counts `finding` `count` times under its label (a finding may stand for several rows of
  /// a table) and keeps it.
  void Find(VerificationFinding finding, std::int64_t count = 1);
  /// Ends the verification early: a lost connection, a time-out or a stop. `reason` says why.
  void End(std::string reason) { ended_ = std::move(reason); }

  const std::vector<Count>& Counts() const { return counts_; }
  std::int64_t CountOf(std::string_view label) const;
  const std::vector<VerificationFinding>& Findings() const { return findings_; }
  /// Why the verification ended before its end; empty when it did not.
  const std::string& Ended() const { return ended_; }
  /// True when the verification ran to its end and found nothing missing, different, extra or
  /// unreadable. Refusals are listed, not failures.
  bool Clean() const;
  /// "Migrate Baskets: 11 equal, 0 different, 0 missing, 0 extra, 1 refused: validation
  /// failure": every count that is not zero, the four main ones always.
  std::string SummaryLine() const;
  /// The finding as one line: "different B-1002: BASKETLINE.QUANTITY is 3, would be 2".
  static std::string FindingLine(const VerificationFinding& finding);

 private:
  std::string migration_;
  std::vector<Count> counts_;
  std::vector<VerificationFinding> findings_;
  std::string ended_;
};

}  // namespace mv
