// VerifyMigrations: the checks of a run, then each selected migration verified under its log
// section, its summary line and first findings shown, its account kept for the report.
#include "cli/verify_command.h"

#include <array>
#include <chrono>
#include <functional>
#include <vector>

#include "cli/migrate_command.h"
#include "converters/baskets/verify_baskets.h"
#include "converters/copydata/copy_data.h"
#include "converters/orders/verify_orders.h"
#include "converters/parameters/verify_parameters.h"
#include "driver/convert_functions.h"
#include "driver/escaped_error.h"
#include "driver/group_size.h"
#include "platform/local_time.h"

namespace mv {
namespace {

using Verifier =
    std::function<void(const ConnectionValues&, TextWriter&, RunProgress&, VerificationAccount&)>;

struct VerifiedMigration {
  Migration migration;
  const char* title;  // the log section's title
  Verifier verify;
};

const std::array<VerifiedMigration, 4>& VerifiedMigrations() {
  static const std::array<VerifiedMigration, 4> migrations{{
      {Migration::Baskets, "Verification of Stored Baskets:",
       [](const ConnectionValues& values, TextWriter& log, RunProgress& progress,
          VerificationAccount& account) {
         BasketVerification(log, progress, account).Verify(values);
       }},
      {Migration::SubmittedOrders, "Verification of Submitted Orders:", VerifyOrders},
      {Migration::Parameters, "Verification of Parameters:", VerifyParameters},
      {Migration::CopyData, "Verification of the Copy of Remaining Data:", CopyData::Verify},
  }};
  return migrations;
}

void WriteSectionHeader(TextWriter& log, const std::string& title) {
  log.WriteBlankLines(1);
  log.WriteLine(title);
  log.WriteLine(Variant::Date(LocalNow()).ToText());
  log.WriteLine(std::string(title.size(), '-'));
  log.WriteBlankLines(1);
}

/// Verifies one migration; a failure that ends it is kept in the account as its reason.
VerificationAccount VerifyOne(const VerifiedMigration& verified, const ConnectionValues& values,
                              TextWriter& log, ProgressLines& progress) {
  VerificationAccount account(MigrationName(verified.migration));
  progress.Restart();
  try {
    verified.verify(values, log, progress, account);
    if (progress.StopRequested()) account.End(kStoppedByOperator);
  } catch (const std::exception& error) {
    account.End(progress.StopRequested() ? kStoppedByOperator : DescriptionOf(error));
  }
  return account;
}

void WriteAccount(TextWriter& log, const VerificationAccount& account) {
  for (const VerificationFinding& finding : account.Findings()) {
    log.WriteLine(VerificationAccount::FindingLine(finding));
  }
  log.WriteLine(account.SummaryLine());
}

/// The first findings that are not refusals, then how many more there are.
void ShowFindings(CommandOutput& output, const VerificationAccount& account) {
  std::size_t shown = 0;
  std::size_t more = 0;
  for (const VerificationFinding& finding : account.Findings()) {
    if (finding.label.starts_with("refused")) continue;
    if (shown == kFindingsShown) {
      ++more;
      continue;
    }
    output.ErrorLine(account.Migration() + ": " + VerificationAccount::FindingLine(finding));
    ++shown;
  }
  if (more > 0) {
    output.ErrorLine(account.Migration() + ": " + std::to_string(more) +
                     " more in the log and the report");
  }
  if (!account.Ended().empty()) {
    output.ErrorLine(account.Migration() + ": the verification ended early: " + account.Ended());
  }
}

/// Verifies each selected migration in turn, until a stop; answers whether all are clean.
bool VerifySelected(const ConnectionValues& values, const MigrationSelection& selection,
                    TextWriter& log, CommandOutput& output, ProgressLines& progress,
                    RunReport& report) {
  bool clean = true;
  for (const VerifiedMigration& verified : VerifiedMigrations()) {
    if (!selection.Selected(verified.migration)) continue;
    if (progress.StopRequested()) {
      clean = false;
      break;
    }
    WriteSectionHeader(log, verified.title);
    const auto started = std::chrono::steady_clock::now();
    VerificationAccount account = VerifyOne(verified, values, log, progress);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    WriteAccount(log, account);
    output.Line(account.SummaryLine());
    ShowFindings(output, account);
    clean = clean && account.Clean();
    report.migrations.push_back(
        {account.Migration(), account.SummaryLine(), account.Clean(), seconds});
    report.verifications.push_back(std::move(account));
  }
  return clean;
}

}  // namespace

int VerifyMigrations(const ConnectionValues& values, const MigrationSelection& selection,
                     const std::string& logPath, CommandOutput& output, MessageDisplay& messages,
                     ProgressLines& progress, RunReport& report) {
  std::unique_ptr<TextWriter> log = OpenLogStream(logPath, messages);
  if (!log) return kExitNothingRan;
  std::vector<std::string> failures;
  if (!ValidateFields(values.SDBServer, values.TDBServer, values.SUser, values.TUser, values.SDB,
                      values.TDB, messages, failures) ||
      !CheckGroupSize(messages, failures) ||
      !TestConnections(values, messages, failures, progress)) {
    log->WriteBlankLines(1);
    for (const std::string& line : failures) log->WriteLine(line);
    return kExitNothingRan;
  }
  try {
    const bool clean = VerifySelected(values, selection, *log, output, progress, report);
    log->Close();
    report.stopped = progress.StopRequested();
    output.Line("Log: " + logPath);
    return clean ? kExitSucceeded : kExitErrors;
  } catch (const std::exception& error) {
    messages.ShowMessage(DescriptionOf(error));  // the log itself failed
    return kExitErrors;
  }
}

}  // namespace mv
