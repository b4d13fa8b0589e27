// A migration and a dump on the worker thread over the engine's databases: progress, a stop
// asked by closing the window, an error that escapes the run, and each ending.
#include "frontend/front_end_run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "tests/frontend/window_recorder.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/test_database.h"

namespace mv::testing {
namespace {

// Reports 3 of 10 baskets, then holds the run until the operator stops it, logging the stop as
// the migrations do.
class HeldConverter : public Converter {
 public:
  explicit HeldConverter(std::atomic<bool>& entered) : entered_(entered) {}
  bool Convert(const ConnectionValues&, TextWriter& log) override {
    ReportProgress(3, 10, "baskets");
    entered_ = true;
    while (!StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    log.WriteLine(kStoppedByOperator);
    return false;
  }

 private:
  std::atomic<bool>& entered_;
};

class FrontEndRunTest : public ::testing::Test {
 protected:
  MigrationCaptions Captions() { return {basket_, orders_, parameters_, copy_}; }
  void Migrate(ConverterFactory factory) {
    run_.StartMigration(std::move(factory), runMessages_, Captions(), ValuesFor(source_, target_),
                        {true, false, false, false}, log_);
  }
  /// A close request; `stop` is the operator's answer should kStopMigrationQuestion be asked.
  bool MayClose(bool stop = true) {
    return run_.MayClose([this, stop] {
      ++questions_;
      return stop;
    });
  }
  // The worker's end, as a window learns of it; a run that never ends fails the test.
  bool WorkDone() {
    return workDone_.get_future().wait_for(std::chrono::minutes(2)) == std::future_status::ready;
  }

  TestDatabase source_{"source"};
  TestDatabase target_{"target"};
  TempFolder folder_;
  std::string log_ = folder_.File("Vantrel23Conversion.log");
  RecordingMessageDisplay runMessages_;
  RecordingCaption basket_{"Migrate Baskets"};
  RecordingCaption orders_, parameters_, copy_;
  WindowRecorder window_;
  std::promise<void> workDone_;
  int questions_ = 0;
  FrontEndRun run_{[this] { workDone_.set_value(); }};
};

TEST_F(FrontEndRunTest, ClosingDuringAMigrationStopsItAndClosesAfterItsEnding) {
  std::atomic<bool> entered = false;
  Migrate([&](Migration) { return std::make_unique<HeldConverter>(entered); });
  while (!entered && !run_.WorkDone()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_TRUE(entered) << ::testing::PrintToString(runMessages_.messages);

  EXPECT_TRUE(run_.Running());
  EXPECT_EQ(run_.ProgressText().value_or("").rfind("Migrate Baskets: 3 of 10 baskets", 0), 0u)
      << run_.ProgressText().value_or("(none)");
  EXPECT_FALSE(MayClose(false));  // No: the run goes on
  EXPECT_FALSE(MayClose(true));
  EXPECT_FALSE(MayClose(true));  // asked once is enough
  EXPECT_EQ(questions_, 2);

  ASSERT_TRUE(WorkDone());
  EXPECT_TRUE(run_.Finish(window_, window_));
  EXPECT_EQ(window_.shown,
            (std::vector<std::string>{
                "box: Errors have occured during conversion. Please check the logfile.",
                "ResultText hidden"}));
  EXPECT_EQ(basket_.caption, "Migrate Baskets   (Done, Errors Found)");
  EXPECT_NE(ReadFileBytes(log_).find(kStoppedByOperator), std::string::npos);
  EXPECT_FALSE(run_.Running());
  EXPECT_FALSE(run_.ProgressText());
  EXPECT_TRUE(MayClose());
  EXPECT_EQ(questions_, 2);
}

TEST_F(FrontEndRunTest, EscapedErrorEndsTheCutShortMigrationWithErrors) {
  Migrate([](Migration) -> std::unique_ptr<Converter> {
    throw RuntimeError(5, "This migration is not available in this build");
  });
  ASSERT_TRUE(WorkDone());
  EXPECT_FALSE(run_.Finish(window_, window_));
  EXPECT_EQ(window_.shown,
            (std::vector<std::string>{"ResultText hidden",
                                      "box: This migration is not available in this build"}));
  EXPECT_EQ(basket_.history, (std::vector<std::string>{"Migrate Baskets   (Busy)",
                                                       "Migrate Baskets   (Done, Errors Found)"}));
}

TEST_F(FrontEndRunTest, DumpKeepsTheWindowOpenAndEndsWithItsMessage) {
  const std::string dumpFile = folder_.File("orderforms.txt");
  run_.StartDump(ValuesFor(source_, target_), dumpFile);
  EXPECT_FALSE(MayClose());
  EXPECT_EQ(questions_, 0);
  EXPECT_FALSE(run_.ProgressText());

  ASSERT_TRUE(WorkDone());
  EXPECT_FALSE(run_.Finish(window_, window_));
  EXPECT_EQ(window_.shown, std::vector<std::string>{"box: Dump Completed"});
  EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(dumpFile)));
}

}  // namespace
}  // namespace mv::testing
