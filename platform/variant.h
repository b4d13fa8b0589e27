// Variant: the automation runtime's tagged value, with its type names and text and number
// conversions. Includes DateTime and VariantObject, which every Variant user meets.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/date_time.h"
#include "platform/decimal_number.h"

namespace mv {

enum class VariantKind {
  Empty,
  Null,
  Integer,   // 16-bit signed
  Long,      // 32-bit signed
  Single,    // 32-bit float
  Double,    // 64-bit float
  Currency,  // 64-bit integer scaled by 10 000
  Date,      // see DateTime
  String,    // UTF-8 text
  Boolean,
  Byte,
  Decimal,  // exact decimal number of at most 96 bits (DecimalNumber)
  Error,    // an error code
  ByteArray,
  Object,  // a dictionary or a list
};

class VariantObject;

/// A value of the automation variant type. Null is a state of its own, distinct from Empty,
/// from the empty text and from 0.
class Variant {
 public:
  /// Empty.
  Variant();

  static Variant Null();
  static Variant Integer(std::int16_t value);
  static Variant Long(std::int32_t value);
  static Variant Single(float value);
  static Variant Double(double value);
  /// `scaled` is the amount times 10 000 (the runtime's Currency representation).
  static Variant Currency(std::int64_t scaled);
  static Variant Date(DateTime value);
  static Variant String(std::string utf8);
  static Variant Boolean(bool value);
  static Variant Byte(std::uint8_t value);
  /// `invariantText` is an optional sign, digits and an optional '.' with digits. Throws
  /// RuntimeError 13 for other text and 6 "Overflow" beyond the Decimal range.
  static Variant Decimal(std::string_view invariantText);
  static Variant Decimal(const DecimalNumber& value);
  static Variant Error(std::int32_t code);
  static Variant Bytes(std::vector<std::uint8_t> bytes);
  /// A null pointer is the runtime's Nothing: TypeName "Nothing", AsObject throws 91.
  static Variant Object(std::shared_ptr<const VariantObject> object);

  VariantKind Kind() const { return kind_; }
  bool IsNull() const { return kind_ == VariantKind::Null; }
  bool IsEmpty() const { return kind_ == VariantKind::Empty; }
  bool IsObject() const { return kind_ == VariantKind::Object; }

  /// The runtime's type name: "Empty", "Null", "Integer", "Long", "Single", "Double",
  /// "Currency", "Date", "String", "Boolean", "Byte", "Decimal", "Error", "Byte()", or the
  /// object's class name.
  std::string TypeName() const;

  /// The runtime's conversion to text (CStr): numbers with the regional decimal separator,
  /// dates in the regional general date format (the date alone at midnight), Booleans as
  /// "True"/"False", Empty as "". Throws RuntimeError 94 for Null, 13 for objects, byte
  /// arrays and errors.
  std::string ToText() const;

  /// CInt: 16-bit, rounding half to even. Throws 94 for Null, 6 when out of range, 13 for
  /// text that is not a number in the regional format, objects and arrays. Empty is 0.
  std::int16_t ToInteger() const;
  /// CLng: 32-bit, rounding half to even; errors as ToInteger.
  std::int32_t ToLong() const;
  /// CDbl; a Date gives its serial number (days since 1899-12-30, the time as the fraction).
  /// Errors as ToInteger; Overflow only for text beyond the range of a double.
  double ToDouble() const;
  /// CDec: exact for integers, Currency and Decimal, the shortest exact text for floating point,
  /// text in the regional format. Throws 94 for Null, 6 beyond the Decimal range, 13 for text
  /// that is no number, objects and arrays. Empty is 0.
  DecimalNumber ToDecimal() const;
  /// CBool: numbers are True when not 0, texts "True"/"False" (any case) or numbers.
  /// Throws 94 for Null and 13 for other texts, objects and arrays.
  bool ToBoolean() const;

  /// Exact getters: throw RuntimeError 13 naming the expected and the actual kind.
  const std::string& AsString() const;
  const DateTime& AsDate() const;
  std::int64_t AsCurrencyScaled() const;
  std::int32_t AsErrorCode() const;
  /// The Decimal's invariant text without leading or trailing zeros ("-12.5").
  const std::string& AsDecimalText() const;
  const std::vector<std::uint8_t>& AsBytes() const;
  const VariantObject& AsObject() const;
  std::shared_ptr<const VariantObject> ObjectPointer() const;

  /// Same kind and same value (objects by identity, Decimals by value, NaN never equal). For
  /// tests and change tracking.
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  struct Payload;
  Variant(VariantKind kind, std::shared_ptr<const Payload> payload);

  VariantKind kind_;
  std::int64_t integral_ = 0;               // Integer, Long, Currency, Boolean, Byte, Error
  double real_ = 0;                         // Single, Double
  std::shared_ptr<const Payload> payload_;  // everything else
};

/// True for a text holding a NUL character, which a driver or a statement's text would cut
/// off there.
bool HoldsNulCharacter(const Variant& value);

/// Writes the type name and the value ("Long 12", "String \"x\"", "Null"), for test names
/// and failure messages.
void PrintTo(const Variant& value, std::ostream* out);

}  // namespace mv

// Last, since a VariantObject holds Variants.
#include "platform/variant_object.h"
