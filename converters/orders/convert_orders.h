// ConvertOrders: the submitted 2.2 orders into the 2.3 order tables, each behind a status gate,
// each order written whole (its lines and its header) or not at all.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "driver/converter.h"
#include "driver/unit_groups.h"
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
  /// Orders are written in groups (many in one transaction) and logged once their group is
  /// committed: a group's rows go out together at its end, and a group where an order fails is
  /// undone and converted again order by order, each order in a savepoint of its own. When an order
  /// fails because a connection is lost, its group is rolled back (a rerun converts it), and the
  /// run logs that order's block and ends with the count lines and false, without trying the
  /// remaining orders.
  bool ConvertSubmittedOrders(const ConnectionValues& values, TextWriter& i_oLogFile);

  /// Deletes the target lines of the order whose ORDERID `iFields` holds, on the target
  /// connection of the running call. Throws RuntimeError 91 outside a call and the database's
  /// error when the delete fails.
  void RemoveOrderlines(const FieldSource& iFields);

 private:
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

  /// What one call works with: its connections, services and log, the orders it has seen, and
  /// whether an order failed because a connection was lost.
  struct OrderRun {
    explicit OrderRun(TextWriter& runLog) : log(runLog) {}
    TextWriter& log;
    std::unique_ptr<Connection> sourceConnection;
    std::unique_ptr<Connection> targetConnection;
    BusinessServices services;
    /// The ids of the orders the target holds, read once per call and grown by each conversion.
    std::unordered_set<std::string> convertedOrderIds;
    bool connectionLost = false;
    std::vector<std::string> lostConnectionBlock;  // the log block of the order that lost it
  };
  /// The target recordsets new rows are appended to.
  struct OrderTargets {
    std::unique_ptr<Recordset> headers;
    std::unique_ptr<Recordset> lines;
  };
  struct OrderCounts {
    std::int32_t ConvertedCount = 0;
    std::int32_t RefusedCount = 0;
    bool succeeded = true;
  };

  /// Opens the connections and recordsets, converts every order and writes the count lines.
  bool ConvertAllOrders(OrderRun& run, const ConnectionValues& values);
  /// The next `count` source headers at most; none after the last.
  static std::vector<FieldRow> NextOrders(RowReader& orders, int count);
  /// Converts one group in one transaction and commits it. False when the run must end: a
  /// connection was lost (the group is rolled back) or the commit failed (logged).
  bool ConvertGroup(OrderRun& run, const std::vector<FieldRow>& group, UnitGroups& groups,
                    OrderTargets& targets, OrderCounts& counts);
  /// One group of orders as UnitGroups writes it (GroupWrite): the quick way leaves the rows
  /// of its orders pending and writes them together; the careful way writes each order under
  /// a savepoint of its own and stops after an order that lost a connection. After a write
  /// that lost the connection, or ran out of time, or that a stop cancelled, the block of the
  /// order whose rows were the first not written tells why, and the group's other converted
  /// orders count as rolled back with it.
  class OrderGroup : public GroupWrite {
   public:
    OrderGroup(ConvertOrders& converter, OrderRun& run, const std::vector<FieldRow>& orders,
               const std::unordered_map<std::string, OrderLines>& lines, OrderTargets& targets,
               OrderCounts& counts);
    TogetherOutcome WriteTogether() override;
    void CountTogether() override;
    void ForgetTogether() override;
    void WriteOneByOne() override;
    void EndAfterFailedWrite(const RuntimeError& error) override;
    /// The orders of the group converted so far.
    std::int32_t Converted() const { return converted_; }

   private:
    ConvertOrders& converter_;
    OrderRun& run_;
    const std::vector<FieldRow>& orders_;
    const std::unordered_map<std::string, OrderLines>& lines_;
    OrderTargets& targets_;
    OrderCounts& counts_;
    std::vector<OrderAccount> accounts_;  // of the quick way
    std::int32_t converted_ = 0;
  };

  /// Counts one order into `counts` and the rehearsal's summary, and a converted one into
  /// `convertedInGroup`.
  void CountOrder(const OrderAccount& account, OrderCounts& counts, std::int32_t& convertedInGroup);
  /// The source lines of `order` in `groupLines`; none when it has none.
  static const OrderLines& LinesOf(const std::unordered_map<std::string, OrderLines>& groupLines,
                                   const FieldSource& order);
  /// Drops the rows the recordsets have written.
  static void ForgetWrittenRows(OrderTargets& targets);
  /// Logs the stop, if one came, and the two count lines; answers the run's result.
  bool WriteCountLines(OrderRun& run, OrderCounts& counts);
  /// The source lines of the orders of `group` not yet converted, by ORDERID, in one query.
  static std::unordered_map<std::string, OrderLines> LinesOfOrders(
      OrderRun& run, const std::vector<FieldRow>& group);
  /// One order with its source lines: gate, then lines and header, written under one
  /// savepoint or left pending as `writing` says. Failures that the steps do not report
  /// themselves are logged here as a three-line block; a failed order leaves no row in the
  /// target and none pending in `targets` (nor those other orders left pending).
  static OrderAccount ConvertOrder(OrderRun& run, const FieldSource& orders,
                                   const OrderLines& orderLines, OrderTargets& targets,
                                   RowWriting writing);

  // Status gate.
  static bool IsOrderConverted(OrderRun& run, const std::string& orderId);
  static bool CheckOrderStatus(const FieldSource& iFields, const OrderLines& lines,
                               OrderStatus& status);
  /// Null gives 0; any other value its 16-bit conversion (which throws 6 or 13).
  static std::int16_t NullToZero(const Variant& value);
  static void WriteConflictWarning(TextWriter& log);

  /// Appends the order's lines, writes them under `order` (unless null: they stay pending)
  /// and adds to `totals`. False after logging the product-data block when a lookup or a
  /// later step fails; failures of the first line before its product lookup are thrown.
  static bool ConvertOrderLines(OrderRun& run, const FieldSource& iFields,
                                const OrderLines& orderLines, Recordset& lines,
                                std::int16_t NewLineStatus, OrderTotals& totals,
                                const Savepoint* order);
  /// Appends the order's header, writes it and keeps `order` (unless null: it stays
  /// pending), and logs "is converted.". False after logging the currency-data block when a
  /// lookup, the write or keeping the order fails; failures while copying the columns are
  /// thrown.
  static bool ConvertOrderHeader(OrderRun& run, const FieldSource& iFields, Recordset& headers,
                                 std::int16_t NewOrderStatus, const OrderTotals& totals,
                                 Savepoint* order);
  /// The block of an order whose line `line` failed after its product lookup.
  static void WriteProductFailure(OrderRun& run, const FieldSource& line,
                                  const RuntimeError& error);
  /// The block of an order whose header `iFields` failed after its columns were copied.
  static void WriteCurrencyFailure(OrderRun& run, const FieldSource& iFields,
                                   const RuntimeError& error);

  /// The text a value adds to a log line: nothing for Null, its text otherwise.
  static std::string LogText(const Variant& value);
  /// "Order '<id>'", then `what` and the error's description, each after six blanks. Notes
  /// an error that lost its connection, which ends the run after this order.
  static void WriteFailureBlock(OrderRun& run, const std::string& orderId, const std::string& what,
                                const RuntimeError& error);

  BusinessServicesFactory servicesFactory_;
  /// The running call, for RemoveOrderlines; null between calls.
  OrderRun* running_ = nullptr;
};

}  // namespace mv
