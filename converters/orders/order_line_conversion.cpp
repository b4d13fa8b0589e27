// The line conversion of ConvertOrders: each 2.2 line of an order as a 2.3 orderline row, with
// the order's discount share, its line status and its part number, and the order's totals.
#include "converters/orders/order_steps.h"

#include <array>

#include "driver/convert_functions.h"
#include "platform/runtime_error.h"
#include "platform/utilities/quoted_literal.h"

namespace mv::orders {
namespace {

/// Line columns that 2.3 takes over unchanged, in the order they are set.
constexpr std::array<const char*, 21> kCopiedLineColumns{
    "ORDERID",       "LINENR",         "PRODUCTID",    "UNITCODE",       "ADDRESSID",
    "QUANTITY",      "PRICE",          "DISCOUNTPERC", "DISCOUNTAMOUNT", "AMOUNT",
    "CONFIGID",      "CONFIGCOMPLETE", "LINETEXT",     "REQUESTDATE",    "ALLOCATIONDATE",
    "LINETAX",       "LINEFREIGHT",    "TAXCODE",      "TAXPERCENTAGE",  "TAXCODEDESCRIPTION",
    "LINEFREIGHTTAX"};

/// The line's share of the order discount: AMOUNT times the header's DISCOUNTPERC / 100, Null
/// when either is Null.
Variant OrderDiscount(const Variant& amount, const Variant& headerDiscountPercentage) {
  if (amount.IsNull() || headerDiscountPercentage.IsNull()) return Variant::Null();
  return Variant::Double(amount.ToDouble() * headerDiscountPercentage.ToDouble() / 100);
}

}  // namespace

bool ConvertOrderLines(OrderRun& run, const FieldSource& iFields, const OrderLines& orderLines,
                       Recordset& lines, std::int16_t NewLineStatus, OrderTotals& totals,
                       const Savepoint* order) {
  if (orderLines.empty()) return false;

  bool lookedUp = false;
  const FieldRow* current = nullptr;
  try {
    for (const FieldRow& line : orderLines) {
      current = &line;
      lines.AddNew();
      for (const char* column : kCopiedLineColumns) lines.SetField(column, line.Field(column));
      totals.SumAmount += line.Field("AMOUNT").ToDecimal();
      totals.SumLineTax += line.Field("LINETAX").ToDecimal();
      totals.SumDiscountAmount += line.Field("DISCOUNTAMOUNT").ToDecimal();
      totals.SumPriceQuantity +=
          line.Field("PRICE").ToDecimal() * line.Field("QUANTITY").ToDecimal();
      lines.SetField("ORDERDISCOUNT",
                     OrderDiscount(line.Field("AMOUNT"), iFields.Field("DISCOUNTPERC")));
      lines.SetField("LINESTATUS", Variant::Integer(NewLineStatus));

      lookedUp = true;
      const ProductData product =
          run.services.product->GetProductData(line.Field("PRODUCTID").ToLong());
      if (product.errorStatus) {
        run.log.WriteLine("Product " + LogText(line.Field("PRODUCTID")) + " could not be found");
      } else {
        lines.SetField("PARTNUMBER", product.values->Get("PARTNUMBER"));
      }
    }
    if (order) lines.UpdateBatch();
    return true;
  } catch (const RuntimeError& error) {
    // Failures of the first line before its product lookup are the run's to report; from
    // that lookup on, every failure of a line (copying it, adding up its amounts: a Null or
    // an Overflow) is reported as that line's product data failure.
    if (!lookedUp) throw;
    WriteProductFailure(run, *current, error);
    return false;
  }
}

void WriteProductFailure(OrderRun& run, const FieldSource& line, const RuntimeError& error) {
  WriteFailureBlock(run, LogText(line.Field("ORDERID")),
                    "An error occurred while reading Product data for '" +
                        LogText(line.Field("PRODUCTID")) + "'.",
                    error);
}

}  // namespace mv::orders
