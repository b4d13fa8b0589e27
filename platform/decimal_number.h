// DecimalNumber: the runtime's Decimal, an exact number of at most 96 bits with up to 28
// decimal places, and the arithmetic that keeps it exact or fails with Overflow.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace mv {

class DecimalNumber {
 public:
  /// Zero.
  DecimalNumber() = default;

  /// Reads `[sign]digits[.digits][E[sign]digits]` with '.' as the decimal point (the text a
  /// database driver gives). Fraction digits beyond what the 96 bits hold are rounded half to
  /// even, as the runtime does. Throws RuntimeError 13 for text that is no number and 6
  /// "Overflow" when the whole part does not fit.
  static DecimalNumber Parse(std::string_view text);
  /// The exact amount of a Currency (`scaled` is the amount times 10 000).
  static DecimalNumber FromCurrency(std::int64_t scaled);
  /// An integer, exactly.
  static DecimalNumber FromInteger(std::int64_t value);
  /// A double by its shortest text that reads back as the same double (0.1 is 0.1), so that
  /// nothing a floating-point column held is lost. Throws 6 for a value beyond the Decimal
  /// range, NaN and infinities.
  static DecimalNumber FromDouble(double value);

  /// The invariant text: '-' for a negative number, no leading or trailing zeros, '.' as the
  /// decimal point ("-12.5", "0.0005", "0").
  std::string Text() const;
  /// The amount times 10 000, rounded half to even. Throws 6 beyond Currency's range.
  std::int64_t ToCurrencyScaled() const;
  double ToDouble() const;
  /// This number with at most `scale` decimal places, a dropped half rounded away from zero
  /// (12.345 to two places is 12.35, -12.345 is -12.35), as a database rounds a literal.
  DecimalNumber RoundedAwayFromZero(int scale) const;

  /// Exact sums and products; a result whose whole part does not fit throws 6, a result with
  /// more decimal places than fit is rounded half to even.
  friend DecimalNumber operator+(const DecimalNumber& a, const DecimalNumber& b);
  friend DecimalNumber operator*(const DecimalNumber& a, const DecimalNumber& b);
  DecimalNumber& operator+=(const DecimalNumber& other) { return *this = *this + other; }

  friend bool operator==(const DecimalNumber&, const DecimalNumber&) = default;

 private:
  DecimalNumber(bool negative, std::string digits, int scale);

  bool negative_ = false;
  std::string digits_ = "0";  // the magnitude times 10^scale_, most significant digit first
  int scale_ = 0;             // decimal places, 0 to 28
};

/// Writes the invariant text, for test names and failure messages.
void PrintTo(const DecimalNumber& value, std::ostream* out);

}  // namespace mv
