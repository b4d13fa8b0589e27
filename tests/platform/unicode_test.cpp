// The UTF-8 check at the edges of each sequence length, and the conversions between UTF-8,
// UTF-16, code points and the system's narrow code page.
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

TEST(Utf16TextTest, RoundTripsEveryPlaneAndReplacesWhatIsNotText) {
  const std::vector<std::pair<std::string, std::u16string>> cases = {
      {"", u""},
      {"Grüße €", u"Grüße €"},
      {"\U0001F600 \U00013000", u"\U0001F600 \U00013000"},  // surrogate pairs
  };
  for (const auto& [utf8, utf16] : cases) {
    EXPECT_EQ(Utf8ToUtf16(utf8), utf16) << utf8;
    EXPECT_EQ(Utf16ToUtf8(utf16), utf8) << utf8;
  }
  EXPECT_EQ(Utf8ToUtf16("a\xFF"), u"a\uFFFD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(u"a") + char16_t(0xD800)), "a\uFFFD");  // lone surrogate
}

TEST(CodePointsTest, OneForEachCharacterOfEveryPlane) {
  const std::vector<std::pair<std::string, std::u32string>> cases = {
      {"", U""},
      {"Grüße €", U"Grüße €"},
      {"\U0001F600 \U00013000", U"\U0001F600 \U00013000"},  // beyond UTF-16's first plane
  };
  for (const auto& [utf8, utf32] : cases) {
    EXPECT_EQ(Utf8ToUtf32(utf8), utf32) << utf8;
    EXPECT_EQ(Utf32ToUtf8(utf32), utf8) << utf8;
  }
  EXPECT_EQ(Utf8ToUtf32("a\xFF"), U"a\uFFFD");
  EXPECT_EQ(Utf32ToUtf8(std::u32string(U"a") + char32_t(0x110000)), "a\uFFFD");
}

TEST(NarrowTextTest, TheSystemCodePageHoldsWhatItCanAndSubstitutesTheRest) {
  const std::string text = "Müller € 100";
  EXPECT_EQ(NarrowToUtf8(Utf8ToNarrow(text)), text);
  if (NarrowCodePageName() == "UTF-8") {
    EXPECT_EQ(Utf8ToNarrow("日本 \U0001F600"), "日本 \U0001F600");
  } else if (NarrowCodePageName() == "windows-1252") {  // Windows in Western Europe and America
    EXPECT_EQ(Utf8ToNarrow(text), "M\xFCller \x80 100");
    EXPECT_EQ(Utf8ToNarrow("日"), "?");
  } else {
    GTEST_SKIP() << "no exact bytes known for the code page " << NarrowCodePageName();
  }
}

}  // namespace
}  // namespace mv
