// The one error type of the program: a number and a description, as the runtime raises them.
#pragma once

#include <stdexcept>
#include <string>

namespace mv {

/// A failure with the number and description that the program reports. Database errors
/// carry the provider's native error number and its message text.
class RuntimeError : public std::runtime_error {
 public:
  /// `connectionLost` marks a database error after which the connection is gone.
  RuntimeError(long number, std::string description, bool connectionLost = false);

  long Number() const { return number_; }
  const std::string& Description() const { return description_; }
  /// True when the statement failed because the connection to the database was lost, so that
  /// every further statement on it fails as well.
  bool ConnectionLost() const { return connectionLost_; }

 private:
  long number_;
  std::string description_;
  bool connectionLost_;
};

/// Error numbers of the automation runtime that the program raises itself.
namespace errors {
inline constexpr long kInvalidProcedureCall = 5;
inline constexpr long kOverflow = 6;
inline constexpr long kTypeMismatch = 13;
inline constexpr long kInvalidUseOfNull = 94;
inline constexpr long kFileNotFound = 53;
inline constexpr long kPermissionDenied = 70;
inline constexpr long kPathNotFound = 76;
inline constexpr long kObjectNotSet = 91;
inline constexpr long kObjectDoesNotSupport = 438;
}  // namespace errors

/// RuntimeError 6 "Overflow": a value beyond what its kind holds.
[[noreturn]] void ThrowOverflow();
/// RuntimeError 13 "Type mismatch".
[[noreturn]] void ThrowTypeMismatch();

}  // namespace mv
