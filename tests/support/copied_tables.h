// The twelve tables of the remaining-data copy, as tests count their rows.
#pragma once

#include <array>
#include <vector>

#include "tests/support/test_database.h"

namespace mv::testing {

/// The copied tables in the order the copy takes them.
inline constexpr std::array<const char*, 12> kCopiedTables{
    "zones",          "countriesbyzone", "freightgroup",
    "freightproduct", "freightprice",    "authorizationlog",
    "billinglog",     "refundlog",       "merchantidbycurrency",
    "addresshistory", "productprice",    "customerprice"};

/// Rows in each copied table of `database`, in copy order.
std::vector<long> CopiedTableCounts(const TestDatabase& database);

}  // namespace mv::testing
