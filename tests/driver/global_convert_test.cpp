// A whole run with stand-in converters: order, section headers, captions and the result.
#include "driver/global_convert.h"

#include <gtest/gtest.h>

#include "platform/regional_settings.h"
#include "platform/runtime_error.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_database.h"
#include "tools/setup/wine_host.h"

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
    const bool result = run.Run(values_, MigrationSelection{baskets, orders, parameters, copy},
                                log_, {basket_, orders_, parameters_, copy_});
    EXPECT_FALSE(run.BusyMigration().has_value());
    return result;
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
  EXPECT_EQ(basket_.history,
            (std::vector<std::string>{"Migrate Baskets   (Busy)",
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

/// Asks to stop as soon as a migration reports progress, and records the reports.
class StoppingProgress : public RunProgress {
 public:
  void Report(std::string_view migration, std::int64_t done, std::int64_t total,
              std::string_view unit) override {
    reports.push_back(std::string(migration) + " " + std::to_string(done) + "/" +
                      std::to_string(total) + " " + std::string(unit));
  }
  bool StopRequested() const override { return !reports.empty(); }
  std::vector<std::string> reports;
};

/// Reports one unit of its migration, then answers false as a stopped migration does.
class ReportingConverter : public Converter {
 public:
  bool Convert(const ConnectionValues&, TextWriter& log) override {
    ReportProgress(1, 3, "orders");
    log.WriteLine(kStoppedByOperator);
    return false;
  }
};

TEST_F(GlobalConvertTest, AStopEndsTheRunAfterTheRunningMigration) {
  StoppingProgress progress;
  GlobalConvert run([](Migration) { return std::make_unique<ReportingConverter>(); }, messages_,
                    [] { return DateTime{2026, 12, 8, 4, 10, 36}; }, progress);
  EXPECT_FALSE(run.Run(
      values_,
      MigrationSelection{.iConvertOrders = true, .iConvertParameters = true, .iCopyData = true},
      log_, {basket_, orders_, parameters_, copy_}));
  EXPECT_EQ(progress.reports, std::vector<std::string>{"Migrate Submitted Orders 1/3 orders"});
  EXPECT_EQ(orders_.caption, "Migrate Submitted Orders   (Done, Errors Found)");
  EXPECT_TRUE(parameters_.history.empty()) << "no migration starts after a stop";
  EXPECT_TRUE(copy_.history.empty());
}

TEST_F(GlobalConvertTest, AStopDuringAMigrationThatStillFinishesLeavesTheRestOutAndFails) {
  StoppingProgress progress;
  struct FinishingConverter : Converter {
    bool Convert(const ConnectionValues&, TextWriter&) override {
      ReportProgress(3, 3, "baskets");
      return true;
    }
  };
  GlobalConvert run([](Migration) { return std::make_unique<FinishingConverter>(); }, messages_,
                    [] { return DateTime{2026, 12, 8, 4, 10, 36}; }, progress);
  EXPECT_FALSE(run.Run(values_, MigrationSelection{.iConvertBaskets = true, .iCopyData = true},
                       log_, {basket_, orders_, parameters_, copy_}));
  EXPECT_EQ(basket_.caption, "Migrate Baskets   (Done, No Errors Found)");
  EXPECT_TRUE(copy_.history.empty()) << "no migration starts after a stop";
}

TEST_F(GlobalConvertTest, AFailedMigrationMakesTheResultFalseAndTheNextStillRuns) {
  results_[1] = false;
  EXPECT_FALSE(Run(false, false, true, true));
  EXPECT_EQ(orders_.caption, "Migrate Submitted Orders   (Done, Errors Found)");
  EXPECT_EQ(copy_.caption, "Copy Remaining Data   (Done, No Errors Found)");
  EXPECT_EQ(calls_.size(), 2u);
}

TEST_F(GlobalConvertTest, EmptyFieldStopsWithItsMessageAsTheOnlyLogLine) {
  values_.TUser.clear();
  EXPECT_FALSE(Run(true, true, true, true));
  EXPECT_EQ(messages_.messages, std::vector<std::string>{"Please enter a TargetDatabase User"});
  EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(log_))) << "the log is opened first";
  EXPECT_EQ(Log(), "\r\nPlease enter a TargetDatabase User\r\n");
  EXPECT_TRUE(basket_.history.empty());
  EXPECT_TRUE(calls_.empty());
}

TEST_F(GlobalConvertTest, GroupSizeAboveTheMaximumStopsTheRunWithItsMessage) {
  const testing::ScopedEnvironmentVariable groupSize("VANTREL_GROUP_SIZE", "5000");
  const std::string refusal =
      "VANTREL_GROUP_SIZE is 5000, but a group holds at most 1000 baskets or orders.";
  EXPECT_FALSE(Run(true, true, true, true));
  EXPECT_EQ(messages_.messages, std::vector<std::string>{refusal});
  EXPECT_EQ(Log(), "\r\n" + refusal + "\r\n");
  EXPECT_TRUE(basket_.history.empty());
  EXPECT_TRUE(calls_.empty());
}

/// What the driver says about a failed connection, on each engine. SQLite takes any password
/// and has no server, so a database file in a missing folder stands in for both failures.
struct Reason {
  const char* sqlite;
  const char* postgresql;
  std::string OnThisEngine() const {
    return setup::EngineFromEnvironment() == setup::Engine::Sqlite ? sqlite : postgresql;
  }
};
const Reason kNoAnswer{"connect failed", "Connection refused"};
const Reason kWrongPassword{"connect failed", "password authentication failed for user \"mig\""};

struct ConnectFailureCase {
  const char* what;
  bool sourceDown;     // the source server does not answer
  bool targetRefuses;  // the target refuses the password
  friend void PrintTo(const ConnectFailureCase& c, std::ostream* out) { *out << c.what; }
};

class ConnectFailureTest : public GlobalConvertTest,
                           public ::testing::WithParamInterface<ConnectFailureCase> {};

TEST_P(ConnectFailureTest, LogsTheReasonNotThePassword) {
  const ConnectFailureCase& c = GetParam();
  std::vector<std::pair<std::string, Reason>> expected;
  if (c.sourceDown) {
    values_.SDBServer = "127.0.0.2";
    values_.SPassword = "Source-Secret";
    values_.SDB = setup::HostFileName(folder_.File("missing/source.db"));
    expected.emplace_back("Cannot connect to Source Database (127.0.0.2)", kNoAnswer);
  }
  if (c.targetRefuses) {
    values_.TUser = "mig";
    values_.TPassword = "Wr0ng;Secret}";
    if (target_.GetEngine() == setup::Engine::Sqlite)
      values_.TDB = setup::HostFileName(folder_.File("missing/t.db"));
    expected.emplace_back("Cannot connect to Target Database (" + values_.TDBServer + ")",
                          kWrongPassword);
  }
  EXPECT_FALSE(Run(true, false, false, false));

  std::vector<std::string> messages;
  for (const auto& [message, reason] : expected) messages.push_back(message);
  EXPECT_EQ(messages_.messages, messages);
  const std::string log = Log();
  EXPECT_EQ(log.find("Secret"), std::string::npos) << log;
  ASSERT_EQ(log.substr(0, 2), "\r\n") << log;
  size_t at = 2;
  for (const auto& [message, reason] : expected) {
    const size_t end = log.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << log;
    const std::string line = log.substr(at, end - at);
    EXPECT_EQ(line.substr(0, message.size() + 2), message + ": ") << line;
    EXPECT_NE(line.find(reason.OnThisEngine(), message.size()), std::string::npos) << line;
    at = end + 2;
  }
  EXPECT_EQ(at, log.size()) << log;
  EXPECT_TRUE(calls_.empty());
  EXPECT_TRUE(basket_.history.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Checks, ConnectFailureTest,
    ::testing::Values(ConnectFailureCase{"source_does_not_answer", true, false},
                      ConnectFailureCase{"target_password_wrong", false, true},
                      ConnectFailureCase{"both_fail_source_first", true, true}),
    [](const auto& info) { return std::string(info.param.what); });

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
  EXPECT_FALSE(run.Run(values_, MigrationSelection{.iConvertOrders = true, .iCopyData = true}, log_,
                       {basket_, orders_, parameters_, copy_}));
  EXPECT_EQ(Log(),
            "\r\nConversion of Submitted Orders:\r\n08.12.2026 04:10:36\r\n"
            "-------------------------------\r\n\r\norders body\r\n"
            "Error occured: Item cannot be found\r\n"
            "\r\nCopy of remaining data:\r\n08.12.2026 04:10:36\r\n"
            "-----------------------\r\n\r\ncopy body\r\n");
  EXPECT_EQ(orders_.caption, "Migrate Submitted Orders   (Done, Errors Found)");
  EXPECT_EQ(copy_.caption, "Copy Remaining Data   (Done, No Errors Found)");
}

TEST_F(GlobalConvertTest, AnErrorEscapingTheRunLeavesItsMigrationBusy) {
  GlobalConvert run(
      [this](Migration migration) -> std::unique_ptr<Converter> {
        if (migration == Migration::Parameters) throw RuntimeError(7, "Out of memory");
        return std::make_unique<StandInConverter>("x", true, calls_);
      },
      messages_, [] { return DateTime{2026, 12, 8, 4, 10, 36}; });
  EXPECT_THROW(run.Run(values_, MigrationSelection{true, true, true, true}, log_,
                       {basket_, orders_, parameters_, copy_}),
               RuntimeError);
  EXPECT_EQ(run.BusyMigration(), Migration::Parameters);
  EXPECT_EQ(parameters_.caption, "Migrate Parameters   (Busy)");
  EXPECT_EQ(ErrorsFoundCaption(Migration::Parameters), "Migrate Parameters   (Done, Errors Found)");
}

TEST_F(GlobalConvertTest, MidnightShowsTheDateAlone) {
  GlobalConvert run(
      [this](Migration) { return std::make_unique<StandInConverter>("x", true, calls_); },
      messages_, [] { return DateTime{2026, 12, 8, 0, 0, 0}; });
  run.Run(values_, MigrationSelection{.iConvertBaskets = true}, log_,
          {basket_, orders_, parameters_, copy_});
  EXPECT_NE(Log().find("\r\n08.12.2026\r\n"), std::string::npos) << Log();
}

}  // namespace
}  // namespace mv
