// Conversions between the program's UTF-8 text, UTF-16 (the wide ODBC calls), code points, the
// system's narrow code page (files) and file-system paths, the check that text is UTF-8, and ASCII
// lower case.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mv {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

/// Text as its characters, one code point each, and back: for counting, cutting and joining
/// text by characters. Invalid sequences become U+FFFD.
std::u32string Utf8ToUtf32(std::string_view utf8);
std::string Utf32ToUtf8(std::u32string_view utf32);

/// Text in the system's narrow code page: the locale's codeset on Linux (UTF-8 when the
/// locale names none beyond ASCII, since plain ASCII cannot hold the shop's texts), the ANSI
/// code page on Windows. Characters the code page lacks become its substitute character.
std::string Utf8ToNarrow(std::string_view utf8);
std::string NarrowToUtf8(std::string_view narrow);

/// The name of the narrow code page in use, e.g. "UTF-8" or "ISO-8859-15".
std::string NarrowCodePageName();

/// A file-system path from the program's UTF-8 text, and the UTF-8 text of a path.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

/// True when `text` is well-formed UTF-8: no stray continuation bytes, no overlong forms, no
/// surrogates, nothing beyond U+10FFFF, no sequence cut short. For values that must reach SQL
/// text or a stored order form as whole characters.
bool IsValidUtf8(std::string_view text);

/// `text` with A to Z as a to z and every other byte as it is: an unquoted SQL name as
/// PostgreSQL keeps it in its catalog.
std::string AsciiLowerCase(std::string_view text);

/// Case-insensitive comparison of ASCII letters, as the runtime compares names.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace mv
