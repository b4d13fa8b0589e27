// The product service of the 2.3 installation: the data of a product, such as its part number.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/variant.h"

namespace mv {

class Connection;

/// The answer of a product lookup. A product that does not exist is a normal answer with
/// `errorStatus` set and no data.
struct ProductData {
  bool errorStatus = false;
  /// A dictionary with the entry "PARTNUMBER"; null when `errorStatus` is set.
  std::shared_ptr<const VariantObject> values;
};

class ProductService {
 public:
  virtual ~ProductService() = default;
  /// Throws RuntimeError only for real failures (database errors), never for a missing
  /// product.
  virtual ProductData GetProductData(std::int32_t productId) = 0;
};

/// Reads the product table of the 2.3 database.
class DatabaseProductService : public ProductService {
 public:
  /// `target` must outlive the service.
  explicit DatabaseProductService(Connection& target) : target_(target) {}
  ProductData GetProductData(std::int32_t productId) override;

 private:
  Connection& target_;
};

}  // namespace mv
