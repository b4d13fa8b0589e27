// The system's own reason why a file cannot be opened or written, for messages that tell the
// operator what to change.
#pragma once

#include <filesystem>
#include <string>

#include "platform/runtime_error.h"

namespace mv {

/// Why `path` cannot be opened for reading, in the system's words ("Permission denied", "No
/// such file or directory" ...); empty when it can.
std::string ReadFailureReason(const std::filesystem::path& path);

/// Why `path` cannot be opened for appending ("Permission denied", "Read-only file system"
/// ...); empty when it can. A file that was missing is left in place when it could be made.
std::string AppendFailureReason(const std::filesystem::path& path);

/// The file call that just failed, as the runtime raises it: `what` (the file and the step,
/// "the file '<path>' cannot be written") behind the system's reason and ": ". A full disk or
/// quota is 61 "Disk full", everything else but a missing folder 70; a missing folder is 76
/// "Path not found" as the runtime words it, without `what`. Call it
/// before anything else can change the system's error state.
RuntimeError LastFileFailure(const std::string& what);

}  // namespace mv
