// A full run of vantrel-migrate against the same run inside the program: the same log lines
// (apart from the dates), the window's captions and closing text, the same result.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "converters/converter_factory.h"
#include "driver/global_convert.h"
#include "tests/cli/shop.h"
#include "tests/converters/parameters/instance_database.h"
#include "tests/support/copied_tables.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/scoped_environment.h"

namespace mv::testing {
namespace {

// The log with each section's date line masked, and the shop's installation folder and
// databases named alike.
std::vector<std::string> Comparable(const Shop& shop) {
  const std::pair<std::string, std::string> names[] = {
      {shop.folder_.Path().string(), "<installation>"},
      {shop.source.Address().database, "<source>"},
      {shop.target.Address().database, "<target>"}};
  std::vector<std::string> lines = DatesMasked(Lines(shop.Log()));
  for (std::string& line : lines) {
    for (const auto& [text, name] : names) {
      for (size_t at; (at = line.find(text)) != std::string::npos;) {
        line.replace(at, text.size(), name);
      }
    }
  }
  return lines;
}

TEST(FullRunTest, CommandLogsAndEndsAsTheRunInsideTheProgram) {
  // The locale of the user, as the window and the command both take it.
  std::setlocale(LC_ALL, "");
  InstanceDatabase kestrine(InstanceDatabase::State::Reachable);
  kestrine.AddInstance(4, 1);
  Shop inside;
  Shop command;
  inside.FillSamples(12);
  command.FillSamples(12);

  RecordingMessageDisplay messages;
  RunTally tally;
  std::array<RecordingCaption, 4> captions;  // baskets, orders, parameters, copy
  bool succeeded = false;
  {
    const ScopedEnvironmentVariable configuration("VANTREL_CONFIGURATION",
                                                  inside.ConfigurationPath());
    succeeded = GlobalConvert(MakeConverterFactory({false, false, &tally}), messages)
                    .Run(ValuesFor(inside.source, inside.target),
                         MigrationSelection{true, true, true, true},
                         inside.folder_.File("Vantrel23Conversion.log"),
                         {captions[0], captions[1], captions[2], captions[3]});
  }

  const ChildResult run = command.Migrate({"--all"});

  EXPECT_EQ(Comparable(command), Comparable(inside));
  std::vector<std::string> out;
  for (const RecordingCaption& caption : captions) {
    out.insert(out.end(), caption.history.begin(), caption.history.end());
  }
  // What the run did, counted as the run inside the program counted it, and the log's path.
  const std::vector<std::string> summary = tally.Summary(kRunHeading);
  out.insert(out.end(), summary.begin(), summary.end());
  std::vector<std::string> err = messages.messages;
  (succeeded ? out : err).push_back(succeeded ? kConversionSucceeded : kConversionFailed);
  std::vector<std::string> printed = Lines(run.out);
  const auto log = std::find_if(printed.begin(), printed.end(), [](const std::string& line) {
    return line.rfind("Log: ", 0) == 0;
  });
  ASSERT_NE(log, printed.end()) << run.out;
  EXPECT_TRUE(log->ends_with("Vantrel23Conversion.log")) << *log;
  printed.erase(log);
  EXPECT_EQ(printed, out);
  EXPECT_EQ(Lines(run.err), err);
  EXPECT_EQ(run.status, succeeded ? 0 : 1);
  EXPECT_EQ(CopiedTableCounts(command.target), CopiedTableCounts(inside.target));
}

}  // namespace
}  // namespace mv::testing
