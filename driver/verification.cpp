// VerificationAccount: a verification's counts, findings and summary line.
#include "driver/verification.h"

#include <algorithm>

namespace mv {

VerificationAccount::VerificationAccount(std::string migration)
    : migration_(std::move(migration)),
      counts_{{kVerifiedEqual, 0},
              {kVerifiedDifferent, 0},
              {kVerifiedMissing, 0},
              {kVerifiedExtra, 0}} {}

void VerificationAccount::Add(std::string_view label, std::int64_t count) {
  const auto found = std::find_if(counts_.begin(), counts_.end(),
                                  [&](const Count& each) { return each.label == label; });
  if (found == counts_.end()) {
    counts_.push_back({std::string(label), count});
  } else {
    found->count += count;
  }
}

void VerificationAccount::Find(VerificationFinding finding, std::int64_t count) {
  Add(finding.label, count);
  findings_.push_back(std::move(finding));
}

std::int64_t VerificationAccount::CountOf(std::string_view label) const {
  for (const Count& count : counts_) {
    if (count.label == label) return count.count;
  }
  return 0;
}

bool VerificationAccount::Clean() const {
  return ended_.empty() && CountOf(kVerifiedDifferent) == 0 && CountOf(kVerifiedMissing) == 0 &&
         CountOf(kVerifiedExtra) == 0 && CountOf(kVerifiedUnreadable) == 0;
}

std::string VerificationAccount::SummaryLine() const {
  std::string line = migration_ + ":";
  bool first = true;
  for (size_t i = 0; i < counts_.size(); ++i) {
    if (i >= 4 && counts_[i].count == 0) continue;
    line += (first ? " " : ", ") + std::to_string(counts_[i].count) + " " + counts_[i].label;
    first = false;
  }
  if (!ended_.empty()) line += " (ended early: " + ended_ + ")";
  return line;
}

std::string VerificationAccount::FindingLine(const VerificationFinding& finding) {
  std::string line = finding.label + " " + finding.id;
  if (!finding.detail.empty()) line += ": " + finding.detail;
  return line;
}

}  // namespace mv
