// The console on Windows: the wide command line, the console's code page and mode, and the
// console control handler.
#include <windows.h>
// After windows.h, whose types it uses:
#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <thread>
#include <utility>

#include "platform/console/console.h"
#include "platform/unicode.h"

namespace mv {
namespace {

std::atomic<bool> interrupted{false};
std::atomic<bool> watching{false};
std::string interruptNotice;
void (*interruptAction)() = nullptr;

/// The system ends the program once the handler of a closing console returns, and at the latest
/// five seconds after the close: the run gets most of that time to log its stop.
void HoldBackTheEndOfTheProgram() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(4000);
  while (watching.load() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

BOOL WINAPI NoteInterrupt(DWORD event) {
  const bool closing =
      event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && !closing) return FALSE;
  // The first interrupt is handled here; a second Ctrl-C ends the program at once, with the
  // exit status the POSIX build gives it.
  if (interrupted.exchange(true) && !closing) ExitProcess(130);
  interruptAction();
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), interruptNotice.data(),
            static_cast<DWORD>(interruptNotice.size()), &written, nullptr);
  if (closing) HoldBackTheEndOfTheProgram();
  return TRUE;
}

DWORD savedInputMode = 0;

BOOL WINAPI RestoreEcho(DWORD) {
  SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), savedInputMode);
  return FALSE;  // the interrupt goes on to end the program
}

}  // namespace

std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide != nullptr && i < count; ++i)
    arguments.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[i])));
  LocalFree(wide);
  return arguments;
}

Utf8ConsoleOutput::Utf8ConsoleOutput() : previousCodePage_(GetConsoleOutputCP()) {
  SetConsoleOutputCP(CP_UTF8);
}

Utf8ConsoleOutput::~Utf8ConsoleOutput() {
  if (previousCodePage_ != 0) SetConsoleOutputCP(previousCodePage_);
}

// A console answers GetConsoleMode; _isatty would also take the NUL device (`< NUL`) for one,
// and the command would then wait for passwords that no one types.
namespace {

HANDLE HandleOf(StandardStream stream) {
  DWORD which = STD_INPUT_HANDLE;
  if (stream == StandardStream::Output) which = STD_OUTPUT_HANDLE;
  if (stream == StandardStream::Error) which = STD_ERROR_HANDLE;
  return GetStdHandle(which);
}

}  // namespace

bool IsTerminal(StandardStream stream) {
  DWORD mode = 0;
  return GetConsoleMode(HandleOf(stream), &mode) != 0;
}

int TerminalColumns(StandardStream stream) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(HandleOf(stream), &info)) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

std::string ReadHiddenLine(const std::string& prompt) {
  std::cerr << prompt << std::flush;
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  std::string line;
  if (GetConsoleMode(input, &savedInputMode)) {
    // Typed text comes as UTF-16, whatever the console's input code page. An interrupt while
    // it waits brings the echo back before it ends the program.
    SetConsoleCtrlHandler(RestoreEcho, TRUE);
    SetConsoleMode(input, (savedInputMode | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) &
                              ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    std::u16string typed;
    wchar_t c = 0;
    DWORD read = 0;
    while (ReadConsoleW(input, &c, 1, &read, nullptr) && read == 1 && c != L'\n') {
      if (c != L'\r') typed += static_cast<char16_t>(c);
    }
    SetConsoleMode(input, savedInputMode);
    SetConsoleCtrlHandler(RestoreEcho, FALSE);
    line = Utf16ToUtf8(typed);
  } else {
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
  }
  std::cerr << '\n' << std::flush;
  return line;
}

InterruptWatch::InterruptWatch(std::string notice, void (*onInterrupt)()) {
  interrupted.store(false);
  interruptNotice = std::move(notice);
  interruptAction = onInterrupt;
  watching.store(true);
  SetConsoleCtrlHandler(NoteInterrupt, TRUE);
}

InterruptWatch::~InterruptWatch() {
  SetConsoleCtrlHandler(NoteInterrupt, FALSE);
  watching.store(false);
}

}  // namespace mv
