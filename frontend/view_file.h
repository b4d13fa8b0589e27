// ViewFile: shows a text file to the operator in a viewer that the front end starts.
#pragma once

#include <functional>
#include <string>

#include "platform/message_display.h"

namespace mv {

/// Starts a viewer on a file without waiting for it; answers whether one could be started.
using ViewerLauncher = std::function<bool(const std::string& path)>;

/// Shows the file at `path` with `launch`. When no viewer can be started, says so by message
/// box: "No program could be started to show the file '" + path + "'.".
void ViewFile(const std::string& path, const ViewerLauncher& launch, MessageDisplay& messages);

}  // namespace mv
