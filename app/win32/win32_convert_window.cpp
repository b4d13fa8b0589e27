// Win32ConvertWindow: the controls created from the layout table, their places at the window's
// DPI, the advanced toggle, the check boxes' clicks, message boxes and the commands.
#include "app/win32/win32_convert_window.h"

#include <commctrl.h>

#include <utility>

#include "app/win32/resource_ids.h"
#include "app/win32/wide_text.h"

namespace mv::win32 {
namespace {

/// Posted by Wake(): a worker thread has something for the window's thread.
constexpr UINT kWakeMessage = WM_APP + 1;
/// Sent by CallOnWindowThread(): its lParam is the call to run.
constexpr UINT kCallMessage = WM_APP + 2;
constexpr UINT_PTR kTickTimer = 1;

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// The window's own Tab and arrow keys move between its controls.
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
// The top of the advanced area: the order-form dump, shown only while the window is expanded.
constexpr int kAdvancedAreaTop = 5400;

// The class name and styles of a control of that kind.
struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle = 0;
};

ControlClass ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Picture:
      return {WC_STATICW, SS_OWNERDRAW};
    case ControlKind::Frame:
      return {WC_BUTTONW, BS_GROUPBOX};
    case ControlKind::CheckBox:
      // Not an automatic check box: a click ticks or unticks it here, so that a greyed box set
      // by the program unticks on a click as well.
      return {WC_BUTTONW, BS_3STATE | WS_TABSTOP};
    case ControlKind::Button:
      return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::Label:
      return {WC_STATICW, SS_LEFT | SS_NOPREFIX};
    case ControlKind::CentredLabel:
      return {WC_STATICW, SS_CENTER | SS_NOPREFIX};
    case ControlKind::TextBox:
      return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::PasswordBox:
      return {WC_EDITW, ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP, WS_EX_CLIENTEDGE};
  }
  return {WC_STATICW, 0};
}

bool IsOption(ControlId id) {
  return id == ControlId::CheckBasket || id == ControlId::CheckOrders ||
         id == ControlId::CheckParameters || id == ControlId::CheckCopy;
}

void Call(const std::function<void()>& command) {
  if (command) command();
}

ATOM RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(MV_WINDOW_ICON));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(MV_WINDOW_ICON),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExW(&windowClass);
}

}  // namespace

Win32ConvertWindow::Win32ConvertWindow(HINSTANCE instance, ConvertWindowCommands commands)
    : commands_(std::move(commands)) {
  static const ATOM registered = RegisterWindowClass(instance, Procedure);
  (void)registered;
  banner_.reset(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(MV_BANNER_BITMAP),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  CreateWindowExW(kWindowExStyle, kWindowClass, kWindowTitle, kWindowStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
  CreateControls();
  SetTabOrder();
  LayOut(GetDpiForWindow(window_));
  ShowExpanded(false);
  Show(ControlId::ResultText, false);
  using enum ControlId;
  for (ControlId id :
       {SDBServer, TDBServer, SUser, TUser, SPassword, TPassword, SDB, TDB, DumpBaskets, Convert}) {
    Enable(id, false);
  }
}

Win32ConvertWindow::~Win32ConvertWindow() {
  if (IsWindow(window_)) DestroyWindow(window_);
}

int Win32ConvertWindow::Run(int show) {
  ShowWindow(window_, show);
  UpdateWindow(window_);
  SetFocus(GetNextDlgTabItem(window_, nullptr, FALSE));
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (inputBlocked_ && IsInputToControl(message)) continue;
    if (IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

void Win32ConvertWindow::Close() { DestroyWindow(window_); }

HWND Win32ConvertWindow::Control(ControlId id) const {
  return GetDlgItem(window_, static_cast<int>(id));
}

std::string Win32ConvertWindow::Text(ControlId id) const {
  const HWND control = Control(id);
  std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
  text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
  return Utf8(text);
}

void Win32ConvertWindow::SetText(ControlId id, const std::string& text) {
  SetWindowTextW(Control(id), Wide(text).c_str());
}

bool Win32ConvertWindow::Enabled(ControlId id) const { return IsWindowEnabled(Control(id)); }

void Win32ConvertWindow::Enable(ControlId id, bool enabled) { EnableWindow(Control(id), enabled); }

bool Win32ConvertWindow::Visible(ControlId id) const {
  return GetWindowLongW(Control(id), GWL_STYLE) & WS_VISIBLE;
}

void Win32ConvertWindow::Show(ControlId id, bool visible) {
  ShowWindow(Control(id), visible ? SW_SHOWNA : SW_HIDE);
}

CheckState Win32ConvertWindow::Check(ControlId id) const {
  return static_cast<CheckState>(SendMessageW(Control(id), BM_GETCHECK, 0, 0));
}

void Win32ConvertWindow::SetCheck(ControlId id, CheckState state) {
  SendMessageW(Control(id), BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void Win32ConvertWindow::ShowExpanded(bool expanded) {
  const HWND focus = GetFocus();
  expanded_ = expanded;
  for (const ControlLayout& control : ConvertWindowLayout()) {
    if (control.box.top >= kAdvancedAreaTop) Show(control.id, expanded);
  }
  Show(ControlId::AdvancedOn, !expanded);
  Show(ControlId::AdvancedOff, expanded);
  // The toggle that was pressed is hidden now: the focus goes to the one in its place.
  if (focus == Control(ControlId::AdvancedOn) || focus == Control(ControlId::AdvancedOff)) {
    SetFocus(Control(expanded ? ControlId::AdvancedOff : ControlId::AdvancedOn));
  }
  SizeWindow(nullptr);
}

void Win32ConvertWindow::ShowMessage(const std::string& text) { ShowMessageBox(text, MB_OK); }

bool Win32ConvertWindow::AskYesNo(const std::string& text) {
  return ShowMessageBox(text, MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

int Win32ConvertWindow::ShowMessageBox(const std::string& text, UINT buttons) {
  return MessageBoxW(window_, Wide(text).c_str(), kApplicationTitle, buttons);
}

void Win32ConvertWindow::Wake() { PostMessageW(window_, kWakeMessage, 0, 0); }

void Win32ConvertWindow::CallOnWindowThread(const std::function<void()>& call) {
  if (GetWindowThreadProcessId(window_, nullptr) == GetCurrentThreadId()) {
    call();
    return;
  }
  SendMessageW(window_, kCallMessage, 0, reinterpret_cast<LPARAM>(&call));
}

void Win32ConvertWindow::BlockInput(bool blocked) {
  inputBlocked_ = blocked;
  POINT cursor;
  GetCursorPos(&cursor);
  SetCursorPos(cursor.x, cursor.y);  // the cursor's shape follows at once
}

void Win32ConvertWindow::StartTicking(UINT milliseconds) {
  SetTimer(window_, kTickTimer, milliseconds, nullptr);
}

void Win32ConvertWindow::StopTicking() { KillTimer(window_, kTickTimer); }

// Mouse and key input aimed at a control; system keys (Alt+F4) still reach the window.
bool Win32ConvertWindow::IsInputToControl(const MSG& message) const {
  const UINT m = message.message;
  const bool mouse = m >= WM_MOUSEFIRST && m <= WM_MOUSELAST;
  const bool key = m >= WM_KEYFIRST && m <= WM_KEYLAST && m != WM_SYSKEYDOWN && m != WM_SYSKEYUP &&
                   m != WM_SYSCHAR;
  return (mouse || key) && message.hwnd != window_ && IsChild(window_, message.hwnd);
}

LRESULT CALLBACK Win32ConvertWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<Win32ConvertWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32ConvertWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, w, l);
  return self->OnMessage(message, w, l);
}

LRESULT Win32ConvertWindow::OnMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(static_cast<ControlId>(LOWORD(w)), HIWORD(w));
      return 0;
    case WM_DRAWITEM:
      DrawBanner(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
      return TRUE;
    case WM_DPICHANGED:
      LayOut(LOWORD(w), reinterpret_cast<const RECT*>(l));
      return 0;
    case WM_CLOSE:
      if (AskToClose()) Close();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case kWakeMessage:
      Call(commands_.woken);
      return 0;
    case kCallMessage:
      (*reinterpret_cast<const std::function<void()>*>(l))();
      return 0;
    case WM_TIMER:
      if (w == kTickTimer) Call(commands_.tick);
      return 0;
    case WM_SETCURSOR:
      if (inputBlocked_ && LOWORD(l) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      return DefWindowProcW(window_, message, w, l);
    default:
      return DefWindowProcW(window_, message, w, l);
  }
}

void Win32ConvertWindow::CreateControls() {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
  for (const ControlLayout& control : ConvertWindowLayout()) {
    const ControlClass kind = ClassOf(control.kind);
    const HWND created = CreateWindowExW(kind.exStyle, kind.name, control.caption.c_str(),
                                         WS_CHILD | WS_VISIBLE | kind.style, 0, 0, 0, 0, window_,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                         instance, nullptr);
    if (control.kind == ControlKind::PasswordBox)
      SendMessageW(created, EM_SETPASSWORDCHAR, L'*', 0);
  }
}

// The dialog manager moves the focus through the controls in their order among their siblings:
// the controls that take the focus come first, in the order of tabbing, above the frame, labels
// and picture that they lie over.
void Win32ConvertWindow::SetTabOrder() {
  HWND previous = HWND_TOP;
  for (ControlId id : TabOrder()) {
    const HWND control = Control(id);
    SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control;
  }
}

void Win32ConvertWindow::LayOut(UINT dpi, const RECT* suggested) {
  dpi_ = dpi;
  fonts_.emplace(dpi);
  for (const ControlLayout& control : ConvertWindowLayout()) {
    const HWND handle = Control(control.id);
    const Twips& box = control.box;
    SetWindowPos(handle, nullptr, PixelsAt(box.left, dpi), PixelsAt(box.top, dpi),
                 PixelsAt(box.width, dpi), PixelsAt(box.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->Of(control.font)), TRUE);
  }
  SizeWindow(suggested);
}

void Win32ConvertWindow::SizeWindow(const RECT* suggested) {
  const int height = expanded_ ? kExpandedHeight : kCollapsedHeight;
  RECT outer{0, 0, PixelsAt(kClientWidth, dpi_), PixelsAt(height - kFrameHeight, dpi_)};
  AdjustWindowRectExForDpi(&outer, kWindowStyle, FALSE, kWindowExStyle, dpi_);
  const int left = suggested ? suggested->left : 0;
  const int top = suggested ? suggested->top : 0;
  SetWindowPos(window_, nullptr, left, top, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE));
}

void Win32ConvertWindow::OnCommand(ControlId id, WORD notification) {
  if (notification != BN_CLICKED || inputBlocked_) return;
  switch (id) {
    case ControlId::CheckDump:
      ToggleCheck(id);
      Call(commands_.dumpOptionChanged);
      return;
    case ControlId::Convert:
      Call(commands_.migrate);
      return;
    case ControlId::DumpBaskets:
      Call(commands_.dump);
      return;
    case ControlId::OpenLogFile:
      Call(commands_.openLogFile);
      return;
    case ControlId::OpenDumpFile:
      Call(commands_.openDumpFile);
      return;
    case ControlId::Cancel:
      if (AskToClose()) Close();
      return;
    case ControlId::AdvancedOn:
    case ControlId::AdvancedOff:
      ShowExpanded(id == ControlId::AdvancedOn);
      return;
    default:
      if (IsOption(id)) {
        ToggleCheck(id);
        Call(commands_.optionsChanged);
      }
      return;
  }
}

void Win32ConvertWindow::ToggleCheck(ControlId id) {
  SetCheck(id, Check(id) == CheckState::Unchecked ? CheckState::Checked : CheckState::Unchecked);
}

bool Win32ConvertWindow::AskToClose() { return !commands_.close || commands_.close(); }

// The banner from the picture's top left corner on white, at the window's DPI.
void Win32ConvertWindow::DrawBanner(const DRAWITEMSTRUCT& item) const {
  FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  BITMAP size{};
  GetObjectW(banner_.get(), sizeof(size), &size);
  const HDC source = CreateCompatibleDC(item.hDC);
  const HGDIOBJ previous = SelectObject(source, banner_.get());
  SetStretchBltMode(item.hDC, HALFTONE);
  StretchBlt(item.hDC, 0, 0, MulDiv(size.bmWidth, dpi_, USER_DEFAULT_SCREEN_DPI),
             MulDiv(size.bmHeight, dpi_, USER_DEFAULT_SCREEN_DPI), source, 0, 0, size.bmWidth,
             size.bmHeight, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
}

}  // namespace mv::win32
