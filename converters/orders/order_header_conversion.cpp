// The header conversion of ConvertOrders: a 2.2 order header as a 2.3 orderheader row, with the
// line totals, the new order status and the currency and customer data of the 2.3 services.
#include "converters/orders/order_steps.h"

#include <array>
#include <utility>

#include "platform/runtime_error.h"

namespace mv::orders {
namespace {

/// Header columns that 2.3 takes over, target name and source name, in the order they are set.
/// 2.2 spelled the acknowledgement URL without the E after the G.
constexpr std::array<std::pair<const char*, const char*>, 19> kCopiedHeaderColumns{{
    {"ORDERID", "ORDERID"},
    {"CURRENCYCODE", "CURRENCYCODE"},
    {"USERID", "USERID"},
    {"SHIPPINGADDRESSID", "SHIPPINGADDRESSID"},
    {"BILLINGADDRESSID", "BILLINGADDRESSID"},
    {"BUSINESSPARTNERID", "BUSINESSPARTNERID"},
    {"CARRIERCODE", "CARRIERCODE"},
    {"ORDERLISTNAME", "ORDERLISTNAME"},
    {"ORDERDATE", "ORDERDATE"},
    {"HEADERTEXT", "HEADERTEXT"},
    {"SALESORDERNR", "SALESORDERNR"},
    {"DISCOUNTPERC", "DISCOUNTPERC"},
    {"CUSTOMERPONR", "CUSTOMERPONR"},
    {"ACKNOWLEDGEMENTURL", "ACKNOWLEDGMENTURL"},
    {"BISID", "BISID"},
    {"FREIGHTTOTAL", "FREIGHTTOTAL"},
    {"WEBPAYMENTMETHOD", "WEBPAYMENTMETHOD"},
    {"FREIGHTTAX", "FREIGHTTAX"},
    {"CALCULATETAX", "CALCULATETAX"},
}};

/// 2.3 computes the freight tax itself; converted orders carry none.
constexpr std::array<const char*, 3> kClearedHeaderColumns{
    "FREIGHTTAXCODE", "FREIGHTTAXCODEDESCRIPTION", "FREIGHTTAXPERC"};

}  // namespace

bool ConvertOrderHeader(OrderRun& run, const FieldSource& iFields, Recordset& headers,
                        std::int16_t NewOrderStatus, const OrderTotals& totals, Savepoint* order) {
  headers.AddNew();
  for (const auto& [target, source] : kCopiedHeaderColumns) {
    headers.SetField(target, iFields.Field(source));
  }
  for (const char* column : kClearedHeaderColumns) headers.SetField(column, Variant::Null());
  headers.SetField("SUBTOTAL", Variant::Decimal(totals.SumAmount));
  headers.SetField("TAXTOTAL", Variant::Decimal(totals.SumLineTax));
  const Variant& freightTax = iFields.Field("FREIGHTTAX");
  headers.SetField("TOTAL", freightTax.IsNull()
                                ? Variant::Null()
                                : Variant::Decimal(totals.SumAmount + totals.SumLineTax +
                                                   freightTax.ToDecimal()));
  headers.SetField("DISCOUNTTOTAL", Variant::Decimal(totals.SumDiscountAmount));
  headers.SetField("TOTALNETAMOUNT", Variant::Decimal(totals.SumPriceQuantity));

  try {
    const auto currencyData = run.services.currency->GetCurrencyData(iFields.Field("CURRENCYCODE"));
    headers.SetField("ORDERSTATUS", Variant::Integer(NewOrderStatus));
    headers.SetField("CURRENCYDECIMALS", currencyData->Get("DECIMALS"));
    const Variant localeId = currencyData->Get("LOCALEID");
    headers.SetField("CURRENCYSYMBOL",
                     Variant::String(localeId.IsNull() ? std::string()
                                                       : run.services.locale->GetCurrencySymbol(
                                                             localeId.ToLong())));
    const Variant& businessPartnerId = iFields.Field("BUSINESSPARTNERID");
    headers.SetField(
        "CUSTOMERCODE",
        Variant::String(run.services.businessPartner->GetCustomerCode(businessPartnerId)));
    headers.SetField(
        "CUSTOMERNAME",
        Variant::String(run.services.businessPartner->GetCustomerName(businessPartnerId)));
    if (order) {
      headers.UpdateBatch();
      order->Keep();
    }
  } catch (const RuntimeError& error) {
    WriteCurrencyFailure(run, iFields, error);
    return false;
  }

  try {
    run.log.WriteLine("Order '" + LogText(iFields.Field("ORDERID")) + "' is converted.");
  } catch (const RuntimeError&) {
    // The order is written; a log that cannot take the line does not undo it.
  }
  return true;
}

void WriteCurrencyFailure(OrderRun& run, const FieldSource& iFields, const RuntimeError& error) {
  WriteFailureBlock(run, LogText(iFields.Field("ORDERID")),
                    "An error occurred while reading Currency data for '" +
                        LogText(iFields.Field("CURRENCYCODE")) + "'.",
                    error);
}

}  // namespace mv::orders
