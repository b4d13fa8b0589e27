// The summary a rehearsal prints.
#include "driver/rehearsal_tally.h"

#include <gtest/gtest.h>

namespace mv {
namespace {

TEST(RehearsalTallyTest, SumsEachLabelInFirstCountedOrderWithCountsInOneColumn) {
  RehearsalTally tally;
  tally.Add("Migrate Baskets", "would be converted", 0);
  tally.Add("Migrate Baskets", "refused: already converted");
  tally.Add("Copy Remaining Data", "rows of zones", 1200);
  tally.Add("Migrate Baskets", "refused: already converted");
  tally.Add("Migrate Baskets", "would be converted", 12);
  EXPECT_EQ(tally.Summary(), (std::vector<std::string>{
                                 kRehearsalHeading, "Migrate Baskets", "    12  would be converted",
                                 "     2  refused: already converted", "Copy Remaining Data",
                                 "  1200  rows of zones"}));
}

}  // namespace
}  // namespace mv
