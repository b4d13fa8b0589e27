// The contract every migration meets, and the factory through which a run creates them.
#pragma once

#include <functional>
#include <memory>

#include "driver/connection_values.h"
#include "platform/text_file.h"

namespace mv {

/// One migration. A converter lives for one call: it opens and closes its own connections,
/// writes whole lines below the section header that the run has written, never closes the
/// log, and reports every failure in the log and through its result instead of throwing.
class Converter {
 public:
  virtual ~Converter() = default;
  /// True when the migration finished without errors.
  virtual bool Convert(const ConnectionValues& values, TextWriter& log) = 0;
};

/// The four migrations, in the order a run executes them.
enum class Migration { Baskets, SubmittedOrders, Parameters, CopyData };

/// Creates a new converter for a migration.
using ConverterFactory = std::function<std::unique_ptr<Converter>(Migration)>;

}  // namespace mv
