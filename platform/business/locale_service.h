// The locale service of the 2.3 installation: the currency symbol of a Windows locale id.
#pragma once

#include <cstdint>
#include <string>

namespace mv {

class LocaleService {
 public:
  virtual ~LocaleService() = default;
  /// The symbol of the locale's currency as that locale writes it ("€" for 1043, "£" for
  /// 2057). Throws RuntimeError for a locale id that names no locale or no currency.
  virtual std::string GetCurrencySymbol(std::int32_t localeId) = 0;
};

/// Answers from the system's locale data: ICU's on Linux, Windows' own (GetLocaleInfoEx) on
/// Windows.
class SystemLocaleService : public LocaleService {
 public:
  std::string GetCurrencySymbol(std::int32_t localeId) override;
};

}  // namespace mv
