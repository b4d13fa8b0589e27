// Variant: kinds, type names, exact getters, and the text and number conversions.
#include "platform/variant.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>
#include <variant>

#include "platform/errors.h"
#include "platform/number_text.h"
#include "platform/regional_settings.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

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

[[noreturn]] void ThrowInvalidUseOfNull() { throw errors::InvalidUseOfNull(); }
[[noreturn]] void ThrowWrongKind(VariantKind expected, const std::string& actualTypeName) {
  throw errors::TypeMismatch(std::string("Type mismatch: expected ") + KindName(expected) +
                             ", got " + actualTypeName);
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
    throw errors::Overflow();  // also NaN and infinities
  }
  return static_cast<Integral>(rounded);
}

}  // namespace

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
      return GeneralDateText(AsDate());
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
  throw errors::TypeMismatch();
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
  throw errors::TypeMismatch();
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
    case VariantKind::Empty:
    case VariantKind::Null:
    case VariantKind::Single:
    case VariantKind::Double:
    case VariantKind::Date:
    case VariantKind::String:
    case VariantKind::Error:
    case VariantKind::ByteArray:
    case VariantKind::Object:
      break;
  }
  return DecimalNumber::FromDouble(ToDouble());
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
  if (!object) throw errors::ObjectNotSet();
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
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Currency:
    case VariantKind::Boolean:
    case VariantKind::Byte:
    case VariantKind::Error:
      break;
  }
  return a.integral_ == b.integral_;
}

bool HoldsNulCharacter(const Variant& value) {
  return value.Kind() == VariantKind::String && value.AsString().find('\0') != std::string::npos;
}

void PrintTo(const Variant& value, std::ostream* out) {
  *out << value.TypeName();
  switch (value.Kind()) {
    case VariantKind::Empty:
    case VariantKind::Null:
      return;
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Byte:
      *out << ' ' << value.ToLong();
      return;
    case VariantKind::Error:
      *out << ' ' << value.AsErrorCode();
      return;
    case VariantKind::Single:
    case VariantKind::Double: {
      // The shortest text that reads back as the same number.
      std::array<char, 32> text{};
      const double real = value.ToDouble();
      const auto end =
          value.Kind() == VariantKind::Single
              ? std::to_chars(text.data(), text.data() + text.size(), static_cast<float>(real)).ptr
              : std::to_chars(text.data(), text.data() + text.size(), real).ptr;
      *out << ' ' << std::string_view(text.data(), static_cast<std::size_t>(end - text.data()));
      return;
    }
    case VariantKind::Boolean:
      *out << ' ' << value.ToText();
      return;
    case VariantKind::Currency:
      *out << ' ' << value.ToDecimal().Text();
      return;
    case VariantKind::Decimal:
      *out << ' ' << value.AsDecimalText();
      return;
    case VariantKind::Date:
      *out << ' ';
      PrintTo(value.AsDate(), out);
      return;
    case VariantKind::String:
      *out << " \"" << value.AsString() << '"';
      return;
    case VariantKind::ByteArray:
      *out << ' ' << value.AsBytes().size() << " bytes";
      return;
    case VariantKind::Object:
      return;
  }
}

}  // namespace mv
