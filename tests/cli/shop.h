// A shop for a run of vantrel-migrate: its 2.2 source, its 2.3 target and an installation
// folder that holds the configuration store, the settings file and the log.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/cli/child_process.h"
#include "tests/support/test_database.h"
#include "tools/sample_data/sample_set.h"

namespace mv::testing {

/// The built vantrel-migrate.
inline constexpr const char* kVantrelMigrate = MV_VANTREL_MIGRATE;

class Shop {
 public:
  /// The settings file names this shop's two databases.
  Shop();

  /// Fills the source (and the target's reference tables) with the sample data of all four
  /// migrations, `count` records of each kind.
  void FillSamples(int count);
  /// Fills the source (and the target's reference tables) with one set of sample data.
  void FillSampleSet(void (*fill)(samples::SampleDatabases&, const samples::SampleOptions&),
                     int count);

  /// Runs vantrel-migrate on this installation with the databases' passwords in the
  /// environment and the given changes to it.
  ChildResult Migrate(const std::vector<std::string>& arguments,
                      const EnvironmentChanges& changes = {}) const;
  EnvironmentChanges Environment() const;

  std::string ConfigurationPath() const { return folder_.File("Orbisco.xml"); }
  std::string Log() const;
  std::string Settings() const;

  TestDatabase source{"source"};
  TestDatabase target{"target"};
  TempFolder folder_;
};

/// `lines` of a log with the date line of each section header replaced by "<date>".
std::vector<std::string> DatesMasked(std::vector<std::string> lines);

/// The counts by label of `migration` in the summary of standard output `out`.
std::map<std::string, long> Summary(const std::string& out, const std::string& migration);

/// The counts by label of `migration` in the report `path`.
std::map<std::string, long> ReportCounts(const std::string& path, const std::string& migration);

}  // namespace mv::testing
