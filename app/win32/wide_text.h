// The program's UTF-8 text as the UTF-16 of the system's wide calls, and back.
#pragma once

#include <string>
#include <string_view>

namespace mv::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace mv::win32
