// The stored layout of a marshalled order form that its encoder and its decoder share: the
// marker, the format version, the value tags and the checks both sides apply.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/date_time.h"

namespace mv::order_form_layout {

inline constexpr std::array<std::uint8_t, 4> kMarker = {'M', 'V', 'O', 'F'};
inline constexpr std::uint16_t kFormatVersion = 1;

/// The tag in front of every value. Numbers are part of the stored format: never renumber.
enum class Tag : std::uint8_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Boolean = 9,
  Byte = 10,
  Decimal = 11,
  Error = 12,
  ByteArray = 13,
  Dictionary = 14,
  List = 15,
  Nothing = 16,  // an object reference that is not set
};
inline constexpr std::uint8_t kLastTag = static_cast<std::uint8_t>(Tag::Nothing);

/// A date the form can hold: a calendar day from year 1 to 9999 and a time of day.
bool IsValidDate(const DateTime& date);
/// An optional sign, digits and an optional '.' with digits; at least one digit.
bool IsValidDecimalText(std::string_view text);

}  // namespace mv::order_form_layout
