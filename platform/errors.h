// Every error the program raises itself, each number paired with its text in one place: the
// automation runtime's numbers, the data access layer's, and those of the installation's
// components (above the runtime's object error base, as their callers receive them).
#pragma once

#include <string>

#include "platform/runtime_error.h"

namespace mv::errors {

// The automation runtime.
inline constexpr long kInvalidProcedureCall = 5;
inline constexpr long kOverflow = 6;
inline constexpr long kTypeMismatch = 13;
inline constexpr long kFileNotFound = 53;
inline constexpr long kDiskFull = 61;
inline constexpr long kInputPastEndOfFile = 62;
inline constexpr long kPermissionDenied = 70;
inline constexpr long kPathNotFound = 76;
inline constexpr long kObjectNotSet = 91;
inline constexpr long kInvalidUseOfNull = 94;
inline constexpr long kCannotCreateObject = 429;
inline constexpr long kObjectDoesNotSupport = 438;
inline constexpr long kErrorLoadingFromFile = 31037;

// The data access layer.
inline constexpr long kNoCurrentRecord = 3021;
inline constexpr long kNoBaseTable = 3251;
inline constexpr long kItemNotFound = 3265;
/// A provider error that carries no native number of its own.
inline constexpr long kGenericProviderError = -2147467259;
/// A statement that did not answer within the query time-out.
inline constexpr long kQueryTimeout = -2147217871;
inline constexpr long kOrderFormDamaged = -2147024883;

// The installation's components.
inline constexpr long kObjectErrorBase = -2147221504;  // the runtime's vbObjectError
/// Configuration component error 15: the section or the parameter is not declared.
inline constexpr long kParameterNotFound = kObjectErrorBase + 15;
/// Configuration component error 19: a value is set while no store is loaded.
inline constexpr long kStoreNotLoaded = kObjectErrorBase + 19;
/// Configuration component error 20: the declared type differs from the new value's type.
inline constexpr long kInvalidParameterType = kObjectErrorBase + 20;
inline constexpr long kCurrencyNotFound = kObjectErrorBase + 1001;
inline constexpr long kUnknownLocale = kObjectErrorBase + 1002;
inline constexpr long kBusinessPartnerNotFound = kObjectErrorBase + 1003;

// The runtime's errors with their own texts; the overloads that take a description give
// the same number with a text that says more.
RuntimeError InvalidProcedureCall();
RuntimeError InvalidProcedureCall(const std::string& description);
/// 5 for a text value holding a NUL character, which drivers would cut off there; `column` names
/// where it was to go ("BASKETLINE.SKU").
RuntimeError NulInText(const std::string& column);
RuntimeError Overflow();
RuntimeError TypeMismatch();
RuntimeError TypeMismatch(const std::string& description);
RuntimeError FileNotFound();
RuntimeError FileNotFound(const std::string& description);
RuntimeError DiskFull(const std::string& description);
RuntimeError InputPastEndOfFile();
RuntimeError PermissionDenied();
RuntimeError PermissionDenied(const std::string& description);
RuntimeError PathNotFound();
RuntimeError PathNotFound(const std::string& description);
RuntimeError ObjectNotSet();
RuntimeError InvalidUseOfNull();
RuntimeError CannotCreateObject();
RuntimeError CannotCreateObject(const std::string& description);
RuntimeError ObjectDoesNotSupport();
RuntimeError ErrorLoadingFromFile(const std::string& description);

// The data access layer.
RuntimeError NoCurrentRecord();
RuntimeError NoBaseTable();
RuntimeError ItemNotFound();
/// A failure of the database layer itself, without a driver diagnostic behind it.
RuntimeError ProviderError(const std::string& description);
/// `error` told in other words: its number, SQLSTATE and lost-connection mark with
/// `description` for its text.
RuntimeError Retold(const RuntimeError& error, const std::string& description);
/// A driver's diagnostic: its native number (kGenericProviderError when it has none), its
/// text and its SQLSTATE.
RuntimeError DatabaseError(long native, const std::string& text, std::string sqlState,
                           bool connectionLost);
/// The driver's own report of a statement out of time (SQLSTATE HYT00): its native number, or
/// kQueryTimeout when it gives none, and its text.
RuntimeError DriverTimeout(long native, const std::string& text, bool connectionLost);
/// "Query timeout expired", for a statement cancelled because it ran past its time-out.
RuntimeError QueryTimeout(bool connectionLost);
/// Why a failure ends the migration that met it instead of only the unit it was writing: the
/// next unit, or the same rows written another way, would only meet it again (a statement
/// that ran out of time would wait as long again), so the migration ends at once.
enum class MigrationEnd {
  None,            ///< the unit's own failure: the migration goes on with the next unit
  ConnectionLost,  ///< the connection is gone
  TimedOut,        ///< a statement ran out of time
  Stopped,         ///< the operator stopped the run, which cancels the running statements
};
/// What `error` shows of a MigrationEnd: ConnectionLost when it lost the connection; TimedOut
/// for the program's own time-out, the driver's (SQLSTATE HYT00) and PostgreSQL's statement
/// time-out or cancel (57014); Stopped for a cancelled statement (HY008); None otherwise. The
/// run adds a stop that the error does not show (Converter::MigrationEndOf).
MigrationEnd MigrationEndOf(const RuntimeError& error);
/// "Order form '<id>' is damaged: <what>".
RuntimeError OrderFormDamaged(const std::string& orderId, const std::string& what);
/// "Order form cannot be stored: <what>".
RuntimeError OrderFormNotStorable(const std::string& what);

// The installation's components.
RuntimeError ParameterNotFound(const std::string& section, const std::string& name);
RuntimeError StoreNotLoaded();
RuntimeError InvalidParameterType(const std::string& name, const std::string& declaredType,
                                  const std::string& valueType);
RuntimeError CurrencyNotFound(const std::string& code);
/// "Locale id <id> <what>.".
RuntimeError UnknownLocale(long localeId, const std::string& what);
RuntimeError BusinessPartnerNotFound(const std::string& id);

}  // namespace mv::errors
