// The Win32 window's controls in one table, with no toolkit type: each control's id, kind,
// caption, place in twips and font, the order of tabbing, and the window's sizes and texts.
// The window is built from it; the UI tests find the controls by these ids.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace mv::win32 {

/// The control ids of the window (GetDlgItem finds a control by its id).
enum class ControlId : int {
  Picture1 = 1001,
  Frame1,
  CheckBasket,
  CheckOrders,
  CheckParameters,
  CheckCopy,
  Cancel,
  Convert,
  OpenLogFile,
  Label5,
  Label6,
  Label1,
  Label2,
  Label3,
  Label4,
  SDBServer,
  SUser,
  SPassword,
  SDB,
  TDBServer,
  TUser,
  TPassword,
  TDB,
  AdvancedOn,
  AdvancedOff,
  ResultText,
  CheckDump,
  DumpBaskets,
  DumpFileName,
  OpenDumpFile,
};

/// What a control is; the picture shows the banner, a password box shows "*" for each character.
enum class ControlKind {
  Picture,
  Frame,
  CheckBox,
  Button,
  Label,
  CentredLabel,
  TextBox,
  PasswordBox
};

/// The window's font, the column headings' bold 12 pt, or the window's font in bold.
enum class ControlFont { Window, Heading, Bold };

/// A control's place in twips: left, top, width, height.
struct Twips {
  int left;
  int top;
  int width;
  int height;
};

struct ControlLayout {
  ControlId id;
  const char* name;
  ControlKind kind;
  std::wstring caption;
  Twips box;
  ControlFont font = ControlFont::Window;
};

/// The window's title, with its six leading blanks.
inline constexpr wchar_t kWindowTitle[] = L"      Vantrel 2.2 (SP1) to Vantrel 2.3 Data Migration";
/// The window's class name, by which FindWindowW finds it.
inline constexpr wchar_t kWindowClass[] = L"FrmConvert";
/// The title of every message box.
inline constexpr wchar_t kApplicationTitle[] = L"MigrateVantrel22To23";

/// Window heights in twips, as the outer height of a window whose title bar and borders take
/// 360 twips: the client area is the rest, whatever frame the system draws.
inline constexpr int kCollapsedHeight = 5500;
inline constexpr int kExpandedHeight = 6550;
inline constexpr int kFrameHeight = 360;
/// The width of the client area: the banner's.
inline constexpr int kClientWidth = 6210;

/// Every control of the window, in the order of the product's table.
std::vector<ControlLayout> ConvertWindowLayout();

/// The controls that take the focus, in the order Tab moves it.
std::span<const ControlId> TabOrder();

/// Twips as whole pixels at `dpi` pixels an inch (1440 twips an inch), rounded to the nearest:
/// 15 twips a pixel at 96 DPI, as the Qt window converts them.
int PixelsAt(int twips, unsigned dpi);

}  // namespace mv::win32
