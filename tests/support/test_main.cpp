// main() of every GoogleTest program: the process's locale as the program's own mains set it,
// then the tests.
#include <gtest/gtest.h>

#include "platform/process_locale.h"

int main(int argc, char** argv) {
  mv::PrepareProcessLocale();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
