#include "platform/runtime_error.h"

#include <utility>

namespace mv {

RuntimeError::RuntimeError(long number, std::string description, bool connectionLost)
    : std::runtime_error(description),
      number_(number),
      description_(std::move(description)),
      connectionLost_(connectionLost) {}

}  // namespace mv
