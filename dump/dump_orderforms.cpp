// DumpOrderforms: the order-form dump, entry by entry, with each value's text and type name.
#include "dump/dump_orderforms.h"

#include <utility>

#include "driver/convert_functions.h"
#include "driver/escaped_error.h"
#include "driver/open_order_form_storage.h"
#include "platform/errors.h"
#include "platform/odbc/row_reader.h"
#include "platform/orderform/order_form_format.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

constexpr size_t kKeyWidth = 50;

/// True for an object value that refers to an object; false for scalars and for Nothing, which
/// the dump writes as a value of its own.
bool HoldsObject(const Variant& value) { return value.IsObject() && value.ObjectPointer(); }

/// The text of a value as the dump shows it: the runtime's text where the value has one;
/// otherwise a readable stand-in ("Null", "Nothing", the bytes in hexadecimal, the object's
/// class and size), so that no value stops the dump.
std::string ValueText(const Variant& value) {
  switch (value.Kind()) {
    case VariantKind::Null:
      return "Null";
    case VariantKind::Error:
      return "Error " + std::to_string(value.AsErrorCode());
    case VariantKind::ByteArray: {
      static const char* digits = "0123456789ABCDEF";
      std::string text;
      for (std::uint8_t byte : value.AsBytes()) {
        if (!text.empty()) text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 15];
      }
      return text;
    }
    case VariantKind::Object: {
      if (!HoldsObject(value)) return "Nothing";
      const VariantObject& object = value.AsObject();
      const bool dictionary = object.GetShape() == VariantObject::Shape::Dictionary;
      const size_t size = dictionary ? object.Entries().size() : object.Elements().size();
      const char* noun = dictionary ? (size == 1 ? " entry)" : " entries)")
                                    : (size == 1 ? " element)" : " elements)");
      return "(" + object.ClassName() + ", " + std::to_string(size) + noun;
    }
    case VariantKind::Empty:
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Single:
    case VariantKind::Double:
    case VariantKind::Currency:
    case VariantKind::Date:
    case VariantKind::String:
    case VariantKind::Boolean:
    case VariantKind::Byte:
    case VariantKind::Decimal:
      break;
  }
  return value.ToText();
}

/// The key, padded with blanks to 50 characters (a longer key is followed by one blank), the
/// value's text and its type name in brackets.
void WriteKeyValueLine(const std::string& key, const Variant& value, TextWriter& stream) {
  const size_t characters = Utf8ToUtf32(key).size();
  const size_t blanks = characters < kKeyWidth ? kKeyWidth - characters : characters > kKeyWidth;
  const std::string padding(blanks, ' ');
  stream.WriteLine(key + padding + ValueText(value) + " [" + value.TypeName() + "]");
}

}  // namespace

DumpOrderforms::DumpOrderforms(std::function<DateTime()> clock) : clock_(std::move(clock)) {}

int DumpOrderforms::Dump(const std::string& SDBServer, const std::string& SUser,
                         const std::string& SPassword, const std::string& SDB,
                         const std::string& sFileName) {
  auto connection = OpenSourceConnection(SDBServer, SUser, SPassword, SDB);
  // Read forward, one row at a time, and each order form decoded from the row read: a shop
  // of any size is dumped in bounded memory.
  RowReader orderList(*connection, "select * from orderlist");
  TextWriter stream(PathFromUtf8(sFileName), TextWriter::Mode::Overwrite);
  const DateTime now = clock_();
  stream.WriteLine("Dumped on " + ShortDateText(now) + " " + LongTimeText(now));
  stream.WriteBlankLines(1);
  auto storage = OpenOrderFormStorage(SDBServer, SUser, SPassword, SDB, stream);
  int damaged = 0;
  for (int row = 1; orderList.Next(); ++row) {
    if (!storage) {
      throw errors::ObjectNotSet();
    }
    // A row without an id is named by its place in the list, and counted with the damaged
    // forms: it cannot be migrated.
    const Variant& orderId = orderList.Row().Field("order_id");
    const std::string noId = "(no id, row " + std::to_string(row) + ")";
    if (orderId.IsNull()) {
      stream.WriteLine(noId);
      ++damaged;
    }
    std::shared_ptr<const VariantObject> orderForm;
    try {
      orderForm = storage->DataOf(orderList.Row(), noId);
    } catch (const RuntimeError& error) {
      if (error.Number() != errors::kOrderFormDamaged) throw;
      if (!orderId.IsNull()) {
        WriteKeyValueLine("order_id", orderId, stream);
        ++damaged;
      }
      stream.WriteLine(DescriptionOf(error));
      stream.WriteBlankLines(2);
      continue;
    }
    for (const auto& [key, value] : orderForm->Entries()) {
      if (!HoldsObject(value)) {
        WriteKeyValueLine(key, value, stream);
      } else if (key == "Items") {
        DumpOrderlines(value, stream);
      } else {
        DumpValues(value, stream);
      }
    }
    stream.WriteBlankLines(2);
  }
  stream.Close();
  return damaged;
}

void DumpOrderforms::DumpOrderlines(const Variant& lines, TextWriter& stream) {
  const VariantObject& list = lines.AsObject();
  std::vector<Variant> elements = list.Elements();
  if (list.GetShape() == VariantObject::Shape::Dictionary) {
    elements.clear();
    for (const auto& entry : list.Entries()) elements.push_back(entry.second);
  }
  int n = 1;
  for (const Variant& line : elements) {
    stream.WriteLine("Orderline " + std::to_string(n));
    stream.WriteBlankLines(1);
    DumpOrderline(line, stream);
    stream.WriteBlankLines(1);
    ++n;
  }
}

void DumpOrderforms::DumpOrderline(const Variant& line, TextWriter& stream) {
  if (!HoldsObject(line) || line.AsObject().GetShape() != VariantObject::Shape::Dictionary) {
    stream.WriteLine("   Value [" + ValueText(line) + "]");
    return;
  }
  for (const auto& [key, value] : line.AsObject().Entries()) WriteKeyValueLine(key, value, stream);
}

void DumpOrderforms::DumpValues(const Variant& object, TextWriter& stream) {
  const VariantObject& values = object.AsObject();
  if (values.GetShape() == VariantObject::Shape::Dictionary) {
    // Enumerating a dictionary yields its keys.
    for (const auto& entry : values.Entries()) stream.WriteLine("   Value [" + entry.first + "]");
    return;
  }
  for (const Variant& element : values.Elements()) {
    stream.WriteLine("   Value [" + ValueText(element) + "]");
  }
}

}  // namespace mv
