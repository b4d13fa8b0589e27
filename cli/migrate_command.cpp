// RunMigrateCommand: the options read, the log and settings file found, the passwords from the
// environment or the terminal, the run under Ctrl-C, its summary, its report and its exit status.
#include "cli/migrate_command.h"

#include <array>
#include <utility>

#include "build_commit.h"
#include "cli/command_line.h"
#include "cli/command_output.h"
#include "cli/operator_hints.h"
#include "cli/run_report.h"
#include "cli/verify_command.h"
#include "converters/converter_factory.h"
#include "driver/convert_functions.h"
#include "driver/global_convert.h"
#include "driver/odbc_keywords.h"
#include "driver/run_progress.h"
#include "driver/settings_file.h"
#include "frontend/run_ending.h"
#include "frontend/start_up.h"
#include "platform/configuration/configuration_path.h"
#include "platform/console/console.h"
#include "platform/environment.h"
#include "platform/runtime_error.h"
#include "platform/text_file.h"

namespace mv {
namespace {

constexpr const char* kProgram = "vantrel-migrate";
constexpr const char* kRehearsalLogName = "Vantrel23Rehearsal.log";
constexpr const char* kSourcePasswordVariable = "VANTREL_SOURCE_PASSWORD";
constexpr const char* kTargetPasswordVariable = "VANTREL_TARGET_PASSWORD";
constexpr const char* kParametersNeedConfiguration =
    "The parameter migration writes the configuration store that the installation names: "
    "--log does not stand in for VANTREL_CONFIGURATION.";
constexpr const char* kStopping =
    "Stopping after the unit being written; press Ctrl-C again to end at once.";

// The operator's request to stop the run. The interrupt's handler is handed nothing of the
// run, so it finds the request here; vantrel-migrate runs one migration per process.
StopRequest operatorStop;

void StopTheRun() { operatorStop.Make(); }

bool HasConfigurationPath() {
  const std::optional<std::string> path = EnvironmentVariable(kConfigurationPathVariable);
  return path && !path->empty();
}

struct RunFiles {
  std::string logPath;
  std::string settingsFile;  // empty when the connection values are not read from one
  SettingsFields fields;
};

// The log path and the fields as the window fills them at start-up from the settings file in
// the working folder. With a log path of its own and no installation named, no settings file
// is read. Shows the window's message, with the reason and a hint, when the working folder or
// the settings file cannot be used.
std::optional<RunFiles> FilesFor(const CommandLine& line, MessageLines& shown,
                                 MessageDisplay& messages) {
  RunFiles files;
  // The parameter migration writes the installation's configuration store, whatever the log.
  if (line.logPath && !line.convertParameters && !HasConfigurationPath()) {
    files.logPath = *line.logPath;
    return files;
  }
  const std::optional<WindowPaths> paths = FindWorkingFolder(messages);
  if (!paths) {
    if (line.logPath) messages.ShowMessage(kParametersNeedConfiguration);
    return std::nullopt;
  }
  files.settingsFile = paths->sIniFileName;
  files.logPath = line.logPath.value_or(paths->sLogFileName);
  shown.SetSettingsFile(files.settingsFile);
  if (!LoadSettingsFields(files.settingsFile, files.fields, messages)) return std::nullopt;
  return files;
}

// A rehearsal logs beside the real log, never into it.
std::string RehearsalLogPath(const std::string& logPath) {
  const std::u8string path = (PathFromUtf8(logPath).parent_path() / kRehearsalLogName).u8string();
  return {path.begin(), path.end()};
}

// From the environment, else asked on the terminal, else empty: never from the arguments,
// which other users of the machine can read.
std::string Password(const char* variable, const std::string& prompt) {
  if (std::optional<std::string> value = EnvironmentVariable(variable)) return *value;
  if (IsTerminal(StandardStream::Input)) return ReadHiddenLine(prompt);
  return "";
}

ConnectionValues ValuesFor(const CommandLine& line, const SettingsFields& fields) {
  ConnectionValues values;
  values.SDBServer = line.SDBServer.value_or(fields.SDBServer);
  values.SUser = line.SUser.value_or(fields.SUser);
  values.SPassword = Password(kSourcePasswordVariable, "Source Database Password: ");
  values.SDB = line.SDB.value_or(fields.SDB);
  values.TDBServer = line.TDBServer.value_or(fields.TDBServer);
  values.TUser = line.TUser.value_or(fields.TUser);
  values.TPassword = Password(kTargetPasswordVariable, "Target Database Password: ");
  values.TDB = line.TDB.value_or(fields.TDB);
  return values;
}

// The four captions in the order the run executes the migrations.
class Captions {
 public:
  Captions(CommandOutput& output, ProgressLines& progress)
      : lines_{{{output, progress}, {output, progress}, {output, progress}, {output, progress}}} {}
  MigrationCaptions All() { return {lines_[0], lines_[1], lines_[2], lines_[3]}; }

  bool AnyRan() const {
    for (const CaptionLine& line : lines_) {
      if (!line.Caption().empty()) return true;
    }
    return false;
  }
  // Each selected migration as the run left it.
  std::vector<MigrationOutcome> Outcomes(const MigrationSelection& selection,
                                         const GlobalConvert& convert) const {
    std::vector<MigrationOutcome> outcomes;
    for (const Migration migration : {Migration::Baskets, Migration::SubmittedOrders,
                                      Migration::Parameters, Migration::CopyData}) {
      if (!selection.Selected(migration)) continue;
      const CaptionLine& line = lines_[static_cast<size_t>(migration)];
      outcomes.push_back(
          {MigrationName(migration), line.Caption(), convert.Outcome(migration), line.Seconds()});
    }
    return outcomes;
  }

 private:
  std::array<CaptionLine, 4> lines_;
};

// Runs the migrations `line` asks for, filling `report` and `tally`; answers the exit status.
int Migrate(const CommandLine& line, CommandOutput& output, MessageLines& shown, RunTally& tally,
            RunReport& report) {
  ReportedMessages messages(shown, report);
  std::optional<RunFiles> files = FilesFor(line, shown, messages);
  if (!files) return kExitNothingRan;
  if (line.rehearse) files->logPath = RehearsalLogPath(files->logPath);
  report.logPath = files->logPath;
  const ConnectionValues values = ValuesFor(line, files->fields);
  // A value no connection could use is refused before the log is opened; its message is shown.
  std::vector<std::string> refused;
  const bool usable = ValidateValues(values, messages, refused);

  const InterruptWatch interrupt(
      std::string(output.ErrIsTerminal() ? "\r\x1b[K" : "") + kStopping + "\n", StopTheRun);
  ProgressLines progress(output, [] { return operatorStop.Made(); });
  const MigrationSelection selection{line.convertBaskets, line.convertOrders,
                                     line.convertParameters, line.copyData};
  if (line.verify) {
    return usable ? VerifyMigrations(values, selection, files->logPath, output, messages, progress,
                                     report)
                  : kExitNothingRan;
  }
  Captions captions(output, progress);
  GlobalConvert convert(MakeConverterFactory({line.resumeCopy, line.rehearse, &tally}), messages,
                        LocalNow, progress);
  MigrationEnding ending;
  if (usable) ending = RunMigrations(convert, values, selection, files->logPath, captions.All());
  report.stopped = operatorStop.Made();
  report.migrations = captions.Outcomes(selection, convert);
  if (captions.AnyRan()) {
    for (const std::string& summaryLine : SummaryLines(report, tally)) output.Line(summaryLine);
  }
  const int failed = captions.AnyRan() ? kExitErrors : kExitNothingRan;
  if (ending.escapedError) {
    messages.ShowMessage(*ending.escapedError);
    return failed;
  }
  if (ending.succeeded) {
    output.Line(kConversionSucceeded);
    return kExitSucceeded;
  }
  // After refused values or a log that could not be opened, there is no log to check.
  if (usable && !shown.LogUnusable()) messages.ShowMessage(kConversionFailed);
  const std::string resume =
      ResumeCopyHint(tally.CountedBy(MigrationName(Migration::CopyData)), line.resumeCopy);
  if (!resume.empty()) messages.ShowMessage(resume);
  return failed;
}

int RunMigration(const CommandLine& line, CommandOutput& output) {
  MessageLines messages(output);
  RunTally tally;
  RunReport report;
  report.version = MV_VERSION;
  report.commit = kBuildCommit;
  report.rehearsal = line.rehearse;
  report.exitStatus = Migrate(line, output, messages, tally, report);
  if (line.reportPath) {
    try {
      WriteReport(*line.reportPath, report, tally);
    } catch (const RuntimeError& error) {
      messages.ShowMessageAbout("The report could not be written",
                                {MessageSubject::None, error.Description(), *line.reportPath});
      // A script that reads the report learns that there is none.
      if (report.exitStatus == kExitSucceeded) return kExitErrors;
    }
  }
  return report.exitStatus;
}

// The ODBC keywords of --odbc-keywords, else of VANTREL_ODBC_KEYWORDS, checked for form.
OdbcKeywords OdbcKeywordsFor(const CommandLine& line) {
  if (line.odbcKeywords) return ReadOdbcKeywords("option '--odbc-keywords'", *line.odbcKeywords);
  return OdbcKeywordsOfEnvironment();
}

int RefuseUsage(std::ostream& err, const std::string& reason) {
  err << kProgram << ": " << reason << "\nTry '" << kProgram << " --help' for more information.\n";
  return kExitNothingRan;
}

}  // namespace

int RunMigrateCommand(const std::vector<std::string>& arguments, std::ostream& out,
                      std::ostream& err) {
  CommandLine line;
  try {
    line = ReadCommandLine(arguments);
  } catch (const UsageError& error) {
    return RefuseUsage(err, error.what());
  }
  if (line.help) {
    out << HelpText();
    return kExitSucceeded;
  }
  if (line.version) {
    out << kProgram << " (MigrateVantrel22To23) " << MV_VERSION << " (commit " << kBuildCommit
        << ")\n";
    return kExitSucceeded;
  }
  OdbcKeywords keywords;
  try {
    keywords = OdbcKeywordsFor(line);
  } catch (const RuntimeError& error) {
    return RefuseUsage(err, error.Description());
  }
  const ChosenOdbcKeywords chosen(std::move(keywords));
  CommandOutput output(out, err, IsTerminal(StandardStream::Error));
  return RunMigration(line, output);
}

}  // namespace mv
