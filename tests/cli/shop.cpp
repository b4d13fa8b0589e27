#include "tests/cli/shop.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "tests/support/recording_message_display.h"
#include "tools/sample_data/basket_samples.h"
#include "tools/sample_data/copydata_samples.h"
#include "tools/sample_data/order_samples.h"
#include "tools/sample_data/parameter_samples.h"

namespace mv::testing {

namespace fs = std::filesystem;

Shop::Shop() {
  fs::create_directory(folder_.Path() / "instance");
  fs::copy_file(fs::path(MV_CONFIG_DIR) / "VantrelConfiguration.xml",
                folder_.Path() / "instance" / "VantrelConfiguration.xml");
  fs::copy_file(fs::path(MV_CONFIG_DIR) / "Orbisco.xml", folder_.Path() / "Orbisco.xml");
  const ConnectionValues v = ValuesFor(source, target);
  std::ofstream(folder_.Path() / "Vantrel23Convert.INI", std::ios::binary) << v.SDBServer << "\r\n"
                                                                           << v.TDBServer << "\r\n"
                                                                           << v.SUser << "\r\n"
                                                                           << v.TUser << "\r\n"
                                                                           << v.SDB << "\r\n"
                                                                           << v.TDB << "\r\n";
}

void Shop::FillSamples(int count) {
  // The back-end instances of the samples go to a database of their own: the run reads those
  // of "Kestrine".
  const TestDatabase instances("instance");
  const auto sourceConnection = source.Connect();
  const auto targetConnection = target.Connect();
  const auto instanceConnection = instances.Connect();
  samples::SampleDatabases databases{*sourceConnection, *targetConnection, *instanceConnection};
  const samples::SampleOptions options{22, count};
  samples::FillParameterSamples(databases, options);
  samples::FillBasketSamples(databases, options);
  samples::FillOrderSamples(databases, options);
  samples::FillCopyDataSamples(databases, options);
}

void Shop::FillSampleSet(void (*fill)(samples::SampleDatabases&, const samples::SampleOptions&),
                         int count) {
  const auto sourceConnection = source.Connect();
  const auto targetConnection = target.Connect();
  samples::SampleDatabases databases{*sourceConnection, *targetConnection, *targetConnection};
  fill(databases, {22, count});
}

EnvironmentChanges Shop::Environment() const {
  return {{"VANTREL_CONFIGURATION", ConfigurationPath()},
          {"VANTREL_SOURCE_PASSWORD", source.Address().password},
          {"VANTREL_TARGET_PASSWORD", target.Address().password}};
}

ChildResult Shop::Migrate(const std::vector<std::string>& arguments,
                          const EnvironmentChanges& changes) const {
  EnvironmentChanges environment = Environment();
  for (const auto& [name, value] : changes) environment[name] = value;
  return RunChild(kVantrelMigrate, arguments, environment);
}

std::string Shop::Log() const { return ReadFileBytes(folder_.File("Vantrel23Conversion.log")); }

std::string Shop::Settings() const { return ReadFileBytes(folder_.File("Vantrel23Convert.INI")); }

std::vector<std::string> DatesMasked(std::vector<std::string> lines) {
  static const std::array<std::string, 4> kTitles{
      "Conversion of Stored Baskets:", "Conversion of Submitted Orders:",
      "Conversion of Parameters:", "Copy of remaining data:"};
  for (size_t i = 1; i < lines.size(); ++i) {
    if (std::find(kTitles.begin(), kTitles.end(), lines[i - 1]) != kTitles.end()) {
      lines[i] = "<date>";
    }
  }
  return lines;
}

std::map<std::string, long> Summary(const std::string& out, const std::string& migration) {
  std::map<std::string, long> counts;
  bool inMigration = false;
  for (const std::string& line : Lines(out)) {
    if (line.rfind("  ", 0) != 0) {
      inMigration = line == migration;
    } else if (inMigration) {
      size_t labelAt = 0;
      const long count = std::stol(line, &labelAt);
      counts[line.substr(labelAt + 2)] = count;
    }
  }
  return counts;
}

std::map<std::string, long> ReportCounts(const std::string& path, const std::string& migration) {
  std::map<std::string, long> counts;
  const nlohmann::json report = nlohmann::json::parse(ReadFileBytes(path));
  for (const auto& entry : report["migrations"]) {
    if (entry["name"] != migration) continue;
    for (const auto& [label, count] : entry["counts"].items()) counts[label] = count.get<long>();
  }
  return counts;
}

}  // namespace mv::testing
