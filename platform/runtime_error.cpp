#include "platform/runtime_error.h"

#include <utility>

namespace mv {

RuntimeError::RuntimeError(long number, std::string description, bool connectionLost)
    : std::runtime_error(description),
      number_(number),
      description_(std::move(description)),
      connectionLost_(connectionLost) {}

void ThrowOverflow() { throw RuntimeError(errors::kOverflow, "Overflow"); }

void ThrowTypeMismatch() { throw RuntimeError(errors::kTypeMismatch, "Type mismatch"); }

}  // namespace mv
