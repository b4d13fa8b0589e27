// OneLine: an error text's line breaks and runs of blanks folded into single blanks.
#include "platform/odbc/one_line.h"

namespace mv::odbc {

std::string OneLine(std::string_view text) {
  std::string out;
  bool blank = false;
  for (char c : text) {
    const bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (space) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

}  // namespace mv::odbc
