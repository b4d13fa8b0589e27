// Windows date and time patterns as strftime formats.
#include "platform/regional_settings.h"

#include <gtest/gtest.h>

namespace mv {
namespace {

TEST(StrftimeFormatFromWindowsPatternTest, TranslatesTheUsualPatterns) {
  const std::pair<const char*, const char*> cases[] = {
      {"dd.MM.yyyy", "%d.%m.%Y"},
      {"M/d/yyyy", "%#m/%#d/%Y"},
      {"yyyy-MM-dd", "%Y-%m-%d"},
      {"dd/MM/yy", "%d/%m/%y"},
      {"dddd, d. MMMM yyyy", "%A, %#d. %B %Y"},
      {"ddd MMM", "%a %b"},
      {"HH:mm:ss", "%H:%M:%S"},
      {"h:mm:ss tt", "%#I:%M:%S %p"},
      {"H.m.s", "%#H.%#M.%#S"},
      {"yyyy'年'M'月'd'日'", "%Y年%#m月%#d日"},
      {"'Day' d", "Day %#d"},
      {"dd'' MM", "%d' %m"},
      {"100% dd", "100%% %d"},
      {"gg yyyy", " %Y"},
  };
  for (const auto& [pattern, format] : cases) {
    EXPECT_EQ(StrftimeFormatFromWindowsPattern(pattern), format) << pattern;
  }
}

TEST(ScopedRegionalSettingsTest, RestoresThePreviousSettings) {
  const RegionalSettings before = CurrentRegionalSettings();
  {
    ScopedRegionalSettings german({"%d.%m.%Y", "%H:%M:%S", ','});
    EXPECT_EQ(CurrentRegionalSettings().decimalSeparator, ',');
    {
      ScopedRegionalSettings us({"%m/%d/%Y", "%I:%M:%S %p", '.'});
      EXPECT_EQ(CurrentRegionalSettings().shortDateFormat, "%m/%d/%Y");
    }
    EXPECT_EQ(CurrentRegionalSettings().shortDateFormat, "%d.%m.%Y");
  }
  EXPECT_EQ(CurrentRegionalSettings().shortDateFormat, before.shortDateFormat);
  EXPECT_EQ(CurrentRegionalSettings().decimalSeparator, before.decimalSeparator);
}

}  // namespace
}  // namespace mv
