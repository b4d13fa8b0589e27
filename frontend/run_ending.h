// How a migration or a dump ends for the operator: the caption of a migration cut short, the
// success text, and the message boxes.
#pragma once

#include <optional>
#include <string>

#include "driver/connection_values.h"
#include "driver/global_convert.h"
#include "platform/message_display.h"

namespace mv {

/// What a migration run came to.
struct MigrationEnding {
  bool succeeded = false;
  /// The description of an error that escaped the run (a log that cannot be opened, a
  /// converter that cannot be created ...); the run then did not succeed.
  std::optional<std::string> escapedError;
};

/// Runs `convert` over the selected migrations (GlobalConvert::Run). An error that escapes it
/// is caught, and the migration it cut short has its caption set to ErrorsFoundCaption rather
/// than left "(Busy)".
MigrationEnding RunMigrations(GlobalConvert& convert, const ConnectionValues& values,
                              const MigrationSelection& selection, const std::string& sLogFileName,
                              const MigrationCaptions& captions);

/// The label under the connection grid, `ResultText`, as a window shows it.
class ResultTextView {
 public:
  virtual ~ResultTextView() = default;
  /// Sets the caption and shows the label.
  virtual void ShowResultText(const std::string& caption) = 0;
  /// Hides the label; its caption stays.
  virtual void HideResultText() = 0;
};

/// Shows a migration's ending in a window: after success, `ResultText` shows
/// "Conversion was completed succesfully."; after a failure, the message box "Errors have
/// occured during conversion. Please check the logfile." and, once it is closed, `ResultText`
/// hidden; after an escaped error, `ResultText` hidden, then the error's description by message
/// box.
void ShowMigrationEnding(const MigrationEnding& ending, ResultTextView& resultText,
                         MessageDisplay& messages);

/// The message box after a dump that ran to its end: "Dump Completed", with a second line when
/// `damaged` order forms could not be read, e.g. "1 order form is damaged; its place in the dump
/// file says why."
std::string DumpCompletedMessage(int damaged);

}  // namespace mv
