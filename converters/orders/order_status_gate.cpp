// The status gate of ConvertOrders: the status rules, and whether an order is already in the
// target, and whether its payment, billing and allocation state lets it be converted now, with its
// new statuses.
#include "converters/orders/order_status_gate.h"

#include <optional>
#include <utility>

#include "converters/orders/order_steps.h"

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

/// One rule: the values a line must have (an unset one matches any value) and what follows
/// for it: new statuses for an accepted line, or the reason of a refusal.
struct StatusRule {
  std::int16_t orderStatus = 0;
  std::optional<std::int16_t> webPaymentMethod = std::nullopt;
  std::optional<std::int16_t> headerBillingStatus = std::nullopt;
  std::optional<bool> allocated = std::nullopt;
  std::optional<bool> authorized = std::nullopt;
  std::optional<bool> billed = std::nullopt;
  std::optional<std::int16_t> lineBillingStatus = std::nullopt;
  std::int16_t newOrderStatus = 0;  // 0: the rule refuses the line
  std::int16_t newLineStatus = 0;
  Reason refusal = Reason::None;

  bool Matches(const OrderLineState& line) const {
    const auto fits = [](const auto& wanted, const auto& value) {
      return !wanted || *wanted == value;
    };
    return orderStatus == line.orderStatus && fits(webPaymentMethod, line.webPaymentMethod) &&
           fits(headerBillingStatus, line.headerBillingStatus) && fits(allocated, line.allocated) &&
           fits(authorized, line.authorized) && fits(billed, line.billed) &&
           fits(lineBillingStatus, line.lineBillingStatus);
  }
};

// The rules in the order they are tried; a line that none matches is refused without reason.
constexpr StatusRule kStatusRules[] = {
    {.orderStatus = kNewlySubmitted, .refusal = Reason::NewlySubmitted},
    // Web payment method 1: any line state.
    {.orderStatus = 2, .webPaymentMethod = 1, .newOrderStatus = 6, .newLineStatus = 0},
    // Web payment method 2: the header billing status decides, and the line must fit it.
    {.orderStatus = 2,
     .webPaymentMethod = 2,
     .headerBillingStatus = 0,
     .allocated = true,
     .authorized = true,
     .billed = true,
     .lineBillingStatus = 0,
     .newOrderStatus = 5,
     .newLineStatus = 2},
    {.orderStatus = 2, .webPaymentMethod = 2, .headerBillingStatus = 0, .refusal = Reason::Flags},
    {.orderStatus = 2,
     .webPaymentMethod = 2,
     .headerBillingStatus = 2,
     .allocated = true,
     .authorized = false,
     .billed = false,
     .lineBillingStatus = 2,
     .newOrderStatus = 7,
     .newLineStatus = 1},
    {.orderStatus = 2, .webPaymentMethod = 2, .headerBillingStatus = 2, .refusal = Reason::Flags},
    {.orderStatus = 2,
     .webPaymentMethod = 2,
     .headerBillingStatus = kPreparedForReauthorization,
     .refusal = Reason::PreparedForReauthorization},
    {.orderStatus = 2,
     .webPaymentMethod = 2,
     .headerBillingStatus = kPreparedForBilling,
     .refusal = Reason::PreparedForBilling},
    {.orderStatus = 2,
     .webPaymentMethod = 2,
     .headerBillingStatus = kPreparedForAuthorizationAndBilling,
     .refusal = Reason::PreparedForAuthorizationAndBilling},
    {.orderStatus = 2,
     .webPaymentMethod = 2,
     .headerBillingStatus = 7,
     .allocated = true,
     .authorized = true,
     .billed = false,
     .lineBillingStatus = 7,
     .newOrderStatus = 8,
     .newLineStatus = 1},
    {.orderStatus = 2, .webPaymentMethod = 2, .headerBillingStatus = 7, .refusal = Reason::Flags},
    // Status 3: only an untouched line.
    {.orderStatus = 3,
     .headerBillingStatus = 0,
     .allocated = false,
     .authorized = false,
     .billed = false,
     .lineBillingStatus = 0,
     .newOrderStatus = 3,
     .newLineStatus = 0},
    {.orderStatus = 3, .refusal = Reason::Flags},
    // Status 4 with header billing status 8: billed lines and the others.
    {.orderStatus = 4,
     .headerBillingStatus = 8,
     .billed = true,
     .newOrderStatus = 5,
     .newLineStatus = 3},
    {.orderStatus = 4, .headerBillingStatus = 8, .newOrderStatus = 1, .newLineStatus = 0},
};

const char* TrueFalse(bool value) { return value ? "True" : "False"; }

std::string ReasonText(Reason reason, const OrderLineState& line) {
  const std::string lead = "'" + line.orderId;
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
      return lead + "' cannot be converted when 'Allocated = " + TrueFalse(line.allocated) + "' ," +
             "'Authorized = " + TrueFalse(line.authorized) +
             "', 'Billed = " + TrueFalse(line.billed) + "'" +
             " and 'LineBillingStatus = " + std::to_string(line.lineBillingStatus) + "'";
    case Reason::None:
      break;
  }
  return {};
}

}  // namespace

StatusVerdict EvaluateStatusRules(const OrderLineState& line) {
  for (const StatusRule& rule : kStatusRules) {
    if (!rule.Matches(line)) continue;
    if (rule.newOrderStatus != 0 || rule.newLineStatus != 0) {
      return {true, rule.newOrderStatus, rule.newLineStatus, {}};
    }
    return {false, 0, 0, ReasonText(rule.refusal, line)};
  }
  return {};
}

namespace orders {

bool IsOrderConverted(OrderRun& run, const std::string& orderId) {
  if (!run.convertedOrderIds.contains(orderId)) return false;
  run.log.WriteLine("'" + orderId + "' is already converted.");
  return true;
}

bool CheckOrderStatus(const FieldSource& iFields, const OrderLines& lines, OrderStatus& status) {
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
    OrderLineState state;
    state.orderId = orderId;
    state.orderStatus = iFields.Field("ORDERSTATUS").ToInteger();
    state.headerBillingStatus = NullToZero(iFields.Field("HEADERBILLINGSTATUS"));
    state.webPaymentMethod = NullToZero(iFields.Field("WEBPAYMENTMETHOD"));
    state.allocated = line.Field("ALLOCATED").ToBoolean();
    state.authorized = line.Field("AUTHORIZED").ToBoolean();
    state.billed = line.Field("BILLED").ToBoolean();
    state.lineBillingStatus = NullToZero(line.Field("LINEBILLINGSTATUS"));
    StatusVerdict verdict = EvaluateStatusRules(state);
    if (!verdict.accepted) {
      status.orderMessage = std::move(verdict.orderMessage);
      return false;
    }
    if (!first && verdict.NewLineStatus != previousLineStatus) conflicting = true;
    first = false;
    previousLineStatus = verdict.NewLineStatus;
    status.NewOrderStatus = verdict.NewOrderStatus;
    status.NewLineStatus = verdict.NewLineStatus;
  }
  status.ConflictingLines = conflicting;
  return true;
}

std::int16_t NullToZero(const Variant& value) {
  return value.IsNull() ? std::int16_t{0} : value.ToInteger();
}

void WriteConflictWarning(TextWriter& log) {
  log.WriteLine("Attention: There are conflicting line (line) statusses for this order.");
}

}  // namespace orders

}  // namespace mv
