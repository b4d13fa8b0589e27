// Sample rows for the twelve 2.2 tables that the remaining-data copy carries over.
#pragma once

#include "tools/sample_data/sample_set.h"

namespace mv::samples {

/// Fills the twelve tables of the source with `options.count` rows each, except
/// merchantidbycurrency, whose key is a currency code: it gets one row for each of up to 24
/// currencies. Zone and freight-group keys are not numbered from 1, and about one reference
/// in ten names a zone or freight group that does not exist. Each table is written in one
/// transaction.
void FillCopyDataSamples(SampleDatabases& databases, const SampleOptions& options);

}  // namespace mv::samples
