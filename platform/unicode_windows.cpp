// UTF-8, UTF-16 and code-page conversions on Windows, through the system's own calls.
#include <windows.h>

#include <string>

#include "platform/unicode.h"

namespace mv {
namespace {

/// `text` from code page `from` as UTF-16. Invalid sequences become U+FFFD.
std::u16string ToUtf16(UINT from, std::string_view text) {
  if (text.empty()) return {};
  const int units =
      MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::u16string wide(static_cast<size_t>(units), u'\0');
  MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()),
                      reinterpret_cast<wchar_t*>(wide.data()), units);
  return wide;
}

/// `wide` in code page `to`. Characters the code page lacks become its substitute character;
/// an unpaired surrogate becomes U+FFFD in UTF-8.
std::string FromUtf16(UINT to, std::u16string_view wide) {
  if (wide.empty()) return {};
  const auto* source = reinterpret_cast<const wchar_t*>(wide.data());
  const int bytes = WideCharToMultiByte(to, 0, source, static_cast<int>(wide.size()), nullptr, 0,
                                        nullptr, nullptr);
  std::string text(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(to, 0, source, static_cast<int>(wide.size()), text.data(), bytes, nullptr,
                      nullptr);
  return text;
}

bool AnsiCodePageIsUtf8() { return GetACP() == CP_UTF8; }

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) { return ToUtf16(CP_UTF8, utf8); }

std::string Utf16ToUtf8(std::u16string_view utf16) { return FromUtf16(CP_UTF8, utf16); }

std::string NarrowCodePageName() {
  return AnsiCodePageIsUtf8() ? "UTF-8" : "windows-" + std::to_string(GetACP());
}

std::string Utf8ToNarrow(std::string_view utf8) {
  if (AnsiCodePageIsUtf8()) return std::string(utf8);
  return FromUtf16(CP_ACP, Utf8ToUtf16(utf8));
}

std::string NarrowToUtf8(std::string_view narrow) {
  if (AnsiCodePageIsUtf8()) return std::string(narrow);
  return Utf16ToUtf8(ToUtf16(CP_ACP, narrow));
}

}  // namespace mv
