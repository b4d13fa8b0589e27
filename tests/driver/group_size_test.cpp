// VANTREL_GROUP_SIZE as the migrations read it: a whole number up to the maximum, the default
// for anything else, and a number above the maximum refused with a message that names both.
#include "driver/group_size.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "tests/support/scoped_environment.h"

namespace mv {
namespace {

struct GroupSizeCase {
  const char* what;
  std::optional<std::string> setting;
  int size;  // 0: refused
  friend void PrintTo(const GroupSizeCase& c, std::ostream* out) { *out << c.what; }
};

class GroupSizeTest : public ::testing::TestWithParam<GroupSizeCase> {};

TEST_P(GroupSizeTest, ReadsTheSettingOrRefusesIt) {
  const testing::ScopedEnvironmentVariable variable("VANTREL_GROUP_SIZE", GetParam().setting);
  if (GetParam().size != 0) {
    EXPECT_EQ(GroupSize(), GetParam().size);
    return;
  }
  try {
    GroupSize();
    FAIL() << "not refused";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), errors::kInvalidProcedureCall);
    EXPECT_EQ(error.Description(), "VANTREL_GROUP_SIZE is " + *GetParam().setting +
                                       ", but a group holds at most 1000 baskets or orders.");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, GroupSizeTest,
    ::testing::Values(GroupSizeCase{"Unset", std::nullopt, 500}, GroupSizeCase{"One", "1", 1},
                      GroupSizeCase{"TheMaximum", "1000", 1000}, GroupSizeCase{"Zero", "0", 500},
                      GroupSizeCase{"NotANumber", "many", 500},
                      GroupSizeCase{"AboveTheMaximum", "1001", 0},
                      GroupSizeCase{"BeyondAnyInteger", "99999999999999999999", 0}),
    [](const ::testing::TestParamInfo<GroupSizeCase>& info) { return info.param.what; });

}  // namespace
}  // namespace mv
