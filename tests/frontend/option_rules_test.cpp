// The option rules: which controls the check boxes enable, what they select, and the checks
// before "Migrate".
#include "frontend/option_rules.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/recording_message_display.h"
#include "tests/support/test_database.h"

namespace mv::testing {
namespace {

constexpr CheckState kOff = CheckState::Unchecked;
constexpr CheckState kOn = CheckState::Checked;
constexpr CheckState kGrey = CheckState::Greyed;

struct OptionCase {
  const char* name;
  OptionStates states;
  EnabledControls enabled;
  MigrationSelection selection;
};

class OptionRulesTest : public ::testing::TestWithParam<OptionCase> {};

TEST_P(OptionRulesTest, EnableAndSelectAsTheBoxesAsk) {
  const OptionCase& option = GetParam();
  EXPECT_EQ(EnabledFor(option.states), option.enabled);
  const MigrationSelection selection = SelectionOf(option.states);
  EXPECT_EQ(selection.iConvertBaskets, option.selection.iConvertBaskets);
  EXPECT_EQ(selection.iConvertOrders, option.selection.iConvertOrders);
  EXPECT_EQ(selection.iConvertParameters, option.selection.iConvertParameters);
  EXPECT_EQ(selection.iCopyData, option.selection.iCopyData);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, OptionRulesTest,
    ::testing::Values(
        OptionCase{"AllUnchecked", {}, {false, false}, {}},
        OptionCase{"OnlyParameters",
                   {kOff, kOff, kOn, kOff, kOff},
                   {true, false},
                   {false, false, true, false}},
        OptionCase{"GreyedOrdersSelects",
                   {kOff, kGrey, kOff, kOff, kOff},
                   {true, false},
                   {false, true, false, false}},
        OptionCase{"AllFour", {kOn, kOn, kOn, kOn, kOff}, {true, false}, {true, true, true, true}},
        OptionCase{"DumpChecked", {kOff, kOff, kOff, kOff, kOn}, {false, true}, {}},
        OptionCase{"DumpGreyed", {kOff, kOff, kOff, kOff, kGrey}, {false, false}, {}},
        OptionCase{"CopyAndDump",
                   {kOff, kOff, kOff, kGrey, kOn},
                   {true, true},
                   {false, false, false, true}}),
    [](const ::testing::TestParamInfo<OptionCase>& info) { return std::string(info.param.name); });

class CheckBeforeMigrateTest : public ::testing::Test {
 protected:
  std::string SettingsBytes() const {
    return std::filesystem::exists(PathFromUtf8(settings_)) ? ReadFileBytes(settings_) : "";
  }

  bool Check(const ConnectionValues& values) {
    return CheckBeforeMigrate(values, settings_, messages_, [this] { ++programEnds_; });
  }

  TempFolder folder_;
  std::string settings_ = folder_.File("Vantrel23Convert.INI");
  RecordingMessageDisplay messages_;
  int programEnds_ = 0;
};

TEST_F(CheckBeforeMigrateTest, SavesTheFieldsWithoutPasswordsBeforeTheRunChecksThem) {
  const ConnectionValues values{"srv1", "sa",  "secret-source", "db1",
                                "",     "sa2", "secret-target", "db2"};
  EXPECT_TRUE(Check(values));
  EXPECT_EQ(programEnds_, 0);
  EXPECT_EQ(SettingsBytes(), "srv1\r\n\r\nsa\r\nsa2\r\ndb1\r\ndb2\r\n");
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(CheckBeforeMigrateTest, RefusedValueIsToldAndNotSaved) {
  const ConnectionValues values{"srv\x01", "sa", "", "db1", "srv2", "sa2", "", "db2"};
  EXPECT_FALSE(Check(values));
  EXPECT_EQ(programEnds_, 0);
  EXPECT_EQ(messages_.messages.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(settings_)));
  EXPECT_FALSE(CheckBeforeDump(values, messages_));
}

TEST_F(CheckBeforeMigrateTest, UnwritableSettingsFileEndsTheProgram) {
  // A folder in the settings file's place can be neither deleted nor replaced.
  std::filesystem::create_directories(PathFromUtf8(settings_) / "locked");
  const ConnectionValues values{"srv1", "sa", "", "db1", "srv2", "sa2", "", "db2"};
  EXPECT_FALSE(Check(values));
  EXPECT_EQ(programEnds_, 1);
  EXPECT_EQ(messages_.messages,
            std::vector<std::string>{"Path '" + settings_ + "' for logfile doesn't exist."});
}

}  // namespace
}  // namespace mv::testing
