// The terminal's progress line fitted to its width, shortened from the middle by characters.
#include "cli/command_output.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace mv {
namespace {

struct FitCase {
  const char* name;
  std::string text;
  int columns;
  std::string fitted;
  friend void PrintTo(const FitCase& c, std::ostream* out) { *out << c.name; }
};

class FitToColumnsTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitToColumnsTest, KeepsHeadAndTailAroundTheCut) {
  EXPECT_EQ(FitToColumns(GetParam().text, GetParam().columns), GetParam().fitted);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, FitToColumnsTest,
    ::testing::Values(FitCase{"NoWidthKnown", "Migrate Baskets 10%", 0, "Migrate Baskets 10%"},
                      FitCase{"FitsExactly", "Grüße €", 7, "Grüße €"},
                      FitCase{"CutInTheMiddle", "Migrate Baskets 10%", 10, "Migr...10%"},
                      FitCase{"CutBetweenCharacters", "Müller € 日本 Straße", 9, "Mül...aße"},
                      FitCase{"BeyondTheFirstPlane", "\U0001F600\U0001F601\U0001F602\U0001F603", 2,
                              "\U0001F600\U0001F601"},
                      FitCase{"NoRoomForTheCut", "Grüße", 3, "Grü"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mv
