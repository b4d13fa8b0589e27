// The tables of the remaining-data copy, in the order the copy takes them, shared by the copy
// and its verification.
#pragma once

#include <array>

#include "converters/copydata/copy_data.h"

namespace mv {

/// Which renumbered key a table's first column holds.
enum class RenumberedKey {
  None,          // the key is copied as it is
  Zone,          // the target numbers the zones, kept in OldZoneIds
  FreightGroup,  // the target numbers the freight groups, kept in OldFreightGroupIds
};

/// One table of the copy list.
struct CopyData::CopiedTable {
  const char* name;
  RenumberedKey key;
  /// A column of the source that the target does not take; null when every column is copied.
  const char* skippedColumn;

  bool Renumbered() const { return key != RenumberedKey::None; }
};

/// The tables in the order they are copied: zones and freight groups before the tables that
/// refer to them.
inline constexpr std::array<CopyData::CopiedTable, 12> kCopyList{{
    {"zones", RenumberedKey::Zone, nullptr},
    {"countriesbyzone", RenumberedKey::None, nullptr},
    {"freightgroup", RenumberedKey::FreightGroup, nullptr},
    {"freightproduct", RenumberedKey::None, nullptr},
    {"freightprice", RenumberedKey::None, nullptr},
    {"authorizationlog", RenumberedKey::None, nullptr},
    {"billinglog", RenumberedKey::None, nullptr},
    {"refundlog", RenumberedKey::None, nullptr},
    {"merchantidbycurrency", RenumberedKey::None, nullptr},
    {"addresshistory", RenumberedKey::None, "LOCATION"},
    {"productprice", RenumberedKey::None, nullptr},
    {"customerprice", RenumberedKey::None, nullptr},
}};

}  // namespace mv
