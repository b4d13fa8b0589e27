// Encoder and checked decoder of the marshalled order form.
#include "platform/orderform/order_form_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <string>

#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

constexpr std::array<std::uint8_t, 4> kMarker = {'M', 'V', 'O', 'F'};
constexpr std::uint16_t kFormatVersion = 1;

/// The tag in front of every value. Numbers are part of the stored format: never renumber.
enum class Tag : std::uint8_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Boolean = 9,
  Byte = 10,
  Decimal = 11,
  Error = 12,
  ByteArray = 13,
  Dictionary = 14,
  List = 15,
  Nothing = 16,  // an object reference that is not set
};
constexpr std::uint8_t kLastTag = static_cast<std::uint8_t>(Tag::Nothing);

bool IsValidDate(const DateTime& date) {
  if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12) return false;
  const std::chrono::year_month_day day{std::chrono::year{date.year},
                                        std::chrono::month{static_cast<unsigned>(date.month)},
                                        std::chrono::day{static_cast<unsigned>(date.day)}};
  return day.ok() && date.hour >= 0 && date.hour < 24 && date.minute >= 0 && date.minute < 60 &&
         date.second >= 0 && date.second < 60;
}

/// An optional sign, digits and an optional '.' with digits; at least one digit.
bool IsValidDecimalText(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  bool anyDigit = false;
  bool point = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      anyDigit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return anyDigit;
}

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
      default:
        break;  // the other kinds are written by Value
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

class Decoder {
 public:
  Decoder(std::span<const std::uint8_t> bytes, std::string_view orderId)
      : bytes_(bytes), orderId_(orderId) {}

  std::shared_ptr<VariantObject> OrderForm() {
    const auto marker = Take(kMarker.size(), "the order-form marker");
    if (!std::equal(marker.begin(), marker.end(), kMarker.begin())) {
      Fail("it does not start with the order-form marker");
    }
    const auto version = static_cast<std::uint16_t>(Unsigned(2, "the format version"));
    if (version != kFormatVersion) {
      Fail("format version " + std::to_string(version) + " is not supported (version " +
           std::to_string(kFormatVersion) + " is)");
    }
    const std::size_t rootAt = position_;
    if (TakeTag() != Tag::Dictionary)
      Fail("the value at byte " + std::to_string(rootAt) + " is no dictionary");
    auto orderForm = Dictionary(1);
    if (position_ != bytes_.size()) {
      Fail(std::to_string(bytes_.size() - position_) + " unexpected bytes follow at byte " +
           std::to_string(position_));
    }
    return orderForm;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw errors::OrderFormDamaged(std::string(orderId_), what);
  }

  std::span<const std::uint8_t> Take(std::size_t count, const char* what) {
    if (count > bytes_.size() - position_) {
      Fail("it ends at byte " + std::to_string(bytes_.size()) + ", inside " + what +
           " that starts at byte " + std::to_string(position_));
    }
    const auto taken = bytes_.subspan(position_, count);
    position_ += count;
    return taken;
  }

  std::uint64_t Unsigned(std::size_t size, const char* what) {
    const auto taken = Take(size, what);
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= std::uint64_t{taken[i]} << (8 * i);
    return value;
  }

  /// A count or length; each counted item takes at least one byte, so a count beyond the
  /// bytes left is refused before anything is reserved for it.
  std::size_t Count(const char* what) {
    const std::size_t at = position_;
    const auto count = static_cast<std::size_t>(Unsigned(4, what));
    if (count > bytes_.size() - position_) {
      Fail(std::string(what) + " of " + std::to_string(count) + " at byte " + std::to_string(at) +
           " reaches past the end (" + std::to_string(bytes_.size() - position_) + " bytes left)");
    }
    return count;
  }

  Tag TakeTag() {
    const std::size_t at = position_;
    const auto tag = static_cast<std::uint8_t>(Unsigned(1, "a value tag"));
    if (tag > kLastTag)
      Fail("unknown value tag " + std::to_string(tag) + " at byte " + std::to_string(at));
    return static_cast<Tag>(tag);
  }

  std::string Text(const char* what) {
    const std::size_t at = position_;
    const auto taken = Take(Count(what), what);
    std::string text(taken.begin(), taken.end());
    if (!IsValidUtf8(text))
      Fail(std::string(what) + " at byte " + std::to_string(at) + " is not valid UTF-8");
    return text;
  }

  std::shared_ptr<VariantObject> Dictionary(int depth) {
    auto dictionary = VariantObject::NewDictionary();
    const std::size_t count = Count("a dictionary's entry count");
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t at = position_;
      std::string key = Text("a key");
      if (dictionary->Contains(key)) {
        Fail("the key '" + key + "' at byte " + std::to_string(at) + " appears twice");
      }
      dictionary->Set(key, Value(depth));
    }
    return dictionary;
  }

  std::shared_ptr<VariantObject> List(int depth) {
    auto list = VariantObject::NewList();
    const std::size_t count = Count("a list's element count");
    for (std::size_t i = 0; i < count; ++i) list->Append(Value(depth));
    return list;
  }

  Variant Value(int depth) {
    const std::size_t at = position_;
    switch (TakeTag()) {
      case Tag::Empty:
        return Variant();
      case Tag::Null:
        return Variant::Null();
      case Tag::Integer:
        return Variant::Integer(static_cast<std::int16_t>(Unsigned(2, "an Integer")));
      case Tag::Long:
        return Variant::Long(static_cast<std::int32_t>(Unsigned(4, "a Long")));
      case Tag::Single:
        return Variant::Single(
            std::bit_cast<float>(static_cast<std::uint32_t>(Unsigned(4, "a Single"))));
      case Tag::Double:
        return Variant::Double(std::bit_cast<double>(Unsigned(8, "a Double")));
      case Tag::Currency:
        return Variant::Currency(static_cast<std::int64_t>(Unsigned(8, "a Currency")));
      case Tag::Date:
        return Date(at);
      case Tag::String:
        return Variant::String(Text("a String"));
      case Tag::Boolean: {
        const auto flag = Unsigned(1, "a Boolean");
        if (flag > 1)
          Fail("a Boolean at byte " + std::to_string(at) + " holds " + std::to_string(flag));
        return Variant::Boolean(flag == 1);
      }
      case Tag::Byte:
        return Variant::Byte(static_cast<std::uint8_t>(Unsigned(1, "a Byte")));
      case Tag::Decimal: {
        const std::string text = Text("a Decimal");
        if (!IsValidDecimalText(text))
          Fail("the Decimal at byte " + std::to_string(at) + " is no number");
        try {
          return Variant::Decimal(text);
        } catch (const RuntimeError&) {
          Fail("the Decimal at byte " + std::to_string(at) + " is beyond the Decimal range");
        }
      }
      case Tag::Error:
        return Variant::Error(static_cast<std::int32_t>(Unsigned(4, "an Error")));
      case Tag::ByteArray: {
        const auto taken = Take(Count("a byte array"), "a byte array");
        return Variant::Bytes(std::vector<std::uint8_t>(taken.begin(), taken.end()));
      }
      case Tag::Dictionary:
        return Variant::Object(Dictionary(Deeper(depth, at)));
      case Tag::List:
        return Variant::Object(List(Deeper(depth, at)));
      case Tag::Nothing:
        return Variant::Object(nullptr);
    }
    Fail("unknown value tag at byte " + std::to_string(at));  // unreachable: TakeTag checks
  }

  int Deeper(int depth, std::size_t at) const {
    if (depth >= kMaxOrderFormDepth) {
      Fail("objects are nested deeper than " + std::to_string(kMaxOrderFormDepth) +
           " levels at byte " + std::to_string(at));
    }
    return depth + 1;
  }

  Variant Date(std::size_t at) {
    DateTime date;
    date.year = static_cast<int>(Unsigned(2, "a Date"));
    for (int* part : {&date.month, &date.day, &date.hour, &date.minute, &date.second}) {
      *part = static_cast<int>(Unsigned(1, "a Date"));
    }
    if (!IsValidDate(date))
      Fail("the Date at byte " + std::to_string(at) + " is outside the calendar");
    return Variant::Date(date);
  }

  std::span<const std::uint8_t> bytes_;
  std::string_view orderId_;
  std::size_t position_ = 0;
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

std::shared_ptr<VariantObject> DecodeOrderForm(std::span<const std::uint8_t> marshalled,
                                               std::string_view orderId) {
  return Decoder(marshalled, orderId).OrderForm();
}

}  // namespace mv
