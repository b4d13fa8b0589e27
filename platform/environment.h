// The process's environment variables as the program's UTF-8 text.
#pragma once

#include <optional>
#include <string>

namespace mv {

/// The value of the environment variable `name`; none when it is not set. On Windows the value
/// is read as UTF-16, so a path with characters beyond the ANSI code page arrives whole.
std::optional<std::string> EnvironmentVariable(const char* name);

}  // namespace mv
