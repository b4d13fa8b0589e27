// CompareTables on two real databases that start with the same 6,000 rows, more than one
// read of the comparison takes, and then differ in one way each. Column names are in lower
// case, as PostgreSQL reports them.
#include "bench/target_comparison.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/support/test_database.h"

namespace mv::bench {
namespace {

using testing::TestDatabase;

const std::vector<std::string> kItems{
    "create table items (id integer not null primary key, name varchar(20), amount float)",
    "insert into items (id, name, amount) with recursive n(i) as (select 1 union all select "
    "i + 1 from n where i < 6000) select i, 'item' || i, i * 0.5 from n",
};

struct ComparisonCase {
  std::string name;
  std::vector<std::string> changeOfSecond;
  std::vector<std::string> differences;
};

void PrintTo(const ComparisonCase& comparison, std::ostream* out) { *out << comparison.name; }

const ComparisonCase kCases[] = {
    {"SameRowsInAnotherOrder",
     {"delete from items where id = 3", "insert into items values (3, 'item3', 1.5)"},
     {}},
    {"ChangedTextInALaterRead",
     {"update items set name = 'renamed' where id = 5500"},
     {"items: row id 5500: name 'item5500' / 'renamed'"}},
    {"NullInsteadOfAText",
     {"update items set name = NULL where id = 2"},
     {"items: row id 2: name 'item2' / Null"}},
    {"MissingLastRow",
     {"delete from items where id = 6000"},
     {"items: 6000 rows in the first, 5999 in the second"}},
    {"ManyChangedRowsUpToTheLimit",
     {"update items set name = 'x' where id <= 5"},
     {"items: row id 1: name 'item1' / 'x'", "items: row id 2: name 'item2' / 'x'",
      "items: 3 more differing rows"}},
};

class CompareTablesTest : public ::testing::TestWithParam<ComparisonCase> {};

TEST_P(CompareTablesTest, ReportsEachKind) {
  const TestDatabase first, second;
  const auto a = first.Connect();
  const auto b = second.Connect();
  for (const auto& statement : kItems) {
    a->Execute(statement);
    b->Execute(statement);
  }
  for (const auto& statement : GetParam().changeOfSecond) b->Execute(statement);

  EXPECT_EQ(CompareTables(*a, *b, {{"items", {"id"}}}, 2), GetParam().differences);
}

INSTANTIATE_TEST_SUITE_P(Differences, CompareTablesTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace mv::bench
