// The steps of the order migration that convert one order, as free functions shared by its
// files, and what one run of it works with.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "driver/converted_ids.h"
#include "platform/business/business_services.h"
#include "platform/decimal_number.h"
#include "platform/errors.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/field_row.h"
#include "platform/odbc/recordset.h"
#include "platform/runtime_error.h"
#include "platform/text_file.h"

namespace mv::orders {

/// What the status gate hands back for one order; every order starts from these values.
struct OrderStatus {
  std::int16_t NewOrderStatus = 0;
  std::int16_t NewLineStatus = 0;
  /// The lines of the order led to different line statuses.
  bool ConflictingLines = false;
  /// Why the order was refused; empty for an accepted order and for a refusal without reason.
  std::string orderMessage;
};

/// The four line totals of one order, summed exactly by the line conversion for the header;
/// a sum beyond the Decimal range fails with Overflow.
struct OrderTotals {
  DecimalNumber SumAmount;
  DecimalNumber SumLineTax;
  DecimalNumber SumDiscountAmount;
  DecimalNumber SumPriceQuantity;
};

enum class OrderOutcome { AlreadyConverted, Refused, Converted, Failed };
/// What converting one order came to; a refused order brings the label it counts under in
/// a rehearsal's summary.
struct OrderAccount {
  OrderOutcome outcome = OrderOutcome::Failed;
  std::string refusal;
};
/// How the rows of an order reach the target: written with the order, under a savepoint of
/// its own, or left pending in the target recordsets for the end of its group.
enum class RowWriting { EachOrder, AtGroupEnd };
/// The source lines of one order, in the order the source gives them.
using OrderLines = std::vector<FieldRow>;

/// Where the line conversion's columns sit in the source lines and in the target's orderline
/// rows, found on a run's first line: the source lines of every group share one layout, and
/// a million lines are then read and written by position instead of by name.
struct LineColumnPositions {
  LineColumnPositions(const ResultColumns& source, const Recordset& target);
  std::vector<std::pair<size_t, size_t>> copied;  // source and target position of each copied
  size_t amount, lineTax, discountAmount, price, quantity, productId;  // in the source
  size_t orderDiscount, lineStatus, partNumber;                        // in the target
};

/// What one call works with: its connections, services and log, the orders it has seen, and
/// whether an order's failure ends the migration.
struct OrderRun {
  explicit OrderRun(TextWriter& runLog) : log(runLog) {}
  TextWriter& log;
  std::unique_ptr<Connection> sourceConnection;
  std::unique_ptr<Connection> targetConnection;
  BusinessServices services;
  /// The ids of the orders the target holds or this call converted, read once per call.
  ConvertedIds convertedOrderIds;
  std::optional<LineColumnPositions> linePositions;
  /// Why an order's failure ends the migration, from the first such failure on.
  errors::MigrationEnd ended = errors::MigrationEnd::None;
  std::vector<std::string> endingBlock;  // the log block of that order
  bool Ended() const { return ended != errors::MigrationEnd::None; }
};
/// The target recordsets new rows are appended to.
struct OrderTargets {
  std::unique_ptr<Recordset> headers;
  std::unique_ptr<Recordset> lines;
};

/// The source lines of the orders of `group` not yet converted, by their header's ORDERID, in
/// one query (more where the source's parameter limit asks for it). The server matches the
/// lines to the headers, under its own rules for case and trailing blanks, as it matched the
/// lines of one order, and names the header of each line: the lines are filed under that
/// header's own text. The lines of an order keep the order the server gives them in.
std::unordered_map<std::string, OrderLines> LinesOfOrders(OrderRun& run,
                                                          const std::vector<FieldRow>& group);
/// The source lines of `order` in `groupLines`; none when it has none.
const OrderLines& LinesOf(const std::unordered_map<std::string, OrderLines>& groupLines,
                          const FieldSource& order);
/// Drops the rows the recordsets have written.
void ForgetWrittenRows(OrderTargets& targets);
/// One order with its source lines: gate, then lines and header, written under one
/// savepoint or left pending as `writing` says. Failures that the steps do not report
/// themselves are logged here as a three-line block; a failed order leaves no row in the
/// target and none pending in `targets` (nor those other orders left pending).
OrderAccount ConvertOrder(OrderRun& run, const FieldSource& orders, const OrderLines& orderLines,
                          OrderTargets& targets, RowWriting writing);

// The status gate (order_status_gate.cpp).
bool IsOrderConverted(OrderRun& run, const std::string& orderId);
bool CheckOrderStatus(const FieldSource& iFields, const OrderLines& lines, OrderStatus& status);
/// Null gives 0; any other value its 16-bit conversion (which throws 6 or 13).
std::int16_t NullToZero(const Variant& value);
void WriteConflictWarning(TextWriter& log);

/// Appends the order's lines, writes them under `order` (unless null: they stay pending)
/// and adds to `totals`. False after logging the product-data block when a lookup or a
/// later step fails; failures of the first line before its product lookup are thrown.
bool ConvertOrderLines(OrderRun& run, const FieldSource& iFields, const OrderLines& orderLines,
                       Recordset& lines, std::int16_t NewLineStatus, OrderTotals& totals,
                       const Savepoint* order);
/// Appends the order's header, writes it and keeps `order` (unless null: it stays
/// pending), and logs "is converted.". False after logging the currency-data block when a
/// lookup, the write or keeping the order fails; failures while copying the columns are
/// thrown.
bool ConvertOrderHeader(OrderRun& run, const FieldSource& iFields, Recordset& headers,
                        std::int16_t NewOrderStatus, const OrderTotals& totals, Savepoint* order);
/// The block of an order whose line `line` failed after its product lookup.
void WriteProductFailure(OrderRun& run, const FieldSource& line, const RuntimeError& error);
/// The block of an order whose header `iFields` failed after its columns were copied.
void WriteCurrencyFailure(OrderRun& run, const FieldSource& iFields, const RuntimeError& error);

/// The text a value adds to a log line: nothing for Null, its text otherwise.
std::string LogText(const Variant& value);
/// "Order '<id>'", then `what` and the error's description, each after six blanks. Notes
/// an error that ends the migration (errors::MigrationEnd) after this order.
void WriteFailureBlock(OrderRun& run, const std::string& orderId, const std::string& what,
                       const RuntimeError& error);

}  // namespace mv::orders
