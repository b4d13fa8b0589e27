// ViewFile: shows a text file to the operator in the platform's viewer.
#pragma once

#include <functional>
#include <string>

#include "platform/message_display.h"

namespace mv {

/// Starts a viewer on a file without waiting for it; answers whether one could be started.
using ViewerLauncher = std::function<bool(const std::string& path)>;

/// Starts "notepad " + path on Windows, the desktop's default viewer for the file elsewhere.
/// Does not check that the file exists; answers false when no viewer could be started.
bool StartViewer(const std::string& path);

/// Shows the file at `path` with `launch`. When no viewer can be started, says so by message
/// box: "No program could be started to show the file '" + path + "'.".
void ViewFile(const std::string& path, const ViewerLauncher& launch, MessageDisplay& messages);

}  // namespace mv
