// The system's own reason why a file cannot be opened, for messages that tell the operator
// what to change.
#pragma once

#include <filesystem>
#include <string>

namespace mv {

/// Why `path` cannot be opened for reading, in the system's words ("Permission denied", "No
/// such file or directory" ...); empty when it can.
std::string ReadFailureReason(const std::filesystem::path& path);

/// Why `path` cannot be opened for appending ("Permission denied", "Read-only file system"
/// ...); empty when it can. A file that was missing is left in place when it could be made.
std::string AppendFailureReason(const std::filesystem::path& path);

}  // namespace mv
