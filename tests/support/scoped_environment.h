// An environment variable set or removed for a test's lifetime, then put back as it was.
#pragma once

#include <optional>
#include <string>

namespace mv::testing {

class ScopedEnvironmentVariable {
 public:
  /// Sets `name` to `value` (UTF-8), or removes it for nullopt.
  ScopedEnvironmentVariable(std::string name, const std::optional<std::string>& value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace mv::testing
