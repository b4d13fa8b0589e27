// The start-up every front end shares: the working folder and the settings file, present,
// missing, unreadable or holding a line no connection could use.
#include "frontend/start_up.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "driver/odbc_keywords.h"
#include "platform/configuration/configuration_path.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_database.h"

namespace mv::testing {
namespace {

// Records each message box with what it is about.
class DetailRecorder : public MessageDisplay {
 public:
  void ShowMessage(const std::string& text) override { ShowMessageAbout(text, {}); }
  void ShowMessageAbout(const std::string& text, const MessageDetail& detail) override {
    texts.push_back(text);
    details.push_back(detail);
  }
  std::vector<std::string> texts;
  std::vector<MessageDetail> details;
};

// An installation folder named by VANTREL_CONFIGURATION, and fields as a window holds them
// before start-up.
class StartUpTest : public ::testing::Test {
 protected:
  void WriteSettings(const std::string& bytes) const {
    std::ofstream(PathFromUtf8(settings_), std::ios::binary) << bytes;
  }

  TempFolder folder_;
  ScopedEnvironmentVariable configuration_{kConfigurationPathVariable, folder_.File("Orbisco.xml")};
  ScopedEnvironmentVariable keywords_{kOdbcKeywordsVariable, std::nullopt};
  std::string settings_ = folder_.File("Vantrel23Convert.INI");
  SettingsFields fields_{"typed", "typed", "typed", "typed", "typed", "typed"};
  DetailRecorder messages_;
};

TEST_F(StartUpTest, WorkingFolderHoldsTheLogAndTheSettingsFile) {
  const std::optional<WindowPaths> paths = StartWindow(fields_, messages_);
  ASSERT_TRUE(paths);
  EXPECT_EQ(PathFromUtf8(paths->sWorkFolder), folder_.Path());
  EXPECT_EQ(paths->sLogFileName, folder_.File("Vantrel23Conversion.log"));
  EXPECT_EQ(paths->sIniFileName, settings_);
  // No settings file: the normal first start, every field as it was.
  EXPECT_EQ(fields_.SDBServer + fields_.TDB, "typedtyped");
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(StartUpTest, SettingsFileFillsTheFieldsWhoseLinesHoldText) {
  WriteSettings("srv1\r\nsrv2\r\n\r\nusr2\r\ndb1\r\n");
  ASSERT_TRUE(StartWindow(fields_, messages_));
  const std::vector<std::string> filled{fields_.SDBServer, fields_.TDBServer, fields_.SUser,
                                        fields_.TUser,     fields_.SDB,       fields_.TDB};
  EXPECT_EQ(filled, (std::vector<std::string>{"srv1", "srv2", "typed", "usr2", "db1", "typed"}));
}

TEST_F(StartUpTest, WithoutConfigurationPathNothingStarts) {
  const ScopedEnvironmentVariable unset(kConfigurationPathVariable, std::nullopt);
  EXPECT_FALSE(StartWindow(fields_, messages_));
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{
                "The configuration component has no installation path: set the environment "
                "variable VANTREL_CONFIGURATION to the full path of the installation's "
                "configuration file."});
}

TEST_F(StartUpTest, UnreadableSettingsFileIsToldWithItsReason) {
  std::filesystem::create_directory(PathFromUtf8(settings_));
  EXPECT_FALSE(StartWindow(fields_, messages_));
  ASSERT_EQ(messages_.texts,
            std::vector<std::string>{"Path '" + settings_ + "' for logfile doesn't exist."});
  EXPECT_EQ(messages_.details[0].subject, MessageSubject::SettingsFile);
  EXPECT_FALSE(messages_.details[0].reason.empty());
  EXPECT_EQ(messages_.details[0].path, settings_);
}

TEST_F(StartUpTest, RefusedLineChangesNoField) {
  WriteSettings("srv1\r\nsrv\x01\r\n");
  EXPECT_FALSE(StartWindow(fields_, messages_));
  ASSERT_EQ(messages_.texts, std::vector<std::string>{"Line 2 (target server) of '" + settings_ +
                                                      "' holds a control character."});
  EXPECT_EQ(messages_.details[0].subject, MessageSubject::TargetServer);
  EXPECT_TRUE(messages_.details[0].valueRefused);
  EXPECT_EQ(fields_.SDBServer, "typed");
}

TEST_F(StartUpTest, MalformedOdbcKeywordsAreToldBeforeAnyConnection) {
  const ScopedEnvironmentVariable keywords(kOdbcKeywordsVariable, "Encrypt=yes;Password={secret");
  EXPECT_FALSE(StartWindow(fields_, messages_));
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"VANTREL_ODBC_KEYWORDS: the braced value of "
                                                      "'Password=****' is not closed with '}'"});
}

}  // namespace
}  // namespace mv::testing
