// Sample stored baskets for the 2.2 ORDERLIST.
#pragma once

#include "tools/sample_data/sample_set.h"

namespace mv::samples {

/// Writes `options.count` stored baskets into ORDERLIST of the source, in one transaction and
/// batches of a few thousand: mostly valid ones with one to five lines, and among them
/// baskets without a shopper, with a line without a SKU, with an empty line list, with
/// configurable lines, with an apostrophe in the id (every 25th, from the 13th), and names
/// and prices in non-ASCII text ("Müller €"). The same seed writes the same baskets.
void FillBasketSamples(SampleDatabases& databases, const SampleOptions& options);

}  // namespace mv::samples
