// ConfigurationPath: where the installation's configuration file lies, as the product's
// configuration component reports it.
#pragma once

#include <string>

namespace mv {

/// The environment variable that names the installation's configuration file.
inline constexpr const char* kConfigurationPathVariable = "VANTREL_CONFIGURATION";

/// The full path of the installation's configuration file, taken from VANTREL_CONFIGURATION.
/// Throws RuntimeError 429 with a description that names the variable when it is not set.
std::string ConfigurationPath();

}  // namespace mv
