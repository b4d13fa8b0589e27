// Creates and initialises the order-form storage, reporting a failure in the given stream.
#include "driver/open_order_form_storage.h"

#include <exception>

#include "driver/convert_functions.h"

namespace mv {

std::unique_ptr<OrderFormStorage> OpenOrderFormStorage(const std::string& SDBServer,
                                                       const std::string& SUser,
                                                       const std::string& SPassword,
                                                       const std::string& SDB, TextWriter& stream) {
  try {
    auto storage = std::make_unique<OrderFormStorage>();
    storage->InitStorage(BuildConnectionString(SDBServer, SUser, SPassword, SDB), "ORDERLIST",
                         "ORDER_ID", "Commerce.OrderForm", "MARSHALLED_ORDER", "");
    return storage;
  } catch (const std::exception&) {
    stream.WriteLine(
        "The SiteServer DLLs were not registed. Please check if you registered the required "
        "DLLs.");
    stream.WriteLine(
        "\u00B7   Commerce - MSCSCore Type Library (installed in \"C:\\Microsoft Site "
        "Server\\bin\\MscsCore.dll\")");
    stream.WriteLine(
        "\u00B7   Commerce 1.0 Type Library (installed in \"C:\\Microsoft Site "
        "Server\\bin\\Commerce.dll\")");
    stream.WriteLine("\u00B7   Mscsresource.dll");
    return nullptr;
  }
}

}  // namespace mv
