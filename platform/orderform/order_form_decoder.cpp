// Checked decoder of the marshalled order form: every byte is checked, and a damaged form is
// reported with the byte position where the damage was found.
#include "platform/orderform/order_form_format.h"

#include <algorithm>
#include <string>

#include "platform/errors.h"
#include "platform/orderform/order_form_layout.h"
#include "platform/unicode.h"

namespace mv {
namespace {

using namespace order_form_layout;

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

std::shared_ptr<VariantObject> DecodeOrderForm(std::span<const std::uint8_t> marshalled,
                                               std::string_view orderId) {
  return Decoder(marshalled, orderId).OrderForm();
}

}  // namespace mv
