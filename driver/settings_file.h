// SettingsFile: the six connection fields remembered between starts in "Vantrel23Convert.INI".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/message_display.h"
#include "platform/runtime_error.h"
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

/// The names of the file's six lines in their order: "source server", "target server", ...
std::vector<std::string> SettingsLineNames();

/// A line of the settings file that no connection could use: it holds a control character, is
/// not valid text in the file's encoding, or is longer than kMaxConnectionValueLength.
class SettingsLineRefused : public RuntimeError {
 public:
  SettingsLineRefused(MessageSubject subject, const std::string& description);
  /// The connection value of the line (SourceServer for line 1 ... TargetDatabase for line 6).
  MessageSubject Subject() const { return subject_; }

 private:
  MessageSubject subject_;
};

/// The settings file: six plain lines (source server, target server, source user, target
/// user, source database, target database), CR LF, in the system's narrow code page.
class SettingsFile {
 public:
  explicit SettingsFile(std::string sIniFileName);

  /// Sets each field whose line is present and not empty; an empty or missing line leaves its
  /// field as it was, lines after the sixth are ignored, and a missing file changes nothing.
  /// Throws RuntimeError with FailureMessage() when the file exists but cannot be read, and
  /// SettingsLineRefused, changing no field, for the first of the six lines that cannot be
  /// used: "Line 6 (target database) of 'PATH' holds a control character."
  void LoadSettings(SettingsFields& fields) const;

  /// Replaces the file with the six fields as they are, empty ones as empty lines. Throws
  /// RuntimeError with FailureMessage() when the old file cannot be deleted or the new one
  /// cannot be created or written.
  void SaveSettings(const SettingsFields& fields) const;

  /// "Path '" + path + "' for logfile doesn't exist.": the operator's message for a settings
  /// file that cannot be used, after which the program ends.
  std::string FailureMessage() const;

 private:
  /// The refusal of the line at `index` (0 for the first) read as `text`; nothing when it can
  /// be used.
  std::optional<SettingsLineRefused> Refusal(size_t index, const std::string& text) const;

  std::string sIniFileName_;
};

}  // namespace mv
