// The route table of the 2.2 parameters: each one's store section or member and its conversion.
#include "converters/parameters/parameter_routes.h"

#include <algorithm>
#include <array>

namespace mv {
namespace {

constexpr std::string_view kDirectPayment = "DIRECTPAYMENT_PARAMETERS";
constexpr std::string_view kFreight = "FREIGHT_PARAMETERS";
constexpr std::string_view kGeneral = "GENERAL_PARAMETERS";

using enum ParameterConversion;
using enum ParameterMember;

constexpr std::array<ParameterRoute, 22> kRoutes{{
    {"CyberSource Serverhost", kDirectPayment, None, Text},
    {"Authorization Hard Expiration", kDirectPayment, None, Integer},
    {"Authorization Soft Expiration", kDirectPayment, None, Integer},
    {"Reallocation", kDirectPayment, None, Integer},
    {"Creditcard Ordertype for Backend", kDirectPayment, None, Text},
    {"BackendSalesOrderType BillingStepNumber", kDirectPayment, None, Integer},
    {"InvoiceText", kDirectPayment, None, Text},
    {"SalesOrderConfirmation", {}, OrderConfirmationType, Integer},
    {"SalesOrderCreation", {}, OrderCreationType, Integer},
    {"Order Confirmation File", {}, OrderConfirmationFile, Text},
    {"EDI Escape Separator", {}, EdiEscapeSeparator, Text},
    {"EDI Field Separator", {}, EdiFieldSeparator, Text},
    {"FreightPartNumber", kFreight, None, Text},
    {"Freight Unit-code", kFreight, None, Text},
    {"Multiple Ship-from Zones", kFreight, None, Integer},
    {"Ship-from Zone", kFreight, None, Integer},
    {"CreditCardUse", kGeneral, None, Integer},
    {"EnableFreight", kGeneral, None, Integer},
    {"HomeOrganisation", kGeneral, None, Integer},
    {"TaxSource", kGeneral, None, Integer},
    {"BIC Virtual Directory", kGeneral, None, Text},
    {"SubmittedOrderListPage", kGeneral, None, Text},
}};

}  // namespace

const ParameterRoute* FindParameterRoute(std::string_view name) {
  const auto found =
      std::find_if(kRoutes.begin(), kRoutes.end(),
                   [name](const ParameterRoute& route) { return route.name == name; });
  return found == kRoutes.end() ? nullptr : &*found;
}

}  // namespace mv
