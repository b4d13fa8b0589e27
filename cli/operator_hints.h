// The line under a message on standard error that says what to change: the option, the line
// of the settings file, or the file and what to do about it.
#pragma once

#include <string>

#include "platform/message_display.h"

namespace mv {

/// The hint for a message about `detail`; empty when there is nothing to add. `settingsFile`
/// is the settings file the run read its connection values from, empty when it read none.
std::string HintFor(const MessageDetail& detail, const std::string& settingsFile);

}  // namespace mv
