// vantrel-migrate --verify: the target compared with what the chosen migrations write for the
// source now, writing nothing anywhere.
#pragma once

#include <string>

#include "cli/command_output.h"
#include "cli/run_report.h"
#include "driver/connection_values.h"
#include "driver/global_convert.h"
#include "platform/message_display.h"

namespace mv {

/// The most findings of one migration shown on standard error; the log and the report hold all.
inline constexpr std::size_t kFindingsShown = 20;

/// Opens the log (appending), makes the run's checks (fields, group size, both connections),
/// then verifies each selected migration under a log section "Verification of ...": its
/// findings and its summary line in the log, the summary line on standard output, its first
/// findings on standard error, and all of it in `report`. Ends early, with the reason, after a
/// lost connection, a failure to read or a stop (`progress`). Answers the exit status: 0 when
/// every verification ran to its end and found nothing missing, different, extra or unreadable;
/// 1 otherwise; 2 when the log cannot be opened or a check fails.
int VerifyMigrations(const ConnectionValues& values, const MigrationSelection& selection,
                     const std::string& logPath, CommandOutput& output, MessageDisplay& messages,
                     ProgressLines& progress, RunReport& report);

}  // namespace mv
