// DecimalNumber: exact decimal texts, conversions and arithmetic.
#include "platform/decimal_number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <ostream>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

/// 2^96 - 1, the largest magnitude a Decimal holds.
constexpr std::string_view kLargestMagnitude = "79228162514264337593543950335";
constexpr int kMaxScale = 28;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string WithoutLeadingZeros(std::string digits) {
  const auto first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

int CompareMagnitudes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

bool BeyondDecimal(std::string_view digits) {
  return CompareMagnitudes(digits, kLargestMagnitude) > 0;
}

/// Adds 1 to a digit string.
std::string Incremented(std::string digits) {
  for (auto at = digits.rbegin(); at != digits.rend(); ++at) {
    if (*at != '9') {
      ++*at;
      return digits;
    }
    *at = '0';
  }
  return "1" + digits;
}

/// How a dropped half rounds: to the even digit (the runtime's way) or away from zero (a
/// database's way with a literal).
enum class Half { ToEven, AwayFromZero };

/// `digits` without its last `dropped` digits, rounded by what was dropped.
std::string RoundedOff(const std::string& digits, std::size_t dropped, Half half = Half::ToEven) {
  if (dropped == 0) return digits;
  if (dropped > digits.size()) return "0";
  const std::size_t kept = digits.size() - dropped;
  std::string result = kept == 0 ? "0" : digits.substr(0, kept);
  const char first = digits[kept];
  const bool beyondHalf = digits.find_first_not_of('0', kept + 1) != std::string::npos;
  const bool halfGoesUp = half == Half::AwayFromZero || (result.back() - '0') % 2 == 1;
  if (first > '5' || (first == '5' && (beyondHalf || halfGoesUp))) result = Incremented(result);
  return result;
}

/// The digits of |value|; unsigned, so that the smallest value does not overflow on negation.
std::string MagnitudeDigits(std::int64_t value) {
  return std::to_string(value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value)
                                  : static_cast<std::uint64_t>(value));
}

std::string AddMagnitudes(const std::string& a, const std::string& b) {
  std::string sum;
  int carry = 0;
  for (std::size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
    int digit = carry;
    if (i < a.size()) digit += a[a.size() - 1 - i] - '0';
    if (i < b.size()) digit += b[b.size() - 1 - i] - '0';
    sum += static_cast<char>('0' + digit % 10);
    carry = digit / 10;
  }
  std::reverse(sum.begin(), sum.end());
  return WithoutLeadingZeros(std::move(sum));
}

/// a - b for a >= b.
std::string SubtractMagnitudes(const std::string& a, const std::string& b) {
  std::string difference;
  int borrow = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    int digit = (a[a.size() - 1 - i] - '0') - borrow;
    if (i < b.size()) digit -= b[b.size() - 1 - i] - '0';
    borrow = digit < 0 ? 1 : 0;
    difference += static_cast<char>('0' + digit + 10 * borrow);
  }
  std::reverse(difference.begin(), difference.end());
  return WithoutLeadingZeros(std::move(difference));
}

std::string MultiplyMagnitudes(const std::string& a, const std::string& b) {
  std::vector<int> product(a.size() + b.size(), 0);
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (std::size_t j = 0; j < b.size(); ++j) {
      product[i + j + 1] += (a[i] - '0') * (b[j] - '0');
    }
  }
  for (std::size_t k = product.size() - 1; k > 0; --k) {
    product[k - 1] += product[k] / 10;
    product[k] %= 10;
  }
  std::string digits;
  for (int digit : product) digits += static_cast<char>('0' + digit);
  return WithoutLeadingZeros(std::move(digits));
}

}  // namespace

DecimalNumber::DecimalNumber(bool negative, std::string digits, int scale) {
  digits = WithoutLeadingZeros(std::move(digits));
  // Give up decimal places, rounding, until the magnitude fits in 96 bits.
  std::size_t dropped = static_cast<std::size_t>(std::max(0, scale - kMaxScale));
  std::string fitted = RoundedOff(digits, dropped);
  while (BeyondDecimal(fitted)) {
    if (dropped >= static_cast<std::size_t>(scale)) throw errors::Overflow();
    fitted = RoundedOff(digits, ++dropped);
  }
  scale -= static_cast<int>(dropped);
  while (scale > 0 && fitted.size() > 1 && fitted.back() == '0') {
    fitted.pop_back();
    --scale;
  }
  if (fitted == "0") scale = 0;
  negative_ = negative && fitted != "0";
  digits_ = std::move(fitted);
  scale_ = scale;
}

DecimalNumber DecimalNumber::Parse(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::string digits;
  long long scale = 0;
  std::size_t at = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) digits += text[at];
  if (at < text.size() && text[at] == '.') {
    for (++at; at < text.size() && IsDigit(text[at]); ++at, ++scale) digits += text[at];
  }
  if (digits.empty()) throw errors::TypeMismatch();
  if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
    int exponent = 0;
    const char* first = text.data() + at + 1;
    if (first < text.data() + text.size() && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), exponent);
    if (error != std::errc() || first == end) throw errors::TypeMismatch();
    at = static_cast<std::size_t>(end - text.data());
    scale -= exponent;
  }
  if (at != text.size()) throw errors::TypeMismatch();
  digits = WithoutLeadingZeros(std::move(digits));
  if (digits == "0") return DecimalNumber();
  // A scale this far off the range is Overflow or zero whatever the digits are.
  if (scale < -static_cast<long long>(kLargestMagnitude.size())) throw errors::Overflow();
  if (scale > static_cast<long long>(digits.size()) + kMaxScale + 1) return DecimalNumber();
  if (scale < 0) {
    digits.append(static_cast<std::size_t>(-scale), '0');
    scale = 0;
  }
  return DecimalNumber(negative, std::move(digits), static_cast<int>(scale));
}

DecimalNumber DecimalNumber::FromCurrency(std::int64_t scaled) {
  return DecimalNumber(scaled < 0, MagnitudeDigits(scaled), 4);
}

DecimalNumber DecimalNumber::FromInteger(std::int64_t value) {
  return DecimalNumber(value < 0, MagnitudeDigits(value), 0);
}

DecimalNumber DecimalNumber::FromDouble(double value) {
  if (!std::isfinite(value)) throw errors::Overflow();
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return Parse(
      std::string_view(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())));
}

std::string DecimalNumber::Text() const {
  std::string text = negative_ ? "-" : "";
  const auto scale = static_cast<std::size_t>(scale_);
  if (scale == 0) return text + digits_;
  const std::string padded =
      digits_.size() <= scale ? std::string(scale + 1 - digits_.size(), '0') + digits_ : digits_;
  return text + padded.substr(0, padded.size() - scale) + "." +
         padded.substr(padded.size() - scale);
}

std::int64_t DecimalNumber::ToCurrencyScaled() const {
  std::string scaled = scale_ > 4
                           ? RoundedOff(digits_, static_cast<std::size_t>(scale_ - 4))
                           : digits_ + std::string(static_cast<std::size_t>(4 - scale_), '0');
  scaled = WithoutLeadingZeros(std::move(scaled));
  const std::string_view limit = negative_ ? "9223372036854775808" : "9223372036854775807";
  if (CompareMagnitudes(scaled, limit) > 0) throw errors::Overflow();
  const std::uint64_t magnitude = std::stoull(scaled);
  return negative_ ? static_cast<std::int64_t>(std::uint64_t{0} - magnitude)
                   : static_cast<std::int64_t>(magnitude);
}

DecimalNumber DecimalNumber::RoundedAwayFromZero(int scale) const {
  scale = std::max(0, scale);
  if (scale >= scale_) return *this;
  return DecimalNumber(
      negative_, RoundedOff(digits_, static_cast<std::size_t>(scale_ - scale), Half::AwayFromZero),
      scale);
}

double DecimalNumber::ToDouble() const {
  const std::string text = Text();
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

DecimalNumber operator+(const DecimalNumber& a, const DecimalNumber& b) {
  const int scale = std::max(a.scale_, b.scale_);
  const std::string x = a.digits_ + std::string(static_cast<std::size_t>(scale - a.scale_), '0');
  const std::string y = b.digits_ + std::string(static_cast<std::size_t>(scale - b.scale_), '0');
  if (a.negative_ == b.negative_) return DecimalNumber(a.negative_, AddMagnitudes(x, y), scale);
  const std::string xx = WithoutLeadingZeros(x);
  const std::string yy = WithoutLeadingZeros(y);
  if (CompareMagnitudes(xx, yy) >= 0) {
    return DecimalNumber(a.negative_, SubtractMagnitudes(xx, yy), scale);
  }
  return DecimalNumber(b.negative_, SubtractMagnitudes(yy, xx), scale);
}

DecimalNumber operator*(const DecimalNumber& a, const DecimalNumber& b) {
  return DecimalNumber(a.negative_ != b.negative_, MultiplyMagnitudes(a.digits_, b.digits_),
                       a.scale_ + b.scale_);
}

void PrintTo(const DecimalNumber& value, std::ostream* out) { *out << value.Text(); }

}  // namespace mv
