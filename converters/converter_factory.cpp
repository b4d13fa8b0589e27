// The converter of each migration, with the run's tally, rehearsal and resumed copy set on it.
#include "converters/converter_factory.h"

#include "converters/baskets/convert_baskets.h"
#include "converters/copydata/copy_data.h"
#include "converters/orders/convert_orders.h"
#include "converters/parameters/convert_parameters.h"
#include "platform/configuration/xml_configuration.h"

namespace mv {

namespace {

std::unique_ptr<Converter> Create(Migration migration, const ConverterOptions& options) {
  switch (migration) {
    case Migration::Baskets:
      return std::make_unique<ConvertBaskets>();
    case Migration::SubmittedOrders:
      return std::make_unique<ConvertOrders>();
    case Migration::Parameters:
      return std::make_unique<ConvertParameters>(
          [rehearse = options.rehearse] { return CreateConfiguration(rehearse); });
    case Migration::CopyData:
      return std::make_unique<CopyData>(options.resumeCopy);
  }
  return nullptr;
}

}  // namespace

ConverterFactory MakeConverterFactory(ConverterOptions options) {
  return [options](Migration migration) {
    std::unique_ptr<Converter> converter = Create(migration, options);
    if (!converter) return converter;
    if (options.tally) converter->SetTally(*options.tally);
    if (options.rehearse) converter->SetRehearsal();
    return converter;
  };
}

}  // namespace mv
