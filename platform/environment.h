// The process's environment variables as the program's UTF-8 text, and the folder the user's
// own files start in.
#pragma once

#include <optional>
#include <string>

namespace mv {

/// The value of the environment variable `name`; none when it is not set. On Windows the value
/// is read as UTF-16, so a path with characters beyond the ANSI code page arrives whole.
std::optional<std::string> EnvironmentVariable(const char* name);

/// The folder in which a file the operator names starts out: c:\ on Windows, where the
/// operators have always found it; elsewhere the user's home folder (HOME), or "." when HOME
/// is not set or empty.
std::string UserFilesFolder();

}  // namespace mv
