// UTF-8, UTF-16 and code-page conversions through ICU; paths and UTF-8 checks.
#include "platform/unicode.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <cstddef>
#include <memory>

#include "platform/errors.h"
#include "platform/runtime_error.h"

#ifndef _WIN32
#include <langinfo.h>
#include <locale.h>
#endif

namespace mv {
namespace {

void Check(UErrorCode status, const char* what) {
  if (U_FAILURE(status)) {
    throw errors::TypeMismatch(std::string(what) + ": " + u_errorName(status));
  }
}

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenNarrowConverter() {
  UErrorCode status = U_ZERO_ERROR;
  ConverterPtr converter(ucnv_open(NarrowCodePageName().c_str(), &status));
  Check(status, "Cannot open the system code page");
  return converter;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  if (utf8.empty()) return {};
  std::u16string out(utf8.size(), u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                       &length, utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr,
                       &status);
  Check(status, "Invalid UTF-8 text");
  out.resize(static_cast<size_t>(length));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  if (utf16.empty()) return {};
  std::string out(utf16.size() * 3, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                     reinterpret_cast<const UChar*>(utf16.data()),
                     static_cast<int32_t>(utf16.size()), 0xFFFD, nullptr, &status);
  Check(status, "Invalid UTF-16 text");
  out.resize(static_cast<size_t>(length));
  return out;
}

std::string NarrowCodePageName() {
#ifdef _WIN32
  return ucnv_getDefaultName();
#else
  locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  std::string codeset = user ? nl_langinfo_l(CODESET, user) : "";
  if (user) freelocale(user);
  if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "US-ASCII") return "UTF-8";
  return codeset;
#endif
}

std::string Utf8ToNarrow(std::string_view utf8) {
  static const bool isUtf8 = NarrowCodePageName() == "UTF-8";
  if (isUtf8 || utf8.empty()) return std::string(utf8);
  const std::u16string wide = Utf8ToUtf16(utf8);
  ConverterPtr converter = OpenNarrowConverter();
  UErrorCode status = U_ZERO_ERROR;
  std::string out(static_cast<size_t>(UCNV_GET_MAX_BYTES_FOR_STRING(
                      static_cast<int32_t>(wide.size()), ucnv_getMaxCharSize(converter.get()))),
                  '\0');
  const int32_t length = ucnv_fromUChars(
      converter.get(), out.data(), static_cast<int32_t>(out.size()),
      reinterpret_cast<const UChar*>(wide.data()), static_cast<int32_t>(wide.size()), &status);
  Check(status, "Cannot convert to the system code page");
  out.resize(static_cast<size_t>(length));
  return out;
}

std::string NarrowToUtf8(std::string_view narrow) {
  static const bool isUtf8 = NarrowCodePageName() == "UTF-8";
  if (isUtf8 || narrow.empty()) return std::string(narrow);
  ConverterPtr converter = OpenNarrowConverter();
  UErrorCode status = U_ZERO_ERROR;
  std::u16string wide(narrow.size() * 2 + 1, u'\0');
  const int32_t length = ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(wide.data()),
                                       static_cast<int32_t>(wide.size()), narrow.data(),
                                       static_cast<int32_t>(narrow.size()), &status);
  Check(status, "Cannot convert from the system code page");
  wide.resize(static_cast<size_t>(length));
  return Utf16ToUtf8(wide);
}

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// After the table of well-formed byte sequences of Unicode.
bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;  // bounds of the first continuation byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // no overlong forms
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;   // no overlong forms
      if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

std::string AsciiLowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace mv
