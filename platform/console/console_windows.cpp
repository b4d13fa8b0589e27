// The console on Windows: _isatty, the console mode and the console control handler.
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include <atomic>
#include <iostream>
#include <utility>

#include "platform/console/console.h"
#include "platform/odbc/statement_watchdog.h"

namespace mv {
namespace {

std::atomic<bool> interrupted{false};
std::string interruptNotice;

BOOL WINAPI NoteInterrupt(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  // The first Ctrl-C is handled here; a second one goes on to the default handler, which
  // ends the program.
  if (interrupted.exchange(true)) return FALSE;
  odbc::CancelRunningStatements();
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), interruptNotice.data(),
            static_cast<DWORD>(interruptNotice.size()), &written, nullptr);
  return TRUE;
}

}  // namespace

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
  SetConsoleCtrlHandler(NoteInterrupt, TRUE);
}

InterruptWatch::~InterruptWatch() { SetConsoleCtrlHandler(NoteInterrupt, FALSE); }

bool InterruptWatch::Requested() const { return interrupted.load(); }

}  // namespace mv
