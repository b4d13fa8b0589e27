// The order-form storage over a real source database, and OpenOrderFormStorage's report when
// the storage cannot be initialised.
#include "platform/orderform/order_form_storage.h"

#include <gtest/gtest.h>

#include "driver/convert_functions.h"
#include "driver/open_order_form_storage.h"
#include "platform/errors.h"
#include "platform/odbc/row_reader.h"
#include "platform/orderform/order_form_format.h"
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

std::shared_ptr<VariantObject> Basket(const std::string& id) {
  auto form = VariantObject::NewDictionary();
  form->Set("order_id", Variant::String(id));
  form->Set("order_name", Variant::String("Müller €"));
  form->Set("Items", Variant::Object(VariantObject::NewList()));
  return form;
}

std::unique_ptr<OrderFormStorage> OpenStorage(const TestDatabase& source, TextWriter& stream) {
  const auto& a = source.Address();
  return OpenOrderFormStorage(a.server, a.user, a.password, a.database, stream);
}

class OrderFormStorageTest : public ::testing::Test {
 protected:
  OrderFormStorageTest() : log_(folder_.File("storage.log"), TextWriter::Mode::Append) {}

  /// The order id and name of each ORDERLIST row's order form as `storage` decodes it, or the
  /// description of the form's error, in the order of the rows' ids. The rows are read here,
  /// with a connection of the test's own.
  std::vector<std::string> DecodedForms(const OrderFormStorage& storage) {
    const auto connection = source_.Connect();
    RowReader rows(*connection, "SELECT * FROM ORDERLIST ORDER BY ORDER_ID");
    std::vector<std::string> results;
    while (rows.Next()) {
      try {
        const auto form = storage.DataOf(rows.Row());
        results.push_back(form->Get("order_id").AsString() + ": " +
                          form->Get("ORDER_NAME").AsString());
      } catch (const RuntimeError& error) {
        results.push_back(error.Description());
      }
    }
    return results;
  }

  TestDatabase source_{"source"};
  TempFolder folder_;
  TextWriter log_;
};

TEST_F(OrderFormStorageTest, DecodesTheOrderFormOfEachRow) {
  AppendOrderListRows(*source_.Connect(), {{"B-1", EncodeOrderForm(*Basket("B-1"))},
                                           {"O'Neil-2", EncodeOrderForm(*Basket("O'Neil-2"))}});
  const auto storage = OpenStorage(source_, log_);
  ASSERT_NE(storage, nullptr);
  EXPECT_EQ(DecodedForms(*storage),
            (std::vector<std::string>{"B-1: Müller €", "O'Neil-2: Müller €"}));
  log_.Close();
  EXPECT_EQ(ReadFileBytes(folder_.File("storage.log")), "");
}

TEST_F(OrderFormStorageTest, NullAndDamagedRowsAreErrorsNamingTheOrder) {
  auto cut = EncodeOrderForm(*Basket("B-2"));
  cut.resize(6);
  AppendOrderListRows(*source_.Connect(), {{"B-2", cut}});
  source_.Connect()->Execute("INSERT INTO ORDERLIST (ORDER_ID) VALUES ('B-3')");
  const auto storage = OpenStorage(source_, log_);
  ASSERT_NE(storage, nullptr);
  EXPECT_EQ(DecodedForms(*storage),
            (std::vector<std::string>{
                "Order form 'B-2' is damaged: it ends at byte 6, inside a value tag that starts "
                "at byte 6",
                "Order form 'B-3' is damaged: it holds no data"}));
}

TEST(OpenOrderFormStorageTest, StorageThatCannotReachItsTableWritesTheFourLines) {
  TestDatabase source;  // no ORDERLIST with a MARSHALLED_ORDER column
  source.Connect()->Execute("CREATE TABLE ORDERLIST (ORDER_ID VARCHAR(50) NOT NULL PRIMARY KEY)");
  TempFolder folder;
  TextWriter log(folder.File("storage.log"), TextWriter::Mode::Append);
  log.WriteLine("before");
  EXPECT_EQ(OpenStorage(source, log), nullptr);
  log.Close();
  EXPECT_EQ(
      ReadFileBytes(folder.File("storage.log")),
      Utf8ToNarrow("before\r\n"
                   "The SiteServer DLLs were not registed. Please check if you registered the "
                   "required DLLs.\r\n"
                   "\u00B7   Commerce - MSCSCore Type Library (installed in \"C:\\Microsoft Site "
                   "Server\\bin\\MscsCore.dll\")\r\n"
                   "\u00B7   Commerce 1.0 Type Library (installed in \"C:\\Microsoft Site "
                   "Server\\bin\\Commerce.dll\")\r\n"
                   "\u00B7   Mscsresource.dll\r\n"));
}

TEST(OpenOrderFormStorageTest, OnlyOrderFormsCanBeStored) {
  TestDatabase source("source");
  OrderFormStorage storage;
  const auto& a = source.Address();
  try {
    storage.InitStorage(BuildConnectionString(a.server, a.user, a.password, a.database),
                        "ORDERLIST", "ORDER_ID", "Commerce.Dictionary", "MARSHALLED_ORDER", "");
    ADD_FAILURE() << "initialised for another class";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 429);
  }
  // Not initialised: no row's form can be decoded.
  const auto connection = source.Connect();
  AppendOrderListRows(*connection, {{"B-1", EncodeOrderForm(*Basket("B-1"))}});
  RowReader rows(*connection, "SELECT * FROM ORDERLIST");
  ASSERT_TRUE(rows.Next());
  try {
    storage.DataOf(rows.Row());
    ADD_FAILURE() << "decoded without a storage";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), errors::kObjectNotSet);
  }
}

}  // namespace
}  // namespace mv
