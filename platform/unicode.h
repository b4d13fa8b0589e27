// Conversions between the program's UTF-8 text, UTF-16 (the wide ODBC calls) and the
// system's narrow code page (files).
#pragma once

#include <string>
#include <string_view>

namespace mv {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

/// Text in the system's narrow code page: the locale's codeset on Linux (UTF-8 when the
/// locale names none beyond ASCII, since plain ASCII cannot hold the shop's texts), the ANSI
/// code page on Windows. Characters the code page lacks become its substitute character.
std::string Utf8ToNarrow(std::string_view utf8);
std::string NarrowToUtf8(std::string_view narrow);

/// The name of the narrow code page in use, e.g. "UTF-8" or "ISO-8859-15".
std::string NarrowCodePageName();

}  // namespace mv
