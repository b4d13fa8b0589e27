// The working folder, the settings file read and written, and the window's start-up in one
// place, with the message box of each failure.
#include "frontend/start_up.h"

#include "driver/odbc_keywords.h"
#include "platform/configuration/configuration_path.h"
#include "platform/file_problem.h"
#include "platform/runtime_error.h"
#include "platform/text_file.h"

namespace mv {

std::optional<WindowPaths> FindWorkingFolder(MessageDisplay& messages) {
  try {
    return WindowPathsFor(ConfigurationPath());
  } catch (const RuntimeError& error) {
    messages.ShowMessage(error.Description());
    return std::nullopt;
  }
}

bool LoadSettingsFields(const std::string& sIniFileName, SettingsFields& fields,
                        MessageDisplay& messages) {
  try {
    SettingsFile(sIniFileName).LoadSettings(fields);
    return true;
  } catch (const SettingsLineRefused& error) {
    messages.ShowMessageAbout(error.Description(), {error.Subject(), "", sIniFileName, true});
  } catch (const RuntimeError& error) {
    messages.ShowMessageAbout(error.Description(),
                              {MessageSubject::SettingsFile,
                               ReadFailureReason(PathFromUtf8(sIniFileName)), sIniFileName});
  }
  return false;
}

bool SaveSettingsFields(const std::string& sIniFileName, const SettingsFields& fields,
                        MessageDisplay& messages) {
  try {
    SettingsFile(sIniFileName).SaveSettings(fields);
    return true;
  } catch (const RuntimeError& error) {
    messages.ShowMessage(error.Description());
    return false;
  }
}

std::optional<WindowPaths> StartWindow(SettingsFields& fields, MessageDisplay& messages) {
  std::optional<WindowPaths> paths = FindWorkingFolder(messages);
  if (!paths || !LoadSettingsFields(paths->sIniFileName, fields, messages)) return std::nullopt;
  try {
    OdbcKeywordsOfEnvironment();
  } catch (const RuntimeError& error) {
    messages.ShowMessage(error.Description());
    return std::nullopt;
  }
  return paths;
}

}  // namespace mv
