// Whole basket migrations on real source and target databases: target rows, log text and
// answer, reruns, failures in the middle of a run and a storage that cannot be initialised.
#include "converters/baskets/convert_baskets.h"

#include <gtest/gtest.h>

#include "driver/global_convert.h"
#include "platform/odbc/recordset.h"
#include "platform/orderform/order_form_format.h"
#include "platform/regional_settings.h"
#include "platform/unicode.h"
#include "platform/utilities/sql_encode.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/test_database.h"
#include "tools/sample_data/order_list_writer.h"

namespace mv {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::TestDatabase;

constexpr DateTime kOrderDate{2002, 3, 4, 5, 6, 7};

DateTime RequestDate(int line) { return {2002, 4, line, 0, 0, 0}; }

/// A line that passes the validation, not configurable.
std::shared_ptr<VariantObject> Line(int number) {
  auto line = VariantObject::NewDictionary();
  line->Set("SKU", Variant::String("A-" + std::to_string(number)));
  line->Set("Quantity", Variant::Long(number));
  line->Set("request_date", Variant::Date(RequestDate(number)));
  line->Set("configurable", Variant::Null());
  line->Set("config_id", Variant::Null());
  line->Set("config_complete", Variant::Null());
  return line;
}

std::shared_ptr<VariantObject> Basket(const std::string& id,
                                      const std::vector<std::shared_ptr<VariantObject>>& lines) {
  auto form = VariantObject::NewDictionary();
  form->Set("order_id", Variant::String(id));
  form->Set("order_name", Variant::String("Basket " + id));
  form->Set("order_date", Variant::Date(kOrderDate));
  form->Set("currency_code", Variant::String("EUR"));
  form->Set("shopper_id", Variant::String("S-77"));
  form->Set("user_locale", Variant::Long(1031));
  form->Set("business_partner_id", Variant::Long(12));
  auto items = VariantObject::NewList();
  for (const auto& line : lines) items->Append(Variant::Object(line));
  form->Set("Items", Variant::Object(items));
  return form;
}

std::shared_ptr<VariantObject> ValidBasket(const std::string& id, int lineCount) {
  std::vector<std::shared_ptr<VariantObject>> lines;
  for (int number = 1; number <= lineCount; ++number) lines.push_back(Line(number));
  return Basket(id, lines);
}

/// One row per result row, each the row's values in column order.
std::vector<std::vector<Variant>> Rows(Connection& connection, const std::string& sql) {
  Recordset result(connection, sql);
  std::vector<std::vector<Variant>> rows;
  for (; !result.Eof(); result.MoveNext()) {
    std::vector<Variant>& row = rows.emplace_back();
    for (const auto& name : result.FieldNames()) row.push_back(result.Field(name));
  }
  return rows;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return Utf8ToNarrow(text);
}

class ConvertBasketsTest : public ::testing::Test {
 protected:
  ConvertBasketsTest() : values_(testing::ValuesFor(source_, target_)) {}

  /// Stores the order forms under their own order ids, in this order.
  void Store(const std::vector<std::shared_ptr<VariantObject>>& forms) {
    std::vector<OrderListRow> rows;
    for (const auto& form : forms) {
      rows.push_back({form->Get("order_id").ToText(), EncodeOrderForm(*form)});
    }
    AppendOrderListRows(*source_.Connect(), rows);
  }

  /// One run of the converter, appending to the test's log.
  bool Run() {
    TextWriter log(logPath_, TextWriter::Mode::Append);
    ConvertBaskets converter;
    const bool result = converter.Convert(values_, log);
    log.Close();
    return result;
  }

  std::string Log() const { return ReadFileBytes(logPath_); }

  std::string Summary(int converted) const {
    return std::to_string(converted) + " saved baskets copied/converted to " + values_.TDB +
           "-database on " + values_.TDBServer + "-SQL Server.";
  }

  std::vector<std::vector<Variant>> Target(const std::string& sql) const {
    return Rows(*target_.Connect(), sql);
  }

  std::vector<std::string> HeaderIds() const {
    std::vector<std::string> ids;
    for (const auto& row : Target("SELECT BASKETID FROM BASKETHEADER ORDER BY BASKETID")) {
      ids.push_back(row[0].AsString());
    }
    return ids;
  }

  TestDatabase source_{"source"};
  TestDatabase target_{"target"};
  ConnectionValues values_;
  TempFolder folder_;
  std::string logPath_ = folder_.File("Vantrel23Conversion.log");
};

TEST_F(ConvertBasketsTest, ValidBasketBecomesHeaderAndNumberedLines) {
  auto configured = Line(1);
  configured->Set("configurable", Variant::Boolean(true));
  configured->Set("config_id", Variant::String("CFG-1"));
  auto staleConfiguration = Line(2);
  staleConfiguration->Set("config_id", Variant::String("CFG-2"));
  staleConfiguration->Set("config_complete", Variant::Boolean(true));
  auto complete = Line(3);
  complete->Set("configurable", Variant::Boolean(false));
  complete->Set("config_complete", Variant::Boolean(true));
  auto basket = Basket("B-1001", {configured, staleConfiguration, complete});
  basket->Set("order_name", Variant::String("Müller's € basket"));
  Store({basket});

  EXPECT_TRUE(Run());

  const auto header = Target(
      "SELECT BASKETID, BASKETNAME, BASKETDATE, CURRENCYCODE, USERID, USERLOCALE, "
      "BUSINESSPARTNERID FROM BASKETHEADER");
  ASSERT_EQ(header.size(), 1u);
  EXPECT_EQ(header[0][0].AsString(), "B-1001");
  EXPECT_EQ(header[0][1].AsString(), "Müller's € basket");
  EXPECT_EQ(header[0][2].AsDate(), kOrderDate);
  EXPECT_EQ(header[0][3].AsString(), "EUR");
  EXPECT_EQ(header[0][4].AsString(), "S-77");
  EXPECT_EQ(header[0][5].ToLong(), 1031);
  EXPECT_EQ(header[0][6].ToLong(), 12);

  const auto lines = Target(
      "SELECT BASKETID, BASKETLINENR, SKU, QUANTITY, REQUESTDATE, PRODUCTCONFIGURABLE, "
      "PRODUCTCONFIGID, PRODUCTCONFIGCOMPLETE FROM BASKETLINE ORDER BY BASKETLINENR");
  ASSERT_EQ(lines.size(), 3u);
  // Configurable with Null completion; Null configurable whatever the other two hold;
  // configurable False with completion True.
  const std::vector<std::tuple<int, std::string, int, int, std::string, int>> expected = {
      {1, "A-1", 1, -1, "CFG-1", 0}, {2, "A-2", 2, 0, "", 0}, {3, "A-3", 3, 0, "", -1}};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto& [number, sku, quantity, configurable, configId, configComplete] = expected[i];
    EXPECT_EQ(lines[i][0].AsString(), "B-1001");
    EXPECT_EQ(lines[i][1].ToLong(), number);
    EXPECT_EQ(lines[i][2].AsString(), sku);
    EXPECT_EQ(lines[i][3].ToLong(), quantity);
    EXPECT_EQ(lines[i][4].AsDate(), RequestDate(number));
    EXPECT_EQ(lines[i][5].ToLong(), configurable) << number;
    if (configId.empty()) {
      EXPECT_TRUE(lines[i][6].IsNull()) << number;
    } else {
      EXPECT_EQ(lines[i][6].AsString(), configId);
    }
    EXPECT_EQ(lines[i][7].ToLong(), configComplete) << number;
  }

  EXPECT_EQ(Log(), Lines({"OrderID: B-1001", "     LineNr:0", "     LineNr:1", "     LineNr:2",
                          Summary(1)}));
}

TEST_F(ConvertBasketsTest, RejectedBasketsLeaveTheirBlocksAndNothingInTheTarget) {
  auto noSku = Line(1);
  noSku->Set("SKU", Variant::Null());
  auto noShopper = Basket("B-1002", {noSku, Line(2)});
  noShopper->Set("shopper_id", Variant::Null());
  auto bare = VariantObject::NewDictionary();  // every tested header entry missing
  bare->Set("order_id", Variant::String("B-1003"));
  auto unfilledLine = VariantObject::NewDictionary();
  bare->Set("Items", Variant::Object([&] {
              auto items = VariantObject::NewList();
              items->Append(Variant::Object(unfilledLine));
              return items;
            }()));
  auto emptyTexts = ValidBasket("B-1004", 0);
  emptyTexts->Set("shopper_id", Variant::String(""));
  emptyTexts->Set("currency_code", Variant());
  Store({noShopper, bare, emptyTexts});

  EXPECT_TRUE(Run());

  EXPECT_EQ(Log(),
            Lines({"OrderID: B-1002", "     ShopperID was not filled.", "     LineNr:0",
                   "     SKU was not filled.", "     LineNr:1", "     Basket was not converted...",
                   "OrderID: B-1003", "     OrderDate was not filled.",
                   "     CurrencyCode was not filled.", "     ShopperID was not filled.",
                   "     UserLocale was not filled.", "     BusinessPartnerID was not filled.",
                   "     LineNr:0", "     SKU was not filled.", "     Quantity was not filled.",
                   "     RequestDate was not filled.", "     Basket was not converted...",
                   "OrderID: B-1004", Summary(1)}));
  EXPECT_EQ(HeaderIds(), std::vector<std::string>{"B-1004"});
  EXPECT_TRUE(Target("SELECT * FROM BASKETLINE").empty());
}

TEST_F(ConvertBasketsTest, TextsBeyondTheBasicPlaneReachTheTarget) {
  const std::string id = "B-\U0001F600";
  auto line = Line(1);
  line->Set("SKU", Variant::String("\U00013000-1"));
  auto basket = Basket(id, {line});
  basket->Set("order_name", Variant::String("Ærø \U0001F6D2"));
  Store({basket});

  EXPECT_TRUE(Run());

  EXPECT_EQ(Log(), Lines({"OrderID: " + id, "     LineNr:0", Summary(1)}));
  const auto header = Target("SELECT BASKETID, BASKETNAME FROM BASKETHEADER");
  ASSERT_EQ(header.size(), 1u);
  EXPECT_EQ(header[0][0].AsString(), id);
  EXPECT_EQ(header[0][1].AsString(), "Ærø \U0001F6D2");
  const auto lines = Target("SELECT BASKETID, SKU FROM BASKETLINE");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0][0].AsString(), id);
  EXPECT_EQ(lines[0][1].AsString(), "\U00013000-1");
}

TEST_F(ConvertBasketsTest, TextHoldingANulCharacterEndsTheRunUnderItsBasketInsteadOfBeingCut) {
  auto basket = ValidBasket("B-2", 0);
  basket->Set("order_name", Variant::String(std::string("Basket\0 two", 11)));
  Store({ValidBasket("B-1", 0), basket});

  EXPECT_FALSE(Run());

  EXPECT_EQ(Log(), Lines({"OrderID: B-1", "OrderID: B-2",
                          "Error occured: A text holding a NUL character cannot be sent to the "
                          "database"}));
  EXPECT_EQ(HeaderIds(), std::vector<std::string>{"B-1"});
}

TEST_F(ConvertBasketsTest, EachValueTypeGetsItsLiteralWhateverTheRegionalSettings) {
  ScopedRegionalSettings german({"%d.%m.%Y", "%H:%M:%S", ','});
  auto line = Line(1);
  line->Set("Quantity", Variant::Currency(30000));
  line->Set("configurable", Variant::Boolean(false));
  line->Set("config_id", Variant::Long(5));
  line->Set("config_complete", Variant::Boolean(true));
  auto basket = Basket("B-7", {line});
  basket->Set("order_name", Variant::Double(2.5));
  basket->Set("currency_code", Variant::String("E'R"));
  basket->Set("shopper_id", Variant::Decimal("-0012.50"));
  basket->Set("user_locale", Variant::Integer(1043));
  basket->Set("business_partner_id", Variant::String("77"));
  Store({basket});

  EXPECT_TRUE(Run());

  const auto header = Target(
      "SELECT BASKETNAME, CURRENCYCODE, USERID, USERLOCALE, BUSINESSPARTNERID FROM "
      "BASKETHEADER");
  ASSERT_EQ(header.size(), 1u);
  EXPECT_EQ(header[0][0].AsString(), "2.5");
  EXPECT_EQ(header[0][1].AsString(), "E'R");
  EXPECT_EQ(header[0][2].AsString(), "-12.5");
  EXPECT_EQ(header[0][3].ToLong(), 1043);
  EXPECT_EQ(header[0][4].ToLong(), 77);
  const auto lines = Target(
      "SELECT QUANTITY, PRODUCTCONFIGURABLE, PRODUCTCONFIGID, PRODUCTCONFIGCOMPLETE FROM "
      "BASKETLINE");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0][0].ToLong(), 3);
  EXPECT_EQ(lines[0][1].ToLong(), 0);
  EXPECT_EQ(lines[0][2].ToText(), "5");
  EXPECT_EQ(lines[0][3].ToLong(), -1);
}

TEST_F(ConvertBasketsTest, NullNameIsWrittenAsNullNotAsText) {
  auto basket = ValidBasket("B-8", 0);
  basket->Set("order_name", Variant::Null());
  Store({basket});
  EXPECT_TRUE(Run());
  const auto header = Target("SELECT BASKETNAME FROM BASKETHEADER");
  ASSERT_EQ(header.size(), 1u);
  EXPECT_TRUE(header[0][0].IsNull());
}

TEST_F(ConvertBasketsTest, OrderIdThatIsNoTextIsLoggedAsItsText) {
  auto basket = ValidBasket("B-42", 1);
  basket->Set("order_id", Variant::Long(42));
  AppendOrderListRows(*source_.Connect(), {{"B-42", EncodeOrderForm(*basket)}});
  EXPECT_TRUE(Run());
  EXPECT_EQ(Log(), Lines({"OrderID: 42", "     LineNr:0", Summary(1)}));
  EXPECT_EQ(HeaderIds(), std::vector<std::string>{"42"});
}

TEST_F(ConvertBasketsTest, EmptyOrderListWritesOnlyTheSummary) {
  EXPECT_TRUE(Run());
  EXPECT_EQ(Log(), Lines({Summary(0)}));
}

TEST_F(ConvertBasketsTest, RerunSkipsConvertedBasketsAndReportsRejectedOnesAgain) {
  auto rejected = ValidBasket("B-2", 1);
  rejected->Set("shopper_id", Variant::Null());
  Store({ValidBasket("B-1", 2), rejected, ValidBasket("O'Neil-3", 1)});
  ASSERT_TRUE(Run());
  const std::string firstRun = Log();
  EXPECT_EQ(firstRun, Lines({"OrderID: B-1", "     LineNr:0", "     LineNr:1", "OrderID: B-2",
                             "     ShopperID was not filled.", "     LineNr:0",
                             "     Basket was not converted...", "OrderID: O'Neil-3",
                             "     LineNr:0", Summary(2)}));

  EXPECT_TRUE(Run());

  EXPECT_EQ(Log(),
            firstRun + Lines({"OrderID: B-2", "     ShopperID was not filled.", "     LineNr:0",
                              "     Basket was not converted...", Summary(0)}));
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "O'Neil-3"}));
  EXPECT_EQ(Target("SELECT * FROM BASKETLINE").size(), 3u);
}

TEST_F(ConvertBasketsTest, TargetRejectingTheThirdHeaderEndsTheRunAfterTwo) {
  auto duplicate = ValidBasket("B-1", 1);  // stored as B-3, but its header repeats B-1's key
  Store({ValidBasket("B-1", 1), ValidBasket("B-2", 1)});
  AppendOrderListRows(*source_.Connect(), {{"B-3", EncodeOrderForm(*duplicate)}});

  EXPECT_FALSE(Run());

  const std::string expectedStart = Lines({"OrderID: B-1", "     LineNr:0", "OrderID: B-2",
                                           "     LineNr:0", "OrderID: B-1", "     LineNr:0"});
  const std::string log = Log();
  ASSERT_EQ(log.substr(0, expectedStart.size()), expectedStart);
  const std::string last = log.substr(expectedStart.size());
  EXPECT_EQ(last.rfind("Error occured: ", 0), 0u) << last;
  EXPECT_EQ(last.find("\r\n"), last.size() - 2) << "one line, then nothing: " << last;
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-2"}));
  EXPECT_EQ(Target("SELECT * FROM BASKETLINE").size(), 2u);
}

TEST_F(ConvertBasketsTest, FailureInsideABasketLeavesNothingOfItAndARerunConvertsIt) {
  // A line the target already holds makes the second line of B-2 fail after its header and
  // first line were written.
  const auto target = target_.Connect();
  target->Execute(
      "INSERT INTO BASKETLINE (BASKETID, BASKETLINENR, SKU, QUANTITY, REQUESTDATE, "
      "PRODUCTCONFIGURABLE, PRODUCTCONFIGID, PRODUCTCONFIGCOMPLETE) VALUES ('B-2', 2, "
      "'STRAY', 1, " +
      SQLEncodeDate(kOrderDate) + ", 0, Null, 0)");
  Store({ValidBasket("B-1", 1), ValidBasket("B-2", 3), ValidBasket("B-3", 1)});

  EXPECT_FALSE(Run());

  const std::string firstRun = Log();
  const std::string expectedStart = Lines({"OrderID: B-1", "     LineNr:0", "OrderID: B-2",
                                           "     LineNr:0", "     LineNr:1", "     LineNr:2"});
  ASSERT_EQ(firstRun.substr(0, expectedStart.size()), expectedStart);
  EXPECT_EQ(firstRun.find("Error occured: "), expectedStart.size());
  EXPECT_EQ(HeaderIds(), std::vector<std::string>{"B-1"});
  EXPECT_EQ(Target("SELECT BASKETID, SKU FROM BASKETLINE WHERE BASKETID = 'B-2'").size(), 1u);

  target->Execute("DELETE FROM BASKETLINE WHERE SKU = 'STRAY'");
  EXPECT_TRUE(Run());

  EXPECT_EQ(Log(),
            firstRun + Lines({"OrderID: B-2", "     LineNr:0", "     LineNr:1", "     LineNr:2",
                              "OrderID: B-3", "     LineNr:0", Summary(2)}));
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-2", "B-3"}));
  EXPECT_EQ(Target("SELECT SKU FROM BASKETLINE WHERE BASKETID = 'B-2'").size(), 3u);
}

TEST_F(ConvertBasketsTest, DamagedOrderFormsAreLoggedAndSkippedAndTheRunAnswersFalse) {
  auto truncated = EncodeOrderForm(*ValidBasket("B-2", 1));
  truncated.resize(6);
  Store({ValidBasket("B-1", 1)});
  AppendOrderListRows(*source_.Connect(), {{"B-2", truncated}});
  Store({ValidBasket("B-3", 2)});
  AppendOrderListRows(*source_.Connect(), {{"B-4", {1, 2, 3}}});
  Store({ValidBasket("B-5", 1)});

  EXPECT_FALSE(Run());

  EXPECT_EQ(Log(), Lines({"OrderID: B-1", "     LineNr:0", "OrderID: B-2",
                          "Error occured: Order form 'B-2' is damaged: it ends at byte 6, inside "
                          "a value tag that starts at byte 6",
                          "OrderID: B-3", "     LineNr:0", "     LineNr:1", "OrderID: B-4",
                          "Error occured: Order form 'B-4' is damaged: it ends at byte 3, inside "
                          "the order-form marker that starts at byte 0",
                          "OrderID: B-5", "     LineNr:0", Summary(3)}));
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-3", "B-5"}));
  EXPECT_EQ(Target("SELECT * FROM BASKETLINE").size(), 4u);
}

/// A source whose ORDERLIST lets ORDER_ID be Null.
class ConvertBasketsWithoutIdTest : public ConvertBasketsTest {
 protected:
  void SetUp() override {
    const auto source = nullableSource_.Connect();
    source->Execute(std::string("CREATE TABLE ORDERLIST (ORDER_ID VARCHAR(50), MARSHALLED_ORDER ") +
                    (nullableSource_.GetEngine() == setup::Engine::Sqlite ? "BLOB)" : "BYTEA)"));
    values_ = testing::ValuesFor(nullableSource_, target_);
  }

  TestDatabase nullableSource_;
};

TEST_F(ConvertBasketsWithoutIdTest, RowWithoutIdIsLoggedByItsNumberAndSkipped) {
  const auto source = nullableSource_.Connect();
  AppendOrderListRows(*source, {{"B-1", EncodeOrderForm(*ValidBasket("B-1", 1))}});
  source->Execute("INSERT INTO ORDERLIST (ORDER_ID) VALUES (NULL)");
  AppendOrderListRows(*source, {{"B-3", EncodeOrderForm(*ValidBasket("B-3", 1))}});

  EXPECT_FALSE(Run());

  EXPECT_EQ(Log(), Lines({"OrderID: B-1", "     LineNr:0", "OrderID: (no id, row 2)",
                          "Error occured: Invalid use of Null", "OrderID: B-3", "     LineNr:0",
                          Summary(2)}));
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-3"}));
}

const std::vector<std::string> kStorageLines = {
    "The SiteServer DLLs were not registed. Please check if you registered the required DLLs.",
    "\u00B7   Commerce - MSCSCore Type Library (installed in \"C:\\Microsoft Site "
    "Server\\bin\\MscsCore.dll\")",
    "\u00B7   Commerce 1.0 Type Library (installed in \"C:\\Microsoft Site "
    "Server\\bin\\Commerce.dll\")",
    "\u00B7   Mscsresource.dll"};

/// A source whose ORDERLIST lacks MARSHALLED_ORDER: the storage cannot be initialised over it.
class ConvertBasketsWithoutStorageTest : public ConvertBasketsTest {
 protected:
  void SetUp() override {
    const auto source = storagelessSource_.Connect();
    source->Execute("CREATE TABLE ORDERLIST (ORDER_ID VARCHAR(50) NOT NULL PRIMARY KEY)");
    source->Execute("INSERT INTO ORDERLIST (ORDER_ID) VALUES ('B-1')");
    values_ = testing::ValuesFor(storagelessSource_, target_);
  }

  TestDatabase storagelessSource_;
};

TEST_F(ConvertBasketsWithoutStorageTest, FourLinesThenFailureAtTheFirstLoad) {
  EXPECT_FALSE(Run());
  std::vector<std::string> expected = kStorageLines;
  expected.push_back("Error occured: Object variable or With block variable not set");
  EXPECT_EQ(Log(), Lines(expected));
}

TEST_F(ConvertBasketsWithoutStorageTest, FourLinesThenNormalEndWhenEveryBasketIsPresent) {
  target_.Connect()->Execute(
      "INSERT INTO BASKETHEADER (BASKETID, BASKETDATE, CURRENCYCODE, USERID, USERLOCALE, "
      "BUSINESSPARTNERID) VALUES ('B-1', " +
      SQLEncodeDate(kOrderDate) + ", 'EUR', 'S', 1, 1)");
  EXPECT_TRUE(Run());
  std::vector<std::string> expected = kStorageLines;
  expected.push_back(Summary(0));
  EXPECT_EQ(Log(), Lines(expected));
}

TEST_F(ConvertBasketsTest, SQLEncodeAnswersTheLiteralOrLogsItsFailure) {
  ConvertBaskets converter;
  EXPECT_EQ(converter.SQLEncode("O'Neil"), "'O''Neil'");
  EXPECT_EQ(converter.SQLEncode("\xFF"), "");  // no log yet: nothing written anywhere
  {
    TextWriter log(logPath_, TextWriter::Mode::Append);
    ASSERT_TRUE(converter.Convert(values_, log));
    EXPECT_EQ(converter.SQLEncode("\xFF"), "");
  }
  EXPECT_EQ(Log(), Lines({Summary(0), "Invalid procedure call or argument"}));
}

TEST_F(ConvertBasketsTest, RunMigratesTheBasketsUnderTheirSection) {
  Store({ValidBasket("B-1", 2)});
  testing::RecordingMessageDisplay messages;
  testing::RecordingCaption basket, orders, parameters, copy;
  GlobalConvert run(
      [](Migration) -> std::unique_ptr<Converter> { return std::make_unique<ConvertBaskets>(); },
      messages, [] { return DateTime{2026, 12, 8, 4, 10, 36}; });

  EXPECT_TRUE(run.Run(values_, MigrationSelection{.iConvertBaskets = true}, logPath_,
                      {basket, orders, parameters, copy}));

  EXPECT_TRUE(messages.messages.empty());
  EXPECT_TRUE(basket.caption.ends_with("   (Done, No Errors Found)")) << basket.caption;
  const std::string body = Lines({"OrderID: B-1", "     LineNr:0", "     LineNr:1", Summary(1)});
  const std::string log = Log();
  EXPECT_EQ(log.substr(log.size() - body.size()), body);
  EXPECT_EQ(HeaderIds(), std::vector<std::string>{"B-1"});
}

}  // namespace
}  // namespace mv
