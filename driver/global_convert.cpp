#include "driver/global_convert.h"

#include <array>
#include <utility>
#include <vector>

#include "driver/convert_functions.h"
#include "platform/runtime_error.h"

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

}  // namespace

bool GlobalConvert::RunConverter(Migration migration, const std::string& name,
                                 const ConnectionValues& values, TextWriter& log) {
  std::unique_ptr<Converter> converter = factory_(migration);
  converter->SetProgress(progress_, name);
  std::string failure;
  try {
    return converter->Convert(values, log);
  } catch (const RuntimeError& error) {
    failure = error.Description();
  } catch (const std::exception& error) {
    failure = error.what();
  }
  // A converter reports its own errors; one that still escapes is logged here so that the
  // run goes on with the next migration and the operator learns why this one failed.
  log.WriteLine("Error occured: " + failure);
  return false;
}

GlobalConvert::GlobalConvert(ConverterFactory factory, MessageDisplay& messages,
                             std::function<DateTime()> clock, RunProgress& progress)
    : factory_(std::move(factory)),
      messages_(messages),
      clock_(std::move(clock)),
      progress_(progress) {}

bool GlobalConvert::Run(const ConnectionValues& values, bool iConvertBaskets,
                        bool iConvertParameters, bool iConvertOrders, bool iCopyData,
                        const std::string& iLogFileName, ProgressCaption& CheckBasket,
                        ProgressCaption& CheckOrders, ProgressCaption& CheckParameters,
                        ProgressCaption& CheckCopy) {
  std::unique_ptr<TextWriter> log = OpenLogStream(iLogFileName, messages_);
  if (!log) return false;
  // Each failed check leaves its message and reason in the log, after the blank line that
  // opens every run's entries, so that the operator can read there why the run stopped.
  std::vector<std::string> failures;
  if (!ValidateFields(values.SDBServer, values.TDBServer, values.SUser, values.TUser, values.SDB,
                      values.TDB, messages_, failures) ||
      !TestConnections(values, messages_, failures)) {
    log->WriteBlankLines(1);
    for (const std::string& line : failures) log->WriteLine(line);
    return false;
  }

  const std::array<bool, 4> selected{iConvertBaskets, iConvertOrders, iConvertParameters,
                                     iCopyData};
  const std::array<ProgressCaption*, 4> captions{&CheckBasket, &CheckOrders, &CheckParameters,
                                                 &CheckCopy};
  bool result = true;
  bool stopped = false;
  for (size_t i = 0; i < kSteps.size(); ++i) {
    if (!selected[i]) continue;
    // A selected migration that a stop leaves out was not done: the run did not succeed.
    if (stopped) {
      result = false;
      break;
    }
    const Step& step = kSteps[i];
    const std::string name = step.name;
    captions[i]->SetCaption(name + "   (Busy)");
    const std::string title = step.title;
    log->WriteBlankLines(1);
    log->WriteLine(title);
    log->WriteLine(Variant::Date(clock_()).ToText());
    log->WriteLine(std::string(title.size(), '-'));
    log->WriteBlankLines(1);
    const bool succeeded = RunConverter(step.migration, name, values, *log);
    if (succeeded) {
      captions[i]->SetCaption(name + "   (Done, No Errors Found)");
    } else {
      result = false;
      captions[i]->SetCaption(name + "   (Done, Errors Found)");
    }
    stopped = progress_.StopRequested();
  }
  log->Close();
  return result;
}

}  // namespace mv
