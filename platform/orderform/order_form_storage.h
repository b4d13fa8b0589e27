// The stand-in for the commerce database storage: the order forms of a table's rows.
#pragma once

#include <memory>
#include <string>

#include "platform/odbc/field_row.h"
#include "platform/variant.h"

namespace mv {

/// The order forms that a table keeps marshalled, one per row. Its caller reads the rows; the
/// storage checks the table once, when it is initialised, and decodes each row's form.
class OrderFormStorage {
 public:
  /// Connects with `connectionString` and checks that `table` can be read with its
  /// `keyColumn` and `marshalledColumn` (and `dateColumn` unless it is empty): a storage that
  /// cannot reach its table fails here, not at its first load. The connection is closed again
  /// before the call returns. Only the class "Commerce.OrderForm" can be stored. Throws
  /// RuntimeError (the provider's error for a missing table or column, 429 "ActiveX component
  /// can't create object" for another class).
  void InitStorage(const std::string& connectionString, const std::string& table,
                   const std::string& keyColumn, const std::string& className,
                   const std::string& marshalledColumn, const std::string& dateColumn);

  /// The order form a row of the storage's table holds (its key and marshalled columns), a new
  /// object on every call. Throws RuntimeError 91 before InitStorage, and kOrderFormDamaged
  /// "Order form '<key>' is damaged: ..." when the row's data is Null, not binary or
  /// malformed, naming the form by its key, or by `nameWithoutKey` when the key is Null; with
  /// a Null key and no such name, throws 94 "Invalid use of Null".
  std::shared_ptr<const VariantObject> DataOf(const FieldSource& row,
                                              const std::string& nameWithoutKey = "") const;

 private:
  /// The order form in `marshalled`, the data stored under `orderId`.
  static std::shared_ptr<const VariantObject> Decode(const std::string& orderId,
                                                     const Variant& marshalled);

  bool initialised_ = false;
  std::string keyColumnName_;
  std::string marshalledColumnName_;
};

}  // namespace mv
