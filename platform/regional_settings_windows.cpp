// The user's regional settings on Windows, from the user's locale (GetLocaleInfoEx).
#include "platform/regional_settings.h"

#include <windows.h>

#include <string>

#include "platform/unicode.h"

namespace mv {
namespace {

std::string LocaleText(LCTYPE item) {
  wchar_t buffer[128] = {};
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, 128);
  if (length <= 1) return {};
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer),
                                         static_cast<size_t>(length - 1)));
}

}  // namespace

RegionalSettings RegionalSettings::FromUserLocale() {
  RegionalSettings settings;
  const std::string date = LocaleText(LOCALE_SSHORTDATE);
  const std::string time = LocaleText(LOCALE_STIMEFORMAT);
  const std::string decimal = LocaleText(LOCALE_SDECIMAL);
  if (!date.empty()) settings.shortDateFormat = StrftimeFormatFromWindowsPattern(date);
  if (!time.empty()) settings.longTimeFormat = StrftimeFormatFromWindowsPattern(time);
  if (decimal.size() == 1) settings.decimalSeparator = decimal[0];
  return settings;
}

}  // namespace mv
