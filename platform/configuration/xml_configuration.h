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
  /// A component of the installation whose configuration file is `installationFile`.
  explicit XmlConfiguration(std::filesystem::path installationFile);
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
};

/// The component of this machine's installation: the one whose configuration file
/// ConfigurationPath() names. Throws RuntimeError 429 when VANTREL_CONFIGURATION is not set.
std::unique_ptr<Configuration> CreateConfiguration();

}  // namespace mv
