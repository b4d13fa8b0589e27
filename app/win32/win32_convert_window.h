// Win32ConvertWindow: the program's window on Windows, a view that the front-end core drives.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "app/win32/convert_window_layout.h"
#include "app/win32/gdi_object.h"
#include "app/win32/window_fonts.h"
#include "frontend/option_rules.h"

namespace mv::win32 {

/// What the operator asks of the window. Each is called on the window's thread; one left empty
/// does nothing.
struct ConvertWindowCommands {
  std::function<void()> migrate;       ///< "Migrate"
  std::function<void()> dump;          ///< "Dump"
  std::function<void()> openLogFile;   ///< "Open Log file"
  std::function<void()> openDumpFile;  ///< "Open Dumpfile"
  /// One of the four migration options was ticked or unticked (its new state is already set).
  std::function<void()> optionsChanged;
  /// "Dump Vantrel 2.2 Orderforms" was ticked or unticked.
  std::function<void()> dumpOptionChanged;
  /// "Exit" or the title bar's close: answers whether the window closes now. Empty: it does.
  std::function<bool()> close;
  /// A worker thread called Wake(); runs once for each call.
  std::function<void()> woken;
  /// Every StartTicking() period until StopTicking().
  std::function<void()> tick;
};

/// The window's controls from the layout table, in the system's message font at the window's
/// DPI, laid out again when the DPI changes. It starts as the product's window starts: collapsed
/// with "Advanced >>" showing, every check box unchecked, `ResultText` hidden, the connection
/// fields, "Migrate" and "Dump" disabled. The two advanced buttons switch between collapsed and
/// expanded themselves; a click on a check box ticks or unticks it, then tells its command.
/// Everything else the window shows is set through its calls, which all belong to the window's
/// thread but Wake(). Texts are the program's UTF-8.
class Win32ConvertWindow {
 public:
  /// Creates the window, hidden; `instance` holds the artwork and the icon.
  Win32ConvertWindow(HINSTANCE instance, ConvertWindowCommands commands);
  ~Win32ConvertWindow();
  Win32ConvertWindow(const Win32ConvertWindow&) = delete;
  Win32ConvertWindow& operator=(const Win32ConvertWindow&) = delete;

  /// Shows the window and serves its messages until it is closed; answers the exit code.
  int Run(int show);
  /// Closes the window without asking, ending Run().
  void Close();

  HWND Handle() const { return window_; }
  HWND Control(ControlId id) const;

  std::string Text(ControlId id) const;
  /// A field's text or a control's caption (a check box's, `ResultText`'s).
  void SetText(ControlId id, const std::string& text);
  bool Enabled(ControlId id) const;
  void Enable(ControlId id, bool enabled);
  bool Visible(ControlId id) const;
  void Show(ControlId id, bool visible);
  CheckState Check(ControlId id) const;
  void SetCheck(ControlId id, CheckState state);

  bool Expanded() const { return expanded_; }
  /// The expanded form shows the order-form dump and "Advanced <<"; the collapsed one neither.
  void ShowExpanded(bool expanded);

  /// A modal message box with OK only, no icon, the title "MigrateVantrel22To23".
  void ShowMessage(const std::string& text);
  /// A modal message box with Yes and No, No the default; true on Yes.
  bool AskYesNo(const std::string& text);

  /// Callable from any thread: has the window's thread call `woken` soon. Never waits.
  void Wake();
  /// Callable from any thread: runs `call` on the window's thread (also inside a message box
  /// that thread shows) and returns once it has run. Once the window is destroyed, returns at
  /// once without running it. `call` must not throw.
  void CallOnWindowThread(const std::function<void()>& call);

  /// While blocked, the controls take no input (clicks, keys, commands) and the window shows
  /// the busy cursor; it still paints, and a close request still reaches `close`.
  void BlockInput(bool blocked);
  void StartTicking(UINT milliseconds);
  void StopTicking();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT OnMessage(UINT message, WPARAM w, LPARAM l);
  void CreateControls();
  void SetTabOrder();
  /// Places every control and sizes the window for the DPI, keeping its top left corner or
  /// moving it to `suggested`.
  void LayOut(UINT dpi, const RECT* suggested = nullptr);
  void SizeWindow(const RECT* suggested);
  void OnCommand(ControlId id, WORD notification);
  void ToggleCheck(ControlId id);
  bool AskToClose();
  bool IsInputToControl(const MSG& message) const;
  void DrawBanner(const DRAWITEMSTRUCT& item) const;
  int ShowMessageBox(const std::string& text, UINT buttons);

  ConvertWindowCommands commands_;
  HWND window_ = nullptr;
  GdiObject<HBITMAP> banner_;
  std::optional<WindowFonts> fonts_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  bool expanded_ = false;
  bool inputBlocked_ = false;
};

}  // namespace mv::win32
