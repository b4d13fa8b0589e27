// OrderVerification: the submitted orders of the source compared with the target's, read-only.
#pragma once

#include "driver/connection_values.h"
#include "driver/run_progress.h"
#include "driver/verification.h"
#include "platform/text_file.h"

namespace mv {

/// Accounts for every order of the source's orderheader: equal to the target's orderheader and
/// orderline rows that the order migration writes for it now (its own conversion, the rows
/// kept from the target instead of written), different, missing, refused by the status gate
/// with its reason, or unreadable when its conversion fails; then counts the target's orders
/// that no source order accounts for as extra. Writes to neither database; the conversion's
/// log lines never reach `log`. A failure to read, a lost connection or a stop reaches the
/// caller.
void VerifyOrders(const ConnectionValues& values, TextWriter& log, RunProgress& progress,
                  VerificationAccount& account);

}  // namespace mv
