// DatabaseBusinessPartnerService: a partner's customer code or name from businesspartner.
#include "platform/business/business_partner_service.h"

#include "platform/errors.h"
#include "platform/odbc/recordset.h"
#include "platform/runtime_error.h"

namespace mv {

std::string DatabaseBusinessPartnerService::GetCustomerCode(const Variant& businessPartnerId) {
  return ReadPartnerColumn(businessPartnerId, "CUSTOMERCODE");
}

std::string DatabaseBusinessPartnerService::GetCustomerName(const Variant& businessPartnerId) {
  return ReadPartnerColumn(businessPartnerId, "CUSTOMERNAME");
}

std::string DatabaseBusinessPartnerService::ReadPartnerColumn(const Variant& businessPartnerId,
                                                              const std::string& column) {
  const std::string id = std::to_string(businessPartnerId.ToLong());
  Recordset partner(target_,
                    "select " + column + " from businesspartner where BUSINESSPARTNERID = " + id);
  if (partner.Eof()) {
    throw errors::BusinessPartnerNotFound(id);
  }
  return partner.Field(column).ToText();
}

}  // namespace mv
