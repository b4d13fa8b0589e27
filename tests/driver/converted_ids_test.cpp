// ConvertedIds on a real target: the ids it held, the ids converted since, and the target asked
// once an id is no longer kept as text.
#include "driver/converted_ids.h"

#include <gtest/gtest.h>

#include "tests/support/ignore_case_collation.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

class ConvertedIdsTest : public ::testing::Test {
 protected:
  ConvertedIdsTest() : connection_(database_.Connect()) {
    connection_->Execute("create table units (unitid varchar(20) not null primary key)");
    Write("held");
  }

  void Write(const std::string& id) {
    connection_->Execute("insert into units (unitid) values ('" + id + "')");
  }
  /// The ids of `units`, keeping the last two converted as texts, or all of them.
  ConvertedIds Ids(bool keepAll = false) { return {*connection_, "units", "unitid", 2, keepAll}; }

  testing::TestDatabase database_;
  std::unique_ptr<Connection> connection_;
};

TEST_F(ConvertedIdsTest, TheTargetsIdsAndTheInsertedOnesAreConverted) {
  ConvertedIds ids = Ids();
  EXPECT_TRUE(ids.contains("held"));
  EXPECT_FALSE(ids.contains("new"));
  ids.insert("new");
  EXPECT_TRUE(ids.contains("new")) << "before its rows reach the target";
  ids.erase("new");
  EXPECT_FALSE(ids.contains("new"));
  EXPECT_FALSE(ids.contains("HELD")) << "ids are compared as they are written";
}

TEST_F(ConvertedIdsTest, AnIdNoLongerKeptIsConvertedWhenTheTargetHoldsIt) {
  ConvertedIds ids = Ids();
  for (const char* id : {"first", "second", "third"}) ids.insert(id);
  EXPECT_FALSE(ids.contains("first")) << "the target does not hold it";
  Write("first");
  EXPECT_TRUE(ids.contains("first"));
  EXPECT_TRUE(ids.contains("third"));
}

TEST_F(ConvertedIdsTest, AskingAboutAGroupKeepsOnlyTheIdsTheTargetHolds) {
  ConvertedIds ids = Ids();
  Write("later");
  ids.AskTargetAbout({"held", "later", "new"});
  EXPECT_TRUE(ids.contains("held"));
  EXPECT_FALSE(ids.contains("later")) << "written after the ids were read, and never inserted";
  EXPECT_FALSE(ids.contains("new"));
}

TEST_F(ConvertedIdsTest, AGroupLargerThanTheParameterLimitIsAskedInSlices) {
  const std::vector<std::string> group{"a", "b", "c", "d", "e"};
  for (const std::string& id : group) Write(id);
  ConvertedIds ids(*connection_, "units", "unitid", group.size(), false);
  connection_->NarrowStatementLimits({.rowsPerInsert = 1000, .parameters = 2});
  ids.AskTargetAbout(group);
  connection_->Execute("delete from units");
  for (const std::string& id : group) EXPECT_TRUE(ids.contains(id)) << id << " kept as answered";
}

TEST_F(ConvertedIdsTest, ATargetIgnoringCaseHoldsAnIdAskedInAnotherCase) {
  const setup::Engine engine = database_.GetEngine();
  // On PostgreSQL a char column as well: the target answers with trailing blanks.
  connection_->Execute(std::string("create table caseless (unitid ") +
                       (engine == setup::Engine::Postgresql ? "char(20)" : "varchar(20)") +
                       " not null" + testing::IgnoreCaseCollation(*connection_, engine) +
                       " primary key)");
  connection_->Execute("insert into caseless (unitid) values ('held')");
  ConvertedIds ids(*connection_, "caseless", "unitid", 1, false);
  // Converted, then no longer kept as texts: the filter has them asked of the target.
  for (const char* id : {"HELD", "NEW", "last"}) ids.insert(id);

  ids.AskTargetAbout({"HELD", "NEW"});

  EXPECT_TRUE(ids.contains("HELD")) << "the target holds it as 'held'";
  EXPECT_FALSE(ids.contains("NEW"));
}

TEST_F(ConvertedIdsTest, ARehearsalKeepsEveryConvertedId) {
  ConvertedIds ids = Ids(true);
  for (const char* id : {"first", "second", "third"}) ids.insert(id);
  EXPECT_TRUE(ids.contains("first"));
}

}  // namespace
}  // namespace mv
