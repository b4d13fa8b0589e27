// Encoder of the marshalled order form: a dictionary and everything in it as tagged values.
#include "platform/orderform/order_form_format.h"

#include <bit>
#include <string>

#include "platform/errors.h"
#include "platform/orderform/order_form_layout.h"
#include "platform/unicode.h"

namespace mv {
namespace {

using namespace order_form_layout;

[[noreturn]] void ThrowNotStorable(const std::string& what) {
  throw errors::OrderFormNotStorable(what);
}

class Encoder {
 public:
  /// Starts with the marker and the format version.
  Encoder() : bytes_(kMarker.begin(), kMarker.end()) { Unsigned(kFormatVersion, 2); }

  std::vector<std::uint8_t> Finish() { return std::move(bytes_); }

  void Object(const VariantObject& object, int depth) {
    if (depth > kMaxOrderFormDepth) {
      ThrowNotStorable("objects are nested deeper than " + std::to_string(kMaxOrderFormDepth) +
                       " levels");
    }
    if (object.GetShape() == VariantObject::Shape::Dictionary) {
      Put(Tag::Dictionary);
      Count(object.Entries().size());
      for (const auto& [key, value] : object.Entries()) {
        Text(key);
        Value(value, depth);
      }
    } else {
      Put(Tag::List);
      Count(object.Elements().size());
      for (const Variant& element : object.Elements()) Value(element, depth);
    }
  }

 private:
  void Value(const Variant& value, int depth) {
    switch (value.Kind()) {
      case VariantKind::Empty:
        Put(Tag::Empty);
        break;
      case VariantKind::Null:
        Put(Tag::Null);
        break;
      case VariantKind::Date:
        Date(value.AsDate());
        break;
      case VariantKind::String:
        Put(Tag::String);
        Text(value.AsString());
        break;
      case VariantKind::Decimal:
        Put(Tag::Decimal);
        Text(value.AsDecimalText());
        break;
      case VariantKind::ByteArray:
        Put(Tag::ByteArray);
        Count(value.AsBytes().size());
        bytes_.insert(bytes_.end(), value.AsBytes().begin(), value.AsBytes().end());
        break;
      case VariantKind::Object:
        if (const auto object = value.ObjectPointer()) {
          Object(*object, depth + 1);
        } else {
          Put(Tag::Nothing);
        }
        break;
      case VariantKind::Integer:
      case VariantKind::Long:
      case VariantKind::Single:
      case VariantKind::Double:
      case VariantKind::Currency:
      case VariantKind::Boolean:
      case VariantKind::Byte:
      case VariantKind::Error:
        FixedWidth(value);
        break;
    }
  }

  // A value of a kind that is stored as its tag and a little-endian number of fixed width.
  void FixedWidth(const Variant& value) {
    switch (value.Kind()) {
      case VariantKind::Integer:
        Put(Tag::Integer);
        Unsigned(static_cast<std::uint16_t>(value.ToInteger()), 2);
        break;
      case VariantKind::Long:
        Put(Tag::Long);
        Unsigned(static_cast<std::uint32_t>(value.ToLong()), 4);
        break;
      case VariantKind::Single:
        Put(Tag::Single);
        Unsigned(std::bit_cast<std::uint32_t>(static_cast<float>(value.ToDouble())), 4);
        break;
      case VariantKind::Double:
        Put(Tag::Double);
        Unsigned(std::bit_cast<std::uint64_t>(value.ToDouble()), 8);
        break;
      case VariantKind::Currency:
        Put(Tag::Currency);
        Unsigned(static_cast<std::uint64_t>(value.AsCurrencyScaled()), 8);
        break;
      case VariantKind::Boolean:
        Put(Tag::Boolean);
        Unsigned(value.ToBoolean() ? 1 : 0, 1);
        break;
      case VariantKind::Byte:
        Put(Tag::Byte);
        Unsigned(static_cast<std::uint64_t>(value.ToInteger()), 1);
        break;
      case VariantKind::Error:
        Put(Tag::Error);
        Unsigned(static_cast<std::uint32_t>(value.AsErrorCode()), 4);
        break;
      case VariantKind::Empty:
      case VariantKind::Null:
      case VariantKind::Date:
      case VariantKind::String:
      case VariantKind::Decimal:
      case VariantKind::ByteArray:
      case VariantKind::Object:
        break;  // written by Value
    }
  }

  void Date(const DateTime& date) {
    if (!IsValidDate(date)) ThrowNotStorable("a date outside the calendar");
    Put(Tag::Date);
    Unsigned(static_cast<std::uint16_t>(date.year), 2);
    for (int part : {date.month, date.day, date.hour, date.minute, date.second}) {
      Unsigned(static_cast<std::uint8_t>(part), 1);
    }
  }

  void Text(std::string_view text) {
    if (!IsValidUtf8(text)) ThrowNotStorable("a text that is not valid UTF-8");
    Count(text.size());
    bytes_.insert(bytes_.end(), text.begin(), text.end());
  }

  void Count(std::size_t count) {
    if (count > UINT32_MAX) ThrowNotStorable("a value too large for the format");
    Unsigned(count, 4);
  }

  void Put(Tag tag) { bytes_.push_back(static_cast<std::uint8_t>(tag)); }

  /// `size` bytes of `value`, least significant first.
  void Unsigned(std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }

  std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::vector<std::uint8_t> EncodeOrderForm(const VariantObject& orderForm) {
  if (orderForm.GetShape() != VariantObject::Shape::Dictionary) {
    ThrowNotStorable("an order form is a dictionary");
  }
  Encoder encoder;
  encoder.Object(orderForm, 1);
  return encoder.Finish();
}

}  // namespace mv
