// OpenBusinessServices: the services over the 2.3 database and the system's locale service.
#include "platform/business/business_services.h"

namespace mv {

BusinessServices OpenBusinessServices(Connection& target) {
  return BusinessServices{std::make_unique<DatabaseCurrencyService>(target),
                          std::make_unique<SystemLocaleService>(),
                          std::make_unique<DatabaseBusinessPartnerService>(target),
                          std::make_unique<DatabaseProductService>(target)};
}

}  // namespace mv
