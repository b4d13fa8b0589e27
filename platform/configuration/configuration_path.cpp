// ConfigurationPath: VANTREL_CONFIGURATION read, its absence reported as error 429.
#include "platform/configuration/configuration_path.h"

#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

// The runtime's number for a component that cannot give what it was created for.

}  // namespace

std::string ConfigurationPath() {
  const std::optional<std::string> path = EnvironmentVariable(kConfigurationPathVariable);
  if (!path || path->empty()) {
    throw errors::CannotCreateObject(
        std::string("The configuration component has no installation path: set "
                    "the environment variable ") +
        kConfigurationPathVariable + " to the full path of the installation's configuration file.");
  }
  return *path;
}

}  // namespace mv
