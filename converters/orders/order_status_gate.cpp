// The status gate of ConvertOrders: whether an order is already in the target, and whether its
// payment, billing and allocation state lets it be converted now, with its new statuses.
#include "converters/orders/convert_orders.h"

#include "driver/convert_functions.h"
#include "platform/utilities/quoted_literal.h"

namespace mv {
namespace {

// Order statuses and header billing statuses that the refusal reasons name.
constexpr std::int16_t kNewlySubmitted = 1;
constexpr std::int16_t kPreparedForReauthorization = 3;
constexpr std::int16_t kPreparedForBilling = 4;
constexpr std::int16_t kPreparedForAuthorizationAndBilling = 5;

enum class Reason {
  None,
  NewlySubmitted,
  PreparedForReauthorization,
  PreparedForBilling,
  PreparedForAuthorizationAndBilling,
  Flags,
};

/// The verdict of the first rule that matches one line.
struct Rule {
  std::int16_t orderStatus = 0;
  std::int16_t lineStatus = 0;
  Reason reason = Reason::None;
};

Rule Accept(std::int16_t orderStatus, std::int16_t lineStatus) {
  return {orderStatus, lineStatus, Reason::None};
}

Rule Refuse(Reason reason) { return {0, 0, reason}; }

Rule MatchRule(std::int16_t S, std::int16_t H, bool A, bool Z, bool B, std::int16_t L,
               std::int16_t W) {
  switch (S) {
    case kNewlySubmitted:
      return Refuse(Reason::NewlySubmitted);
    case 2:
      if (W == 1) return Accept(6, 0);
      if (W != 2) return Refuse(Reason::None);
      switch (H) {
        case 0:
          return A && Z && B && L == 0 ? Accept(5, 2) : Refuse(Reason::Flags);
        case 2:
          return A && !Z && !B && L == 2 ? Accept(7, 1) : Refuse(Reason::Flags);
        case kPreparedForReauthorization:
          return Refuse(Reason::PreparedForReauthorization);
        case kPreparedForBilling:
          return Refuse(Reason::PreparedForBilling);
        case kPreparedForAuthorizationAndBilling:
          return Refuse(Reason::PreparedForAuthorizationAndBilling);
        case 7:
          return A && Z && !B && L == 7 ? Accept(8, 1) : Refuse(Reason::Flags);
        default:
          return Refuse(Reason::None);
      }
    case 3:
      return H == 0 && !A && !Z && !B && L == 0 ? Accept(3, 0) : Refuse(Reason::Flags);
    case 4:
      if (H != 8) return Refuse(Reason::None);
      return B ? Accept(5, 3) : Accept(1, 0);
    default:
      return Refuse(Reason::None);
  }
}

const char* TrueFalse(bool value) { return value ? "True" : "False"; }

std::string ReasonText(Reason reason, const std::string& orderId, bool A, bool Z, bool B,
                       std::int16_t L) {
  const std::string lead = "'" + orderId;
  const auto notYet = [&](const char* state) {
    return lead + "' is " + state + ". So this order cannot be converted yet.";
  };
  switch (reason) {
    case Reason::NewlySubmitted:
      return notYet("NewlySubmitted");
    case Reason::PreparedForReauthorization:
      return notYet("PreparedForReauthorization");
    case Reason::PreparedForBilling:
      return notYet("PreparedForBilling");
    case Reason::PreparedForAuthorizationAndBilling:
      return notYet("PreparedForAuthorizationAndBilling");
    case Reason::Flags:
      return lead + "' cannot be converted when 'Allocated = " + TrueFalse(A) + "' ," +
             "'Authorized = " + TrueFalse(Z) + "', 'Billed = " + TrueFalse(B) + "'" +
             " and 'LineBillingStatus = " + std::to_string(L) + "'";
    case Reason::None:
      break;
  }
  return {};
}

}  // namespace

bool ConvertOrders::IsOrderConverted(const std::string& orderId) {
  if (!convertedOrderIds_.contains(orderId)) return false;
  log_->WriteLine("'" + orderId + "' is already converted.");
  return true;
}

bool ConvertOrders::CheckOrderStatus(const FieldSource& iFields, const OrderLines& lines,
                                     OrderStatus& status) {
  const std::string orderId = iFields.Field("ORDERID").ToText();
  if (lines.empty()) {
    status.orderMessage = "'" + orderId + "' has no lines... no conversion nessecary.";
    return false;
  }
  // Decided after the last line only, so that an order whose gate fails on a later line is
  // never reported with conflicting lines.
  bool conflicting = false;
  bool first = true;
  std::int16_t previousLineStatus = 0;
  for (const FieldRow& line : lines) {
    const std::int16_t S = iFields.Field("ORDERSTATUS").ToInteger();
    const std::int16_t H = NullToZero(iFields.Field("HEADERBILLINGSTATUS"));
    const std::int16_t W = NullToZero(iFields.Field("WEBPAYMENTMETHOD"));
    const bool A = line.Field("ALLOCATED").ToBoolean();
    const bool Z = line.Field("AUTHORIZED").ToBoolean();
    const bool B = line.Field("BILLED").ToBoolean();
    const std::int16_t L = NullToZero(line.Field("LINEBILLINGSTATUS"));
    std::int16_t lineOrderStatus = 0;
    std::int16_t lineLineStatus = 0;
    if (!EvaluateStatusRules(orderId, S, H, A, Z, B, L, W, lineOrderStatus, lineLineStatus,
                             status.orderMessage)) {
      return false;
    }
    if (!first && lineLineStatus != previousLineStatus) conflicting = true;
    first = false;
    previousLineStatus = lineLineStatus;
    status.NewOrderStatus = lineOrderStatus;
    status.NewLineStatus = lineLineStatus;
  }
  status.ConflictingLines = conflicting;
  return true;
}

bool ConvertOrders::EvaluateStatusRules(const std::string& orderId, std::int16_t orderStatus,
                                        std::int16_t headerBillingStatus, bool allocated,
                                        bool authorized, bool billed,
                                        std::int16_t lineBillingStatus,
                                        std::int16_t webPaymentMethod,
                                        std::int16_t& lineOrderStatus, std::int16_t& lineLineStatus,
                                        std::string& orderMessage) {
  const Rule rule = MatchRule(orderStatus, headerBillingStatus, allocated, authorized, billed,
                              lineBillingStatus, webPaymentMethod);
  lineOrderStatus = rule.orderStatus;
  lineLineStatus = rule.lineStatus;
  const bool accepted = rule.orderStatus != 0 || rule.lineStatus != 0;
  if (!accepted) {
    orderMessage =
        ReasonText(rule.reason, orderId, allocated, authorized, billed, lineBillingStatus);
  }
  return accepted;
}

std::int16_t ConvertOrders::NullToZero(const Variant& value) {
  return value.IsNull() ? std::int16_t{0} : value.ToInteger();
}

void ConvertOrders::WriteConflictWarning() {
  log_->WriteLine("Attention: There are conflicting line (line) statusses for this order.");
}

}  // namespace mv
