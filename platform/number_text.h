// Number texts as the runtime writes and reads them, with the user's decimal separator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mv {

/// `invariant` (a number text with '.' as the decimal point) with the regional decimal
/// separator instead.
std::string WithRegionalSeparator(std::string invariant);

/// The runtime's text of a floating-point number: `significantDigits` digits at most (7 for
/// Single, 15 for Double), no trailing zeros, the exponent form ("1E+16", "1,5E-05") below
/// 1E-04 and from 1E+<significantDigits> on, the regional separator; never "-0".
std::string FloatingText(double value, int significantDigits);

/// The exact amount of a Currency (`scaled` is the amount times 10 000), no trailing zeros,
/// with the regional separator.
std::string CurrencyText(std::int64_t scaled);

/// Reads `[blanks][sign]digits[separator digits][E[sign]digits][blanks]` with at least one
/// mantissa digit. Empty when the text is no number; throws RuntimeError 6 "Overflow" when its
/// magnitude is beyond what a double holds, too large or too small.
std::optional<double> ParseNumber(std::string_view text, char separator);

}  // namespace mv
