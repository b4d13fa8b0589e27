// The remembering wrappers of the four business services: one map of answers per lookup.
#include "platform/business/remembered_lookups.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

namespace mv {
namespace {

/// The answer for `key` from `answers`, or `lookUp()`'s answer, remembered when it returns.
template <typename Key, typename Answer, typename LookUp>
const Answer& Remembered(std::unordered_map<Key, Answer>& answers, const Key& key,
                         LookUp&& lookUp) {
  if (const auto found = answers.find(key); found != answers.end()) return found->second;
  return answers.emplace(key, lookUp()).first->second;
}

/// The key of a looked-up value: its text, since the services read ids by their text or number.
/// Null (which the services refuse) never reaches a cache.
std::string KeyOf(const Variant& value) { return value.ToText(); }

class RememberedCurrency : public CurrencyService {
 public:
  explicit RememberedCurrency(std::unique_ptr<CurrencyService> inner) : inner_(std::move(inner)) {}
  std::shared_ptr<const VariantObject> GetCurrencyData(const Variant& currencyCode) override {
    if (currencyCode.IsNull()) return inner_->GetCurrencyData(currencyCode);
    return Remembered(answers_, KeyOf(currencyCode),
                      [&] { return inner_->GetCurrencyData(currencyCode); });
  }

 private:
  std::unique_ptr<CurrencyService> inner_;
  std::unordered_map<std::string, std::shared_ptr<const VariantObject>> answers_;
};

class RememberedLocale : public LocaleService {
 public:
  explicit RememberedLocale(std::unique_ptr<LocaleService> inner) : inner_(std::move(inner)) {}
  std::string GetCurrencySymbol(std::int32_t localeId) override {
    return Remembered(answers_, localeId, [&] { return inner_->GetCurrencySymbol(localeId); });
  }

 private:
  std::unique_ptr<LocaleService> inner_;
  std::unordered_map<std::int32_t, std::string> answers_;
};

class RememberedBusinessPartner : public BusinessPartnerService {
 public:
  explicit RememberedBusinessPartner(std::unique_ptr<BusinessPartnerService> inner)
      : inner_(std::move(inner)) {}
  std::string GetCustomerCode(const Variant& businessPartnerId) override {
    if (businessPartnerId.IsNull()) return inner_->GetCustomerCode(businessPartnerId);
    return Remembered(codes_, KeyOf(businessPartnerId),
                      [&] { return inner_->GetCustomerCode(businessPartnerId); });
  }
  std::string GetCustomerName(const Variant& businessPartnerId) override {
    if (businessPartnerId.IsNull()) return inner_->GetCustomerName(businessPartnerId);
    return Remembered(names_, KeyOf(businessPartnerId),
                      [&] { return inner_->GetCustomerName(businessPartnerId); });
  }

 private:
  std::unique_ptr<BusinessPartnerService> inner_;
  std::unordered_map<std::string, std::string> codes_;
  std::unordered_map<std::string, std::string> names_;
};

class RememberedProduct : public ProductService {
 public:
  explicit RememberedProduct(std::unique_ptr<ProductService> inner) : inner_(std::move(inner)) {}
  ProductData GetProductData(std::int32_t productId) override {
    return Remembered(answers_, productId, [&] { return inner_->GetProductData(productId); });
  }

 private:
  std::unique_ptr<ProductService> inner_;
  std::unordered_map<std::int32_t, ProductData> answers_;
};

}  // namespace

BusinessServices RememberLookups(BusinessServices services) {
  return BusinessServices{
      std::make_unique<RememberedCurrency>(std::move(services.currency)),
      std::make_unique<RememberedLocale>(std::move(services.locale)),
      std::make_unique<RememberedBusinessPartner>(std::move(services.businessPartner)),
      std::make_unique<RememberedProduct>(std::move(services.product))};
}

}  // namespace mv
