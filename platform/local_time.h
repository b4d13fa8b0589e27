// The computer's local date and time.
#pragma once

#include "platform/date_time.h"

namespace mv {

/// The current local date and time, to the second.
DateTime LocalNow();

}  // namespace mv
