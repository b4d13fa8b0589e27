// Sample rows for the twelve 2.2 tables that the remaining-data copy carries over.
#pragma once

#include "tools/sample_data/sample_set.h"

namespace mv::samples {

/// Fills zones, countriesbyzone, freightgroup, freightproduct, freightprice, authorizationlog,
/// billinglog, addresshistory, productprice and customerprice of the source with
/// `options.count` rows each; refundlog and merchantidbycurrency stay empty. Zone and
/// freight-group keys are not numbered from 1, and about one reference in ten names a zone
/// or freight group that does not exist. Each table is written in one transaction.
void FillCopyDataSamples(SampleDatabases& databases, const SampleOptions& options);

}  // namespace mv::samples
