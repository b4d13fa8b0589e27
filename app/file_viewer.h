// ViewFile: shows a text file to the operator in the platform's viewer.
#pragma once

#include <string>

namespace mv {

/// Starts "notepad " + path on Windows, the desktop's default viewer for the file elsewhere.
/// Does not wait for the viewer, does not check that the file exists, and ignores a viewer
/// that cannot be started.
void ViewFile(const std::string& path);

}  // namespace mv
