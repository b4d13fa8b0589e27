// Sample rows for the parameter migration: the 2.2 parameter table and the back-end instances.
#pragma once

#include "tools/sample_data/sample_set.h"

namespace mv::samples {

/// Fills SALESPARAMETER of the source with every name the migration knows (a few with blanks
/// around them, whole numbers drawn from the seed, one fraction) and three names it does not
/// know; fills BISINSTANCE of the instance database with three back-end instances, the second
/// marked as default. ORDEREXPORTFILE of the target stays empty, so the migration adds its
/// first row for the default instance.
void FillParameterSamples(SampleDatabases& databases, const SampleOptions& options);

}  // namespace mv::samples
