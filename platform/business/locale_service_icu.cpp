// The currency symbol of a Windows locale id from ICU's locale data (Linux).
#include "platform/business/locale_service.h"

#include <unicode/ucurr.h>
#include <unicode/uloc.h>

#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

[[noreturn]] void ThrowUnknownLocale(std::int32_t localeId, const std::string& what) {
  throw errors::UnknownLocale(localeId, what);
}

}  // namespace

std::string SystemLocaleService::GetCurrencySymbol(std::int32_t localeId) {
  UErrorCode status = U_ZERO_ERROR;
  char locale[ULOC_FULLNAME_CAPACITY] = {};
  const std::int32_t localeLength =
      uloc_getLocaleForLCID(static_cast<std::uint32_t>(localeId), locale, sizeof(locale), &status);
  if (U_FAILURE(status) || localeLength <= 0) ThrowUnknownLocale(localeId, "is not known");

  UChar currency[4] = {};
  ucurr_forLocale(locale, currency, 4, &status);
  if (U_FAILURE(status) || currency[0] == 0) ThrowUnknownLocale(localeId, "has no currency");

  UBool isChoiceFormat = false;
  std::int32_t symbolLength = 0;
  const UChar* symbol =
      ucurr_getName(currency, locale, UCURR_SYMBOL_NAME, &isChoiceFormat, &symbolLength, &status);
  if (U_FAILURE(status) || symbol == nullptr)
    ThrowUnknownLocale(localeId, "has no currency symbol");
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(symbol),
                                         static_cast<size_t>(symbolLength)));
}

}  // namespace mv
