// The status rules of the order migration: from one order line's payment, billing and
// allocation state to the verdict on the order, by the first rule of a fixed table that matches.
#pragma once

#include <cstdint>
#include <string>

namespace mv {

/// The values the rules read for one line of an order, the status columns already through
/// NullToZero.
struct OrderLineState {
  std::string orderId;
  std::int16_t orderStatus = 0;
  std::int16_t headerBillingStatus = 0;
  bool allocated = false;
  bool authorized = false;
  bool billed = false;
  std::int16_t lineBillingStatus = 0;
  std::int16_t webPaymentMethod = 0;
};

/// What the rules decide for one line.
struct StatusVerdict {
  bool accepted = false;
  /// The order's and its lines' statuses in 2.3; both 0 for a refused line.
  std::int16_t NewOrderStatus = 0;
  std::int16_t NewLineStatus = 0;
  /// Why the line was refused; empty for an accepted line and for a refusal without reason.
  std::string orderMessage;
};

/// The verdict of the first rule that matches `line`; a line that no rule matches is refused
/// without reason.
StatusVerdict EvaluateStatusRules(const OrderLineState& line);

}  // namespace mv
