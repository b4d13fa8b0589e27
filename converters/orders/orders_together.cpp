// The quick way of ConvertOrders through a group: no savepoint per order, the rows of all its
// orders written together at its end, and the whole group undone when an order fails.
#include <algorithm>

#include "converters/orders/convert_orders.h"
#include "platform/runtime_error.h"

namespace mv {

std::optional<std::int32_t> ConvertOrders::ConvertOrdersTogether(
    OrderRun& run, const std::vector<FieldRow>& group,
    const std::unordered_map<std::string, OrderLines>& groupLines, OrderTargets& targets,
    OrderCounts& counts) {
  std::vector<OrderAccount> accounts;
  try {
    // Undoes what the group wrote when it is left unkept.
    Savepoint together(*run.targetConnection);
    for (const FieldRow& order : group) {
      accounts.push_back(
          ConvertOrder(run, order, LinesOf(groupLines, order), targets, RowWriting::AtGroupEnd));
      if (accounts.back().outcome == OrderOutcome::Failed) break;
    }
    // The careful way would lose its connection on the same order: nothing to convert again.
    if (run.connectionLost) return CountOrders(accounts, counts);
    if (accounts.back().outcome != OrderOutcome::Failed) {
      WriteTogether(targets, together);
      return CountOrders(accounts, counts);
    }
  } catch (const RuntimeError& error) {
    const bool wrote = std::any_of(accounts.begin(), accounts.end(), [](const OrderAccount& a) {
      return a.outcome == OrderOutcome::Converted;
    });
    if ((error.ConnectionLost() || EndsTheMigration(error)) && wrote) {
      return CountUpToLostOrder(run, group, groupLines, accounts, targets, error, counts);
    }
  }
  // The savepoint has undone the target; what the group's orders changed in memory goes too.
  targets.headers->CancelBatch();
  targets.lines->CancelBatch();
  for (size_t i = 0; i < accounts.size(); ++i) {
    if (accounts[i].outcome == OrderOutcome::Converted) {
      run.convertedOrderIds.erase(group[i].Field("ORDERID").ToText());
    }
  }
  return std::nullopt;
}

void ConvertOrders::WriteTogether(OrderTargets& targets, Savepoint& together) {
  targets.lines->UpdateBatch();
  targets.headers->UpdateBatch();
  together.Keep();
  ForgetWrittenRows(targets);
}

std::int32_t ConvertOrders::CountOrders(const std::vector<OrderAccount>& accounts,
                                        OrderCounts& counts) {
  std::int32_t converted = 0;
  for (const OrderAccount& account : accounts) CountOrder(account, counts, converted);
  return converted;
}

std::int32_t ConvertOrders::CountUpToLostOrder(
    OrderRun& run, const std::vector<FieldRow>& group,
    const std::unordered_map<std::string, OrderLines>& groupLines,
    const std::vector<OrderAccount>& accounts, OrderTargets& targets, const RuntimeError& error,
    OrderCounts& counts) {
  // The lines go out before the headers: rows still pending there failed first.
  const bool linesFailed = targets.lines->PendingCount() > 0;
  const auto rowsOf = [&](size_t i) {
    return linesFailed ? LinesOf(groupLines, group[i]).size() : size_t{1};
  };
  size_t total = 0;
  for (size_t i = 0; i < accounts.size(); ++i) {
    if (accounts[i].outcome == OrderOutcome::Converted) total += rowsOf(i);
  }
  const size_t written = total - (linesFailed ? targets.lines : targets.headers)->PendingCount();
  targets.headers->CancelBatch();
  targets.lines->CancelBatch();

  std::int32_t converted = 0;
  size_t rows = 0;
  for (size_t i = 0; i < accounts.size(); ++i) {
    if (accounts[i].outcome == OrderOutcome::Converted) {
      rows += rowsOf(i);
      if (rows > written || rows == total) {
        if (linesFailed) {
          WriteProductFailure(run, LinesOf(groupLines, group[i]).back(), error);
        } else {
          WriteCurrencyFailure(run, group[i], error);
        }
        CountOrder({OrderOutcome::Failed, {}}, counts, converted);
        break;
      }
    }
    CountOrder(accounts[i], counts, converted);
  }
  return converted;
}

}  // namespace mv
