// Driving a Win32 window from outside, as Windows UI tests do: start the program, find its
// window and controls by id, read and set texts, click, and find and answer its message boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/win32/convert_window_layout.h"

namespace mv::win32::testing {

/// The window program started as a child process, its window found by class and title; the
/// window is closed (the program ended, if it must be) when this goes.
class RunningWindow {
 public:
  explicit RunningWindow(const std::string& program);
  ~RunningWindow();
  RunningWindow(const RunningWindow&) = delete;
  RunningWindow& operator=(const RunningWindow&) = delete;

  HWND Handle() const { return window_; }
  HWND Control(ControlId id) const;
  /// Waits for the program to end after its window was closed; its exit code, or -1 when it
  /// did not end within the time-out.
  int WaitForExit();

 private:
  HANDLE process_ = nullptr;
  HWND window_ = nullptr;
};

/// Waits until `condition` holds; false when it does not within the time-out.
bool WaitUntil(const std::function<bool()>& condition);

std::wstring TextOf(HWND window);
void SetTextOf(HWND window, const std::wstring& text);
/// Clicks a button or check box and returns once the window has handled the click.
void Click(HWND control);
/// Clicks without waiting: for a click whose handler shows a message box.
void PostClick(HWND control);
bool IsVisible(HWND control);
/// The control's place in its parent's client area.
RECT PlaceOf(HWND control);
SIZE ClientSizeOf(HWND window);

/// The ids of the controls that take the focus, in the order Tab moves it (their order among
/// their siblings).
std::vector<ControlId> TabStopsOf(HWND window);

/// The message box (class "#32770") that `owner` shows, once it is there; null after a time-out.
HWND WaitForMessageBox(HWND owner);

struct MessageBoxContent {
  std::wstring title;
  std::wstring text;
  std::vector<int> buttons;  ///< IDOK, IDCANCEL, IDYES, IDNO ... that the box has
};
MessageBoxContent ReadMessageBox(HWND box);
/// Presses the box's button `button` (IDOK, IDYES, IDNO ...).
void AnswerMessageBox(HWND box, int button);

}  // namespace mv::win32::testing
