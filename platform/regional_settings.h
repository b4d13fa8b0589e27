// The user's regional settings for dates and numbers, as the runtime's text conversions use them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mv {

/// Date, time and number formats of the user's regional settings. Date and time formats use
/// strftime conversion specifiers ("%d.%m.%Y", "%H:%M:%S").
struct RegionalSettings {
  std::string shortDateFormat = "%m/%d/%Y";
  std::string longTimeFormat = "%I:%M:%S %p";
  char decimalSeparator = '.';

  /// The settings of the user's locale as the operating system reports them.
  static RegionalSettings FromUserLocale();
};

/// The strftime format of a Windows date or time pattern: "dd.MM.yyyy" gives "%d.%m.%Y",
/// "h:mm:ss tt" gives "%#I:%M:%S %p" ('#' drops the leading zero, as the Windows C runtime
/// reads it); quoted text stays as it is and the era ('g') is left out.
std::string StrftimeFormatFromWindowsPattern(std::string_view pattern);

/// The settings every conversion uses; the user's locale unless a test has put others in place.
const RegionalSettings& CurrentRegionalSettings();

/// Puts other settings in place for the lifetime of this object (tests), then restores the
/// previous ones.
class ScopedRegionalSettings {
 public:
  explicit ScopedRegionalSettings(RegionalSettings settings);
  ~ScopedRegionalSettings();
  ScopedRegionalSettings(const ScopedRegionalSettings&) = delete;
  ScopedRegionalSettings& operator=(const ScopedRegionalSettings&) = delete;

 private:
  std::optional<RegionalSettings> previous_;
};

}  // namespace mv
