// The UTF-8 check: well-formed and ill-formed UTF-8 at the edges of each sequence length.
#include "platform/unicode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mv {
namespace {

TEST(Utf8TextTest, AcceptsWellFormedAndRefusesIllFormedSequences) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"", true},
      {"plain ASCII", true},
      {"Müller € 日本 \xF0\x9F\x98\x80", true},
      {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
      {"\xED\x9F\xBF", true},       // U+D7FF, just below the surrogates
      {"\x80", false},              // continuation byte alone
      {"\xC0\xAF", false},          // overlong '/'
      {"\xE0\x80\xAF", false},      // overlong '/'
      {"\xF0\x80\x80\xAF", false},  // overlong '/'
      {"\xED\xA0\x80", false},      // surrogate U+D800
      {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
      {"\xF5\x80\x80\x80", false},
      {"ab\xE2\x82", false},  // cut short
      {"\xC3\x28", false},    // second byte no continuation
      {"\xE2\x28\xA1", false},
  };
  for (const auto& [text, valid] : cases) EXPECT_EQ(IsValidUtf8(text), valid) << text;
}

}  // namespace
}  // namespace mv
