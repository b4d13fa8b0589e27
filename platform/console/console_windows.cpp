// The console on Windows: _isatty, the wide command line, the console's code page and mode, and
// the console control handler.
#include <windows.h>
// After windows.h, whose types they use:
#include <io.h>
#include <shellapi.h>
#include <stdio.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <thread>
#include <utility>

#include "platform/console/console.h"
#include "platform/odbc/statement_watchdog.h"
#include "platform/unicode.h"

namespace mv {
namespace {

std::atomic<bool> interrupted{false};
std::atomic<bool> watching{false};
std::string interruptNotice;

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
  // The first interrupt is handled here; a second Ctrl-C goes on to the default handler, which
  // ends the program.
  if (interrupted.exchange(true) && !closing) return FALSE;
  odbc::CancelRunningStatements();
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), interruptNotice.data(),
            static_cast<DWORD>(interruptNotice.size()), &written, nullptr);
  if (closing) HoldBackTheEndOfTheProgram();
  return TRUE;
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

bool IsTerminal(StandardStream stream) {
  switch (stream) {
    case StandardStream::Input:
      return _isatty(_fileno(stdin)) != 0;
    case StandardStream::Output:
      return _isatty(_fileno(stdout)) != 0;
    case StandardStream::Error:
      return _isatty(_fileno(stderr)) != 0;
  }
  return false;
}

std::string ReadHiddenLine(const std::string& prompt) {
  std::cerr << prompt << std::flush;
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD saved = 0;
  const bool console = GetConsoleMode(input, &saved) != 0;
  if (console) SetConsoleMode(input, saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  std::string line;
  std::getline(std::cin, line);
  if (console) SetConsoleMode(input, saved);
  std::cerr << '\n' << std::flush;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

InterruptWatch::InterruptWatch(std::string notice) {
  interrupted.store(false);
  interruptNotice = std::move(notice);
  watching.store(true);
  SetConsoleCtrlHandler(NoteInterrupt, TRUE);
}

InterruptWatch::~InterruptWatch() {
  SetConsoleCtrlHandler(NoteInterrupt, FALSE);
  watching.store(false);
}

bool InterruptWatch::Requested() const { return interrupted.load(); }

}  // namespace mv
