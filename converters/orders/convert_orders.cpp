#include "converters/orders/convert_orders.h"

#include <utility>

#include "driver/convert_functions.h"
#include "platform/business/remembered_lookups.h"
#include "platform/runtime_error.h"
#include "platform/utilities/quoted_literal.h"

namespace mv {
namespace {

constexpr const char* kIndent = "      ";

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
  bool succeeded = false;
  try {
    succeeded = ConvertAllOrders(values);
  } catch (const RuntimeError& error) {
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
  const auto orders = OpenRecordset(*sourceConnection_, "select * from orderheader");
  const auto headers = OpenRecordset(*targetConnection_, "select top 1 * from orderheader");
  const auto lines = OpenRecordset(*targetConnection_, "select top 1 * from orderline");
  services_ = RememberLookups(servicesFactory_(*targetConnection_));
  for (const auto converted = OpenRecordset(*targetConnection_, "select orderid from orderheader");
       !converted->Eof(); converted->MoveNext()) {
    convertedOrderIds_.insert(converted->Field("orderid").ToText());
  }

  std::int32_t ConvertedCount = 0;
  std::int32_t RefusedCount = 0;
  bool succeeded = true;
  if (!(orders->Bof() && orders->Eof())) {
    orders->MoveFirst();
    while (!orders->Eof()) {
      switch (ConvertOrder(*orders, *headers, *lines)) {
        case OrderOutcome::AlreadyConverted:
          break;
        case OrderOutcome::Refused:
          ++RefusedCount;
          break;
        case OrderOutcome::Converted:
          ++ConvertedCount;
          break;
        case OrderOutcome::Failed:
          ++RefusedCount;
          succeeded = false;
          break;
      }
      // Every further order would fail the same way on a lost connection.
      if (connectionLost_) break;
      orders->MoveNext();
    }
  }
  log_->WriteLine(std::to_string(ConvertedCount) + " order were converted.");
  log_->WriteLine(std::to_string(RefusedCount) + " order were NOT converted.");
  return succeeded;
}

ConvertOrders::OrderOutcome ConvertOrders::ConvertOrder(const Recordset& orders, Recordset& headers,
                                                        Recordset& lines) {
  std::string orderId;
  std::string step = "reading the order";
  OrderStatus status;
  OrderOutcome outcome = OrderOutcome::Failed;
  try {
    orderId = orders.Field("ORDERID").ToText();
    step = "looking for the order in the target";
    if (IsOrderConverted(orderId)) return OrderOutcome::AlreadyConverted;
    step = "checking the order status";
    if (!CheckOrderStatus(orders, status)) {
      log_->WriteLine(status.orderMessage);
      return OrderOutcome::Refused;
    }
    step = "converting the order lines";
    OrderTotals totals;
    Transaction order(*targetConnection_);
    bool converted = ConvertOrderLines(orders, lines, status.NewLineStatus, totals);
    if (converted) {
      step = "converting the order header";
      converted = ConvertOrderHeader(orders, headers, status.NewOrderStatus, totals, order);
    }
    if (converted) {
      outcome = OrderOutcome::Converted;
      convertedOrderIds_.insert(orderId);
    } else {
      // The transaction rolls the written lines back; rows still pending must not be sent
      // with the next order's batch.
      headers.CancelBatch();
      lines.CancelBatch();
    }
  } catch (const RuntimeError& error) {
    headers.CancelBatch();
    lines.CancelBatch();
    WriteFailureBlock(orderId, "An error occurred while " + step + ".", error);
  }
  if (status.ConflictingLines) WriteConflictWarning();
  return outcome;
}

void ConvertOrders::RemoveOrderlines(const Recordset& iFields) {
  if (!targetConnection_) {
    throw RuntimeError(errors::kObjectNotSet, "Object variable or With block variable not set");
  }
  targetConnection_->Execute("delete from orderline where orderid = " +
                             QuotedLiteral(iFields.Field("ORDERID").ToText()));
}

std::string ConvertOrders::LogText(const Variant& value) {
  return value.IsNull() ? std::string() : value.ToText();
}

void ConvertOrders::WriteFailureBlock(const std::string& orderId, const std::string& what,
                                      const RuntimeError& error) {
  connectionLost_ = connectionLost_ || error.ConnectionLost();
  log_->WriteLine("Order '" + orderId + "'");
  log_->WriteLine(kIndent + what);
  log_->WriteLine(kIndent + error.Description());
}

}  // namespace mv
