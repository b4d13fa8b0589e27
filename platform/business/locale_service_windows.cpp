// The currency symbol of a Windows locale id from the system's own locale data (Windows).
#include <windows.h>

#include <string_view>

#include "platform/business/locale_service.h"
#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

std::string LocaleText(const wchar_t* locale, LCTYPE item) {
  wchar_t buffer[LOCALE_NAME_MAX_LENGTH] = {};
  const int length = GetLocaleInfoEx(locale, item, buffer, LOCALE_NAME_MAX_LENGTH);
  if (length <= 1) return {};
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer),
                                         static_cast<size_t>(length - 1)));
}

}  // namespace

std::string SystemLocaleService::GetCurrencySymbol(std::int32_t localeId) {
  wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
  if (LCIDToLocaleName(static_cast<LCID>(localeId), locale, LOCALE_NAME_MAX_LENGTH, 0) == 0)
    throw errors::UnknownLocale(localeId, "is not known");
  // A language without a country ("en" for 9) has no currency of its own: Windows would
  // answer with a default one.
  if (SUBLANGID(LANGIDFROMLCID(static_cast<LCID>(localeId))) == SUBLANG_NEUTRAL ||
      std::wstring_view(locale).find(L'-') == std::wstring_view::npos)
    throw errors::UnknownLocale(localeId, "has no currency");
  const std::string symbol = LocaleText(locale, LOCALE_SCURRENCY);
  if (symbol.empty()) throw errors::UnknownLocale(localeId, "has no currency symbol");
  return symbol;
}

}  // namespace mv
