// The start-up every front end shares: the working folder found from the configuration path,
// the settings file read into the connection fields, and written back before a migration.
#pragma once

#include <optional>
#include <string>

#include "driver/settings_file.h"
#include "driver/window_paths.h"
#include "platform/message_display.h"

namespace mv {

/// The paths beside the installation's configuration file (VANTREL_CONFIGURATION). When it is
/// not set or names no existing folder, shows the reason by message box and answers nothing:
/// without a working folder the program cannot go on.
std::optional<WindowPaths> FindWorkingFolder(MessageDisplay& messages);

/// Fills `fields` from the settings file at `sIniFileName` (SettingsFile::LoadSettings): a
/// missing file changes nothing. Answers false after a message box when the file cannot be read
/// (about MessageSubject::SettingsFile, with the system's reason) or holds a line no connection
/// could use (about that line's value, refused); `fields` is then unchanged.
bool LoadSettingsFields(const std::string& sIniFileName, SettingsFields& fields,
                        MessageDisplay& messages);

/// Rewrites the settings file at `sIniFileName` with `fields`. Answers false after the message
/// box "Path '" + sIniFileName + "' for logfile doesn't exist." when it cannot be written; the
/// program then ends at once.
bool SaveSettingsFields(const std::string& sIniFileName, const SettingsFields& fields,
                        MessageDisplay& messages);

/// A window's whole start-up: finds the working folder, fills `fields` from the settings file
/// (a field whose line is missing or empty keeps its text), then checks VANTREL_ODBC_KEYWORDS,
/// so that a malformed one is told before any connection is tried. Answers the working folder's
/// paths, or nothing after a message box; the program then ends.
std::optional<WindowPaths> StartWindow(SettingsFields& fields, MessageDisplay& messages);

}  // namespace mv
