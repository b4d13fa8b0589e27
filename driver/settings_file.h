// SettingsFile: the six connection fields remembered between starts in "Vantrel23Convert.INI".
#pragma once

#include <string>

#include "platform/text_file.h"

namespace mv {

/// The connection fields the settings file remembers. Passwords are never among them.
struct SettingsFields {
  std::string SDBServer;
  std::string TDBServer;
  std::string SUser;
  std::string TUser;
  std::string SDB;
  std::string TDB;
};

/// The settings file: six plain lines (source server, target server, source user, target
/// user, source database, target database), CR LF, in the system's narrow code page.
class SettingsFile {
 public:
  explicit SettingsFile(std::string sIniFileName);

  /// Sets each field whose line is present and not empty; an empty or missing line leaves its
  /// field as it was, lines after the sixth are ignored, and a missing file changes nothing.
  /// Throws RuntimeError with FailureMessage() when the file exists but cannot be read.
  void LoadSettings(SettingsFields& fields) const;

  /// Replaces the file with the six fields as they are, empty ones as empty lines. Throws
  /// RuntimeError with FailureMessage() when the old file cannot be deleted or the new one
  /// cannot be created or written.
  void SaveSettings(const SettingsFields& fields) const;

  /// "Path '" + path + "' for logfile doesn't exist.": the operator's message for a settings
  /// file that cannot be used, after which the program ends.
  std::string FailureMessage() const;

 private:
  std::string sIniFileName_;
};

}  // namespace mv
