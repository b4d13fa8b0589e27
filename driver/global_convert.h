// GlobalConvert: one whole migration run over the selected migrations.
#pragma once

#include <array>
#include <functional>
#include <optional>
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

/// Of four things given in the order the run executes the migrations (baskets, submitted
/// orders, parameters, remaining data), the one that belongs to `migration`.
template <typename T>
T& OfMigration(Migration migration, T& baskets, T& orders, T& parameters, T& copy) {
  switch (migration) {
    case Migration::Baskets:
      return baskets;
    case Migration::SubmittedOrders:
      return orders;
    case Migration::Parameters:
      return parameters;
    case Migration::CopyData:
      break;
  }
  return copy;
}

/// Which migrations a run performs, as the operator ticked them.
struct MigrationSelection {
  bool iConvertBaskets = false;
  bool iConvertOrders = false;
  bool iConvertParameters = false;
  bool iCopyData = false;

  bool Selected(Migration migration) const {
    return OfMigration(migration, iConvertBaskets, iConvertOrders, iConvertParameters, iCopyData);
  }
};

/// The four check boxes whose captions show each migration's state.
struct MigrationCaptions {
  ProgressCaption& CheckBasket;
  ProgressCaption& CheckOrders;
  ProgressCaption& CheckParameters;
  ProgressCaption& CheckCopy;

  ProgressCaption& Of(Migration migration) const {
    return OfMigration(migration, CheckBasket, CheckOrders, CheckParameters, CheckCopy);
  }
};

/// The migration's caption text before its status: "Migrate Baskets" ...
std::string MigrationName(Migration migration);

/// The caption of a migration that ended with errors: "Migrate Baskets   (Done, Errors Found)".
std::string ErrorsFoundCaption(Migration migration);

class GlobalConvert {
 public:
  /// `clock` gives the time shown in each section header; `progress` receives the running
  /// migration's progress, and a stop it asks for ends the run after that migration.
  GlobalConvert(ConverterFactory factory, MessageDisplay& messages,
                std::function<DateTime()> clock = LocalNow, RunProgress& progress = NoProgress());

  /// Opens the log, checks the fields and the group size (CheckGroupSize), tests both
  /// connections, then runs the selected migrations in the order baskets, submitted orders,
  /// parameters, remaining data, each under its section header and with its caption showing
  /// "(Busy)" and then its outcome. Answers the AND of the converters' results; false when the
  /// log cannot be opened, and false when a field is empty, the group size is refused or a
  /// database cannot be reached, after a blank line and one log line per failure: its message box
  /// text, for a connection ": " and the driver's reason. An error that escapes a converter is
  /// logged as "Error occured: " and its description and counts as that migration's failure. Errors
  /// of the log writes and of creating a converter reach the caller. When the operator stops the
  /// run, no migration after the running one starts, and the result is false when a selected one is
  /// left out.
  bool Run(const ConnectionValues& values, const MigrationSelection& selection,
           const std::string& iLogFileName, const MigrationCaptions& captions);

  /// The migration whose caption shows "(Busy)": set from its start to its outcome, so that
  /// after an error escaped Run it names the migration the error cut short. Empty before a
  /// run, between migrations and after a run that returned.
  std::optional<Migration> BusyMigration() const { return busy_; }
  /// Whether `migration` succeeded in the last run; empty when it did not run to its end.
  std::optional<bool> Outcome(Migration migration) const {
    return outcomes_[static_cast<size_t>(migration)];
  }

 private:
  bool RunConverter(Migration migration, const std::string& name, const ConnectionValues& values,
                    TextWriter& log);

  ConverterFactory factory_;
  MessageDisplay& messages_;
  std::function<DateTime()> clock_;
  RunProgress& progress_;
  std::optional<Migration> busy_;
  std::array<std::optional<bool>, 4> outcomes_;
};

}  // namespace mv
