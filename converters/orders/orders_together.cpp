// One group of ConvertOrders as UnitGroups writes it: the quick way with no savepoint per order
// and the rows of all its orders written together at its end, or the careful way order by
// order.
#include <algorithm>

#include "converters/orders/convert_orders.h"
#include "platform/runtime_error.h"

namespace mv {

using orders::ConvertOrder;
using orders::ForgetWrittenRows;
using orders::LinesOf;
using orders::RowWriting;
using orders::WriteCurrencyFailure;
using orders::WriteProductFailure;

ConvertOrders::OrderGroup::OrderGroup(ConvertOrders& converter, OrderRun& run,
                                      const std::vector<FieldRow>& orders,
                                      const std::unordered_map<std::string, OrderLines>& lines,
                                      OrderTargets& targets, OrderCounts& counts)
    : converter_(converter),
      run_(run),
      orders_(orders),
      lines_(lines),
      targets_(targets),
      counts_(counts) {}

TogetherOutcome ConvertOrders::OrderGroup::WriteTogether() {
  for (const FieldRow& order : orders_) {
    accounts_.push_back(
        ConvertOrder(run_, order, LinesOf(lines_, order), targets_, RowWriting::AtGroupEnd));
    if (accounts_.back().outcome == OrderOutcome::Failed) break;
  }
  // The careful way would meet the same end on the same order: nothing to convert again.
  if (run_.Ended()) {
    CountTogether();
    return TogetherOutcome::Ended;
  }
  if (accounts_.back().outcome == OrderOutcome::Failed) return TogetherOutcome::UnitFailed;
  targets_.lines->UpdateBatch();
  targets_.headers->UpdateBatch();
  return TogetherOutcome::Written;
}

void ConvertOrders::OrderGroup::CountTogether() {
  ForgetWrittenRows(targets_);
  for (const OrderAccount& account : accounts_) converter_.CountOrder(account, counts_, converted_);
}

void ConvertOrders::OrderGroup::ForgetTogether() {
  targets_.headers->CancelBatch();
  targets_.lines->CancelBatch();
  for (size_t i = 0; i < accounts_.size(); ++i) {
    if (accounts_[i].outcome == OrderOutcome::Converted) {
      run_.convertedOrderIds.erase(orders_[i].Field("ORDERID").ToText());
    }
  }
  accounts_.clear();
}

void ConvertOrders::OrderGroup::WriteOneByOne() {
  for (const FieldRow& order : orders_) {
    converter_.CountOrder(
        ConvertOrder(run_, order, LinesOf(lines_, order), targets_, RowWriting::EachOrder), counts_,
        converted_);
    if (run_.Ended()) break;
  }
}

void ConvertOrders::OrderGroup::EndAfterFailedWrite(const RuntimeError& error) {
  // The lines go out before the headers: rows still pending there failed first.
  const bool linesFailed = targets_.lines->PendingCount() > 0;
  const auto rowsOf = [&](size_t i) {
    return linesFailed ? LinesOf(lines_, orders_[i]).size() : size_t{1};
  };
  size_t total = 0;
  for (size_t i = 0; i < accounts_.size(); ++i) {
    if (accounts_[i].outcome == OrderOutcome::Converted) total += rowsOf(i);
  }
  const size_t written = total - (linesFailed ? targets_.lines : targets_.headers)->PendingCount();
  // The order whose rows were the first not written (the last converted one when all were)
  // fails with `error`; the others count as they were converted, for the caller to count the
  // group's converted orders as rolled back with it.
  size_t rows = 0;
  bool blamed = false;
  for (size_t i = 0; i < accounts_.size(); ++i) {
    if (!blamed && accounts_[i].outcome == OrderOutcome::Converted) {
      rows += rowsOf(i);
      if (rows > written || rows == total) {
        if (linesFailed) {
          WriteProductFailure(run_, LinesOf(lines_, orders_[i]).back(), error);
        } else {
          WriteCurrencyFailure(run_, orders_[i], error);
        }
        converter_.CountOrder({OrderOutcome::Failed, {}}, counts_, converted_);
        blamed = true;
        continue;
      }
    }
    converter_.CountOrder(accounts_[i], counts_, converted_);
  }
}

}  // namespace mv
