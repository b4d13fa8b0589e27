// Wine's own exports, looked up at run time so that the program runs on Windows alike.
#include "tools/setup/wine_host.h"

#ifdef _WIN32
#include <windows.h>

#include <filesystem>

#include "platform/unicode.h"
#endif

namespace mv::setup {

#ifdef _WIN32

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::string HostFileName(const std::string& path) {
  using UnixFileName = char*(CDECL*)(const wchar_t*);
  // Through void*: a FARPROC names no signature of its own.
  const auto toUnix = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr || !PathFromUtf8(path).is_absolute()) return path;
  const std::u16string wide = Utf8ToUtf16(path);
  char* unixName = toUnix(reinterpret_cast<const wchar_t*>(wide.c_str()));
  if (unixName == nullptr) {
    // Wine names only files in folders that exist: a file in a missing folder (a database
    // that must not be found) keeps the rest of its path below the nearest folder that does.
    const std::filesystem::path windowsPath = PathFromUtf8(path);
    if (windowsPath.parent_path() == windowsPath) return path;
    return HostFileName(Utf8FromPath(windowsPath.parent_path())) + "/" +
           Utf8FromPath(windowsPath.filename());
  }
  std::string name = unixName;
  HeapFree(GetProcessHeap(), 0, unixName);
  return name;
}

#else

bool UnderWine() { return false; }

std::string HostFileName(const std::string& path) { return path; }

#endif

}  // namespace mv::setup
