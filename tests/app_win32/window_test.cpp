// The Win32 window driven from outside, as an operator's clicks reach it: its controls' kinds,
// captions and places at the window's DPI, the collapsed start, the order of tabbing, the
// advanced toggle, the check boxes, the password boxes, its resources, "Exit" and closing it.
#include <gtest/gtest.h>

#include "app/win32/resource_ids.h"
#include "app/win32/wide_text.h"
#include "platform/environment.h"
#include "tests/app_win32/window_driver.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_database.h"

namespace mv::win32::testing {
namespace {

RECT PixelsOf(const Twips& box, UINT dpi) {
  return {PixelsAt(box.left, dpi), PixelsAt(box.top, dpi), PixelsAt(box.left + box.width, dpi),
          PixelsAt(box.top + box.height, dpi)};
}

// The window class that a control of that kind is.
std::wstring ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Picture:
    case ControlKind::Label:
    case ControlKind::CentredLabel:
      return L"Static";
    case ControlKind::Frame:
    case ControlKind::CheckBox:
    case ControlKind::Button:
      return L"Button";
    case ControlKind::TextBox:
    case ControlKind::PasswordBox:
      return L"Edit";
  }
  return {};
}

std::wstring ClassNameOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

class Win32WindowTest : public ::testing::Test {
 protected:
  // A working folder without a settings file: the window starts with empty fields.
  mv::testing::TempFolder workFolder;
  mv::testing::ScopedEnvironmentVariable configuration{"VANTREL_CONFIGURATION",
                                                       workFolder.File("Orbisco.xml")};
  RunningWindow window{MV_WINDOW_PROGRAM};
  HWND Control(ControlId id) const { return window.Control(id); }
  UINT Dpi() const { return GetDpiForWindow(window.Handle()); }
  SIZE ClientSizeFor(int outerHeight) const {
    return {PixelsAt(kClientWidth, Dpi()), PixelsAt(outerHeight - kFrameHeight, Dpi())};
  }
};

void ExpectSize(SIZE actual, SIZE expected) {
  EXPECT_EQ(actual.cx, expected.cx);
  EXPECT_EQ(actual.cy, expected.cy);
}

TEST_F(Win32WindowTest, StartsCollapsedWithItsOptionsUntickedAndOnlyTheCommandsAvailable) {
  EXPECT_EQ(TextOf(window.Handle()), L"      Vantrel 2.2 (SP1) to Vantrel 2.3 Data Migration");
  ExpectSize(ClientSizeOf(window.Handle()), ClientSizeFor(kCollapsedHeight));
  EXPECT_TRUE(IsVisible(Control(ControlId::AdvancedOn)));
  EXPECT_FALSE(IsVisible(Control(ControlId::AdvancedOff)));
  EXPECT_FALSE(IsVisible(Control(ControlId::ResultText)));
  using enum ControlId;
  for (ControlId box : {CheckBasket, CheckOrders, CheckParameters, CheckCopy, CheckDump}) {
    EXPECT_EQ(SendMessageW(Control(box), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  }
  for (ControlId off :
       {SDBServer, SUser, SPassword, SDB, TDBServer, TUser, TPassword, TDB, Convert, DumpBaskets}) {
    EXPECT_FALSE(IsWindowEnabled(Control(off))) << GetDlgCtrlID(Control(off));
  }
  for (ControlId on : {CheckBasket, Cancel, OpenLogFile, AdvancedOn, DumpFileName, OpenDumpFile}) {
    EXPECT_TRUE(IsWindowEnabled(Control(on))) << GetDlgCtrlID(Control(on));
  }
  EXPECT_EQ(TextOf(Control(DumpFileName)), L"c:\\orderforms.txt");
}

TEST_F(Win32WindowTest, TabMovesThroughTheControlsInTheProductsOrder) {
  using enum ControlId;
  const std::vector<ControlId> productOrder = {
      CheckBasket, CheckOrders, CheckParameters, CheckCopy,   SDBServer, SUser,
      SPassword,   SDB,         TDBServer,       TUser,       TPassword, TDB,
      Cancel,      Convert,     OpenLogFile,     AdvancedOff, CheckDump, DumpFileName,
      DumpBaskets, AdvancedOn,  OpenDumpFile};
  EXPECT_EQ(TabStopsOf(window.Handle()), productOrder);
}

TEST_F(Win32WindowTest, AdvancedButtonsExpandAndCollapseTheWindowInOnePlace) {
  Click(Control(ControlId::AdvancedOn));
  ExpectSize(ClientSizeOf(window.Handle()), ClientSizeFor(kExpandedHeight));
  EXPECT_FALSE(IsVisible(Control(ControlId::AdvancedOn)));
  EXPECT_TRUE(IsVisible(Control(ControlId::AdvancedOff)));
  EXPECT_TRUE(IsVisible(Control(ControlId::CheckDump)));
  EXPECT_TRUE(IsVisible(Control(ControlId::DumpFileName)));

  Click(Control(ControlId::AdvancedOff));
  ExpectSize(ClientSizeOf(window.Handle()), ClientSizeFor(kCollapsedHeight));
  EXPECT_TRUE(IsVisible(Control(ControlId::AdvancedOn)));
  EXPECT_FALSE(IsVisible(Control(ControlId::AdvancedOff)));
  EXPECT_FALSE(IsVisible(Control(ControlId::CheckDump)));
}

TEST_F(Win32WindowTest, AClickTicksAnOptionAndTheNextUnticksIt) {
  const HWND parameters = Control(ControlId::CheckParameters);
  Click(parameters);
  EXPECT_EQ(SendMessageW(parameters, BM_GETCHECK, 0, 0), BST_CHECKED);
  Click(parameters);
  EXPECT_EQ(SendMessageW(parameters, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  // Set greyed by a run, a click unticks it.
  SendMessageW(parameters, BM_SETCHECK, BST_INDETERMINATE, 0);
  Click(parameters);
  EXPECT_EQ(SendMessageW(parameters, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Win32WindowTest, PasswordBoxesShowAnAsteriskForEachCharacter) {
  for (ControlId id : {ControlId::SPassword, ControlId::TPassword}) {
    SetTextOf(Control(id), L"geheim");
    EXPECT_EQ(SendMessageW(Control(id), EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_EQ(TextOf(Control(id)), L"geheim");
  }
}

TEST_F(Win32WindowTest, ExitEndsTheProgram) {
  PostClick(Control(ControlId::Cancel));
  EXPECT_EQ(window.WaitForExit(), 0);
}

// Every control of the layout table, one window for them all.
TEST_F(Win32WindowTest, EveryControlHasItsKindCaptionAndPlaceAtTheWindowsDpi) {
  for (const ControlLayout& layout : ConvertWindowLayout()) {
    SCOPED_TRACE(layout.name);
    const HWND control = Control(layout.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(ClassNameOf(control), ClassOf(layout.kind));
    EXPECT_EQ(TextOf(control), layout.caption);
    const RECT expected = PixelsOf(layout.box, Dpi());
    const RECT place = PlaceOf(control);
    EXPECT_EQ(place.left, expected.left);
    EXPECT_EQ(place.top, expected.top);
    EXPECT_EQ(place.right, expected.right);
    EXPECT_EQ(place.bottom, expected.bottom);
  }
}

/// The built window, or the one MV_WINDOW_UNDER_TEST names: scripts/windows names the installed
/// one.
std::string WindowUnderTest() {
  return EnvironmentVariable("MV_WINDOW_UNDER_TEST").value_or(MV_WINDOW_PROGRAM);
}

TEST(Win32WindowProgram, StartsWithItsCaptionAndEndsWhenClosed) {
  const mv::testing::TempFolder workFolder;
  const mv::testing::ScopedEnvironmentVariable configuration{"VANTREL_CONFIGURATION",
                                                             workFolder.File("Orbisco.xml")};
  RunningWindow window{WindowUnderTest()};
  EXPECT_EQ(TextOf(window.Handle()), kWindowTitle);
  PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(window.WaitForExit(), 0);
}

TEST(Win32WindowProgram, CarriesItsManifestIconAndBanner) {
  const HMODULE program =
      LoadLibraryExW(Wide(MV_WINDOW_PROGRAM).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  const HRSRC manifest = FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(program, manifest))),
                         SizeofResource(program, manifest));
  for (const char* setting : {"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                              "PerMonitorV2", "true/pm", "level=\"asInvoker\""}) {
    EXPECT_NE(text.find(setting), std::string::npos) << setting;
  }
  EXPECT_NE(FindResourceW(program, MAKEINTRESOURCEW(MV_WINDOW_ICON), RT_GROUP_ICON), nullptr);
  const auto banner = static_cast<HBITMAP>(LoadImageW(program, MAKEINTRESOURCEW(MV_BANNER_BITMAP),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(banner, nullptr);
  BITMAP size{};
  GetObjectW(banner, sizeof(size), &size);
  EXPECT_EQ(size.bmWidth, 275);
  EXPECT_EQ(size.bmHeight, 119);
  DeleteObject(banner);
  FreeLibrary(program);
}

}  // namespace
}  // namespace mv::win32::testing
