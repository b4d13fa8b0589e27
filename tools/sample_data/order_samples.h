// Sample submitted orders of the 2.2 shop and the 2.3 reference data their conversion reads.
#pragma once

#include "tools/sample_data/sample_set.h"

namespace mv::samples {

/// Fills the target's currency, businesspartner and product tables that the sample orders
/// refer to, each in one transaction.
void FillOrderReferenceSamples(Connection& target);

/// Fills the source orderheader and orderline tables with one order for each rule of the
/// status gate (accepted and refused ones, an order without lines, one with an unknown
/// product, one whose id holds an apostrophe, one with two differing line statuses), then
/// `options.count` accepted orders of four lines each; and the target's reference data
/// (FillOrderReferenceSamples). Each table is written in one transaction.
void FillOrderSamples(SampleDatabases& databases, const SampleOptions& options);

}  // namespace mv::samples
