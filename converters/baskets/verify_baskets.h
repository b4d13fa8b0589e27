// BasketVerification: the stored baskets of the source compared with the target's, read-only.
#pragma once

#include <optional>

#include "converters/baskets/convert_baskets.h"
#include "driver/run_progress.h"
#include "driver/unit_verification.h"
#include "driver/verification.h"

namespace mv {

class BasketVerification {
 public:
  BasketVerification(TextWriter& log, RunProgress& progress, VerificationAccount& account)
      : log_(log), progress_(progress), account_(account) {}

  /// Accounts for every row of the source's ORDERLIST: its basket equal to the target's
  /// BASKETHEADER and BASKETLINE rows that the basket migration writes for it now, different,
  /// missing, or refused as the migration refuses it (no basket id, a damaged order form, a
  /// validation failure); then counts the target's baskets that no row accounts for as extra.
  /// Writes to neither database. A failure to read or a stop reaches the caller.
  void Verify(const ConnectionValues& values);

 private:
  /// What the basket migration writes for `row` (its `number`-th), or nothing after counting
  /// its refusal. The migration's validation lines never reach the log.
  std::optional<WrittenUnit> WrittenBasket(const FieldRow& row, long number);

  TextWriter& log_;
  RunProgress& progress_;
  VerificationAccount& account_;
  ConvertBaskets converter_;
  std::unique_ptr<OrderFormStorage> storage_;
};

}  // namespace mv
