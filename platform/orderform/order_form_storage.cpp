// The stand-in for the commerce database storage over an ODBC connection of its own.
#include "platform/orderform/order_form_storage.h"

#include "platform/errors.h"
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
  auto connection =
      std::make_unique<Connection>(connectionString, kLoginTimeoutSeconds, kQueryTimeoutSeconds);
  const RowReader probe(*connection, "SELECT " + keyColumn + ", " + marshalledColumn +
                                         (dateColumn.empty() ? "" : ", " + dateColumn) + " FROM " +
                                         table + " WHERE 1 = 0");
  keyColumn_ = probe.Columns().All().at(0);
  selectByKey_ = "SELECT " + marshalledColumn + " FROM " + table + " WHERE " + keyColumn + " = ?";
  keyColumnName_ = keyColumn;
  marshalledColumnName_ = marshalledColumn;
  connection_ = std::move(connection);
}

std::shared_ptr<const VariantObject> OrderFormStorage::GetData(const Variant& key) {
  if (!connection_) {
    throw errors::ObjectNotSet();
  }
  const std::string orderId = key.ToText();
  RowReader select(*connection_, selectByKey_, {{key, keyColumn_}});
  if (!select.Next()) {
    throw errors::OrderFormNotFound(orderId);
  }
  return Decode(orderId, select.Row().Field(select.Columns()[0].name));
}

std::shared_ptr<const VariantObject> OrderFormStorage::DataOf(
    const FieldSource& row, const std::string& nameWithoutKey) const {
  if (!connection_) {
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
