// GlobalConvert: one whole migration run over the selected migrations.
#pragma once

#include <functional>
#include <string>

#include "driver/connection_values.h"
#include "driver/converter.h"
#include "platform/local_time.h"
#include "platform/message_display.h"
#include "platform/progress_caption.h"

namespace mv {

/// What the operator reads after a run that succeeded.
inline constexpr const char* kConversionSucceeded = "Conversion was completed succesfully.";
/// The message after a run that failed, a check before it included.
inline constexpr const char* kConversionFailed =
    "Errors have occured during conversion. Please check the logfile.";

class GlobalConvert {
 public:
  /// `clock` gives the time shown in each section header; `progress` receives the running
  /// migration's progress, and a stop it asks for ends the run after that migration.
  GlobalConvert(ConverterFactory factory, MessageDisplay& messages,
                std::function<DateTime()> clock = LocalNow, RunProgress& progress = NoProgress());

  /// Opens the log, checks the fields, tests both connections, then runs the selected
  /// migrations in the order baskets, submitted orders, parameters, remaining data, each under
  /// its section header and with its caption showing "(Busy)" and then its outcome. Answers
  /// the AND of the converters' results; false when the log cannot be opened, and false when a
  /// field is empty or a database cannot be reached, after a blank line and one log line per
  /// failure: its message box text, for a connection ": " and the driver's reason. An error that
  /// escapes a converter is logged as "Error occured: " and its description and counts as that
  /// migration's failure. Errors of the log writes and of creating a converter reach the
  /// caller. When the operator stops the run, no migration after the running one starts, and
  /// the result is false when a selected one is left out.
  bool Run(const ConnectionValues& values, bool iConvertBaskets, bool iConvertParameters,
           bool iConvertOrders, bool iCopyData, const std::string& iLogFileName,
           ProgressCaption& CheckBasket, ProgressCaption& CheckOrders,
           ProgressCaption& CheckParameters, ProgressCaption& CheckCopy);

 private:
  bool RunConverter(Migration migration, const std::string& name, const ConnectionValues& values,
                    TextWriter& log);

  ConverterFactory factory_;
  MessageDisplay& messages_;
  std::function<DateTime()> clock_;
  RunProgress& progress_;
};

}  // namespace mv
