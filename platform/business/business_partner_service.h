// The business-partner service of the 2.3 installation: customer code and name of a partner.
#pragma once

#include <string>

#include "platform/variant.h"

namespace mv {

class Connection;

class BusinessPartnerService {
 public:
  virtual ~BusinessPartnerService() = default;
  /// Both throw RuntimeError for an unknown partner, an id that is Null or not a number, and
  /// database failures.
  virtual std::string GetCustomerCode(const Variant& businessPartnerId) = 0;
  virtual std::string GetCustomerName(const Variant& businessPartnerId) = 0;
};

/// Reads the businesspartner table of the 2.3 database.
class DatabaseBusinessPartnerService : public BusinessPartnerService {
 public:
  /// `target` must outlive the service.
  explicit DatabaseBusinessPartnerService(Connection& target) : target_(target) {}
  std::string GetCustomerCode(const Variant& businessPartnerId) override;
  std::string GetCustomerName(const Variant& businessPartnerId) override;

 private:
  /// The text of `column` in the partner's row.
  std::string ReadPartnerColumn(const Variant& businessPartnerId, const std::string& column);

  Connection& target_;
};

}  // namespace mv
