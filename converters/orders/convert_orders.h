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

#include "converters/orders/order_steps.h"
#include "driver/converter.h"
#include "driver/unit_groups.h"
#include "platform/business/business_services.h"
#include "platform/decimal_number.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/recordset.h"
#include "platform/odbc/row_reader.h"
#include "platform/runtime_error.h"

namespace mv {

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
  using OrderRun = orders::OrderRun;
  using OrderTargets = orders::OrderTargets;
  using OrderLines = orders::OrderLines;
  using OrderAccount = orders::OrderAccount;
  using OrderOutcome = orders::OrderOutcome;
  struct OrderCounts {
    std::int32_t ConvertedCount = 0;
    std::int32_t RefusedCount = 0;
    bool succeeded = true;
  };

  /// Opens the connections and recordsets, converts every order and writes the count lines.
  bool ConvertAllOrders(OrderRun& run, const ConnectionValues& values);
  /// Logs the stop, if one came, and the two count lines; answers the run's result.
  bool WriteCountLines(OrderRun& run, OrderCounts& counts);
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
  BusinessServicesFactory servicesFactory_;
  /// The running call, for RemoveOrderlines; null between calls.
  OrderRun* running_ = nullptr;
};

}  // namespace mv
