// The application instances that the installation's configuration file lists.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/configuration/configuration.h"

namespace mv {

/// The <Instance> entries of <Application name="`application`"> in the installation file
/// `installationFile`, in file order; empty when the application is not listed. A relative
/// folder is taken from the folder of the installation file; an absolute one as written.
/// Throws RuntimeError 53, 70 or 31037 as LoadXmlFile does.
std::vector<ApplicationInstance> ReadApplicationInstances(
    const std::filesystem::path& installationFile, const std::string& application);

}  // namespace mv
