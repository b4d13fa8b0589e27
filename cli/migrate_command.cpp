#include "cli/migrate_command.h"

#include <array>
#include <exception>

#include "cli/command_line.h"
#include "cli/command_output.h"
#include "converters/converter_factory.h"
#include "driver/escaped_error.h"
#include "driver/global_convert.h"
#include "driver/settings_file.h"
#include "driver/window_paths.h"
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
constexpr const char* kStopping =
    "Stopping after the unit being written; press Ctrl-C again to end at once.";

bool HasConfigurationPath() {
  const std::optional<std::string> path = EnvironmentVariable(kConfigurationPathVariable);
  return path && !path->empty();
}

struct RunFiles {
  std::string logPath;
  SettingsFields fields;
};

// The log path and the fields as the window fills them at start-up from the settings file in
// the working folder. With a log path of its own and no installation named, no settings file
// is read. Throws RuntimeError with the window's message when the working folder or the
// settings file cannot be used.

RunFiles FilesFor(const CommandLine& line) {
  RunFiles files;
  if (line.logPath && !HasConfigurationPath()) {
    files.logPath = *line.logPath;
    return files;
  }
  const WindowPaths paths = WindowPathsFor(ConfigurationPath());
  SettingsFile(paths.sIniFileName).LoadSettings(files.fields);
  files.logPath = line.logPath.value_or(paths.sLogFileName);
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
  // As the window does after an error that escaped the run: the step it cut short is not left
  // "(Busy)".
  void EndBusyWithErrors(Migration busy) { All().Of(busy).SetCaption(ErrorsFoundCaption(busy)); }

 private:
  std::array<CaptionLine, 4> lines_;
};

int RunMigration(const CommandLine& line, CommandOutput& output) {
  MessageLines messages(output);
  RunFiles files;
  try {
    files = FilesFor(line);
    if (line.rehearse) files.logPath = RehearsalLogPath(files.logPath);
  } catch (const RuntimeError& error) {
    messages.ShowMessage(error.Description());
    return kExitNothingRan;
  }
  const ConnectionValues values = ValuesFor(line, files.fields);

  const InterruptWatch interrupt(std::string(output.ErrIsTerminal() ? "\r\x1b[K" : "") + kStopping +
                                 "\n");
  ProgressLines progress(output, [&interrupt] { return interrupt.Requested(); });
  Captions captions(output, progress);
  RehearsalTally tally;
  GlobalConvert convert(MakeConverterFactory({line.resumeCopy, line.rehearse ? &tally : nullptr}),
                        messages, LocalNow, progress);
  bool succeeded = false;
  std::string escaped;
  try {
    succeeded = convert.Run(
        values, {line.convertBaskets, line.convertOrders, line.convertParameters, line.copyData},
        files.logPath, captions.All());
  } catch (const std::exception& error) {
    escaped = DescriptionOf(error);
  }
  if (line.rehearse && captions.AnyRan()) {
    for (const std::string& summaryLine : tally.Summary()) output.Line(summaryLine);
  }
  const int failed = captions.AnyRan() ? kExitErrors : kExitNothingRan;
  if (!escaped.empty()) {
    if (const auto busy = convert.BusyMigration()) captions.EndBusyWithErrors(*busy);
    messages.ShowMessage(escaped);
    return failed;
  }
  if (succeeded) {
    output.Line(kConversionSucceeded);
    return kExitSucceeded;
  }
  messages.ShowMessage(kConversionFailed);
  return failed;
}

}  // namespace

int RunMigrateCommand(const std::vector<std::string>& arguments, std::ostream& out,
                      std::ostream& err) {
  CommandLine line;
  try {
    line = ReadCommandLine(arguments);
  } catch (const UsageError& error) {
    err << kProgram << ": " << error.what() << "\nTry '" << kProgram
        << " --help' for more information.\n";
    return kExitNothingRan;
  }
  if (line.help) {
    out << HelpText();
    return kExitSucceeded;
  }
  if (line.version) {
    out << kProgram << " (MigrateVantrel22To23) " << MV_VERSION << '\n';
    return kExitSucceeded;
  }
  CommandOutput output(out, err, IsTerminal(StandardStream::Error));
  return RunMigration(line, output);
}

}  // namespace mv
