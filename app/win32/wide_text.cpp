// UTF-8 and UTF-16 through the platform's conversions; wchar_t is 16 bits wide on Windows.
#include "app/win32/wide_text.h"

#include "platform/unicode.h"

namespace mv::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide text is UTF-16");

std::wstring Wide(std::string_view utf8) {
  const std::u16string wide = Utf8ToUtf16(utf8);
  return {wide.begin(), wide.end()};
}

std::string Utf8(std::wstring_view wide) {
  return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

}  // namespace mv::win32
