// The line an error that escapes a step leaves in the log, for every kind of error.
#include "driver/escaped_error.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/runtime_error.h"

namespace mv {
namespace {

TEST(EscapedErrorTest, EveryErrorIsLoggedWithItsOwnDescription) {
  EXPECT_EQ(ErrorOccuredLine(RuntimeError(3265, "Item cannot be found")),
            "Error occured: Item cannot be found");
  EXPECT_EQ(ErrorOccuredLine(std::runtime_error("bad allocation")),
            "Error occured: bad allocation");
  EXPECT_EQ(DescriptionOf(std::logic_error("no text form")), "no text form");
}

}  // namespace
}  // namespace mv
