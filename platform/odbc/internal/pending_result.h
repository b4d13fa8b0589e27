// Strict results: a connection refuses a statement while another statement's result is still
// unread, as SQL Server does without MARS, so that runs on engines whose drivers hold whole
// results find the places that would fail there. On when VANTREL_ODBC_STRICT_RESULTS is "1".
#pragma once

#include <memory>

namespace mv::odbc {

/// Which statement of one connection has a result that is not read to its end yet.
class PendingResult {
 public:
  /// Throws SQL Server's error "Connection is busy with results for another hstmt" (SQLSTATE
  /// HY000) when a statement other than `statement` has an unread result. `statement` is null
  /// for a transaction's end, which on SQL Server the unread result would not outlive either.
  void RefuseWhileOtherPending(const void* statement) const;
  /// `statement` has executed: its result is unread when it has result columns.
  void Executed(const void* statement, bool hasResult);
  /// `statement` read past its last row, closed its result or is destroyed.
  void Finished(const void* statement);

 private:
  const void* owner_ = nullptr;
};

/// The bookkeeping for a new connection when strict results are on; null when they are off.
std::shared_ptr<PendingResult> PendingResultWhenStrict();

}  // namespace mv::odbc
