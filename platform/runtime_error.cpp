// RuntimeError's constructors: a number and description, and a database error's SQLSTATE.
#include "platform/runtime_error.h"

#include <utility>

namespace mv {

RuntimeError::RuntimeError(long number, const std::string& description)
    : std::runtime_error(description), number_(number) {}

RuntimeError::RuntimeError(long number, const std::string& description, std::string sqlState,
                           bool connectionLost)
    : std::runtime_error(description),
      number_(number),
      sqlState_(std::move(sqlState)),
      connectionLost_(connectionLost) {}

}  // namespace mv
