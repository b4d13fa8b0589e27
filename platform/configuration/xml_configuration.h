// XmlConfiguration: the configuration component over XML files: the installation's
// configuration file and one "VantrelConfiguration.xml" store per application instance.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/configuration/configuration.h"
#include "platform/configuration/configuration_store.h"

namespace mv {

class XmlConfiguration final : public Configuration {
 public:
  /// A component of the installation whose configuration file is `installationFile`. In a
  /// `rehearsal` a store is never written: its new content goes to the file beside it whose
  /// name adds ".rehearsal" (RehearsalPath).
  explicit XmlConfiguration(std::filesystem::path installationFile, bool rehearsal = false);
  ~XmlConfiguration() override;

  /// Replaces a store loaded before, writing that one's values first.
  void LoadConfiguration(const std::string& path) override;
  void SetParameterValue(const std::string& section, const std::string& name,
                         const Variant& value) override;
  std::vector<ApplicationInstance> GetApplicationInstances(const std::string& application) override;
  void Release() override;

 private:
  std::filesystem::path installationFile_;
  std::unique_ptr<ConfigurationStore> store_;
  bool rehearsal_;
};

/// Where a rehearsal writes the store at `storePath`: "VantrelConfiguration.xml.rehearsal".
std::filesystem::path RehearsalPath(const std::filesystem::path& storePath);

/// The component of this machine's installation: the one whose configuration file
/// ConfigurationPath() names; in a `rehearsal` one that leaves the stores as they are. Throws
/// RuntimeError 429 when VANTREL_CONFIGURATION is not set.
std::unique_ptr<Configuration> CreateConfiguration(bool rehearsal = false);

}  // namespace mv
