// The program's errors, each number with its text, and the check for a statement that ran out of
// time or was cancelled.
#include "platform/errors.h"

#include <utility>

namespace mv::errors {

RuntimeError InvalidProcedureCall() {
  return InvalidProcedureCall("Invalid procedure call or argument");
}
RuntimeError InvalidProcedureCall(const std::string& description) {
  return {kInvalidProcedureCall, description};
}
RuntimeError NulInText(const std::string& column) {
  return InvalidProcedureCall("The value for " + column +
                              " holds a NUL character and cannot be written whole");
}
RuntimeError Overflow() { return {kOverflow, "Overflow"}; }
RuntimeError TypeMismatch() { return TypeMismatch("Type mismatch"); }
RuntimeError TypeMismatch(const std::string& description) { return {kTypeMismatch, description}; }
RuntimeError FileNotFound() { return FileNotFound("File not found"); }
RuntimeError FileNotFound(const std::string& description) { return {kFileNotFound, description}; }
RuntimeError DiskFull(const std::string& description) { return {kDiskFull, description}; }
RuntimeError InputPastEndOfFile() { return {kInputPastEndOfFile, "Input past end of file"}; }
RuntimeError PermissionDenied() { return PermissionDenied("Permission denied"); }
RuntimeError PermissionDenied(const std::string& description) {
  return {kPermissionDenied, description};
}
RuntimeError PathNotFound() { return PathNotFound("Path not found"); }
RuntimeError PathNotFound(const std::string& description) { return {kPathNotFound, description}; }
RuntimeError ObjectNotSet() {
  return {kObjectNotSet, "Object variable or With block variable not set"};
}
RuntimeError InvalidUseOfNull() { return {kInvalidUseOfNull, "Invalid use of Null"}; }
RuntimeError CannotCreateObject() {
  return CannotCreateObject("ActiveX component can't create object");
}
RuntimeError CannotCreateObject(const std::string& description) {
  return {kCannotCreateObject, description};
}
RuntimeError ObjectDoesNotSupport() {
  return {kObjectDoesNotSupport, "Object doesn't support this property or method"};
}
RuntimeError ErrorLoadingFromFile(const std::string& description) {
  return {kErrorLoadingFromFile, description};
}

RuntimeError NoCurrentRecord() {
  return {kNoCurrentRecord,
          "Either BOF or EOF is True, or the current record has been deleted. Requested "
          "operation requires a current record."};
}
RuntimeError NoBaseTable() {
  return {kNoBaseTable, "Insufficient base table information for updating."};
}
RuntimeError ItemNotFound() {
  return {kItemNotFound,
          "Item cannot be found in the collection corresponding to the requested name or "
          "ordinal."};
}
RuntimeError ProviderError(const std::string& description) {
  return {kGenericProviderError, description};
}
RuntimeError Retold(const RuntimeError& error, const std::string& description) {
  return {error.Number(), description, error.SqlState(), error.ConnectionLost()};
}
RuntimeError DatabaseError(long native, const std::string& text, std::string sqlState,
                           bool connectionLost) {
  return {native != 0 ? native : kGenericProviderError, text, std::move(sqlState), connectionLost};
}
RuntimeError DriverTimeout(long native, const std::string& text, bool connectionLost) {
  return {native != 0 ? native : kQueryTimeout, text, "HYT00", connectionLost};
}
RuntimeError QueryTimeout(bool connectionLost) {
  return {kQueryTimeout, "Query timeout expired", "HYT00", connectionLost};
}
MigrationEnd MigrationEndOf(const RuntimeError& error) {
  const std::string& state = error.SqlState();
  if (error.ConnectionLost()) return MigrationEnd::ConnectionLost;
  if (error.Number() == kQueryTimeout || state == "HYT00" || state == "57014") {
    return MigrationEnd::TimedOut;
  }
  if (state == "HY008") return MigrationEnd::Stopped;
  return MigrationEnd::None;
}
RuntimeError OrderFormDamaged(const std::string& orderId, const std::string& what) {
  return {kOrderFormDamaged, "Order form '" + orderId + "' is damaged: " + what};
}
RuntimeError OrderFormNotStorable(const std::string& what) {
  return {kOrderFormDamaged, "Order form cannot be stored: " + what};
}

RuntimeError ParameterNotFound(const std::string& section, const std::string& name) {
  return {kParameterNotFound, "Parameter '" + name + "' of section '" + section +
                                  "' is not declared in the configuration file"};
}
RuntimeError StoreNotLoaded() { return {kStoreNotLoaded, "Configuration store not loaded"}; }
RuntimeError InvalidParameterType(const std::string& name, const std::string& declaredType,
                                  const std::string& valueType) {
  return {kInvalidParameterType, "Parameter '" + name + "' is declared as '" + declaredType +
                                     "' and cannot take a value of type " + valueType};
}
RuntimeError CurrencyNotFound(const std::string& code) {
  return {kCurrencyNotFound, "Currency '" + code + "' does not exist."};
}
RuntimeError UnknownLocale(long localeId, const std::string& what) {
  return {kUnknownLocale, "Locale id " + std::to_string(localeId) + " " + what + "."};
}
RuntimeError BusinessPartnerNotFound(const std::string& id) {
  return {kBusinessPartnerNotFound, "Business partner " + id + " does not exist."};
}

}  // namespace mv::errors
