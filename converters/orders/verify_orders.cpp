// VerifyOrders: the source's orders read as one stream, each group with its lines in one query,
// each order converted by the order migration's own steps with its rows left pending in
// recordsets that are never written, and compared with the target's rows of that group.
#include "converters/orders/verify_orders.h"

#include <algorithm>
#include <cctype>

#include "converters/orders/order_steps.h"
#include "driver/convert_functions.h"
#include "driver/group_size.h"
#include "driver/unit_verification.h"
#include "platform/business/remembered_lookups.h"
#include "platform/odbc/row_reader.h"

namespace mv {
namespace {

using orders::OrderOutcome;

/// The columns of `rows` as the migration names them, whatever letter case the engine gives.
std::vector<std::string> ColumnNames(const Recordset& rows) {
  std::vector<std::string> names = rows.FieldNames();
  for (std::string& name : names) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  }
  return names;
}

/// The values of the current row of `rows`, in the order of its field names.
std::vector<Variant> RowValues(const Recordset& rows, const std::vector<std::string>& columns) {
  std::vector<Variant> values;
  for (const std::string& column : columns) values.push_back(rows.Field(column));
  return values;
}

/// What the migration writes for `order`, its rows taken from the pending rows of `targets`,
/// which are dropped again.
WrittenUnit PendingUnit(const std::string& id, orders::OrderTargets& targets,
                        const VerifiedTable& headers, const VerifiedTable& lines) {
  WrittenUnit unit{id, {}, {}};
  targets.headers->MoveFirst();
  unit.header = RowValues(*targets.headers, headers.columns);
  for (targets.lines->MoveFirst(); !targets.lines->Eof(); targets.lines->MoveNext()) {
    unit.lines.push_back(RowValues(*targets.lines, lines.columns));
  }
  return unit;
}

/// Converts `order` with the migration's steps, nothing written, and counts what cannot be
/// compared: its refusal, or its failure as unreadable. Answers whether its rows are pending.
bool ConvertPending(orders::OrderRun& run, const FieldRow& order,
                    const std::unordered_map<std::string, orders::OrderLines>& lines,
                    orders::OrderTargets& targets, VerificationAccount& account) {
  run.log.Hold();
  const orders::OrderAccount converted = orders::ConvertOrder(
      run, order, orders::LinesOf(lines, order), targets, orders::RowWriting::AtGroupEnd);
  run.log.DropHeld();
  if (run.Ended()) {
    // The ending block's last line is the error's description, indented.
    const std::string& description = run.endingBlock.back();
    throw RuntimeError(0, description.substr(description.find_first_not_of(' ')));
  }
  const std::string id = order.Field("ORDERID").IsNull() ? "" : order.Field("ORDERID").ToText();
  switch (converted.outcome) {
    case OrderOutcome::Converted:
      return true;
    case OrderOutcome::Refused:
      account.Find({converted.refusal, id, ""});
      break;
    case OrderOutcome::AlreadyConverted:  // the verification asks no target what it holds
    case OrderOutcome::Failed:
      account.Find({kVerifiedUnreadable, id, "its conversion fails; a run's log tells why"});
      break;
  }
  return false;
}

}  // namespace

void VerifyOrders(const ConnectionValues& values, TextWriter& log, RunProgress& progress,
                  VerificationAccount& account) {
  orders::OrderRun run(log);
  run.sourceConnection =
      OpenSourceConnection(values.SDBServer, values.SUser, values.SPassword, values.SDB);
  run.targetConnection =
      OpenConnection(values.TDBServer, values.TUser, values.TPassword, values.TDB);
  run.targetConnection->AskReadOnly();
  Connection& target = *run.targetConnection;
  const long total =
      run.sourceConnection->QueryValue("select count(*) as orders from orderheader").ToLong();
  // The rows a conversion leaves pending here are never written: the recordsets hold none of
  // the target's rows, only their columns.
  orders::OrderTargets targets{OpenRecordset(target, "select * from orderheader where 1 = 0"),
                               OpenRecordset(target, "select * from orderline where 1 = 0")};
  run.services = RememberLookups(OpenBusinessServices(target));
  const VerifiedTable headers{"orderheader", "ORDERID", ColumnNames(*targets.headers), ""};
  const VerifiedTable lines{"orderline", "ORDERID", ColumnNames(*targets.lines), "LINENR"};
  UnitVerification verification(target, headers, lines, account);

  const int groupSize = GroupSize();
  {
    // The headers stream on a connection of their own, while each group's lines are read.
    const auto headerSource =
        OpenSourceConnection(values.SDBServer, values.SUser, values.SPassword, values.SDB);
    RowReader orders(*headerSource, "select * from orderheader");
    long read = 0;
    for (bool more = true; more && !progress.StopRequested();) {
      std::vector<FieldRow> group;
      while (static_cast<int>(group.size()) < groupSize && (more = orders.Next())) {
        group.push_back(orders.Row());
      }
      if (group.empty()) break;
      const auto groupLines = orders::LinesOfOrders(run, group);
      std::vector<WrittenUnit> units;
      for (const FieldRow& order : group) {
        if (ConvertPending(run, order, groupLines, targets, account)) {
          units.push_back(PendingUnit(order.Field("ORDERID").ToText(), targets, headers, lines));
        }
        targets.headers->CancelBatch();
        targets.lines->CancelBatch();
      }
      verification.VerifyGroup(units);
      read += static_cast<long>(group.size());
      progress.Report(account.Migration(), read, total, "orders");
    }
  }
  FindExtraUnits(target, "orderheader", "ORDERID", *run.sourceConnection, "orderheader", "ORDERID",
                 groupSize, account, [&progress] { return progress.StopRequested(); });
}

}  // namespace mv
