#include "app/win32/notepad_viewer.h"

#include <windows.h>

#include "app/win32/wide_text.h"

namespace mv::win32 {

bool StartNotepad(const std::string& path) {
  // The path goes unquoted after the program name: notepad takes the rest of its command line
  // as the file name.
  std::wstring commandLine = L"notepad " + Wide(path);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMAXIMIZED;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

}  // namespace mv::win32
