// Braced connection-string values, the operator's keywords checked for form, the passwords
// read back, and the passwords masked as ****.
#include "platform/odbc/connection_string.h"

#include <algorithm>
#include <vector>

#include "platform/errors.h"
#include "platform/odbc/one_line.h"
#include "platform/unicode.h"

namespace mv::odbc {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
  const size_t start = text.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

/// The braced value that starts at `text[at]` ('{'), with '}}' read as '}'; `at` ends after
/// its closing brace, or at the end of a value left open, and `closed` tells which.
std::string ReadBracedValue(std::string_view text, size_t& at, bool& closed) {
  std::string value;
  closed = false;
  for (++at; at < text.size(); ++at) {
    if (text[at] != '}') {
      value += text[at];
    } else if (at + 1 < text.size() && text[at + 1] == '}') {
      value += '}';
      ++at;
    } else {
      ++at;
      closed = true;
      break;
    }
  }
  return value;
}

enum class PairFault { None, NoEquals, BraceNotClosed, TextAfterBrace, BraceNotBraced };

/// One "key=value" or "key={value}" of a connection string, as written and as read.
struct Pair {
  std::string_view text;  // without the ';' that ends it
  std::string_view key;
  std::string value;
  PairFault fault = PairFault::None;
};

/// The pair that starts at `text[at]`; `at` ends past the ';' that ends it. A braced value may
/// hold ';' and ends at its brace; blanks around a value are no part of it: the driver trims
/// them.
Pair ReadPair(std::string_view text, size_t& at) {
  Pair pair;
  const size_t start = at;
  const size_t equals = std::min(text.find_first_of("=;", at), text.size());
  pair.key = Trimmed(text.substr(at, equals - at));
  size_t end = equals;
  if (equals == text.size() || text[equals] == ';') {
    pair.fault = PairFault::NoEquals;
  } else if (const size_t brace = text.find_first_not_of(kBlanks, equals + 1);
             brace < text.size() && text[brace] == '{') {
    size_t after = brace;
    bool closed = false;
    pair.value = ReadBracedValue(text, after, closed);
    end = std::min(text.find(';', after), text.size());
    if (!closed) {
      pair.fault = PairFault::BraceNotClosed;
    } else if (!Trimmed(text.substr(after, end - after)).empty()) {
      pair.fault = PairFault::TextAfterBrace;
    }
  } else {
    end = std::min(text.find(';', equals), text.size());
    pair.value = Trimmed(text.substr(equals + 1, end - equals - 1));
    if (pair.value.find_first_of("{}") != std::string::npos) pair.fault = PairFault::BraceNotBraced;
  }
  pair.text = text.substr(start, end - start);
  at = end + 1;
  return pair;
}

bool IsPasswordKey(std::string_view key) {
  return EqualsIgnoreCase(key, "pwd") || EqualsIgnoreCase(key, "password");
}

bool IsKeyText(std::string_view key) {
  return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
           c == '_';
  });
}

/// The pair in quotes as a message shows it: a password's value as "****", and a braced value
/// left open only up to its first ';', since it runs on over the pairs after it.
std::string Quoted(const Pair& pair) {
  std::string shown(pair.text);
  if (pair.fault != PairFault::NoEquals && IsPasswordKey(pair.key)) {
    shown = std::string(pair.key) + "=****";
  } else if (pair.fault == PairFault::BraceNotClosed && shown.find(';') != std::string::npos) {
    shown = shown.substr(0, shown.find(';')) + "...";
  }
  return "'" + shown + "'";
}

/// What is wrong with the pair's form; empty when nothing is.
std::string FormFault(const Pair& pair) {
  const std::string quoted = Quoted(pair);
  switch (pair.fault) {
    case PairFault::NoEquals:
      return quoted + " is not KEY=value";
    case PairFault::BraceNotClosed:
      return "the braced value of " + quoted + " is not closed with '}'";
    case PairFault::TextAfterBrace:
      return quoted + " goes on after the '}' that closes its value";
    case PairFault::BraceNotBraced:
      return "the value of " + quoted + " holds a brace: enclose the value in {...}, '}' doubled";
    case PairFault::None:
      break;
  }
  if (pair.key.empty()) return quoted + " has no key";
  if (!IsKeyText(pair.key)) {
    return "the key of " + quoted +
           " holds other characters than letters, digits, blanks and underscores";
  }
  return {};
}

/// Every pair of `text` with a key and a value, in order, whatever its form.
template <typename Visit>
void ForEachPair(std::string_view text, Visit visit) {
  for (size_t at = 0; at < text.size();) {
    const Pair pair = ReadPair(text, at);
    if (pair.fault != PairFault::NoEquals) visit(pair);
  }
}

/// A letter, digit or underscore, or a byte of a character beyond ASCII: a part of a word.
bool IsWordByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         byte >= 0x80;
}

/// True when the `size` characters at `text[at]` stand whole: neither end of them runs on into a
/// word of the text ("x" stands whole in "pwd=x;" and "user \"x\"", not in "expired").
bool StandsWhole(std::string_view text, size_t at, size_t size) {
  const size_t end = at + size;
  const bool joinsBefore = at > 0 && IsWordByte(text[at - 1]) && IsWordByte(text[at]);
  const bool joinsAfter = end < text.size() && IsWordByte(text[end - 1]) && IsWordByte(text[end]);
  return !joinsBefore && !joinsAfter;
}

/// True when `text[at]` starts the value of a password's key: "pwd" or "password" (any letter
/// case), then '=', with blanks allowed around it.
bool IsPasswordValue(std::string_view text, size_t at) {
  const auto skipBlanks = [&](size_t i) {
    while (i > 0 && kBlanks.find(text[i - 1]) != std::string_view::npos) --i;
    return i;
  };
  size_t i = skipBlanks(at);
  if (i == 0 || text[i - 1] != '=') return false;
  const size_t keyEnd = skipBlanks(i - 1);
  size_t keyStart = keyEnd;
  while (keyStart > 0 && IsWordByte(text[keyStart - 1])) --keyStart;
  return IsPasswordKey(text.substr(keyStart, keyEnd - keyStart));
}

/// A password and where it is hidden: wherever it stands whole, or only as a password key's
/// value when its text is also a value that is no secret (a user name), which a message may
/// name in its own right.
struct Secret {
  std::string password;
  bool onlyAsKeyValue;
};

/// `text` with each run of characters that a form of a secret covers as one "****".
std::string Hidden(std::string_view text, const std::vector<Secret>& secrets) {
  std::vector<bool> covered(text.size(), false);
  for (const Secret& secret : secrets) {
    const std::string& password = secret.password;
    for (const std::string& shown :
         {ConnectionStringValue(password), password, OneLine(password)}) {
      if (shown.empty()) continue;
      for (size_t at = text.find(shown); at != std::string::npos; at = text.find(shown, at + 1)) {
        if (!StandsWhole(text, at, shown.size())) continue;
        if (secret.onlyAsKeyValue && !IsPasswordValue(text, at)) continue;
        std::fill_n(covered.begin() + static_cast<std::ptrdiff_t>(at), shown.size(), true);
      }
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

}  // namespace

std::string ConnectionStringValue(const std::string& value) {
  const bool needsBraces = value.find_first_of(";{}") != std::string::npos ||
                           (!value.empty() && (value.front() == ' ' || value.back() == ' '));
  return needsBraces ? Braced(value) : value;
}

std::string Braced(const std::string& value) {
  std::string braced = "{";
  for (char c : value) {
    braced += c;
    if (c == '}') braced += '}';
  }
  return braced + "}";
}

std::vector<ConnectionKeyword> ReadConnectionKeywords(std::string_view setting,
                                                      std::string_view text,
                                                      std::span<const std::string_view> given) {
  const auto refuse = [setting](const std::string& fault) {
    return errors::InvalidProcedureCall(std::string(setting) + ": " + fault);
  };
  std::vector<ConnectionKeyword> keywords;
  for (size_t at = 0; at < text.size();) {
    const Pair pair = ReadPair(text, at);
    if (Trimmed(pair.text).empty()) continue;
    if (const std::string fault = FormFault(pair); !fault.empty()) throw refuse(fault);
    for (const std::string_view key : given) {
      if (EqualsIgnoreCase(pair.key, key)) {
        throw refuse(Quoted(pair) + " repeats '" + std::string(key) +
                     "', which the program sets from the connection values");
      }
    }
    for (const ConnectionKeyword& earlier : keywords) {
      if (EqualsIgnoreCase(pair.key, earlier.key)) {
        throw refuse(Quoted(pair) + " repeats the key '" + earlier.key + "'");
      }
    }
    keywords.push_back({std::string(pair.key), pair.value});
  }
  return keywords;
}

std::string HidePasswords(std::string_view text, std::string_view connectionString) {
  std::vector<std::string> passwords;
  std::vector<std::string> plainValues;
  ForEachPair(connectionString, [&](const Pair& pair) {
    (IsPasswordKey(pair.key) ? passwords : plainValues).push_back(pair.value);
  });
  std::vector<Secret> secrets;
  for (std::string& password : passwords) {
    const bool plain =
        std::find(plainValues.begin(), plainValues.end(), password) != plainValues.end();
    secrets.push_back({std::move(password), plain});
  }
  return Hidden(text, secrets);
}

}  // namespace mv::odbc
