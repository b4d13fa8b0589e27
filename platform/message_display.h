// The message box through which the program tells the operator something.
#pragma once

#include <string>

namespace mv {

/// What a message is about, so that a front-end without a window can say what to change.
/// The six empty-field subjects are in the order of the settings file's lines.
enum class MessageSubject {
  None,
  SourceServer,
  TargetServer,
  SourceUser,
  TargetUser,
  SourceDatabase,
  TargetDatabase,
  SourcePassword,
  TargetPassword,
  SourceConnection,
  TargetConnection,
  LogFile,
  SettingsFile,
};

/// What the message box does not show: its subject, the driver's or the system's one-line
/// reason (never a password or a connection string), the file concerned, and for a connection
/// value whether it was given but cannot be used (rather than left empty).
struct MessageDetail {
  MessageSubject subject = MessageSubject::None;
  std::string reason;
  std::string path;
  bool valueRefused = false;
};

/// Shows a message box with an OK button only, no icon and the title "MigrateVantrel22To23",
/// and returns when the operator has closed it.
class MessageDisplay {
 public:
  virtual ~MessageDisplay() = default;
  virtual void ShowMessage(const std::string& text) = 0;
  /// The message box of `text`; the window shows the box alone, without `detail`.
  virtual void ShowMessageAbout(const std::string& text, const MessageDetail& detail) {
    (void)detail;
    ShowMessage(text);
  }
};

}  // namespace mv
