// UTF-8, UTF-16 and code-page conversions on POSIX systems, through ICU.
#include "platform/unicode.h"

#include <langinfo.h>
#include <locale.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <cstddef>
#include <memory>

#include "platform/errors.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

void Check(UErrorCode status, const char* what) {
  if (U_FAILURE(status)) {
    throw errors::TypeMismatch(std::string(what) + ": " + u_errorName(status));
  }
}

/// `in` converted by `convert`, one of ICU's u_str...WithSub functions, into a string of at
/// most `capacity` units; what cannot be converted becomes U+FFFD.
template <typename Out, typename In, typename Target, typename Source>
Out Converted(In in, size_t capacity,
              Target* (*convert)(Target*, int32_t, int32_t*, const Source*, int32_t, UChar32,
                                 int32_t*, UErrorCode*),
              const char* what) {
  if (in.empty()) return {};
  Out out(capacity, typename Out::value_type{});
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  convert(reinterpret_cast<Target*>(out.data()), static_cast<int32_t>(out.size()), &length,
          reinterpret_cast<const Source*>(in.data()), static_cast<int32_t>(in.size()), 0xFFFD,
          nullptr, &status);
  Check(status, what);
  out.resize(static_cast<size_t>(length));
  return out;
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
  return Converted<std::u16string>(utf8, utf8.size(), u_strFromUTF8WithSub, "Invalid UTF-8 text");
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  return Converted<std::string>(utf16, utf16.size() * 3, u_strToUTF8WithSub, "Invalid UTF-16 text");
}

std::u32string Utf8ToUtf32(std::string_view utf8) {
  const std::u16string utf16 = Utf8ToUtf16(utf8);
  return Converted<std::u32string>(std::u16string_view(utf16), utf16.size(), u_strToUTF32WithSub,
                                   "Invalid UTF-16 text");
}

std::string Utf32ToUtf8(std::u32string_view utf32) {
  return Utf16ToUtf8(Converted<std::u16string>(utf32, utf32.size() * 2, u_strFromUTF32WithSub,
                                               "Invalid code points"));
}

std::string NarrowCodePageName() {
  locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  std::string codeset = user ? nl_langinfo_l(CODESET, user) : "";
  if (user) freelocale(user);
  if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "US-ASCII") return "UTF-8";
  return codeset;
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

}  // namespace mv
