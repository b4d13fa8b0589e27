// The currency service of the 2.3 installation: decimals and display locale of a currency.
#pragma once

#include <memory>

#include "platform/variant.h"

namespace mv {

class Connection;

class CurrencyService {
 public:
  virtual ~CurrencyService() = default;
  /// A dictionary with the entries "DECIMALS" (Integer) and "LOCALEID" (Long, or Null when the
  /// currency has no display locale). Throws RuntimeError for an unknown currency, a Null
  /// code and database failures.
  virtual std::shared_ptr<const VariantObject> GetCurrencyData(const Variant& currencyCode) = 0;
};

/// Reads the currency table of the 2.3 database.
class DatabaseCurrencyService : public CurrencyService {
 public:
  /// `target` must outlive the service.
  explicit DatabaseCurrencyService(Connection& target) : target_(target) {}
  std::shared_ptr<const VariantObject> GetCurrencyData(const Variant& currencyCode) override;

 private:
  Connection& target_;
};

}  // namespace mv
