// Writes stored baskets into a 2.2 ORDERLIST the way the shop stored them, for the
// sample-data tool and tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/odbc/connection.h"

namespace mv {

/// One ORDERLIST row: the basket's key and its marshalled order form (EncodeOrderForm, or
/// any bytes at all to store a damaged one).
struct OrderListRow {
  std::string orderId;
  std::vector<std::uint8_t> marshalledOrder;
};

/// Adds `rows` to ORDERLIST of `source` through one batch. Throws RuntimeError when a row is
/// refused; the rows before it stay written unless the caller's transaction rolls back.
void AppendOrderListRows(Connection& source, const std::vector<OrderListRow>& rows);

}  // namespace mv
