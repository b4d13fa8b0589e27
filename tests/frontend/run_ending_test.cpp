// What a window shows at the end of a run, in the order the operator sees it, and the dump's
// closing message.
#include "frontend/run_ending.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/frontend/window_recorder.h"

namespace mv::testing {
namespace {

struct EndingCase {
  const char* name;
  bool succeeded;
  const char* escapedError;  // none when null
  std::vector<std::string> shown;
};

class MigrationEndingTest : public ::testing::TestWithParam<EndingCase> {};

TEST_P(MigrationEndingTest, ShowsTheOutcomeInOrder) {
  WindowRecorder window;
  const EndingCase& ending = GetParam();
  ShowMigrationEnding(
      {ending.succeeded,
       ending.escapedError ? std::optional<std::string>(ending.escapedError) : std::nullopt},
      window, window);
  EXPECT_EQ(window.shown, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, MigrationEndingTest,
    ::testing::Values(
        EndingCase{
            "Succeeded", true, nullptr, {"ResultText: Conversion was completed succesfully."}},
        // The box comes first; the text goes once the operator has closed it.
        EndingCase{"Failed",
                   false,
                   nullptr,
                   {"box: Errors have occured during conversion. Please check the logfile.",
                    "ResultText hidden"}},
        EndingCase{"ErrorEscaped", false, "bad state", {"ResultText hidden", "box: bad state"}}),
    [](const ::testing::TestParamInfo<EndingCase>& info) { return std::string(info.param.name); });

TEST(DumpCompletedMessageTest, CountsTheDamagedOrderForms) {
  EXPECT_EQ(DumpCompletedMessage(0), "Dump Completed");
  EXPECT_EQ(DumpCompletedMessage(1),
            "Dump Completed\n1 order form is damaged; its place in the dump file says why.");
  EXPECT_EQ(DumpCompletedMessage(3),
            "Dump Completed\n3 order forms are damaged; their place in the dump file says why.");
}

}  // namespace
}  // namespace mv::testing
