// The progress line the operator reads while a migration runs.
#include "driver/run_progress.h"

#include <gtest/gtest.h>

namespace mv {
namespace {

TEST(ProgressTextTest, ShowsCountsThenRateAndTimeLeftOnceThereIsAnEstimate) {
  using Seconds = std::chrono::duration<double>;
  EXPECT_EQ(ProgressText("Migrate Baskets", 0, 100000, "baskets", Seconds(0)),
            "Migrate Baskets: 0 of 100,000 baskets");
  EXPECT_EQ(ProgressText("Migrate Submitted Orders", 12500, 200000, "orders", Seconds(4.31)),
            "Migrate Submitted Orders: 12,500 of 200,000 orders, 2,900/s, about 2 min left");
  EXPECT_EQ(ProgressText("Copy Remaining Data", 590000, 600000, "rows", Seconds(59)),
            "Copy Remaining Data: 590,000 of 600,000 rows, 10,000/s, less than 1 min left");
  EXPECT_EQ(ProgressText("Migrate Baskets", 1000, 1000, "baskets", Seconds(2)),
            "Migrate Baskets: 1,000 of 1,000 baskets, 500/s");
  EXPECT_EQ(ProgressText("Migrate Submitted Orders", 10, 1000000, "orders", Seconds(10)),
            "Migrate Submitted Orders: 10 of 1,000,000 orders, 1/s, about 278 h left");
}

TEST(ProgressTextTest, ANarrowLineLeavesOutTheLeastNeededPartsAndKeepsTheCounts) {
  const auto line = [](int columns) {
    return ProgressText("Migrate Submitted Orders", 12500, 200000, "orders",
                        std::chrono::duration<double>(4.31), columns);
  };
  const std::string whole =
      "Migrate Submitted Orders: 12,500 of 200,000 orders, 2,900/s, about 2 min left";
  EXPECT_EQ(line(0), whole);
  EXPECT_EQ(line(static_cast<int>(whole.size())), whole);
  EXPECT_EQ(line(static_cast<int>(whole.size()) - 1),
            "Migrate Submitted Orders: 12,500 of 200,000 orders, about 2 min left");
  EXPECT_EQ(line(60), "12,500 of 200,000 orders, about 2 min left");
  EXPECT_EQ(line(39), "12,500 of 200,000, about 2 min left");
  EXPECT_EQ(line(20), "12,500 of 200,000");
  EXPECT_EQ(line(10), "12,500 of 200,000");  // wider still: the terminal's line cuts it
}

}  // namespace
}  // namespace mv
