// Remembered lookups: each key reaches the service once per run; failures are asked again.
#include "platform/business/remembered_lookups.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "platform/runtime_error.h"

namespace mv {
namespace {

/// Counts the questions per key; a key ending in "fail", and the id -1, fail.
struct Questions {
  std::map<std::string, int> asked;
  void Ask(const std::string& key) {
    ++asked[key];
    if (key.ends_with("fail") || key == "-1") throw RuntimeError(1, "lookup failed");
  }
};

class CountingCurrency : public CurrencyService {
 public:
  explicit CountingCurrency(Questions& questions) : questions_(questions) {}
  std::shared_ptr<const VariantObject> GetCurrencyData(const Variant& code) override {
    questions_.Ask("currency " + code.ToText());
    return VariantObject::NewDictionary();
  }
  Questions& questions_;
};

class CountingLocale : public LocaleService {
 public:
  explicit CountingLocale(Questions& questions) : questions_(questions) {}
  std::string GetCurrencySymbol(std::int32_t id) override {
    questions_.Ask(std::to_string(id));
    return "€";
  }
  Questions& questions_;
};

class CountingPartner : public BusinessPartnerService {
 public:
  explicit CountingPartner(Questions& questions) : questions_(questions) {}
  std::string GetCustomerCode(const Variant& id) override {
    questions_.Ask("code " + id.ToText());
    return "C";
  }
  std::string GetCustomerName(const Variant& id) override {
    questions_.Ask("name " + id.ToText());
    return "N";
  }
  Questions& questions_;
};

class CountingProduct : public ProductService {
 public:
  explicit CountingProduct(Questions& questions) : questions_(questions) {}
  ProductData GetProductData(std::int32_t id) override {
    questions_.Ask(std::to_string(id));
    return ProductData{true, nullptr};
  }
  Questions& questions_;
};

TEST(RememberedLookupsTest, EachKeyIsAskedOnceAndFailuresAreAskedAgain) {
  Questions questions;
  BusinessServices services = RememberLookups(
      {std::make_unique<CountingCurrency>(questions), std::make_unique<CountingLocale>(questions),
       std::make_unique<CountingPartner>(questions), std::make_unique<CountingProduct>(questions)});
  for (int round = 0; round < 2; ++round) {
    services.currency->GetCurrencyData(Variant::String("EUR"));
    services.locale->GetCurrencySymbol(1043);
    services.businessPartner->GetCustomerCode(Variant::Long(7));
    services.businessPartner->GetCustomerName(Variant::Double(7));
    EXPECT_TRUE(services.product->GetProductData(100).errorStatus) << "not found is remembered";
    EXPECT_THROW(services.product->GetProductData(-1), RuntimeError);
    EXPECT_THROW(services.currency->GetCurrencyData(Variant::String("fail")), RuntimeError);
  }
  EXPECT_EQ(questions.asked, (std::map<std::string, int>{{"currency EUR", 1},
                                                         {"1043", 1},
                                                         {"code 7", 1},
                                                         {"name 7", 1},
                                                         {"100", 1},
                                                         {"-1", 2},
                                                         {"currency fail", 2}}));
}

}  // namespace
}  // namespace mv
