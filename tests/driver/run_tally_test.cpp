// The summary printed after a run or a rehearsal.
#include "driver/run_tally.h"

#include <gtest/gtest.h>

namespace mv {
namespace {

TEST(RunTallyTest, SumsEachLabelInFirstCountedOrderWithCountsInOneColumn) {
  RunTally tally;
  tally.Add("Migrate Baskets", "would be converted", 0);
  tally.Add("Migrate Baskets", "refused: already converted");
  tally.AddRows("Copy Remaining Data", "zones", 1200);
  tally.Add("Migrate Baskets", "refused: already converted");
  tally.Add("Migrate Baskets", "would be converted", 12);
  tally.AddRows("Copy Remaining Data", "zones", 3);
  EXPECT_EQ(
      tally.Summary(kRehearsalHeading),
      (std::vector<std::string>{kRehearsalHeading, "Migrate Baskets", "    12  would be converted",
                                "     2  refused: already converted", "Copy Remaining Data",
                                "  1203  rows of zones"}));
  const auto rows = tally.CountedBy("Copy Remaining Data").tableRows;
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].what, "zones");
  EXPECT_EQ(rows[0].count, 1203);
  EXPECT_TRUE(tally.CountedBy("Migrate Baskets").tableRows.empty());
  EXPECT_TRUE(tally.CountedBy("Migrate Orders").counts.empty());
}

}  // namespace
}  // namespace mv
