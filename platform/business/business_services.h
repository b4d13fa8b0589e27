// The four business services of the 2.3 installation that the order migration consults.
#pragma once

#include <functional>
#include <memory>

#include "platform/business/business_partner_service.h"
#include "platform/business/currency_service.h"
#include "platform/business/locale_service.h"
#include "platform/business/product_service.h"

namespace mv {

class Connection;

struct BusinessServices {
  std::unique_ptr<CurrencyService> currency;
  std::unique_ptr<LocaleService> locale;
  std::unique_ptr<BusinessPartnerService> businessPartner;
  std::unique_ptr<ProductService> product;
};

/// Builds the services over an open connection to the 2.3 database.
using BusinessServicesFactory = std::function<BusinessServices(Connection& target)>;

/// The services of the installation: the reference tables of `target` (which must outlive
/// them) and the system's locale data.
BusinessServices OpenBusinessServices(Connection& target);

}  // namespace mv
