// QuotedLiteral: a text between apostrophes, each apostrophe inside doubled.
#include "platform/utilities/quoted_literal.h"

namespace mv {

std::string QuotedLiteral(std::string_view text) {
  std::string literal = "'";
  for (const char c : text) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  return literal + "'";
}

}  // namespace mv
