// The log and settings paths beside the configuration file, and the dump file's initial name.
#include "driver/window_paths.h"

#include <filesystem>
#include <system_error>

#include "platform/configuration/configuration_path.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

// The folder and the name with exactly one separator between them.
std::string JoinPath(const std::string& folder, const std::string& name) {
  const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
  if (!folder.empty() && (folder.back() == separator || folder.back() == '/')) {
    return folder + name;
  }
  return folder + separator + name;
}

[[noreturn]] void ThrowUnusable(const std::string& what) {
  throw errors::PathNotFound(what + ": set the environment variable " + kConfigurationPathVariable +
                             " to the full path of the installation's configuration file.");
}

}  // namespace

WindowPaths WindowPathsFor(const std::string& configurationPath) {
  const auto path = PathFromUtf8(configurationPath);
  const auto folder = path.parent_path();
  if (!path.has_filename() || folder.empty()) {
    ThrowUnusable("The configuration path '" + configurationPath + "' names no folder");
  }
  std::error_code ignored;
  if (!std::filesystem::is_directory(folder, ignored)) {
    ThrowUnusable("The folder '" + Utf8FromPath(folder) + "' of the configuration path '" +
                  configurationPath + "' does not exist");
  }
  const std::string sWorkFolder = Utf8FromPath(folder);
  return {sWorkFolder, JoinPath(sWorkFolder, "Vantrel23Conversion.log"),
          JoinPath(sWorkFolder, "Vantrel23Convert.INI")};
}

std::string InitialDumpFileName() { return JoinPath(UserFilesFolder(), "orderforms.txt"); }

}  // namespace mv
