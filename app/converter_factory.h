// MakeConverterFactory: the converters this build of the program runs.
#pragma once

#include "driver/converter.h"

namespace mv {

/// The factory through which a migration run creates its converters.
ConverterFactory MakeConverterFactory();

}  // namespace mv
