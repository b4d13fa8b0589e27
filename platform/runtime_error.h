// The one error type of the program: a number and a description, as the runtime raises them.
// The numbers and texts themselves live in platform/errors.h.
#pragma once

#include <stdexcept>
#include <string>

namespace mv {

/// A failure with the number and description that the program reports. Database errors
/// carry the provider's native error number, its message text and its five-character SQLSTATE.
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(long number, const std::string& description);
  /// A database error. `connectionLost` marks an error after which the connection is gone.
  RuntimeError(long number, const std::string& description, std::string sqlState,
               bool connectionLost);

  long Number() const { return number_; }
  /// The error's one text, the same as what().
  std::string Description() const { return what(); }
  /// The SQLSTATE of a database error; empty for every other error.
  const std::string& SqlState() const { return sqlState_; }
  /// True when the statement failed because the connection to the database was lost, so that
  /// every further statement on it fails as well.
  bool ConnectionLost() const { return connectionLost_; }

 private:
  long number_;
  std::string sqlState_;
  bool connectionLost_ = false;
};

}  // namespace mv
