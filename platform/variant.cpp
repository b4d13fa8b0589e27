// Variant: kinds, type names, text and number conversions, and the dictionary and list objects.
#include "platform/variant.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>
#include <optional>
#include <variant>

#include "platform/regional_settings.h"
#include "platform/runtime_error.h"

namespace mv {

struct Variant::Payload {
  std::variant<std::string, DateTime, std::vector<std::uint8_t>,
               std::shared_ptr<const VariantObject>>
      value;
};

namespace {

// Indexed by VariantKind; the object's own class name replaces "Object" in TypeName.
constexpr std::array<const char*, 15> kKindNames = {
    "Empty",  "Null",    "Integer", "Long",    "Single", "Double", "Currency", "Date",
    "String", "Boolean", "Byte",    "Decimal", "Error",  "Byte()", "Object",
};

const char* KindName(VariantKind kind) { return kKindNames[static_cast<std::size_t>(kind)]; }

[[noreturn]] void ThrowTypeMismatch() {
  throw RuntimeError(errors::kTypeMismatch, "Type mismatch");
}
[[noreturn]] void ThrowInvalidUseOfNull() {
  throw RuntimeError(errors::kInvalidUseOfNull, "Invalid use of Null");
}
[[noreturn]] void ThrowOverflow() { throw RuntimeError(errors::kOverflow, "Overflow"); }
[[noreturn]] void ThrowWrongKind(VariantKind expected, const std::string& actualTypeName) {
  throw RuntimeError(errors::kTypeMismatch, std::string("Type mismatch: expected ") +
                                                KindName(expected) + ", got " + actualTypeName);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads `[blanks][sign]digits[separator digits][E[sign]digits][blanks]` with at least one
// mantissa digit. Empty when the text is no number; throws Overflow when its magnitude is
// beyond what a double holds, too large or too small.
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
  if (error == std::errc::result_out_of_range) ThrowOverflow();
  if (error != std::errc() || end != invariant.data() + invariant.size()) return std::nullopt;
  return negative ? -value : value;
}

double RoundHalfToEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1;
  return std::fmod(below, 2) == 0 ? below : below + 1;
}

template <typename Integral>
Integral RoundToIntegral(double value) {
  const double rounded = RoundHalfToEven(value);
  if (!(rounded >= std::numeric_limits<Integral>::min() &&
        rounded <= std::numeric_limits<Integral>::max())) {
    ThrowOverflow();  // also NaN and infinities
  }
  return static_cast<Integral>(rounded);
}

std::string WithRegionalSeparator(std::string text) {
  std::replace(text.begin(), text.end(), '.', CurrentRegionalSettings().decimalSeparator);
  return text;
}

// The runtime's number text: `significantDigits` digits at most, no trailing zeros, and
// the exponent form ("1E+16", "1.5E-05") below 1E-04 and from 1E+<significantDigits> on.
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

std::chrono::sys_days DayOf(const DateTime& date) {
  return std::chrono::sys_days{std::chrono::year{date.year} / static_cast<unsigned>(date.month) /
                               static_cast<unsigned>(date.day)};
}

constexpr std::chrono::sys_days kSerialDayZero =
    std::chrono::sys_days{std::chrono::year{1899} / 12 / 30};

bool IsSerialDayZero(const DateTime& date) {
  return date.year == 1899 && date.month == 12 && date.day == 30;
}

// Days since 1899-12-30 plus the time as a fraction of a day; before that day the time
// counts away from zero (-1.25 is 1899-12-29 06:00), as the runtime stores dates.
double SerialDate(const DateTime& date) {
  const double days = static_cast<double>((DayOf(date) - kSerialDayZero).count());
  const double time =
      (date.hour * 3600.0 + date.minute * 60.0 + date.second + date.nanosecond / 1e9) / 86400.0;
  return days < 0 ? days - time : days + time;
}

std::string FormatDateTime(const DateTime& date, const std::string& format) {
  const std::chrono::sys_days day = DayOf(date);
  const std::chrono::weekday weekday{day};
  const std::chrono::sys_days yearStart{std::chrono::year{date.year} / 1 / 1};
  std::tm fields{};
  fields.tm_year = date.year - 1900;
  fields.tm_mon = date.month - 1;
  fields.tm_mday = date.day;
  fields.tm_hour = date.hour;
  fields.tm_min = date.minute;
  fields.tm_sec = date.second;
  fields.tm_wday = static_cast<int>(weekday.c_encoding());
  fields.tm_yday = static_cast<int>((day - yearStart).count());
  fields.tm_isdst = 0;
  std::array<char, 256> buffer{};
  const std::size_t length = std::strftime(buffer.data(), buffer.size(), format.c_str(), &fields);
  return std::string(buffer.data(), length);
}

// General date: the short date, a blank and the long time; the date alone at midnight and
// the time alone on day 0 (1899-12-30), which includes the zero date itself.
std::string DateText(const DateTime& date) {
  if (IsSerialDayZero(date)) return LongTimeText(date);
  if (date.hour == 0 && date.minute == 0 && date.second == 0) return ShortDateText(date);
  return ShortDateText(date) + " " + LongTimeText(date);
}

}  // namespace

std::string ShortDateText(const DateTime& date) {
  return FormatDateTime(date, CurrentRegionalSettings().shortDateFormat);
}

std::string LongTimeText(const DateTime& date) {
  return FormatDateTime(date, CurrentRegionalSettings().longTimeFormat);
}

Variant::Variant() : kind_(VariantKind::Empty) {}

Variant::Variant(VariantKind kind, std::shared_ptr<const Payload> payload)
    : kind_(kind), payload_(std::move(payload)) {}

Variant Variant::Null() { return Variant(VariantKind::Null, nullptr); }

Variant Variant::Integer(std::int16_t value) {
  Variant result(VariantKind::Integer, nullptr);
  result.integral_ = value;
  return result;
}

Variant Variant::Long(std::int32_t value) {
  Variant result(VariantKind::Long, nullptr);
  result.integral_ = value;
  return result;
}

Variant Variant::Single(float value) {
  Variant result(VariantKind::Single, nullptr);
  result.real_ = value;
  return result;
}

Variant Variant::Double(double value) {
  Variant result(VariantKind::Double, nullptr);
  result.real_ = value;
  return result;
}

Variant Variant::Currency(std::int64_t scaled) {
  Variant result(VariantKind::Currency, nullptr);
  result.integral_ = scaled;
  return result;
}

Variant Variant::Date(DateTime value) {
  return Variant(VariantKind::Date, std::make_shared<const Payload>(Payload{value}));
}

Variant Variant::String(std::string utf8) {
  return Variant(VariantKind::String, std::make_shared<const Payload>(Payload{std::move(utf8)}));
}

Variant Variant::Boolean(bool value) {
  Variant result(VariantKind::Boolean, nullptr);
  result.integral_ = value ? -1 : 0;
  return result;
}

Variant Variant::Byte(std::uint8_t value) {
  Variant result(VariantKind::Byte, nullptr);
  result.integral_ = value;
  return result;
}

Variant Variant::Decimal(std::string_view invariantText) {
  return Decimal(DecimalNumber::Parse(invariantText));
}

Variant Variant::Decimal(const DecimalNumber& value) {
  return Variant(VariantKind::Decimal, std::make_shared<const Payload>(Payload{value.Text()}));
}

Variant Variant::Error(std::int32_t code) {
  Variant result(VariantKind::Error, nullptr);
  result.integral_ = code;
  return result;
}

Variant Variant::Bytes(std::vector<std::uint8_t> bytes) {
  return Variant(VariantKind::ByteArray,
                 std::make_shared<const Payload>(Payload{std::move(bytes)}));
}

Variant Variant::Object(std::shared_ptr<const VariantObject> object) {
  return Variant(VariantKind::Object, std::make_shared<const Payload>(Payload{std::move(object)}));
}

bool Variant::IsNumeric() const {
  switch (kind_) {
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Single:
    case VariantKind::Double:
    case VariantKind::Currency:
    case VariantKind::Byte:
    case VariantKind::Decimal:
      return true;
    default:
      return false;
  }
}

std::string Variant::TypeName() const {
  if (kind_ != VariantKind::Object) return KindName(kind_);
  const auto& object = std::get<std::shared_ptr<const VariantObject>>(payload_->value);
  return object ? object->ClassName() : "Nothing";
}

std::string Variant::ToText() const {
  switch (kind_) {
    case VariantKind::Empty:
      return "";
    case VariantKind::Null:
      ThrowInvalidUseOfNull();
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Byte:
      return std::to_string(integral_);
    case VariantKind::Single:
      return FloatingText(real_, 7);
    case VariantKind::Double:
      return FloatingText(real_, 15);
    case VariantKind::Currency:
      return CurrencyText(integral_);
    case VariantKind::Date:
      return DateText(AsDate());
    case VariantKind::String:
      return AsString();
    case VariantKind::Boolean:
      return integral_ != 0 ? "True" : "False";
    case VariantKind::Decimal:
      return WithRegionalSeparator(AsDecimalText());
    case VariantKind::Error:
    case VariantKind::ByteArray:
    case VariantKind::Object:
      break;
  }
  ThrowTypeMismatch();
}

std::int16_t Variant::ToInteger() const { return RoundToIntegral<std::int16_t>(ToDouble()); }

std::int32_t Variant::ToLong() const { return RoundToIntegral<std::int32_t>(ToDouble()); }

double Variant::ToDouble() const {
  switch (kind_) {
    case VariantKind::Empty:
      return 0;
    case VariantKind::Null:
      ThrowInvalidUseOfNull();
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Byte:
    case VariantKind::Boolean:
      return static_cast<double>(integral_);
    case VariantKind::Single:
    case VariantKind::Double:
      return real_;
    case VariantKind::Currency:
      return static_cast<double>(integral_) / 10000.0;
    case VariantKind::Date:
      return SerialDate(AsDate());
    case VariantKind::String:
      if (const auto number = ParseNumber(AsString(), CurrentRegionalSettings().decimalSeparator)) {
        return *number;
      }
      break;
    case VariantKind::Decimal:
      if (const auto number = ParseNumber(AsDecimalText(), '.')) return *number;
      break;
    case VariantKind::Error:
    case VariantKind::ByteArray:
    case VariantKind::Object:
      break;
  }
  ThrowTypeMismatch();
}

DecimalNumber Variant::ToDecimal() const {
  switch (kind_) {
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Byte:
    case VariantKind::Boolean:
      return DecimalNumber::FromInteger(integral_);
    case VariantKind::Currency:
      return DecimalNumber::FromCurrency(integral_);
    case VariantKind::Decimal:
      return DecimalNumber::Parse(AsDecimalText());
    default:
      return DecimalNumber::FromDouble(ToDouble());
  }
}

bool Variant::ToBoolean() const {
  if (kind_ == VariantKind::String) {
    if (EqualsIgnoreCase(AsString(), "True")) return true;
    if (EqualsIgnoreCase(AsString(), "False")) return false;
  }
  return ToDouble() != 0;
}

const std::string& Variant::AsString() const {
  if (kind_ != VariantKind::String) ThrowWrongKind(VariantKind::String, TypeName());
  return std::get<std::string>(payload_->value);
}

const DateTime& Variant::AsDate() const {
  if (kind_ != VariantKind::Date) ThrowWrongKind(VariantKind::Date, TypeName());
  return std::get<DateTime>(payload_->value);
}

std::int64_t Variant::AsCurrencyScaled() const {
  if (kind_ != VariantKind::Currency) ThrowWrongKind(VariantKind::Currency, TypeName());
  return integral_;
}

std::int32_t Variant::AsErrorCode() const {
  if (kind_ != VariantKind::Error) ThrowWrongKind(VariantKind::Error, TypeName());
  return static_cast<std::int32_t>(integral_);
}

const std::string& Variant::AsDecimalText() const {
  if (kind_ != VariantKind::Decimal) ThrowWrongKind(VariantKind::Decimal, TypeName());
  return std::get<std::string>(payload_->value);
}

const std::vector<std::uint8_t>& Variant::AsBytes() const {
  if (kind_ != VariantKind::ByteArray) ThrowWrongKind(VariantKind::ByteArray, TypeName());
  return std::get<std::vector<std::uint8_t>>(payload_->value);
}

const VariantObject& Variant::AsObject() const {
  const auto object = ObjectPointer();
  if (!object)
    throw RuntimeError(errors::kObjectNotSet, "Object variable or With block variable not set");
  return *object;
}

std::shared_ptr<const VariantObject> Variant::ObjectPointer() const {
  if (kind_ != VariantKind::Object) ThrowWrongKind(VariantKind::Object, TypeName());
  return std::get<std::shared_ptr<const VariantObject>>(payload_->value);
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.kind_ != b.kind_) return false;
  switch (a.kind_) {
    case VariantKind::Empty:
    case VariantKind::Null:
      return true;
    case VariantKind::Single:
    case VariantKind::Double:
      return a.real_ == b.real_;
    case VariantKind::Decimal:
      return a.AsDecimalText() == b.AsDecimalText();
    case VariantKind::Date:
    case VariantKind::String:
    case VariantKind::ByteArray:
    case VariantKind::Object:
      return a.payload_->value == b.payload_->value;  // shared_ptr compares the pointers
    default:
      return a.integral_ == b.integral_;
  }
}

std::shared_ptr<VariantObject> VariantObject::NewDictionary() {
  return std::shared_ptr<VariantObject>(new VariantObject(Shape::Dictionary));
}

std::shared_ptr<VariantObject> VariantObject::NewList() {
  return std::shared_ptr<VariantObject>(new VariantObject(Shape::List));
}

std::string VariantObject::ClassName() const {
  return shape_ == Shape::Dictionary ? "Dictionary" : "SimpleList";
}

void VariantObject::RequireShape(Shape shape) const {
  if (shape_ != shape) {
    throw RuntimeError(errors::kObjectDoesNotSupport,
                       "Object doesn't support this property or method");
  }
}

std::vector<VariantEntry>::const_iterator VariantObject::Find(std::string_view key) const {
  RequireShape(Shape::Dictionary);
  return std::find_if(entries_.begin(), entries_.end(), [key](const VariantEntry& entry) {
    return EqualsIgnoreCase(entry.first, key);
  });
}

void VariantObject::Set(std::string_view key, Variant value) {
  const auto found = Find(key);
  if (found == entries_.end()) {
    entries_.emplace_back(std::string(key), std::move(value));
  } else {
    entries_[static_cast<std::size_t>(found - entries_.begin())].second = std::move(value);
  }
}

Variant VariantObject::Get(std::string_view key) const {
  const auto found = Find(key);
  return found == entries_.end() ? Variant() : found->second;
}

bool VariantObject::Contains(std::string_view key) const { return Find(key) != entries_.end(); }

void VariantObject::Append(Variant value) {
  RequireShape(Shape::List);
  elements_.push_back(std::move(value));
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&lower](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace mv
