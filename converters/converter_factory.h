// MakeConverterFactory: the converters this build of the program runs.
#pragma once

#include "driver/converter.h"

namespace mv {

/// Choices that change how a converter works, set once for a whole run.
struct ConverterOptions {
  /// The copy keeps the tables an earlier, unfinished copy wrote in full and goes on after
  /// them (CopyData's resumeCopy).
  bool resumeCopy = false;
  /// The run is a rehearsal that writes nothing: each converter writes inside transactions
  /// that are rolled back, and the configuration store's new content goes beside it
  /// (RehearsalPath).
  bool rehearse = false;
  /// When set, what the migrations do (or in a rehearsal would do) is counted here.
  RunTally* tally = nullptr;
};

/// The factory through which a migration run creates its converters.
ConverterFactory MakeConverterFactory(ConverterOptions options = {});

}  // namespace mv
