// OpenOrderFormStorage: the order-form storage of a 2.2 source database, for the basket
// migration and the dump.
#pragma once

#include <memory>
#include <string>

#include "platform/orderform/order_form_storage.h"
#include "platform/text_file.h"

namespace mv {

/// The storage of the source's ORDERLIST, initialised with the source's connection string,
/// "ORDERLIST", "ORDER_ID", "Commerce.OrderForm", "MARSHALLED_ORDER" and "". When it cannot be
/// created or initialised (the database cannot be reached, or ORDERLIST lacks ORDER_ID or
/// MARSHALLED_ORDER), writes the four lines naming the components to register to `stream`
/// and answers null; the caller then fails at its first load. Errors writing to `stream`
/// reach the caller.
std::unique_ptr<OrderFormStorage> OpenOrderFormStorage(const std::string& SDBServer,
                                                       const std::string& SUser,
                                                       const std::string& SPassword,
                                                       const std::string& SDB, TextWriter& stream);

}  // namespace mv
