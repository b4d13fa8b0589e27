// XmlConfiguration: a store loaded and released, a changed one written in place or, in a
// rehearsal, beside it; the instances from the installation's configuration file.
#include "platform/configuration/xml_configuration.h"

#include "platform/configuration/application_instances.h"
#include "platform/configuration/configuration_path.h"
#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/text_file.h"

namespace mv {

XmlConfiguration::XmlConfiguration(std::filesystem::path installationFile, bool rehearsal)
    : installationFile_(std::move(installationFile)), rehearsal_(rehearsal) {}

XmlConfiguration::~XmlConfiguration() {
  try {
    Release();
  } catch (const RuntimeError&) {
    // Released while the caller handles another error: that error is the one it reports.
  }
}

void XmlConfiguration::LoadConfiguration(const std::string& path) {
  Release();
  store_ = std::make_unique<ConfigurationStore>(PathFromUtf8(path));
}

void XmlConfiguration::SetParameterValue(const std::string& section, const std::string& name,
                                         const Variant& value) {
  if (!store_) {
    throw errors::StoreNotLoaded();
  }
  store_->SetValue(section, name, value);
}

std::vector<ApplicationInstance> XmlConfiguration::GetApplicationInstances(
    const std::string& application) {
  return ReadApplicationInstances(installationFile_, application);
}

void XmlConfiguration::Release() {
  if (!store_) return;
  // The store is closed even when writing fails, so a second release does not retry.
  const std::unique_ptr<ConfigurationStore> store = std::move(store_);
  if (!store->Changed()) return;
  if (rehearsal_) {
    store->SaveAs(RehearsalPath(store->Path()));
  } else {
    store->Save();
  }
}

std::filesystem::path RehearsalPath(const std::filesystem::path& storePath) {
  return std::filesystem::path(storePath) += ".rehearsal";
}

std::unique_ptr<Configuration> CreateConfiguration(bool rehearsal) {
  return std::make_unique<XmlConfiguration>(PathFromUtf8(ConfigurationPath()), rehearsal);
}

}  // namespace mv
