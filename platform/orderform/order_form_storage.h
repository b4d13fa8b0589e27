// The stand-in for the commerce database storage: loads stored order forms by key.
#pragma once

#include <memory>
#include <string>

#include "platform/odbc/column_info.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/field_row.h"
#include "platform/variant.h"

namespace mv {

/// Loads the order forms that a table keeps marshalled, one per row, by the row's key. Holds
/// its own connection from InitStorage until it is destroyed.
class OrderFormStorage {
 public:
  /// Connects with `connectionString` and checks that `table` can be read with its
  /// `keyColumn` and `marshalledColumn` (and `dateColumn` unless it is empty): a storage that
  /// cannot reach its table fails here, not at its first load. Only the class
  /// "Commerce.OrderForm" can be stored. Throws RuntimeError (the provider's error for a
  /// missing table or column, 429 "ActiveX component can't create object" for another class).
  void InitStorage(const std::string& connectionString, const std::string& table,
                   const std::string& keyColumn, const std::string& className,
                   const std::string& marshalledColumn, const std::string& dateColumn);

  /// The order form stored under `key`, a new object on every call. Throws RuntimeError 91
  /// before InitStorage, kOrderFormNotFound when no row has the key, and kOrderFormDamaged
  /// "Order form '<key>' is damaged: ..." when the row's data is Null, not binary or malformed.
  std::shared_ptr<const VariantObject> GetData(const Variant& key);
  /// The order form a row of the storage's table already read holds (its key and marshalled
  /// columns), without reading it again. Throws as GetData for a damaged form, naming it by
  /// its key, or by `nameWithoutKey` when the key is Null; with a Null key and no such name,
  /// throws 94 "Invalid use of Null".
  std::shared_ptr<const VariantObject> DataOf(const FieldSource& row,
                                              const std::string& nameWithoutKey = "") const;

 private:
  /// The order form in `marshalled`, the data stored under `orderId`.
  static std::shared_ptr<const VariantObject> Decode(const std::string& orderId,
                                                     const Variant& marshalled);

  std::string keyColumnName_;
  std::string marshalledColumnName_;
  std::unique_ptr<Connection> connection_;
  std::string selectByKey_;
  odbc::ColumnInfo keyColumn_;
};

}  // namespace mv
