// PendingResult: the one unread result a strict connection allows, and the switch that turns
// strict results on.
#include "platform/odbc/internal/pending_result.h"

#include "platform/environment.h"
#include "platform/errors.h"

namespace mv::odbc {

void PendingResult::RefuseWhileOtherPending(const void* statement) const {
  if (owner_ == nullptr || owner_ == statement) return;
  // The text, state and number of Microsoft's driver (which reports no native number).
  throw errors::DatabaseError(
      0, "[Microsoft][ODBC SQL Server Driver]Connection is busy with results for another hstmt",
      "HY000", false);
}

void PendingResult::Executed(const void* statement, bool hasResult) {
  if (hasResult) {
    owner_ = statement;
  } else {
    Finished(statement);
  }
}

void PendingResult::Finished(const void* statement) {
  if (owner_ == statement) owner_ = nullptr;
}

std::shared_ptr<PendingResult> PendingResultWhenStrict() {
  if (EnvironmentVariable("VANTREL_ODBC_STRICT_RESULTS") != "1") return nullptr;
  return std::make_shared<PendingResult>();
}

}  // namespace mv::odbc
