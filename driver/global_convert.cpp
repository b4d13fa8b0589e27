// GlobalConvert: the log and the checks before a run, then each selected migration under its log
// section header and caption, an escaped error logged as that migration's failure.
#include "driver/global_convert.h"

#include <array>
#include <utility>
#include <vector>

#include "driver/convert_functions.h"
#include "driver/escaped_error.h"
#include "driver/group_size.h"

namespace mv {
namespace {

struct Step {
  Migration migration;
  const char* name;   // the caption's text before its status
  const char* title;  // the log section's title
};

constexpr std::array<Step, 4> kSteps{{
    {Migration::Baskets, "Migrate Baskets", "Conversion of Stored Baskets:"},
    {Migration::SubmittedOrders, "Migrate Submitted Orders", "Conversion of Submitted Orders:"},
    {Migration::Parameters, "Migrate Parameters", "Conversion of Parameters:"},
    {Migration::CopyData, "Copy Remaining Data", "Copy of remaining data:"},
}};

const Step& StepOf(Migration migration) {
  for (const Step& step : kSteps) {
    if (step.migration == migration) return step;
  }
  return kSteps.back();
}

}  // namespace

std::string MigrationName(Migration migration) { return StepOf(migration).name; }

std::string ErrorsFoundCaption(Migration migration) {
  return std::string(StepOf(migration).name) + "   (Done, Errors Found)";
}

bool GlobalConvert::RunConverter(Migration migration, const std::string& name,
                                 const ConnectionValues& values, TextWriter& log) {
  std::unique_ptr<Converter> converter = factory_(migration);
  converter->SetProgress(progress_, name);
  try {
    return converter->Convert(values, log);
  } catch (const std::exception& error) {
    // A converter reports its own errors; one that still escapes is logged here so that the
    // run goes on with the next migration and the operator learns why this one failed.
    WriteErrorOccured(log, error);
    return false;
  }
}

GlobalConvert::GlobalConvert(ConverterFactory factory, MessageDisplay& messages,
                             std::function<DateTime()> clock, RunProgress& progress)
    : factory_(std::move(factory)),
      messages_(messages),
      clock_(std::move(clock)),
      progress_(progress) {}

bool GlobalConvert::Run(const ConnectionValues& values, const MigrationSelection& selection,
                        const std::string& iLogFileName, const MigrationCaptions& captions) {
  busy_.reset();
  outcomes_ = {};
  std::unique_ptr<TextWriter> log = OpenLogStream(iLogFileName, messages_);
  if (!log) return false;
  // Each failed check leaves its message and reason in the log, after the blank line that
  // opens every run's entries, so that the operator can read there why the run stopped.
  std::vector<std::string> failures;
  if (!ValidateFields(values.SDBServer, values.TDBServer, values.SUser, values.TUser, values.SDB,
                      values.TDB, messages_, failures) ||
      !CheckGroupSize(messages_, failures) ||
      !TestConnections(values, messages_, failures, progress_)) {
    log->WriteBlankLines(1);
    for (const std::string& line : failures) log->WriteLine(line);
    return false;
  }

  bool result = true;
  bool stopped = false;
  for (const Step& step : kSteps) {
    if (!selection.Selected(step.migration)) continue;
    // A selected migration that a stop leaves out was not done: the run did not succeed.
    if (stopped) {
      result = false;
      break;
    }
    ProgressCaption& caption = captions.Of(step.migration);
    const std::string name = step.name;
    caption.SetCaption(name + "   (Busy)");
    busy_ = step.migration;
    const std::string title = step.title;
    log->WriteBlankLines(1);
    log->WriteLine(title);
    log->WriteLine(Variant::Date(clock_()).ToText());
    log->WriteLine(std::string(title.size(), '-'));
    log->WriteBlankLines(1);
    const bool succeeded = RunConverter(step.migration, name, values, *log);
    outcomes_[static_cast<size_t>(step.migration)] = succeeded;
    if (succeeded) {
      caption.SetCaption(name + "   (Done, No Errors Found)");
    } else {
      result = false;
      caption.SetCaption(ErrorsFoundCaption(step.migration));
    }
    busy_.reset();
    stopped = progress_.StopRequested();
  }
  log->Close();
  return result;
}

}  // namespace mv
