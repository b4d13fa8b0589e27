#include "converters/converter_factory.h"

#include "converters/baskets/convert_baskets.h"
#include "converters/copydata/copy_data.h"
#include "converters/orders/convert_orders.h"
#include "converters/parameters/convert_parameters.h"

namespace mv {

ConverterFactory MakeConverterFactory(ConverterOptions options) {
  return [options](Migration migration) -> std::unique_ptr<Converter> {
    switch (migration) {
      case Migration::Baskets:
        return std::make_unique<ConvertBaskets>();
      case Migration::SubmittedOrders:
        return std::make_unique<ConvertOrders>();
      case Migration::Parameters:
        return std::make_unique<ConvertParameters>();
      case Migration::CopyData:
        return std::make_unique<CopyData>(options.resumeCopy);
    }
    return nullptr;
  };
}

}  // namespace mv
