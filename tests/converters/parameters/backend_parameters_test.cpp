// The back-end step: every ORDEREXPORTFILE row updated, or a first row for the default
// back-end instance of "Kestrine", and its errors.
#include "converters/parameters/convert_parameters.h"

#include <cctype>

#include <gtest/gtest.h>

#include "tests/converters/parameters/parameters_fixture.h"

namespace mv::testing {
namespace {

using State = InstanceDatabase::State;
using BackendParametersTest = ParametersTest;

/// A new first row: the given BISID, the five start values, the database's defaults.
ExportRow NewRow(const std::string& bisId) {
  return {bisId, "", "NULL", "", "0", "0", "0", "0", "|", "'", "", "", "", "", "", "", "3"};
}

TEST_F(BackendParametersTest, EveryExistingRowGetsTheSameValuesAndNoRowIsAdded) {
  InstanceDatabase kestrine(State::Unreachable);  // not consulted when rows exist
  for (int bisId : {2, 5, 7}) AddExportFile(bisId);
  AddParameter("SalesOrderCreation", Variant::String("12"));
  AddParameter("EDI Field Separator", Variant::String("#"));

  EXPECT_TRUE(Run());
  EXPECT_EQ(log_, UpdatedRowsLines());
  const auto updated = [](const std::string& id) {
    return ExportRow{id,
                     "orders" + id + ".txt",
                     "/export/" + id,
                     "",
                     "0",
                     "12",
                     "0",
                     "0",
                     "#",
                     "'",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "5"};
  };
  EXPECT_EQ(ExportRows(), (std::vector<ExportRow>{updated("2"), updated("5"), updated("7")}));
}

TEST_F(BackendParametersTest, AnEmptyTableGetsAFirstRowForTheDefaultInstance) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> instances;  // BISID, DEFAULTBIS
    int bisId;
  };
  const Case cases[] = {
      {"the instance marked as default", {{4, 0}, {9, 1}, {12, 0}}, 9},
      {"no default: the first instance", {{4, 0}, {9, 0}}, 4},
      {"no instance at all", {}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    target_.Connect()->Execute("delete from ORDEREXPORTFILE");
    InstanceDatabase kestrine(State::Reachable);
    for (const auto& [bisId, isDefault] : c.instances) kestrine.AddInstance(bisId, isDefault);

    EXPECT_TRUE(Run());
    EXPECT_EQ(log_, AddedRowLines(c.bisId));
    EXPECT_EQ(ExportRows(), (std::vector<ExportRow>{NewRow(std::to_string(c.bisId))}));
  }
}

TEST_F(BackendParametersTest, AnUnreachableInstanceDatabaseStillAddsTheRowButFailsTheRun) {
  InstanceDatabase kestrine(State::Unreachable);
  EXPECT_FALSE(Run());
  ASSERT_EQ(log_.size(), AddedRowLines(1).size() + 2);
  EXPECT_EQ(log_[0], "  Error(s) occured:");
  EXPECT_EQ(log_[1].rfind("    ", 0), 0u);
  EXPECT_GT(log_[1].size(), 4u);
  EXPECT_EQ(std::vector<std::string>(log_.begin() + 2, log_.end()), AddedRowLines(1));
  EXPECT_EQ(ExportRows(), (std::vector<ExportRow>{NewRow("1")}));
}

TEST_F(BackendParametersTest, AMissingExportTableIsLoggedAndFailsTheRun) {
  target_.Connect()->Execute("drop table ORDEREXPORTFILE");
  AddParameter("TaxSource", Variant::String("1"));
  EXPECT_FALSE(Run());
  ASSERT_EQ(log_.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(log_.begin(), log_.begin() + 4),
            StoreWrittenLines(StorePath()));
  EXPECT_EQ(log_[4], "  Error(s) occured:");
  std::string description = log_[5];
  for (char& c : description) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_NE(description.find("ORDEREXPORTFILE"), std::string::npos) << log_[5];
  // The store pass had finished: its value is in the file.
  EXPECT_EQ(StoredValue("GENERAL_PARAMETERS", "TaxSource"), "1");
}

}  // namespace
}  // namespace mv::testing
