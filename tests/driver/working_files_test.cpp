// The log and the settings file in a working folder whose name no narrow code page holds: the
// files are opened by their UTF-16 names on Windows, never through the ANSI code page.
#include <gtest/gtest.h>

#include <filesystem>

#include "driver/settings_file.h"
#include "driver/window_paths.h"
#include "platform/text_file.h"
#include "platform/unicode.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

TEST(WorkingFilesTest, LogAndSettingsFileLiveInAFolderNamedBeyondAnyCodePage) {
  testing::TempFolder root;
  const std::string installation = root.File("Grüße 日本 \U0001F600");
  std::filesystem::create_directory(PathFromUtf8(installation));
  const WindowPaths paths =
      WindowPathsFor(Utf8FromPath(PathFromUtf8(installation) / "Orbisco.xml"));

  TextWriter(PathFromUtf8(paths.sLogFileName), TextWriter::Mode::Append).WriteLine("logged");
  const SettingsFields saved{"srv1", "srv2", "sa", "mig", "shop22", "shop23"};
  SettingsFile(paths.sIniFileName).SaveSettings(saved);

  SettingsFields loaded;
  SettingsFile(paths.sIniFileName).LoadSettings(loaded);
  EXPECT_EQ(loaded.TDB, "shop23");
  EXPECT_EQ(testing::ReadFileBytes(paths.sLogFileName), "logged\r\n");
  EXPECT_EQ(Utf8FromPath(PathFromUtf8(paths.sLogFileName).parent_path().filename()),
            "Grüße 日本 \U0001F600");
}

}  // namespace
}  // namespace mv
