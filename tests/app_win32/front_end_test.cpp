// The window over the front-end core on a shop, driven from outside as an operator drives it:
// the fields from the settings file and a migration run to its end.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/win32/wide_text.h"
#include "tests/app_win32/window_driver.h"
#include "tests/cli/shop.h"
#include "tests/support/converter_run.h"
#include "tests/support/scoped_environment.h"
#include "tools/sample_data/basket_samples.h"

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
    Click(Control(ControlId::CheckBasket));
    SetText(ControlId::SPassword, shop.source.Address().password);
    SetText(ControlId::TPassword, shop.target.Address().password);
    Click(Control(ControlId::Convert));
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

}  // namespace
}  // namespace mv::win32::testing
