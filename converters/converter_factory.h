// MakeConverterFactory: the converters this build of the program runs.
#pragma once

#include "driver/converter.h"

namespace mv {

/// Choices that change how a converter works, set once for a whole run.
struct ConverterOptions {
  /// The copy keeps the tables an earlier, unfinished copy wrote in full and goes on after
  /// them (CopyData's resumeCopy).
  bool resumeCopy = false;
  /// When set, the run is a rehearsal that writes nothing: each converter writes inside
  /// transactions that are rolled back, the configuration store's new content goes beside it
  /// (RehearsalPath), and what the migrations would do is counted here.
  RehearsalTally* rehearsal = nullptr;
};

/// The factory through which a migration run creates its converters.
ConverterFactory MakeConverterFactory(ConverterOptions options = {});

}  // namespace mv
