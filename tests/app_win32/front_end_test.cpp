// The window over the front-end core on a shop, driven from outside as an operator drives it:
// the fields from the settings file, a migration run to its end, connections that fail, closing
// during a migration and during a dump, and the dump.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/win32/wide_text.h"
#include "driver/run_progress.h"
#include "dump/dump_orderforms.h"
#include "tests/app_win32/window_driver.h"
#include "tests/cli/child_process.h"
#include "tests/cli/shop.h"
#include "tests/support/converter_run.h"
#include "tests/support/copied_tables.h"
#include "tests/support/locked_table.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/scoped_environment.h"
#include "tools/sample_data/basket_samples.h"
#include "tools/sample_data/copydata_samples.h"
#include "tools/setup/database_factory.h"
#include "tools/setup/wine_host.h"

namespace mv::win32::testing {
namespace {

using mv::testing::ScopedEnvironmentVariable;
using mv::testing::Shop;

class Win32FrontEndTest : public ::testing::Test {
 protected:
  Win32FrontEndTest() { shop.FillSampleSet(samples::FillBasketSamples, 12); }

  HWND Control(ControlId id) const { return window.Control(id); }
  std::wstring Text(ControlId id) const { return TextOf(Control(id)); }
  void SetText(ControlId id, const std::string& text) { SetTextOf(Control(id), Wide(text)); }

  /// Ticks "Migrate Baskets", fills the passwords and presses "Migrate".
  void MigrateBaskets() {
    Tick(ControlId::CheckBasket);
    Click(Control(ControlId::Convert));
  }
  /// Ticks the option and fills the passwords.
  void Tick(ControlId option) {
    Click(Control(option));
    SetText(ControlId::SPassword, shop.source.Address().password);
    SetText(ControlId::TPassword, shop.target.Address().password);
  }
  /// Presses `button` and asks the window to close right behind it: the close request is
  /// handled once the run the button started is under way, before it can end.
  void PressThenClose(ControlId button) {
    PostClick(Control(button));
    PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
  }
  /// The window's next message box, answered with `button` and gone; empty after a time-out.
  MessageBoxContent AnswerNextBox(int button) {
    const HWND box = WaitForMessageBox(window.Handle());
    if (!box) return {};
    const MessageBoxContent content = ReadMessageBox(box);
    AnswerMessageBox(box, button);
    WaitUntil([box] { return !IsWindow(box); });
    return content;
  }

  Shop shop;
  ScopedEnvironmentVariable configuration{"VANTREL_CONFIGURATION", shop.ConfigurationPath()};
  RunningWindow window{MV_WINDOW_PROGRAM};
};

TEST_F(Win32FrontEndTest, FillsTheFieldsFromTheSettingsFileAndLeavesThePasswordsEmpty) {
  const ConnectionValues values = mv::testing::ValuesFor(shop.source, shop.target);
  const std::pair<ControlId, std::string> fields[] = {{ControlId::SDBServer, values.SDBServer},
                                                      {ControlId::SUser, values.SUser},
                                                      {ControlId::SPassword, ""},
                                                      {ControlId::SDB, values.SDB},
                                                      {ControlId::TDBServer, values.TDBServer},
                                                      {ControlId::TUser, values.TUser},
                                                      {ControlId::TPassword, ""},
                                                      {ControlId::TDB, values.TDB}};
  for (const auto& [id, text] : fields) EXPECT_EQ(Utf8(Text(id)), text) << static_cast<int>(id);
}

TEST_F(Win32FrontEndTest, MigratesTheTickedMigrationAsTheCommandLineDoes) {
  MigrateBaskets();
  ASSERT_TRUE(WaitUntil(
      [&] { return Text(ControlId::ResultText) == L"Conversion was completed succesfully."; }));
  EXPECT_TRUE(IsVisible(Control(ControlId::ResultText)));
  EXPECT_EQ(Text(ControlId::CheckBasket), L"Migrate Baskets   (Done, No Errors Found)");
  EXPECT_EQ(Text(ControlId::CheckOrders), L"Migrate Submitted Orders");

  // The same shop migrated by the command line ends with the same rows in the target.
  Shop commandLineShop;
  commandLineShop.FillSampleSet(samples::FillBasketSamples, 12);
  ASSERT_EQ(commandLineShop.Migrate({"--baskets"}).status, 0);
  for (const char* table : {"BASKETHEADER", "BASKETLINE"}) {
    const long rows = mv::testing::CountRows(*shop.target.Connect(), table);
    EXPECT_GT(rows, 0) << table;
    EXPECT_EQ(rows, mv::testing::CountRows(*commandLineShop.target.Connect(), table)) << table;
  }
  EXPECT_NE(shop.Log().find("Conversion of Stored Baskets:"), std::string::npos);
}

TEST_F(Win32FrontEndTest, FailingConnectionsAreToldOneByOneThenTheRunEndsWithErrors) {
  // Nothing answers at 127.0.0.2, and SQLite, which has no server, opens no database file in a
  // missing folder: the host's name of it, where the engine's driver runs.
  const mv::testing::TempFolder missing;
  SetText(ControlId::SDBServer, "127.0.0.2");
  SetText(ControlId::TDBServer, "127.0.0.2");
  SetText(ControlId::SDB, setup::HostFileName(missing.File("no/source.db")));
  SetText(ControlId::TDB, setup::HostFileName(missing.File("no/target.db")));
  MigrateBaskets();

  for (const wchar_t* text :
       {L"Cannot connect to Source Database (127.0.0.2)",
        L"Cannot connect to Target Database (127.0.0.2)",
        L"Errors have occured during conversion. Please check the logfile."}) {
    const MessageBoxContent box = AnswerNextBox(IDOK);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK}) << Utf8(text);
  }
  EXPECT_FALSE(IsVisible(Control(ControlId::ResultText)));
  EXPECT_TRUE(IsWindowEnabled(Control(ControlId::Convert)));
}

TEST_F(Win32FrontEndTest, ClosingDuringAMigrationAsksAndOnYesClosesAfterTheUnitBeingWritten) {
  if (shop.target.GetEngine() != setup::Engine::Postgresql) {
    GTEST_SKIP() << "needs a lock held by another session (PostgreSQL)";
  }
  shop.FillSampleSet(samples::FillCopyDataSamples, 20);
  // The copy's first table waits for the lock: the run is still going when the window closes.
  std::optional<mv::testing::LockedTable> locked(std::in_place, shop.target, "zones");
  Tick(ControlId::CheckCopy);
  PressThenClose(ControlId::Convert);

  const MessageBoxContent question = AnswerNextBox(IDYES);
  EXPECT_EQ(question.title, L"MigrateVantrel22To23");
  EXPECT_EQ(question.text, L"A migration is running. Stop it after the current step?");
  EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
  locked.reset();
  // The window stays until the copy has stopped, then shows the run's ending and closes.
  EXPECT_EQ(AnswerNextBox(IDOK).text,
            L"Errors have occured during conversion. Please check the logfile.");
  EXPECT_EQ(window.WaitForExit(), 0);
  EXPECT_EQ(mv::testing::Lines(shop.Log()).back(), kStoppedByOperator);
  // Stopped between tables: the last one was never copied.
  EXPECT_EQ(mv::testing::CopiedTableCounts(shop.target).back(), 0);
}

/// The lines of a dump without the first, which tells when it was made, in sorted order: the
/// order forms come in the order the server returns them.
std::vector<std::string> DumpedLines(const std::string& path) {
  std::vector<std::string> lines = mv::testing::Lines(mv::testing::ReadFileBytes(path));
  if (!lines.empty()) lines.erase(lines.begin());
  std::sort(lines.begin(), lines.end());
  return lines;
}

TEST_F(Win32FrontEndTest, DumpWritesTheSourcesOrderFormsAndClosingMeanwhileKeepsTheWindow) {
  const mv::testing::TempFolder dumpFolder;
  const std::string dumpFile = dumpFolder.File("orderforms.txt");
  Click(Control(ControlId::AdvancedOn));
  SetText(ControlId::DumpFileName, dumpFile);
  SetText(ControlId::SPassword, shop.source.Address().password);
  Click(Control(ControlId::CheckDump));
  PressThenClose(ControlId::DumpBaskets);

  // No question: a dump runs to its end, and the window stays.
  EXPECT_EQ(AnswerNextBox(IDOK).text, L"Dump Completed");
  EXPECT_TRUE(IsWindowVisible(window.Handle()));
  EXPECT_TRUE(IsWindowEnabled(Control(ControlId::DumpBaskets)));
  // What the dump itself writes of the same source.
  const mv::testing::TempFolder ownFolder;
  const std::string ownDump = ownFolder.File("orderforms.txt");
  const setup::DatabaseAddress& source = shop.source.Address();
  DumpOrderforms().Dump(source.server, source.user, source.password, source.database, ownDump);
  const std::vector<std::string> written = DumpedLines(dumpFile);
  EXPECT_GT(written.size(), 12u);
  EXPECT_EQ(written, DumpedLines(ownDump));
  EXPECT_TRUE(mv::testing::ReadFileBytes(dumpFile).starts_with("Dumped on "));
}

}  // namespace
}  // namespace mv::win32::testing
