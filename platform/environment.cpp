// Environment variables read as UTF-8, from the wide environment on Windows, and the folder of
// the user's files.
#include "platform/environment.h"

#include <cstdlib>

#include "platform/unicode.h"

namespace mv {

std::optional<std::string> EnvironmentVariable(const char* name) {
#ifdef _WIN32
  const std::u16string wideName = Utf8ToUtf16(name);
  const wchar_t* value = _wgetenv(reinterpret_cast<const wchar_t*>(wideName.c_str()));
  if (value == nullptr) return std::nullopt;
  return Utf16ToUtf8(reinterpret_cast<const char16_t*>(value));
#else
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
#endif
}

std::string UserFilesFolder() {
#ifdef _WIN32
  return "c:\\";
#else
  const std::optional<std::string> home = EnvironmentVariable("HOME");
  return home && !home->empty() ? *home : ".";
#endif
}

}  // namespace mv
