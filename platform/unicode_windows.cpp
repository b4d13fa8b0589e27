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

// The system converts between UTF-8 and UTF-16 only: code points join and split the
// surrogate pairs of UTF-16. The system's UTF-16 from UTF-8 holds no unpaired surrogate, and
// its UTF-8 turns one into U+FFFD.
std::u32string Utf8ToUtf32(std::string_view utf8) {
  const std::u16string utf16 = Utf8ToUtf16(utf8);
  std::u32string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    const char32_t unit = utf16[i];
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size();
    out.push_back(pair ? 0x10000 + ((unit - 0xD800) << 10) + (utf16[++i] - 0xDC00) : unit);
  }
  return out;
}

std::string Utf32ToUtf8(std::u32string_view utf32) {
  std::u16string utf16;
  utf16.reserve(utf32.size());
  for (char32_t point : utf32) {
    if (point > 0x10FFFF) {
      utf16.push_back(0xFFFD);
    } else if (point >= 0x10000) {
      utf16.push_back(static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10)));
      utf16.push_back(static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF)));
    } else {
      utf16.push_back(static_cast<char16_t>(point));
    }
  }
  return Utf16ToUtf8(utf16);
}

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
