// Windows date and time patterns as strftime formats, and the regional settings in force: the
// user's, or those a test put in place.
#include "platform/regional_settings.h"

#include <utility>

namespace mv {
namespace {

std::optional<RegionalSettings>& Override() {
  static std::optional<RegionalSettings> settings;
  return settings;
}

/// The strftime conversion for a run of `count` equal pattern letters, or "" for a letter that
/// is no field.
std::string Conversion(char letter, size_t count) {
  switch (letter) {
    case 'd':
      return count == 1 ? "%#d" : count == 2 ? "%d" : count == 3 ? "%a" : "%A";
    case 'M':
      return count == 1 ? "%#m" : count == 2 ? "%m" : count == 3 ? "%b" : "%B";
    case 'y':
      return count <= 2 ? "%y" : "%Y";
    case 'h':
      return count == 1 ? "%#I" : "%I";
    case 'H':
      return count == 1 ? "%#H" : "%H";
    case 'm':
      return count == 1 ? "%#M" : "%M";
    case 's':
      return count == 1 ? "%#S" : "%S";
    case 't':
      return "%p";
    default:
      return "";
  }
}

std::string Literal(char c) { return c == '%' ? "%%" : std::string(1, c); }

}  // namespace

std::string StrftimeFormatFromWindowsPattern(std::string_view pattern) {
  std::string format;
  for (size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    if (c == '\'') {
      const size_t end = pattern.find('\'', i + 1);
      if (end == i + 1) {
        format += '\'';  // '' stands for one apostrophe
      } else {
        for (char quoted : pattern.substr(i + 1, end - i - 1)) format += Literal(quoted);
      }
      i = end == std::string_view::npos ? pattern.size() : end + 1;
      continue;
    }
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    const std::string conversion = Conversion(c, run);
    if (c == 'g') {
      // The era has no strftime field; Gregorian dates show none.
    } else if (conversion.empty()) {
      for (size_t k = 0; k < run; ++k) format += Literal(c);
    } else {
      format += conversion;
    }
    i += run;
  }
  return format;
}

const RegionalSettings& CurrentRegionalSettings() {
  static const RegionalSettings user = RegionalSettings::FromUserLocale();
  return Override() ? *Override() : user;
}

ScopedRegionalSettings::ScopedRegionalSettings(RegionalSettings settings) : previous_(Override()) {
  Override() = std::move(settings);
}

ScopedRegionalSettings::~ScopedRegionalSettings() { Override() = previous_; }

}  // namespace mv
