// The UI test helpers over FindWindowW, GetDlgItem, WM_GETTEXT, BM_CLICK and EnumWindows.
#include "tests/app_win32/window_driver.h"

#include <chrono>
#include <stdexcept>
#include <thread>

#include "app/win32/wide_text.h"

namespace mv::win32::testing {
namespace {

constexpr auto kPatience = std::chrono::seconds(60);
constexpr auto kPoll = std::chrono::milliseconds(20);

/// Calls `find` until it answers something, or answers null after kPatience.
template <typename Find>
auto WaitFor(Find find) {
  const auto end = std::chrono::steady_clock::now() + kPatience;
  auto found = find();
  while (!found && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(kPoll);
    found = find();
  }
  return found;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

struct BoxSearch {
  HWND owner;
  HWND box = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM l) {
  auto* search = reinterpret_cast<BoxSearch*>(l);
  if (ClassOf(window) == L"#32770" && GetWindow(window, GW_OWNER) == search->owner &&
      IsWindowVisible(window)) {
    search->box = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

RunningWindow::RunningWindow(const std::string& program) {
  std::wstring commandLine = L"\"" + Wide(program) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    throw std::runtime_error("cannot start " + program);
  }
  CloseHandle(started.hThread);
  process_ = started.hProcess;
  const DWORD id = started.dwProcessId;
  window_ = WaitFor([id]() -> HWND {
    for (HWND found = FindWindowW(kWindowClass, kWindowTitle); found;
         found = FindWindowExW(nullptr, found, kWindowClass, kWindowTitle)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(found, &owner);
      if (owner == id && IsWindowVisible(found)) return found;
    }
    return nullptr;
  });
  if (!window_) {
    TerminateProcess(process_, 1);
    CloseHandle(process_);
    throw std::runtime_error("the window of " + program + " did not show");
  }
}

RunningWindow::~RunningWindow() {
  if (IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (WaitForExit() < 0) TerminateProcess(process_, 1);
  CloseHandle(process_);
}

HWND RunningWindow::Control(ControlId id) const {
  return GetDlgItem(window_, static_cast<int>(id));
}

int RunningWindow::WaitForExit() {
  const auto milliseconds = std::chrono::milliseconds(kPatience).count();
  if (WaitForSingleObject(process_, static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<int>(code);
}

bool WaitUntil(const std::function<bool()>& condition) {
  return WaitFor([&] { return condition(); });
}

std::wstring TextOf(HWND window) {
  std::wstring text(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
  text.resize(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  return text;
}

void SetTextOf(HWND window, const std::wstring& text) {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND control) { SendMessageW(control, BM_CLICK, 0, 0); }

void PostClick(HWND control) { PostMessageW(control, BM_CLICK, 0, 0); }

bool IsVisible(HWND control) { return GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE; }

RECT PlaceOf(HWND control) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

SIZE ClientSizeOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right - client.left, client.bottom - client.top};
}

std::vector<ControlId> TabStopsOf(HWND window) {
  std::vector<ControlId> stops;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) {
      stops.push_back(static_cast<ControlId>(GetDlgCtrlID(child)));
    }
  }
  return stops;
}

HWND WaitForMessageBox(HWND owner) {
  return WaitFor([owner]() -> HWND {
    BoxSearch search{owner};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    return search.box;
  });
}

MessageBoxContent ReadMessageBox(HWND box) {
  // The message box shows its text in the static control 0xFFFF.
  MessageBoxContent content{TextOf(box), TextOf(GetDlgItem(box, 0xFFFF)), {}};
  for (int button : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    const HWND control = GetDlgItem(box, button);
    if (control && IsVisible(control)) content.buttons.push_back(button);
  }
  return content;
}

void AnswerMessageBox(HWND box, int button) { PostClick(GetDlgItem(box, button)); }

}  // namespace mv::win32::testing
