// The order migration's run: the orders read in groups with their lines, each group written
// through UnitGroups and committed, the counts in the log; and the steps of one order.
#include "converters/orders/convert_orders.h"

#include <utility>

#include "driver/bound_ids.h"
#include "driver/convert_functions.h"
#include "driver/converted_ids.h"
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

/// The next `count` source headers at most; none after the last.
std::vector<FieldRow> NextOrders(RowReader& orders, int count) {
  std::vector<FieldRow> group;
  while (static_cast<int>(group.size()) < count && orders.Next()) group.push_back(orders.Row());
  return group;
}

/// The column that hands back, with each source line, the header id the server matched it to.
constexpr const char* kMatchedOrderId = "MATCHED_ORDERID";

/// The source lines of the headers whose ids `count` parameters give, each line with the id of
/// the header it belongs to. The matched id has a name of its own: the line's own columns keep
/// their names and their positions.
std::string LinesQuery(std::size_t count) {
  return std::string("select orderline.*, orderheader.ORDERID as ") + kMatchedOrderId +
         " from orderline join orderheader on orderheader.ORDERID = orderline.ORDERID"
         " where orderheader.ORDERID in (" +
         ParameterMarkers(count) + ")";
}

}  // namespace

ConvertOrders::ConvertOrders() : ConvertOrders(OpenBusinessServices) {}

ConvertOrders::ConvertOrders(BusinessServicesFactory services)
    : servicesFactory_(std::move(services)) {}

bool ConvertOrders::Convert(const ConnectionValues& values, TextWriter& log) {
  return ConvertSubmittedOrders(values, log);
}

bool ConvertOrders::ConvertSubmittedOrders(const ConnectionValues& values, TextWriter& i_oLogFile) {
  OrderRun run(i_oLogFile);
  running_ = &run;
  // RemoveOrderlines reaches this call's target connection only while the call runs.
  const struct EndOfCall {
    OrderRun*& running;
    ~EndOfCall() { running = nullptr; }
  } endOfCall{running_};
  bool succeeded = false;
  TallyConverted(0);  // heads the migration's summary
  try {
    succeeded = ConvertAllOrders(run, values);
  } catch (const RuntimeError& error) {
    Tally("errors");
    try {
      run.log.WriteLine("The submitted orders could not be converted.");
      run.log.WriteLine(kIndent + error.Description());
    } catch (const RuntimeError&) {
      // The log itself failed; the result still tells the run.
    }
  }
  return succeeded;
}

bool ConvertOrders::ConvertAllOrders(OrderRun& run, const ConnectionValues& values) {
  run.sourceConnection =
      OpenSourceConnection(values.SDBServer, values.SUser, values.SPassword, values.SDB);
  run.targetConnection =
      OpenConnection(values.TDBServer, values.TUser, values.TPassword, values.TDB);
  run.log.WriteLine(TargetDialectLine(*run.targetConnection));
  const long total =
      OpenRecordset(*run.sourceConnection, "select count(*) as orders from orderheader")
          ->Field("orders")
          .ToLong();
  // The headers stream while each group's lines are read from the source: on a connection of
  // their own, since SQL Server takes no other statement on a connection with an unread result.
  const auto headerSource =
      OpenSourceConnection(values.SDBServer, values.SUser, values.SPassword, values.SDB);
  RowReader orders(*headerSource, "select * from orderheader");
  OrderTargets targets{OpenRecordset(*run.targetConnection, "select top 1 * from orderheader"),
                       OpenRecordset(*run.targetConnection, "select top 1 * from orderline")};
  run.services = RememberLookups(servicesFactory_(*run.targetConnection));
  run.convertedOrderIds =
      ConvertedIds(*run.targetConnection, "orderheader", "orderid", 2 * GroupSize(), Rehearsing());

  OrderCounts counts;
  const int groupSize = GroupSize();
  UnitGroups groups(*run.targetConnection, run.log, groupSize, Rehearsing(), "orders");
  long read = 0;
  // A group of orders is read with all its lines in one query, written in one transaction,
  // and logged once committed.
  for (std::vector<FieldRow> group = NextOrders(orders, groupSize);
       !group.empty() && !run.Ended() && !StopRequested(); group = NextOrders(orders, groupSize)) {
    if (!ConvertGroup(run, group, groups, targets, counts)) break;
    read += static_cast<long>(group.size());
    ReportProgress(read, total, "orders");
  }
  return WriteCountLines(run, counts);
}

bool ConvertOrders::ConvertGroup(OrderRun& run, const std::vector<FieldRow>& group,
                                 UnitGroups& groups, OrderTargets& targets, OrderCounts& counts) {
  const auto groupLines = orders::LinesOfOrders(run, group);
  // Most groups hold no failing order: their rows go out together, many to an insert. A group
  // where an order fails is converted again the careful way, so that only that order is lost.
  OrderGroup write(*this, run, group, groupLines, targets, counts);
  const bool kept =
      groups.Write(write, [this](const RuntimeError& error) { return EndsTheMigration(error); });
  const std::int32_t convertedInGroup = write.Converted();
  if (!kept || run.Ended()) {
    // The group cannot be committed: its orders are rolled back, for a rerun to convert,
    // and the log keeps only the block that tells why.
    groups.Abandon();
    counts.RefusedCount += convertedInGroup;
    for (const std::string& line : run.endingBlock) run.log.WriteLine(line);
    return false;
  }
  bool committed = false;
  try {
    // Counted once committed, before the group's log lines: a log that cannot be written
    // loses no count of what the target holds.
    groups.Commit([&] {
      committed = true;
      counts.ConvertedCount += convertedInGroup;
      TallyConverted(convertedInGroup);
    });
    return true;
  } catch (const RuntimeError& error) {
    if (committed) throw;  // the log failed, not the commit
    // The server may have kept the group's orders or not (a commit without an answer): their
    // lines are not logged, the log says so, and a rerun converts those not in the target.
    counts.RefusedCount += convertedInGroup;
    counts.succeeded = false;
    Tally("errors");
    WriteFailureBlock(run, group.back().Field("ORDERID").ToText(),
                      "An error occurred while committing the orders from '" +
                          group.front().Field("ORDERID").ToText() + "' to '" +
                          group.back().Field("ORDERID").ToText() + "'.",
                      error);
    run.log.WriteLine(UnknownOutcomeLine("orders", group.front().Field("ORDERID").ToText(),
                                         group.back().Field("ORDERID").ToText()));
    return false;
  }
}

void ConvertOrders::CountOrder(const OrderAccount& account, OrderCounts& counts,
                               std::int32_t& convertedInGroup) {
  switch (account.outcome) {
    case OrderOutcome::AlreadyConverted:
      Tally("refused: already converted");
      break;
    case OrderOutcome::Refused:
      ++counts.RefusedCount;
      Tally(account.refusal);
      break;
    case OrderOutcome::Converted:
      ++convertedInGroup;
      break;
    case OrderOutcome::Failed:
      ++counts.RefusedCount;
      counts.succeeded = false;
      Tally("errors");
      break;
  }
}

bool ConvertOrders::WriteCountLines(OrderRun& run, OrderCounts& counts) {
  if (StopRequested()) {
    run.log.WriteLine(kStoppedByOperator);
    counts.succeeded = false;
  }
  run.log.WriteLine(std::to_string(counts.ConvertedCount) + " order were converted.");
  run.log.WriteLine(std::to_string(counts.RefusedCount) + " order were NOT converted.");
  return counts.succeeded;
}

void ConvertOrders::RemoveOrderlines(const FieldSource& iFields) {
  if (!running_ || !running_->targetConnection) {
    throw errors::ObjectNotSet();
  }
  running_->targetConnection->Execute("delete from orderline where orderid = " +
                                      QuotedLiteral(iFields.Field("ORDERID").ToText()));
}

namespace orders {

std::unordered_map<std::string, OrderLines> LinesOfOrders(OrderRun& run,
                                                          const std::vector<FieldRow>& group) {
  std::vector<std::string> groupIds;
  for (const FieldRow& order : group) {
    if (!order.Field("ORDERID").IsNull()) groupIds.push_back(order.Field("ORDERID").ToText());
  }
  run.convertedOrderIds.AskTargetAbout(groupIds);
  std::erase_if(groupIds,
                [&run](const std::string& id) { return run.convertedOrderIds.contains(id); });
  std::unordered_map<std::string, OrderLines> lines;
  if (groupIds.empty()) return lines;
  const ResultColumns& headerColumns = group.front().Columns();
  ForEachIdSlice(
      *run.sourceConnection, groupIds, headerColumns.All().at(headerColumns.Index("ORDERID")),
      [&](const std::vector<QueryParameter>& slice) {
        for (RowReader rows(*run.sourceConnection, LinesQuery(slice.size()), slice); rows.Next();) {
          lines[rows.Row().Field(kMatchedOrderId).ToText()].push_back(rows.Row());
        }
      });
  return lines;
}

const OrderLines& LinesOf(const std::unordered_map<std::string, OrderLines>& groupLines,
                          const FieldSource& order) {
  static const OrderLines none;
  const auto found = groupLines.find(
      order.Field("ORDERID").IsNull() ? std::string() : order.Field("ORDERID").ToText());
  return found == groupLines.end() ? none : found->second;
}

OrderAccount ConvertOrder(OrderRun& run, const FieldSource& orders, const OrderLines& orderLines,
                          OrderTargets& targets, RowWriting writing) {
  Recordset& headers = *targets.headers;
  Recordset& lines = *targets.lines;
  std::string orderId;
  std::string step = "reading the order";
  OrderStatus status;
  OrderAccount account;
  try {
    orderId = orders.Field("ORDERID").ToText();
    step = "looking for the order in the target";
    if (IsOrderConverted(run, orderId)) return {OrderOutcome::AlreadyConverted, {}};
    step = "checking the order status";
    if (!CheckOrderStatus(orders, orderLines, status)) {
      run.log.WriteLine(status.orderMessage);
      return {OrderOutcome::Refused, "refused: " + RefusalReason(status.orderMessage, orderId)};
    }
    step = "converting the order lines";
    OrderTotals totals;
    std::optional<Savepoint> order;
    if (writing == RowWriting::EachOrder) order.emplace(*run.targetConnection);
    Savepoint* const writeUnder = order ? &*order : nullptr;
    bool converted =
        ConvertOrderLines(run, orders, orderLines, lines, status.NewLineStatus, totals, writeUnder);
    if (converted) {
      step = "converting the order header";
      converted =
          ConvertOrderHeader(run, orders, headers, status.NewOrderStatus, totals, writeUnder);
    }
    if (converted) {
      account.outcome = OrderOutcome::Converted;
      run.convertedOrderIds.insert(orderId);
    } else {
      // The savepoint rolls the written lines back; rows still pending must not be sent with
      // the next order's batch. Written at the group's end, the group is undone anyway.
      headers.CancelBatch();
      lines.CancelBatch();
    }
  } catch (const RuntimeError& error) {
    headers.CancelBatch();
    lines.CancelBatch();
    WriteFailureBlock(run, orderId, "An error occurred while " + step + ".", error);
  }
  if (writing == RowWriting::EachOrder) ForgetWrittenRows(targets);
  if (status.ConflictingLines) WriteConflictWarning(run.log);
  return account;
}

void ForgetWrittenRows(OrderTargets& targets) {
  // The written rows are in the database (or rolled back): the recordsets keep none of them.
  targets.headers->ForgetWrittenRows();
  targets.lines->ForgetWrittenRows();
}

std::string LogText(const Variant& value) {
  return value.IsNull() ? std::string() : value.ToText();
}

void WriteFailureBlock(OrderRun& run, const std::string& orderId, const std::string& what,
                       const RuntimeError& error) {
  const std::vector<std::string> block{"Order '" + orderId + "'", kIndent + what,
                                       kIndent + error.Description()};
  if (!run.Ended()) {
    run.ended = errors::MigrationEndOf(error);
    if (run.Ended()) run.endingBlock = block;
  }
  for (const std::string& line : block) run.log.WriteLine(line);
}

}  // namespace orders

}  // namespace mv
