// The line under a message on standard error that says what to change: the option, the line
// of the settings file, or the file and what to do about it.
#pragma once

#include <string>

#include "driver/run_tally.h"
#include "platform/message_display.h"

namespace mv {

/// The hint for a message about `detail`; empty when there is nothing to add. `settingsFile`
/// is the settings file the run read its connection values from, empty when it read none. A
/// value refused from the settings file names its line (`detail.path` the file), one refused
/// otherwise its option or password variable.
std::string HintFor(const MessageDetail& detail, const std::string& settingsFile);

/// After a copy (`copy`, what it counted) that found the first table it was to write already
/// filled, as every rerun of a copy that ended halfway does: the hint to --resume-copy. Empty
/// when the copy wrote a table first, found none filled, or was resumed already.
std::string ResumeCopyHint(const RunTally::Section& copy, bool resumeCopy);

}  // namespace mv
