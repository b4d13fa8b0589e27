// ConvertOrders: the submitted 2.2 orders into the 2.3 order tables, each behind a status gate,
// each order written whole (its lines and its header) or not at all.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "driver/converter.h"
#include "platform/business/business_services.h"
#include "platform/decimal_number.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/recordset.h"
#include "platform/odbc/row_reader.h"
#include "platform/runtime_error.h"

namespace mv {

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

class ConvertOrders : public Converter {
 public:
  /// Uses the installation's business services over the target database.
  ConvertOrders();
  /// Uses the services that `services` builds over the target connection of each call.
  explicit ConvertOrders(BusinessServicesFactory services);

  /// Runs ConvertSubmittedOrders.
  bool Convert(const ConnectionValues& values, TextWriter& log) override;

  /// Converts every source order that is not yet in the target and that the status gate
  /// accepts, logs one account per order and the two count lines. False when an order failed
  /// (nothing of it is written) or the databases could not be opened; refused and already
  /// converted orders do not make it false. Database and data failures are logged, not thrown.
  /// Orders are written in groups (each order in a savepoint, many in one transaction) and
  /// logged once their group is committed. When an order fails because a connection is lost,
  /// its group is rolled back (a rerun converts it), and the run logs that order's block and
  /// ends with the count lines and false, without trying the remaining orders.
  bool ConvertSubmittedOrders(const ConnectionValues& values, TextWriter& i_oLogFile);

  /// Deletes the target lines of the order whose ORDERID `iFields` holds, on the target
  /// connection of the running call. Throws RuntimeError 91 outside a call and the database's
  /// error when the delete fails.
  void RemoveOrderlines(const FieldSource& iFields);

 private:
  enum class OrderOutcome { AlreadyConverted, Refused, Converted, Failed };
  /// The source lines of one order, in the order the source gives them.
  using OrderLines = std::vector<FieldRow>;

  /// Opens the connections and recordsets, converts every order and writes the count lines.
  bool ConvertAllOrders(const ConnectionValues& values);
  /// The next `count` source headers at most; none after the last.
  static std::vector<FieldRow> NextOrders(RowReader& orders, int count);
  /// The source lines of the orders of `group` not yet converted, by ORDERID, in one query.
  std::unordered_map<std::string, OrderLines> LinesOfOrders(const std::vector<FieldRow>& group);
  /// One order with its source lines: gate, then lines and header under one savepoint.
  /// Failures that the steps do not report themselves are logged here as a three-line block;
  /// a failed order leaves no row in the target and none pending in `headers` or `lines`.
  OrderOutcome ConvertOrder(const FieldSource& orders, const OrderLines& orderLines,
                            Recordset& headers, Recordset& lines);

  // Status gate.
  bool IsOrderConverted(const std::string& orderId);
  bool CheckOrderStatus(const FieldSource& iFields, const OrderLines& lines, OrderStatus& status);
  static bool EvaluateStatusRules(const std::string& orderId, std::int16_t orderStatus,
                                  std::int16_t headerBillingStatus, bool allocated, bool authorized,
                                  bool billed, std::int16_t lineBillingStatus,
                                  std::int16_t webPaymentMethod, std::int16_t& lineOrderStatus,
                                  std::int16_t& lineLineStatus, std::string& orderMessage);
  /// Null gives 0; any other value its 16-bit conversion (which throws 6 or 13).
  static std::int16_t NullToZero(const Variant& value);
  void WriteConflictWarning();

  /// Appends and writes the order's lines and adds to `totals`. False after logging the
  /// product-data block when a lookup or a later step fails; failures of the first line
  /// before its product lookup are thrown.
  bool ConvertOrderLines(const FieldSource& iFields, const OrderLines& orderLines, Recordset& lines,
                         std::int16_t NewLineStatus, OrderTotals& totals);
  /// Appends and writes the order's header, keeps `order` and logs "is converted.". False
  /// after logging the currency-data block when a lookup, the write or keeping the order
  /// fails; failures while copying the columns are thrown.
  bool ConvertOrderHeader(const FieldSource& iFields, Recordset& headers,
                          std::int16_t NewOrderStatus, const OrderTotals& totals, Savepoint& order);

  /// The text a value adds to a log line: nothing for Null, its text otherwise.
  static std::string LogText(const Variant& value);
  /// "Order '<id>'", then `what` and the error's description, each after six blanks. Notes
  /// an error that lost its connection, which ends the run after this order.
  void WriteFailureBlock(const std::string& orderId, const std::string& what,
                         const RuntimeError& error);

  BusinessServicesFactory servicesFactory_;
  std::unique_ptr<Connection> sourceConnection_;
  std::unique_ptr<Connection> targetConnection_;
  /// The ids of the orders the target holds, read once per run and grown by each conversion.
  std::unordered_set<std::string> convertedOrderIds_;
  BusinessServices services_;
  TextWriter* log_ = nullptr;
  bool connectionLost_ = false;                   // an order failed because a connection was lost
  std::vector<std::string> lostConnectionBlock_;  // the log block of that order
};

}  // namespace mv
