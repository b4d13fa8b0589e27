// StartViewer: the platform's viewer of a text file, for ViewFile.
#pragma once

#include <string>

#include "frontend/view_file.h"

namespace mv {

/// Starts "notepad " + path on Windows, the desktop's default viewer for the file elsewhere.
/// Does not check that the file exists; answers false when no viewer could be started.
bool StartViewer(const std::string& path);

}  // namespace mv
