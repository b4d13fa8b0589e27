// StartNotepad: the system's notepad on a text file, the viewer of "Open Log file" and
// "Open Dumpfile".
#pragma once

#include <string>

namespace mv::win32 {

/// Starts "notepad " + path maximised, without waiting for it; answers whether it started.
/// Does not check that the file exists: notepad says so itself.
bool StartNotepad(const std::string& path);

}  // namespace mv::win32
