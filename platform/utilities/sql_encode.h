// The stand-in for the product's utilities component: SQL literals of texts, numbers and dates.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/variant.h"

namespace mv {

/// The text between single quotes, each quote doubled: "O'Brien" gives 'O''Brien'. Throws
/// RuntimeError 5 "Invalid procedure call or argument" for text that is not valid UTF-8, so
/// that nothing but whole characters ever reaches a statement.
std::string SQLEncodeString(std::string_view text);

/// The number in decimal digits, with a leading '-' when negative.
std::string SQLEncodeLong(std::int32_t value);

/// YYYY-MM-DDTHH:MM:SS: a form every engine reads the same whatever its language and
/// date-order settings.
std::string SQLDateText(const DateTime& value);

/// SQLDateText between single quotes.
std::string SQLEncodeDate(const DateTime& value);

}  // namespace mv
