// What every parameter-migration test needs: a source and a target database, an installation
// whose one Vantrel instance holds a copy of the shipped store template, and the log.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "converters/parameters/convert_parameters.h"
#include "platform/regional_settings.h"
#include "tests/converters/parameters/instance_database.h"
#include "tests/support/test_database.h"

namespace mv::testing {

/// One row of ORDEREXPORTFILE as the tests compare it: every column as text ("NULL" for Null).
using ExportRow = std::vector<std::string>;

class ParametersTest : public ::testing::Test {
 protected:
  ParametersTest();

  /// Adds a SALESPARAMETER row; rows come back in the order they were added.
  void AddParameter(const std::string& name, const Variant& value);
  /// Adds an ORDEREXPORTFILE row with a file name and an export folder of its own.
  void AddExportFile(int bisId);
  /// Runs the migration with the component `configuration` makes (the installation's XML
  /// component when none is given) and keeps the log's lines; `progress` tells of a stop.
  bool Run(ConvertParameters::ConfigurationFactory configuration = {},
           RunProgress& progress = NoProgress());

  /// The value attribute of a store parameter, or nullopt when the store does not declare it.
  std::optional<std::string> StoredValue(const std::string& section, const std::string& name) const;
  /// The rows of ORDEREXPORTFILE by BISID, the columns in table order.
  std::vector<ExportRow> ExportRows() const;

  std::string InstanceFolder() const { return folder_.File("instance"); }
  std::string StorePath() const { return folder_.File("instance/VantrelConfiguration.xml"); }
  void WriteInstallation(const std::string& text) const;

  // Numeric PARAMVALUE texts in the tests use a decimal point, whatever the machine's locale.
  ScopedRegionalSettings regional_{{"%Y-%m-%d", "%H:%M:%S", '.'}};
  TempFolder folder_;
  TestDatabase source_{"source"};
  TestDatabase target_{"target"};
  std::vector<std::string> log_;
};

/// The lines that the back-end step writes after updating existing rows.
std::vector<std::string> UpdatedRowsLines();
/// The lines that the back-end step writes after adding the first row with `bisId`.
std::vector<std::string> AddedRowLines(int bisId);
/// The four lines that name the store after a pass that wrote to it.
std::vector<std::string> StoreWrittenLines(const std::string& storePath);
/// `a` followed by `b`.
std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b);

}  // namespace mv::testing
