// The user's regional settings on POSIX systems, from the locale's nl_langinfo.
#include "platform/regional_settings.h"

#include <langinfo.h>
#include <locale.h>

namespace mv {

RegionalSettings RegionalSettings::FromUserLocale() {
  RegionalSettings settings;
  locale_t user = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return settings;
  const std::string date = nl_langinfo_l(D_FMT, user);
  const std::string time = nl_langinfo_l(T_FMT, user);
  const std::string radix = nl_langinfo_l(RADIXCHAR, user);
  freelocale(user);
  // The C locale writes two-digit years; the runtime's short date shows four.
  settings.shortDateFormat = date == "%m/%d/%y" ? "%m/%d/%Y" : date;
  if (!time.empty()) settings.longTimeFormat = time;
  if (!radix.empty()) settings.decimalSeparator = radix[0];
  return settings;
}

}  // namespace mv
