// TimePlainInsert on real databases: every row reaches the empty tables, those of the full
// inserts and the rest after them, values and Nulls as they were.
#include "bench/plain_insert.h"

#include <gtest/gtest.h>

#include "tests/support/test_database.h"

namespace mv::bench {
namespace {

using testing::TestDatabase;

/// 2,500 rows of three columns: three full inserts of 666 rows and one of the 502 left.
constexpr const char* kCreate =
    "create table items (id integer not null primary key, name varchar(20), amount float)";
constexpr const char* kFill =
    "insert into items (id, name, amount) with recursive n(i) as (select 1 union all select "
    "i + 1 from n where i < 2500) select i, case when i % 7 = 0 then null else 'item' || i end, "
    "i * 0.5 from n";

TEST(PlainInsertTest, WritesEveryRowIntoTheEmptyTable) {
  const TestDatabase from, to;
  const auto source = from.Connect();
  const auto target = to.Connect();
  source->Execute(kCreate);
  source->Execute(kFill);
  target->Execute(kCreate);
  const std::vector<ComparedTable> tables{{"items", {"id"}}};

  EXPECT_EQ(TimePlainInsert(*source, *target, tables).rows, 2500);
  EXPECT_EQ(CompareTables(*source, *target, tables), std::vector<std::string>{});
}

}  // namespace
}  // namespace mv::bench
