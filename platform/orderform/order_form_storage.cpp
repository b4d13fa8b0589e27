// The stand-in for the commerce database storage: its table checked once, each row's form
// decoded.
#include "platform/orderform/order_form_storage.h"

#include "platform/errors.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/row_reader.h"
#include "platform/orderform/order_form_format.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

constexpr const char* kOrderFormClass = "Commerce.OrderForm";

[[noreturn]] void ThrowDamaged(const std::string& orderId, const std::string& what) {
  throw errors::OrderFormDamaged(orderId, what);
}

}  // namespace

void OrderFormStorage::InitStorage(const std::string& connectionString, const std::string& table,
                                   const std::string& keyColumn, const std::string& className,
                                   const std::string& marshalledColumn,
                                   const std::string& dateColumn) {
  if (className != kOrderFormClass) {
    throw errors::CannotCreateObject();
  }
  // The callers read the rows themselves: the connection serves only this check.
  Connection connection(connectionString, kLoginTimeoutSeconds, kQueryTimeoutSeconds);
  const RowReader columns(connection, "SELECT " + keyColumn + ", " + marshalledColumn +
                                          (dateColumn.empty() ? "" : ", " + dateColumn) + " FROM " +
                                          table + " WHERE 1 = 0");
  keyColumnName_ = keyColumn;
  marshalledColumnName_ = marshalledColumn;
  initialised_ = true;
}

std::shared_ptr<const VariantObject> OrderFormStorage::DataOf(
    const FieldSource& row, const std::string& nameWithoutKey) const {
  if (!initialised_) {
    throw errors::ObjectNotSet();
  }
  const Variant& key = row.Field(keyColumnName_);
  // Without a name for it, a Null key fails as its text would: Invalid use of Null.
  const bool named = key.IsNull() && !nameWithoutKey.empty();
  return Decode(named ? nameWithoutKey : key.ToText(), row.Field(marshalledColumnName_));
}

std::shared_ptr<const VariantObject> OrderFormStorage::Decode(const std::string& orderId,
                                                              const Variant& marshalled) {
  if (marshalled.IsNull()) ThrowDamaged(orderId, "it holds no data");
  if (marshalled.Kind() != VariantKind::ByteArray) ThrowDamaged(orderId, "it is no binary data");
  return DecodeOrderForm(marshalled.AsBytes(), orderId);
}

}  // namespace mv
