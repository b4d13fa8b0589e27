// What a run of vantrel-migrate did, told after the run: the summary lines on standard output
// and, on request, the same as a JSON file for scripts that upgrade many shops.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "driver/run_tally.h"
#include "driver/verification.h"
#include "platform/message_display.h"

namespace mv {

/// One selected migration as the run left it.
struct MigrationOutcome {
  std::string name;               ///< "Migrate Baskets" ...
  std::string caption;            ///< its last caption; empty when it did not start
  std::optional<bool> succeeded;  ///< empty when it did not run
  double seconds = 0;             ///< from "(Busy)" to its outcome
};

/// A message the operator was shown: the message box's text and the reason behind it, if any.
struct ShownMessage {
  std::string text;
  std::string reason;
};

struct RunReport {
  std::string version;
  std::string commit;
  bool rehearsal = false;
  bool stopped = false;  ///< the operator asked the run to stop
  int exitStatus = 0;
  std::string logPath;
  std::vector<MigrationOutcome> migrations;
  std::vector<ShownMessage> messages;  ///< in the order shown
  /// A verification's accounts, one per migration verified, in the order of `migrations`.
  std::vector<VerificationAccount> verifications;
};

/// Shows each message through another display and keeps it in a report.
class ReportedMessages : public MessageDisplay {
 public:
  ReportedMessages(MessageDisplay& display, RunReport& report)
      : display_(display), report_(report) {}
  void ShowMessage(const std::string& text) override;
  void ShowMessageAbout(const std::string& text, const MessageDetail& detail) override;

 private:
  MessageDisplay& display_;
  RunReport& report_;
};

/// The summary printed before the closing text: the tally's summary under the real run's or
/// the rehearsal's heading, then "Log: <path>".
std::vector<std::string> SummaryLines(const RunReport& report, const RunTally& tally);

/// The report as JSON; the README lists its fields.
std::string ReportJson(const RunReport& report, const RunTally& tally);

/// Writes ReportJson to `path` atomically: a reader sees the old file or the whole new one.
/// Throws RuntimeError with the system's reason when it cannot be written.
void WriteReport(const std::string& path, const RunReport& report, const RunTally& tally);

}  // namespace mv
