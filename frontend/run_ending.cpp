// The migration run with its escaped error caught, and the texts of a run's ending.
#include "frontend/run_ending.h"

#include <exception>

#include "driver/escaped_error.h"

namespace mv {

MigrationEnding RunMigrations(GlobalConvert& convert, const ConnectionValues& values,
                              const MigrationSelection& selection, const std::string& sLogFileName,
                              const MigrationCaptions& captions) {
  try {
    return {convert.Run(values, selection, sLogFileName, captions), std::nullopt};
  } catch (const std::exception& error) {
    // The step the error cut short did not finish cleanly: say so instead of "(Busy)".
    if (const std::optional<Migration> busy = convert.BusyMigration()) {
      captions.Of(*busy).SetCaption(ErrorsFoundCaption(*busy));
    }
    return {false, DescriptionOf(error)};
  }
}

void ShowMigrationEnding(const MigrationEnding& ending, ResultTextView& resultText,
                         MessageDisplay& messages) {
  if (ending.escapedError) {
    resultText.HideResultText();
    messages.ShowMessage(*ending.escapedError);
  } else if (ending.succeeded) {
    resultText.ShowResultText(kConversionSucceeded);
  } else {
    messages.ShowMessage(kConversionFailed);
    resultText.HideResultText();
  }
}

std::string DumpCompletedMessage(int damaged) {
  std::string message = "Dump Completed";
  if (damaged == 1) {
    message += "\n1 order form is damaged; its place in the dump file says why.";
  } else if (damaged > 1) {
    message += "\n" + std::to_string(damaged) +
               " order forms are damaged; their place in the dump file says why.";
  }
  return message;
}

}  // namespace mv
