// A whole run with stand-in converters: order, section headers, captions and the result.
#include "driver/global_convert.h"

#include <gtest/gtest.h>

#include "platform/regional_settings.h"
#include "platform/runtime_error.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

using testing::ReadFileBytes;
using testing::RecordingCaption;
using testing::RecordingMessageDisplay;
using testing::TempFolder;
using testing::TestDatabase;

/// Writes one line naming its migration and answers the result it was given.
class StandInConverter : public Converter {
 public:
  StandInConverter(std::string name, bool result, std::vector<std::string>& calls)
      : name_(std::move(name)), result_(result), calls_(calls) {}
  bool Convert(const ConnectionValues& values, TextWriter& log) override {
    calls_.push_back(name_ + (values.TDB.empty() ? " without target" : ""));
    log.WriteLine(name_ + " body");
    return result_;
  }

 private:
  std::string name_;
  bool result_;
  std::vector<std::string>& calls_;
};

/// Writes one line, then fails with an error instead of answering.
class ThrowingConverter : public Converter {
 public:
  bool Convert(const ConnectionValues&, TextWriter& log) override {
    log.WriteLine("orders body");
    throw RuntimeError(3265, "Item cannot be found");
  }
};

class GlobalConvertTest : public ::testing::Test {
 protected:
  GlobalConvertTest() : values_(testing::ValuesFor(source_, target_)) {}

  bool Run(bool baskets, bool parameters, bool orders, bool copy) {
    GlobalConvert run(
        [this](Migration migration) {
          const auto index = static_cast<size_t>(migration);
          static const char* names[] = {"baskets", "orders", "parameters", "copy"};
          return std::make_unique<StandInConverter>(names[index], results_[index], calls_);
        },
        messages_, [] { return DateTime{2026, 12, 8, 4, 10, 36}; });
    return run.Run(values_, baskets, parameters, orders, copy, log_, basket_, orders_, parameters_,
                   copy_);
  }

  std::string Log() const { return ReadFileBytes(log_); }

  ScopedRegionalSettings german_{{"%d.%m.%Y", "%H:%M:%S", ','}};
  TestDatabase source_, target_;
  ConnectionValues values_;
  TempFolder folder_;
  std::string log_ = folder_.File("Vantrel23Conversion.log");
  std::array<bool, 4> results_{true, true, true, true};
  std::vector<std::string> calls_;
  RecordingMessageDisplay messages_;
  RecordingCaption basket_{"Migrate Baskets"}, orders_{"Migrate Submitted Orders"},
      parameters_{"Migrate Parameters"}, copy_{"Copy Remaining Data "};
};

TEST_F(GlobalConvertTest, AllFourRunInOrderUnderTheirHeaders) {
  EXPECT_TRUE(Run(true, true, true, true));
  EXPECT_EQ(Log(),
            "\r\nConversion of Stored Baskets:\r\n08.12.2026 04:10:36\r\n"
            "-----------------------------\r\n\r\nbaskets body\r\n"
            "\r\nConversion of Submitted Orders:\r\n08.12.2026 04:10:36\r\n"
            "-------------------------------\r\n\r\norders body\r\n"
            "\r\nConversion of Parameters:\r\n08.12.2026 04:10:36\r\n"
            "-------------------------\r\n\r\nparameters body\r\n"
            "\r\nCopy of remaining data:\r\n08.12.2026 04:10:36\r\n"
            "-----------------------\r\n\r\ncopy body\r\n");
  EXPECT_EQ(basket_.history, (std::vector<std::string>{"Migrate Baskets   (Busy)",
                                                        "Migrate Baskets   (Done, No Errors Found)"}));
  EXPECT_EQ(copy_.caption, "Copy Remaining Data   (Done, No Errors Found)");
  EXPECT_EQ(calls_.size(), 4u);
  EXPECT_EQ(calls_[0], "baskets");
}

TEST_F(GlobalConvertTest, OnlyTheSelectedMigrationRunsAndChangesItsCaption) {
  EXPECT_TRUE(Run(false, true, false, false));
  EXPECT_EQ(calls_, std::vector<std::string>{"parameters"});
  EXPECT_EQ(Log().substr(0, 29), "\r\nConversion of Parameters:\r\n");
  EXPECT_EQ(parameters_.caption, "Migrate Parameters   (Done, No Errors Found)");
  EXPECT_TRUE(basket_.history.empty());
  EXPECT_TRUE(orders_.history.empty());
  EXPECT_TRUE(copy_.history.empty());
}

TEST_F(GlobalConvertTest, AFailedMigrationMakesTheResultFalseAndTheNextStillRuns) {
  results_[1] = false;
  EXPECT_FALSE(Run(false, false, true, true));
  EXPECT_EQ(orders_.caption, "Migrate Submitted Orders   (Done, Errors Found)");
  EXPECT_EQ(copy_.caption, "Copy Remaining Data   (Done, No Errors Found)");
  EXPECT_EQ(calls_.size(), 2u);
}

TEST_F(GlobalConvertTest, EmptyFieldStopsBeforeAnyLogLineOrCaption) {
  values_.TUser.clear();
  EXPECT_FALSE(Run(true, true, true, true));
  EXPECT_EQ(messages_.messages, std::vector<std::string>{"Please enter a TargetDatabase User"});
  EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(log_))) << "the log is opened first";
  EXPECT_EQ(Log(), "");
  EXPECT_TRUE(basket_.history.empty());
  EXPECT_TRUE(calls_.empty());
}

TEST_F(GlobalConvertTest, UnreachableDatabasesStopBeforeAnyLogLine) {
  values_.SDBServer = values_.TDBServer = "127.0.0.2";
  values_.SDB = values_.TDB = folder_.File("missing/db");
  EXPECT_FALSE(Run(true, false, false, false));
  EXPECT_EQ(messages_.messages,
            (std::vector<std::string>{"Cannot connect to Source Database (127.0.0.2)",
                                      "Cannot connect to Target Database (127.0.0.2)"}));
  EXPECT_EQ(Log(), "");
  EXPECT_TRUE(calls_.empty());
}

TEST_F(GlobalConvertTest, LogThatCannotBeOpenedEndsTheRunWithOneMessage) {
  log_ = folder_.File("missing/Vantrel23Conversion.log");
  EXPECT_FALSE(Run(true, false, false, false));
  EXPECT_EQ(messages_.messages,
            std::vector<std::string>{
                "Error Occurred: Logfile could not opened. Check rights on the folder."});
  EXPECT_TRUE(calls_.empty());
  EXPECT_TRUE(basket_.history.empty());
}

TEST_F(GlobalConvertTest, SecondRunAppendsAfterTheFirst) {
  EXPECT_TRUE(Run(false, false, false, true));
  const std::string first = Log();
  results_[3] = false;
  EXPECT_FALSE(Run(false, false, false, true));
  EXPECT_EQ(Log(), first + first.substr(0, first.size() - 11) + "copy body\r\n");
  EXPECT_EQ(copy_.caption, "Copy Remaining Data   (Done, Errors Found)");
}

TEST_F(GlobalConvertTest, NothingSelectedStillChecksAndAnswersTrue) {
  EXPECT_TRUE(Run(false, false, false, false));
  EXPECT_EQ(Log(), "");
}

TEST_F(GlobalConvertTest, AnErrorEscapingAConverterIsLoggedAndTheNextMigrationRuns) {
  GlobalConvert run(
      [this](Migration migration) -> std::unique_ptr<Converter> {
        if (migration == Migration::SubmittedOrders) return std::make_unique<ThrowingConverter>();
        return std::make_unique<StandInConverter>("copy", true, calls_);
      },
      messages_, [] { return DateTime{2026, 12, 8, 4, 10, 36}; });
  EXPECT_FALSE(run.Run(values_, false, false, true, true, log_, basket_, orders_, parameters_,
                       copy_));
  EXPECT_EQ(Log(),
            "\r\nConversion of Submitted Orders:\r\n08.12.2026 04:10:36\r\n"
            "-------------------------------\r\n\r\norders body\r\n"
            "Error occured: Item cannot be found\r\n"
            "\r\nCopy of remaining data:\r\n08.12.2026 04:10:36\r\n"
            "-----------------------\r\n\r\ncopy body\r\n");
  EXPECT_EQ(orders_.caption, "Migrate Submitted Orders   (Done, Errors Found)");
  EXPECT_EQ(copy_.caption, "Copy Remaining Data   (Done, No Errors Found)");
}

TEST_F(GlobalConvertTest, MidnightShowsTheDateAlone) {
  GlobalConvert run([this](Migration) { return std::make_unique<StandInConverter>("x", true, calls_); },
                    messages_, [] { return DateTime{2026, 12, 8, 0, 0, 0}; });
  run.Run(values_, true, false, false, false, log_, basket_, orders_, parameters_, copy_);
  EXPECT_NE(Log().find("\r\n08.12.2026\r\n"), std::string::npos) << Log();
}

}  // namespace
}  // namespace mv
