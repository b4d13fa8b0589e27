// The order-form dump over a real 2.2 ORDERLIST: the file's exact bytes.
#include "dump/dump_orderforms.h"

#include <gtest/gtest.h>

#include "platform/odbc/recordset.h"
#include "platform/orderform/order_form_format.h"
#include "platform/regional_settings.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/test_database.h"
#include "tools/sample_data/order_list_writer.h"

namespace mv {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::TestDatabase;

std::shared_ptr<VariantObject> Line(const std::string& sku, std::int32_t quantity) {
  auto line = VariantObject::NewDictionary();
  line->Set("SKU", Variant::String(sku));
  line->Set("Quantity", Variant::Long(quantity));
  return line;
}

class DumpOrderformsTest : public ::testing::Test {
 protected:
  void Store(const std::string& orderId, const VariantObject& orderForm) {
    AppendOrderListRows(*database_.Connect(), {{orderId, EncodeOrderForm(orderForm)}});
  }

  std::string Dump() {
    const auto& a = database_.Address();
    damaged_ = DumpOrderforms([] {
                 return DateTime{2026, 12, 8, 4, 10, 36};
               }).Dump(a.server, a.user, a.password, a.database, file_);
    return ReadFileBytes(file_);
  }

  ScopedRegionalSettings german_{{"%d.%m.%Y", "%H:%M:%S", ','}};
  TestDatabase database_{"source"};
  TempFolder folder_;
  std::string file_ = folder_.File("orderforms.txt");
  int damaged_ = -1;  // what the last Dump() answered
};

constexpr const char* kHeader = "Dumped on 08.12.2026 04:10:36\r\n\r\n";

TEST_F(DumpOrderformsTest, OrderFormWithTwoLinesAsTheOperatorSeesIt) {
  auto orderForm = VariantObject::NewDictionary();
  orderForm->Set("order_id", Variant::String("B-1002"));
  orderForm->Set("shopper_id", Variant::String("S-77"));
  auto items = VariantObject::NewList();
  items->Append(Variant::Object(Line("A-100", 2)));
  items->Append(Variant::Object(Line("B-200", 1)));
  orderForm->Set("Items", Variant::Object(items));
  Store("B-1002", *orderForm);

  const std::string pad40(40, ' '), pad47(47, ' '), pad42(42, ' ');
  EXPECT_EQ(Dump(), std::string(kHeader) + "order_id" + pad42 + "B-1002 [String]\r\n" +
                        "shopper_id" + pad40 + "S-77 [String]\r\n" + "Orderline 1\r\n\r\n" + "SKU" +
                        pad47 + "A-100 [String]\r\n" + "Quantity" + pad42 + "2 [Long]\r\n\r\n" +
                        "Orderline 2\r\n\r\n" + "SKU" + pad47 + "B-200 [String]\r\n" + "Quantity" +
                        pad42 + "1 [Long]\r\n\r\n\r\n\r\n");
}

TEST_F(DumpOrderformsTest, EmptyOrderListGivesOnlyTheHeader) { EXPECT_EQ(Dump(), kHeader); }

TEST_F(DumpOrderformsTest, KeyWidthAndRegionalTextsOfScalars) {
  auto orderForm = VariantObject::NewDictionary();
  orderForm->Set(std::string(50, 'k'), Variant::String("fits"));
  orderForm->Set(std::string(51, 'l'), Variant::String("long"));
  orderForm->Set("empty", Variant::String(""));
  orderForm->Set("price", Variant::Currency(129900));
  orderForm->Set("saved", Variant::Date(DateTime{2026, 1, 2, 0, 0, 0}));
  orderForm->Set("gift", Variant::Boolean(true));
  orderForm->Set("name", Variant::String("Müller €"));
  orderForm->Set("Größe", Variant::Integer(3));
  Store("B-1", *orderForm);
  // The dump file is in the system's narrow code page.
  EXPECT_EQ(Dump(), Utf8ToNarrow(std::string(kHeader) + std::string(50, 'k') + "fits [String]\r\n" +
                                 std::string(51, 'l') + " long [String]\r\n" + "empty" +
                                 std::string(45, ' ') + " [String]\r\n" + "price" +
                                 std::string(45, ' ') + "12,99 [Currency]\r\n" + "saved" +
                                 std::string(45, ' ') + "02.01.2026 [Date]\r\n" + "gift" +
                                 std::string(46, ' ') + "True [Boolean]\r\n" + "name" +
                                 std::string(46, ' ') + "Müller € [String]\r\n" + "Größe" +
                                 std::string(45, ' ') + "3 [Integer]\r\n\r\n\r\n"));
}

TEST_F(DumpOrderformsTest, OnlyTheExactKeyItemsGivesOrderLines) {
  auto orderForm = VariantObject::NewDictionary();
  auto list = VariantObject::NewList();
  list->Append(Variant::String("first"));
  list->Append(Variant::Long(7));
  orderForm->Set("items", Variant::Object(list));
  auto tags = VariantObject::NewDictionary();
  tags->Set("red", Variant::Long(1));
  orderForm->Set("tags", Variant::Object(tags));
  Store("B-2", *orderForm);
  EXPECT_EQ(Dump(), std::string(kHeader) + "   Value [first]\r\n   Value [7]\r\n" +
                        "   Value [red]\r\n\r\n\r\n");
}

TEST_F(DumpOrderformsTest, ValuesWithoutATextFormAreWrittenReadablyAndTheDumpGoesOn) {
  auto line = Line("A-1", 1);
  line->Set("options", Variant::Object(VariantObject::NewDictionary()));
  line->Set("note", Variant::Null());
  line->Set("raw", Variant::Bytes({0x0A, 0xFF}));
  line->Set("gift", Variant::Object(nullptr));
  line->Set("missing", Variant::Error(2042));
  auto items = VariantObject::NewList();
  items->Append(Variant::Object(line));
  auto tags = VariantObject::NewList();
  tags->Append(Variant::Object(nullptr));
  auto orderForm = VariantObject::NewDictionary();
  orderForm->Set("Items", Variant::Object(items));
  orderForm->Set("payment", Variant::Object(nullptr));
  orderForm->Set("tags", Variant::Object(tags));
  Store("B-3", *orderForm);
  Store("B-4", *VariantObject::NewDictionary());
  const std::string dump = Dump();
  EXPECT_NE(
      dump.find("options" + std::string(43, ' ') + "(Dictionary, 0 entries) [Dictionary]\r\n"),
      std::string::npos)
      << dump;
  EXPECT_NE(dump.find("note" + std::string(46, ' ') + "Null [Null]\r\n"), std::string::npos);
  EXPECT_NE(dump.find("raw" + std::string(47, ' ') + "0A FF [Byte()]\r\n"), std::string::npos);
  EXPECT_NE(dump.find("gift" + std::string(46, ' ') + "Nothing [Nothing]\r\n"), std::string::npos);
  EXPECT_NE(dump.find("missing" + std::string(43, ' ') + "Error 2042 [Error]\r\n"),
            std::string::npos);
  EXPECT_NE(dump.find("payment" + std::string(43, ' ') + "Nothing [Nothing]\r\n"),
            std::string::npos);
  EXPECT_NE(dump.find("   Value [Nothing]\r\n"), std::string::npos);
  EXPECT_EQ(dump.substr(dump.size() - 8), "\r\n\r\n\r\n\r\n") << "the second, empty form follows";
}

TEST_F(DumpOrderformsTest, ObjectsInOrderLinesCountOneEntryOrElementInTheSingular) {
  auto line = VariantObject::NewDictionary();
  for (int size : {0, 1, 2}) {
    auto dictionary = VariantObject::NewDictionary();
    auto list = VariantObject::NewList();
    for (int i = 0; i < size; ++i) {
      dictionary->Set("k" + std::to_string(i), Variant::Long(i));
      list->Append(Variant::Long(i));
    }
    line->Set("d" + std::to_string(size), Variant::Object(dictionary));
    line->Set("l" + std::to_string(size), Variant::Object(list));
  }
  auto items = VariantObject::NewList();
  items->Append(Variant::Object(line));
  auto orderForm = VariantObject::NewDictionary();
  orderForm->Set("Items", Variant::Object(items));
  Store("B-6", *orderForm);
  const std::string pad(48, ' ');
  EXPECT_EQ(Dump(), std::string(kHeader) + "Orderline 1\r\n\r\n" + "d0" + pad +
                        "(Dictionary, 0 entries) [Dictionary]\r\n" + "l0" + pad +
                        "(SimpleList, 0 elements) [SimpleList]\r\n" + "d1" + pad +
                        "(Dictionary, 1 entry) [Dictionary]\r\n" + "l1" + pad +
                        "(SimpleList, 1 element) [SimpleList]\r\n" + "d2" + pad +
                        "(Dictionary, 2 entries) [Dictionary]\r\n" + "l2" + pad +
                        "(SimpleList, 2 elements) [SimpleList]\r\n\r\n\r\n\r\n");
}

TEST_F(DumpOrderformsTest, SecondDumpReplacesTheFirst) {
  auto orderForm = VariantObject::NewDictionary();
  orderForm->Set("order_id", Variant::String("B-5"));
  Store("B-5", *orderForm);
  const std::string first = Dump();
  database_.Connect()->Execute("delete from orderlist");
  EXPECT_EQ(Dump(), kHeader);
  EXPECT_NE(first, kHeader);
}

TEST_F(DumpOrderformsTest, DamagedOrderFormsAreWrittenAsTheirDamageBetweenTheValidOnes) {
  const auto form = [](const std::string& id) {
    auto orderForm = VariantObject::NewDictionary();
    orderForm->Set("order_id", Variant::String(id));
    return EncodeOrderForm(*orderForm);
  };
  auto truncated = form("B-4");
  truncated.resize(6);
  AppendOrderListRows(
      *database_.Connect(),
      {{"B-1", form("B-1")}, {"B-2", {1, 2, 3}}, {"B-3", form("B-3")}, {"B-4", truncated}});

  const std::string dump = Dump();

  EXPECT_EQ(damaged_, 2);
  const std::string pad42(42, ' ');
  EXPECT_EQ(dump,
            std::string(kHeader) + "order_id" + pad42 + "B-1 [String]\r\n\r\n\r\n" + "order_id" +
                pad42 + "B-2 [String]\r\n" +
                "Order form 'B-2' is damaged: it ends at byte 3, inside the order-form marker "
                "that starts at byte 0\r\n\r\n\r\n" +
                "order_id" + pad42 + "B-3 [String]\r\n\r\n\r\n" + "order_id" + pad42 +
                "B-4 [String]\r\n" +
                "Order form 'B-4' is damaged: it ends at byte 6, inside a value tag that "
                "starts at byte 6\r\n\r\n\r\n");
}

TEST_F(DumpOrderformsTest, RowsWithoutAnIdAreNamedByTheirPlaceAndCountedWithTheDamaged) {
  // A shop's table may lack the key's NOT NULL.
  const auto connection = database_.Connect();
  connection->Execute("drop table orderlist");
  connection->Execute(
      std::string("create table orderlist (order_id varchar(50), marshalled_order ") +
      (database_.GetEngine() == setup::Engine::Sqlite ? "blob)" : "bytea)"));
  auto orderForm = VariantObject::NewDictionary();
  orderForm->Set("shopper_id", Variant::String("S-1"));
  {
    Recordset list(*connection, "select * from orderlist");
    for (const Variant& marshalled :
         {Variant::Bytes(EncodeOrderForm(*orderForm)), Variant::Null()}) {
      list.AddNew();
      list.SetField("order_id", Variant::Null());
      list.SetField("marshalled_order", marshalled);
    }
    list.UpdateBatch();
  }
  Store("B-3", *orderForm);

  const std::string shopper = "shopper_id" + std::string(40, ' ') + "S-1 [String]\r\n";
  EXPECT_EQ(Dump(), std::string(kHeader) + "(no id, row 1)\r\n" + shopper + "\r\n\r\n" +
                        "(no id, row 2)\r\n" +
                        "Order form '(no id, row 2)' is damaged: it holds no data\r\n\r\n\r\n" +
                        shopper + "\r\n\r\n");
  EXPECT_EQ(damaged_, 2);
}

TEST_F(DumpOrderformsTest, WritesIntoAFolderNamedBeyondAnyCodePage) {
  const std::string folder = folder_.File("Grüße 日本 \U0001F600");
  std::filesystem::create_directory(PathFromUtf8(folder));
  file_ = Utf8FromPath(PathFromUtf8(folder) / "orderforms.txt");
  EXPECT_EQ(Dump(), kHeader);
}

TEST(DumpOrderformsFailureTest, MissingOrderListWritesNoFile) {
  TestDatabase empty;
  TempFolder folder;
  const std::string file = folder.File("orderforms.txt");
  const auto& a = empty.Address();
  EXPECT_THROW(DumpOrderforms().Dump(a.server, a.user, a.password, a.database, file), RuntimeError);
  EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(file)));
}

}  // namespace
}  // namespace mv
