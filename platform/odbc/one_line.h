// The one-line form in which the database's error texts reach the program.
#pragma once

#include <string>
#include <string_view>

namespace mv::odbc {

/// `text` on one line: tabs and line breaks become blanks, runs of blanks one blank, and blanks
/// at either end go, so that every error description fits on one log line.
std::string OneLine(std::string_view text);

}  // namespace mv::odbc
