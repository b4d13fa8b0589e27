// DescriptionOf and the log's "Error occured: " line for an error that escaped a migration step.
#include "driver/escaped_error.h"

#include "platform/runtime_error.h"

namespace mv {

std::string DescriptionOf(const std::exception& error) {
  const auto* runtimeError = dynamic_cast<const RuntimeError*>(&error);
  return runtimeError ? runtimeError->Description() : error.what();
}

std::string ErrorOccuredLine(const std::string& description) {
  return "Error occured: " + description;
}

std::string ErrorOccuredLine(const std::exception& error) {
  return ErrorOccuredLine(DescriptionOf(error));
}

void WriteErrorOccured(TextWriter& log, const std::exception& error) {
  log.WriteLine(ErrorOccuredLine(error));
}

}  // namespace mv
