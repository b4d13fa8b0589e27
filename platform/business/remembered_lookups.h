// The business services with every successful answer remembered per key for one run: the 2.3
// reference data does not change while a migration runs, so each product, currency, locale and
// business partner is looked up once instead of once per order or line.
#pragma once

#include "platform/business/business_services.h"

namespace mv {

/// Services that answer from memory what `services` answered before for the same key. Failures
/// are not remembered: a key that failed is asked again.
BusinessServices RememberLookups(BusinessServices services);

}  // namespace mv
