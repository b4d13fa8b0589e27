// VerifyParameters: the values the parameter migration writes compared with the configuration
// store and the target's ORDEREXPORTFILE rows, read-only.
#pragma once

#include "driver/connection_values.h"
#include "driver/run_progress.h"
#include "driver/verification.h"
#include "platform/text_file.h"

namespace mv {

/// Runs the parameter migration's own pass over SALESPARAMETER with a configuration component
/// that compares instead of writing: each store value it sets is equal to the store's or
/// different (named "SECTION.name"); a pass that an error ends is unreadable, as it leaves the
/// back-end table alone. Then each of the back-end values the migration writes into every
/// ORDEREXPORTFILE row is equal or different; an empty table is missing the row the migration
/// adds. Writes to neither database nor the store; the pass's log lines never reach `log`. A
/// failure to read reaches the caller.
void VerifyParameters(const ConnectionValues& values, TextWriter& log, RunProgress& progress,
                      VerificationAccount& account);

}  // namespace mv
