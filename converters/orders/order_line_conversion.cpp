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

LineColumnPositions::LineColumnPositions(const ResultColumns& source, const Recordset& target)
    : amount(source.Index("AMOUNT")),
      lineTax(source.Index("LINETAX")),
      discountAmount(source.Index("DISCOUNTAMOUNT")),
      price(source.Index("PRICE")),
      quantity(source.Index("QUANTITY")),
      productId(source.Index("PRODUCTID")),
      orderDiscount(target.FieldIndex("ORDERDISCOUNT")),
      lineStatus(target.FieldIndex("LINESTATUS")),
      partNumber(target.FieldIndex("PARTNUMBER")) {
  for (const char* column : kCopiedLineColumns) {
    copied.emplace_back(source.Index(column), target.FieldIndex(column));
  }
}

bool ConvertOrderLines(OrderRun& run, const FieldSource& iFields, const OrderLines& orderLines,
                       Recordset& lines, std::int16_t NewLineStatus, OrderTotals& totals,
                       const Savepoint* order) {
  if (orderLines.empty()) return false;

  bool lookedUp = false;
  const FieldRow* current = nullptr;
  try {
    if (!run.linePositions) run.linePositions.emplace(orderLines.front().Columns(), lines);
    const LineColumnPositions& at = *run.linePositions;
    for (const FieldRow& line : orderLines) {
      current = &line;
      lines.AddNew();
      for (const auto& [source, target] : at.copied) lines.SetFieldAt(target, line.FieldAt(source));
      const Variant& amount = line.FieldAt(at.amount);
      totals.SumAmount += amount.ToDecimal();
      totals.SumLineTax += line.FieldAt(at.lineTax).ToDecimal();
      totals.SumDiscountAmount += line.FieldAt(at.discountAmount).ToDecimal();
      totals.SumPriceQuantity +=
          line.FieldAt(at.price).ToDecimal() * line.FieldAt(at.quantity).ToDecimal();
      lines.SetFieldAt(at.orderDiscount, OrderDiscount(amount, iFields.Field("DISCOUNTPERC")));
      lines.SetFieldAt(at.lineStatus, Variant::Integer(NewLineStatus));

      lookedUp = true;
      const Variant& productId = line.FieldAt(at.productId);
      const ProductData product = run.services.product->GetProductData(productId.ToLong());
      if (product.errorStatus) {
        run.log.WriteLine("Product " + LogText(productId) + " could not be found");
      } else {
        lines.SetFieldAt(at.partNumber, product.values->Get("PARTNUMBER"));
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
