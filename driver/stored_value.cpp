// StoredAsWritten: a written value and the value the target's column holds, compared as the
// column converted the one into the other.
#include "driver/stored_value.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/decimal_number.h"
#include "platform/runtime_error.h"
#include "platform/utilities/sql_encode.h"

namespace mv {
namespace {

bool IsNumberKind(VariantKind kind) {
  switch (kind) {
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Single:
    case VariantKind::Double:
    case VariantKind::Currency:
    case VariantKind::Decimal:
    case VariantKind::Byte:
    case VariantKind::Boolean:
      return true;
    case VariantKind::Empty:
    case VariantKind::Null:
    case VariantKind::Date:
    case VariantKind::String:
    case VariantKind::Error:
    case VariantKind::ByteArray:
    case VariantKind::Object:
      break;
  }
  return false;
}

/// A text without the blanks that pad a fixed-length column.
std::string_view WithoutPadding(std::string_view text) {
  const size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

/// The exact number a value holds; a text as invariant digits, whatever the regional settings.
DecimalNumber ExactNumber(const Variant& value) {
  if (value.Kind() == VariantKind::String) return DecimalNumber::Parse(value.AsString());
  return value.ToDecimal();
}

/// `number` to the 15 significant digits that every double keeps through a decimal text.
std::string SignificantDigits(double number) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.15g", number);
  return text;
}

bool SameNumber(const Variant& written, const Variant& stored, const odbc::ColumnInfo& column) {
  if (stored.Kind() == VariantKind::Boolean || written.Kind() == VariantKind::Boolean) {
    return (ExactNumber(written) == DecimalNumber::FromInteger(0)) ==
           (ExactNumber(stored) == DecimalNumber::FromInteger(0));
  }
  if (stored.Kind() == VariantKind::Single || stored.Kind() == VariantKind::Double) {
    const double writtenNumber = written.Kind() == VariantKind::String
                                     ? ExactNumber(written).ToDouble()
                                     : written.ToDouble();
    // A float column keeps a single's precision where it is one, and a driver may carry a
    // double as text of the 15 digits a double always keeps.
    if (stored.Kind() == VariantKind::Single) {
      return static_cast<float>(writtenNumber) == static_cast<float>(stored.ToDouble());
    }
    const double storedNumber = stored.ToDouble();
    return writtenNumber == storedNumber ||
           SignificantDigits(writtenNumber) == SignificantDigits(storedNumber);
  }
  DecimalNumber number =
      written.Kind() == VariantKind::Double || written.Kind() == VariantKind::Single
          ? DecimalNumber::FromDouble(written.ToDouble())
          : ExactNumber(written);
  if (stored.Kind() == VariantKind::Decimal || stored.Kind() == VariantKind::Currency) {
    number = number.RoundedAwayFromZero(
        stored.Kind() == VariantKind::Currency ? 4 : static_cast<int>(column.decimalDigits));
  }
  return number == ExactNumber(stored);
}

bool SameDate(const Variant& written, const Variant& stored) {
  if (written.Kind() == VariantKind::String) {
    return SQLDateText(stored.AsDate()) == written.AsString();
  }
  return written.Kind() == VariantKind::Date && written.AsDate() == stored.AsDate();
}

}  // namespace

bool StoredAsWritten(const Variant& written, const Variant& stored,
                     const odbc::ColumnInfo& column) {
  if (written.IsEmpty()) return true;
  if (written.IsNull() || stored.IsNull()) return written.IsNull() && stored.IsNull();
  try {
    if (IsNumberKind(stored.Kind())) return SameNumber(written, stored, column);
    if (stored.Kind() == VariantKind::Date) return SameDate(written, stored);
    if (stored.Kind() == VariantKind::ByteArray) {
      return written.Kind() == VariantKind::ByteArray && written.AsBytes() == stored.AsBytes();
    }
    return WithoutPadding(written.ToText()) == WithoutPadding(stored.ToText());
  } catch (const RuntimeError&) {
    return false;  // a value that the column's kind cannot take is not what it holds
  }
}

std::string ShownValue(const Variant& value) {
  switch (value.Kind()) {
    case VariantKind::Null:
    case VariantKind::Empty:
      return "Null";
    case VariantKind::String:
      return "'" + value.AsString() + "'";
    case VariantKind::Date:
      return SQLDateText(value.AsDate());
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Single:
    case VariantKind::Double:
    case VariantKind::Currency:
    case VariantKind::Decimal:
    case VariantKind::Boolean:
    case VariantKind::Byte:
    case VariantKind::Error:
    case VariantKind::ByteArray:
    case VariantKind::Object:
      break;
  }
  return value.ToText();
}

}  // namespace mv
