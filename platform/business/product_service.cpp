// DatabaseProductService: a product's part number from the product table; a missing one flagged.
#include "platform/business/product_service.h"

#include <string>

#include "platform/odbc/recordset.h"

namespace mv {

ProductData DatabaseProductService::GetProductData(std::int32_t productId) {
  Recordset product(
      target_, "select PARTNUMBER from product where PRODUCTID = " + std::to_string(productId));
  if (product.Eof()) return ProductData{true, nullptr};
  auto values = VariantObject::NewDictionary();
  values->Set("PARTNUMBER", product.Field("PARTNUMBER"));
  return ProductData{false, values};
}

}  // namespace mv
