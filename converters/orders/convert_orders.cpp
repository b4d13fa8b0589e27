#include "converters/orders/convert_orders.h"

#include <utility>

#include "driver/convert_functions.h"
#include "driver/group_size.h"
#include "driver/unit_groups.h"
#include "platform/business/remembered_lookups.h"
#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/utilities/quoted_literal.h"

namespace mv {
namespace {

constexpr const char* kIndent = "      ";

/// A refusal's message without the order id that opens it, so that orders refused for the
/// same reason count together: "order is NewlySubmitted. So this order cannot be converted yet."
std::string RefusalReason(const std::string& message, const std::string& orderId) {
  const std::string lead = "'" + orderId + "'";
  if (message.rfind(lead, 0) == 0) return "order" + message.substr(lead.size());
  return message.empty() ? "no reason given" : message;
}

}  // namespace

ConvertOrders::ConvertOrders() : ConvertOrders(OpenBusinessServices) {}

ConvertOrders::ConvertOrders(BusinessServicesFactory services)
    : servicesFactory_(std::move(services)) {}

bool ConvertOrders::Convert(const ConnectionValues& values, TextWriter& log) {
  return ConvertSubmittedOrders(values, log);
}

bool ConvertOrders::ConvertSubmittedOrders(const ConnectionValues& values, TextWriter& i_oLogFile) {
  log_ = &i_oLogFile;
  connectionLost_ = false;
  lostConnectionBlock_.clear();
  bool succeeded = false;
  Tally("would be converted", 0);  // heads the migration's summary
  try {
    succeeded = ConvertAllOrders(values);
  } catch (const RuntimeError& error) {
    Tally("errors");
    try {
      log_->WriteLine("The submitted orders could not be converted.");
      log_->WriteLine(kIndent + error.Description());
    } catch (const RuntimeError&) {
      // The log itself failed; the result still tells the run.
    }
  }
  services_ = BusinessServices{};
  convertedOrderIds_.clear();
  sourceConnection_.reset();
  targetConnection_.reset();
  log_ = nullptr;
  return succeeded;
}

bool ConvertOrders::ConvertAllOrders(const ConnectionValues& values) {
  sourceConnection_ = OpenConnection(values.SDBServer, values.SUser, values.SPassword, values.SDB);
  targetConnection_ = OpenConnection(values.TDBServer, values.TUser, values.TPassword, values.TDB);
  const long total = OpenRecordset(*sourceConnection_, "select count(*) as orders from orderheader")
                         ->Field("orders")
                         .ToLong();
  RowReader orders(*sourceConnection_, "select * from orderheader");
  const auto headers = OpenRecordset(*targetConnection_, "select top 1 * from orderheader");
  const auto lines = OpenRecordset(*targetConnection_, "select top 1 * from orderline");
  services_ = RememberLookups(servicesFactory_(*targetConnection_));
  for (RowReader converted(*targetConnection_, "select orderid from orderheader");
       converted.Next();) {
    convertedOrderIds_.insert(converted.Row().Field("orderid").ToText());
  }

  std::int32_t ConvertedCount = 0;
  std::int32_t RefusedCount = 0;
  bool succeeded = true;
  const int groupSize = GroupSize();
  UnitGroups groups(*targetConnection_, *log_, groupSize, Rehearsing());
  long read = 0;
  // A group of orders is read with all its lines in one query, written in one transaction
  // (each order in a savepoint of its own), and logged once committed.
  for (std::vector<FieldRow> group = NextOrders(orders, groupSize);
       !group.empty() && !connectionLost_ && !StopRequested();
       group = NextOrders(orders, groupSize)) {
    const auto groupLines = LinesOfOrders(group);
    groups.Open();
    std::int32_t convertedInGroup = 0;
    for (const FieldRow& order : group) {
      const auto found = groupLines.find(
          order.Field("ORDERID").IsNull() ? std::string() : order.Field("ORDERID").ToText());
      switch (ConvertOrder(order, found == groupLines.end() ? OrderLines() : found->second,
                           *headers, *lines)) {
        case OrderOutcome::AlreadyConverted:
          break;
        case OrderOutcome::Refused:
          ++RefusedCount;
          break;
        case OrderOutcome::Converted:
          ++convertedInGroup;
          break;
        case OrderOutcome::Failed:
          ++RefusedCount;
          succeeded = false;
          Tally("errors");
          break;
      }
      // Every further order would fail the same way on a lost connection.
      if (connectionLost_) break;
    }
    if (connectionLost_) {
      // The group cannot be committed: its orders are rolled back, for a rerun to convert,
      // and the log keeps only the block that tells why.
      groups.Abandon();
      RefusedCount += convertedInGroup;
      for (const std::string& line : lostConnectionBlock_) log_->WriteLine(line);
      break;
    }
    try {
      groups.Commit();
      ConvertedCount += convertedInGroup;
    } catch (const RuntimeError& error) {
      // The group's orders are rolled back and their lines are not logged; a rerun converts
      // them.
      RefusedCount += convertedInGroup;
      succeeded = false;
      Tally("errors");
      WriteFailureBlock(group.back().Field("ORDERID").ToText(),
                        "An error occurred while committing the orders from '" +
                            group.front().Field("ORDERID").ToText() + "' to '" +
                            group.back().Field("ORDERID").ToText() + "'.",
                        error);
      break;
    }
    read += static_cast<long>(group.size());
    ReportProgress(read, total, "orders");
  }
  if (StopRequested()) {
    log_->WriteLine(kStoppedByOperator);
    succeeded = false;
  }
  Tally("would be converted", ConvertedCount);
  log_->WriteLine(std::to_string(ConvertedCount) + " order were converted.");
  log_->WriteLine(std::to_string(RefusedCount) + " order were NOT converted.");
  return succeeded;
}

std::vector<FieldRow> ConvertOrders::NextOrders(RowReader& orders, int count) {
  std::vector<FieldRow> group;
  while (static_cast<int>(group.size()) < count && orders.Next()) group.push_back(orders.Row());
  return group;
}

std::unordered_map<std::string, ConvertOrders::OrderLines> ConvertOrders::LinesOfOrders(
    const std::vector<FieldRow>& group) {
  std::string ids;
  for (const FieldRow& order : group) {
    const Variant& id = order.Field("ORDERID");
    if (id.IsNull() || convertedOrderIds_.contains(id.ToText())) continue;
    ids += (ids.empty() ? "" : ", ") + QuotedLiteral(id.ToText());
  }
  std::unordered_map<std::string, OrderLines> lines;
  if (ids.empty()) return lines;
  for (RowReader rows(*sourceConnection_, "select * from orderline where orderid in (" + ids + ")");
       rows.Next();) {
    lines[rows.Row().Field("ORDERID").ToText()].push_back(rows.Row());
  }
  return lines;
}

ConvertOrders::OrderOutcome ConvertOrders::ConvertOrder(const FieldSource& orders,
                                                        const OrderLines& orderLines,
                                                        Recordset& headers, Recordset& lines) {
  std::string orderId;
  std::string step = "reading the order";
  OrderStatus status;
  OrderOutcome outcome = OrderOutcome::Failed;
  try {
    orderId = orders.Field("ORDERID").ToText();
    step = "looking for the order in the target";
    if (IsOrderConverted(orderId)) {
      Tally("refused: already converted");
      return OrderOutcome::AlreadyConverted;
    }
    step = "checking the order status";
    if (!CheckOrderStatus(orders, orderLines, status)) {
      log_->WriteLine(status.orderMessage);
      Tally("refused: " + RefusalReason(status.orderMessage, orderId));
      return OrderOutcome::Refused;
    }
    step = "converting the order lines";
    OrderTotals totals;
    Savepoint order(*targetConnection_);
    bool converted = ConvertOrderLines(orders, orderLines, lines, status.NewLineStatus, totals);
    if (converted) {
      step = "converting the order header";
      converted = ConvertOrderHeader(orders, headers, status.NewOrderStatus, totals, order);
    }
    if (converted) {
      outcome = OrderOutcome::Converted;
      convertedOrderIds_.insert(orderId);
    } else {
      // The savepoint rolls the written lines back; rows still pending must not be sent with
      // the next order's batch.
      headers.CancelBatch();
      lines.CancelBatch();
    }
  } catch (const RuntimeError& error) {
    headers.CancelBatch();
    lines.CancelBatch();
    WriteFailureBlock(orderId, "An error occurred while " + step + ".", error);
  }
  // The written rows are in the database (or rolled back): the recordsets keep none of them.
  headers.ForgetWrittenRows();
  lines.ForgetWrittenRows();
  if (status.ConflictingLines) WriteConflictWarning();
  return outcome;
}

void ConvertOrders::RemoveOrderlines(const FieldSource& iFields) {
  if (!targetConnection_) {
    throw errors::ObjectNotSet();
  }
  targetConnection_->Execute("delete from orderline where orderid = " +
                             QuotedLiteral(iFields.Field("ORDERID").ToText()));
}

std::string ConvertOrders::LogText(const Variant& value) {
  return value.IsNull() ? std::string() : value.ToText();
}

void ConvertOrders::WriteFailureBlock(const std::string& orderId, const std::string& what,
                                      const RuntimeError& error) {
  const std::vector<std::string> block{"Order '" + orderId + "'", kIndent + what,
                                       kIndent + error.Description()};
  if (error.ConnectionLost() && !connectionLost_) {
    connectionLost_ = true;
    lostConnectionBlock_ = block;
  }
  for (const std::string& line : block) log_->WriteLine(line);
}

}  // namespace mv
