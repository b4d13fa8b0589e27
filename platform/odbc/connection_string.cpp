// Braced connection-string values, the pwd value read back, and the password masked as ****.
#include "platform/odbc/connection_string.h"

#include <algorithm>
#include <vector>

#include "platform/odbc/one_line.h"
#include "platform/unicode.h"
#include "platform/variant.h"

namespace mv::odbc {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
  const size_t start = text.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

/// The braced value that starts at `text[at]` ('{'), with '}}' read as '}'; `at` ends after
/// its closing brace, or at the end of a value left open.
std::string BracedValue(std::string_view text, size_t& at) {
  std::string value;
  for (++at; at < text.size(); ++at) {
    if (text[at] != '}') {
      value += text[at];
    } else if (at + 1 < text.size() && text[at + 1] == '}') {
      value += '}';
      ++at;
    } else {
      ++at;
      break;
    }
  }
  return value;
}

}  // namespace

std::string ConnectionStringValue(const std::string& value) {
  const bool needsBraces = value.find_first_of(";{}") != std::string::npos ||
                           (!value.empty() && (value.front() == ' ' || value.back() == ' '));
  if (!needsBraces) return value;
  std::string braced = "{";
  for (char c : value) {
    braced += c;
    if (c == '}') braced += '}';
  }
  return braced + "}";
}

std::string PasswordOf(std::string_view connectionString) {
  // "keyword=value;keyword={value};...": a braced value may hold ';' and ends at its brace.
  for (size_t at = 0; at < connectionString.size(); ++at) {
    const size_t equals = connectionString.find('=', at);
    if (equals == std::string_view::npos) break;
    const std::string_view keyword = Trimmed(connectionString.substr(at, equals - at));
    at = equals + 1;
    std::string value;
    if (at < connectionString.size() && connectionString[at] == '{') {
      value = BracedValue(connectionString, at);
    } else {
      // Blanks around a value that is not braced are no part of it: the driver trims them.
      value = Trimmed(connectionString.substr(at, connectionString.find(';', at) - at));
    }
    if (EqualsIgnoreCase(keyword, "pwd")) return value;
    at = connectionString.find(';', at);
    if (at == std::string_view::npos) break;
  }
  return {};
}

std::string HidePassword(std::string_view text, const std::string& password) {
  // Marks every character that any form of the password covers, then writes each run of
  // marked characters as one "****".
  std::vector<bool> covered(text.size(), false);
  for (const std::string& shown : {ConnectionStringValue(password), password, OneLine(password)}) {
    if (shown.empty()) continue;
    for (size_t at = text.find(shown); at != std::string::npos; at = text.find(shown, at + 1)) {
      std::fill_n(covered.begin() + static_cast<std::ptrdiff_t>(at), shown.size(), true);
    }
  }
  std::string hidden;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!covered[i]) {
      hidden += text[i];
    } else if (i == 0 || !covered[i - 1]) {
      hidden += "****";
    }
  }
  return hidden;
}

}  // namespace mv::odbc
