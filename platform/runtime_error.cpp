#include "platform/runtime_error.h"

#include <utility>

namespace mv {

RuntimeError::RuntimeError(long number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

}  // namespace mv
