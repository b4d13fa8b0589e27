// Number texts: floating-point and Currency texts, the regional separator, and reading numbers.
#include "platform/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "platform/decimal_number.h"
#include "platform/errors.h"
#include "platform/regional_settings.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string WithRegionalSeparator(std::string invariant) {
  std::replace(invariant.begin(), invariant.end(), '.', CurrentRegionalSettings().decimalSeparator);
  return invariant;
}

std::string FloatingText(double value, int significantDigits) {
  if (value == 0) value = 0;  // no "-0"
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::general, significantDigits);
  std::string text(buffer.data(), result.ptr);
  std::transform(text.begin(), text.end(), text.begin(), [](char c) { return c == 'e' ? 'E' : c; });
  return WithRegionalSeparator(std::move(text));
}

std::string CurrencyText(std::int64_t scaled) {
  return WithRegionalSeparator(DecimalNumber::FromCurrency(scaled).Text());
}

std::optional<double> ParseNumber(std::string_view text, char separator) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::string invariant;  // digits, '.' and exponent for from_chars
  std::size_t at = 0;
  std::size_t mantissaDigits = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at, ++mantissaDigits) invariant += text[at];
  if (at < text.size() && text[at] == separator) {
    invariant += '.';
    for (++at; at < text.size() && IsDigit(text[at]); ++at, ++mantissaDigits) {
      invariant += text[at];
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
    invariant += 'e';
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) invariant += text[at++];
    const std::size_t exponentStart = at;
    for (; at < text.size() && IsDigit(text[at]); ++at) invariant += text[at];
    if (at == exponentStart) return std::nullopt;
  }
  if (at != text.size()) return std::nullopt;

  double value = 0;
  const auto [end, error] =
      std::from_chars(invariant.data(), invariant.data() + invariant.size(), value);
  if (error == std::errc::result_out_of_range) {
    throw errors::Overflow();
  }
  if (error != std::errc() || end != invariant.data() + invariant.size()) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace mv
