// Whole runs of the submitted-order migration: every target column, the totals, the log and
// reruns.
#include "converters/orders/convert_orders.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"
#include "tests/converters/orders/order_test_fixture.h"
#include "tests/support/recording_message_display.h"

namespace mv {
namespace {

using testing::OrderHeader;
using testing::OrderLine;
using testing::With;

Variant Money(double amount) {
  return Variant::Currency(static_cast<std::int64_t>(amount * 10000));
}

class ConvertOrdersTest : public testing::OrderDatabaseTest {};

TEST_F(ConvertOrdersTest, WritesEveryHeaderAndLineColumnAndTheLogExactly) {
  InsertSource("orderheader", OrderHeader("A1"));
  InsertSource("orderline", With(OrderLine("A1", 1, 100), "AMOUNT", Money(200)));
  InsertSource("orderline", With(With(With(OrderLine("A1", 2, 777), "PRICE", Money(2.5)),
                                      "QUANTITY", Variant::Double(2)),
                                 "AMOUNT", Money(5)));
  InsertSource("orderline",
               With(With(OrderLine("A1", 3, 101), "AMOUNT", Money(0)), "LINETAX", Money(1)));

  EXPECT_TRUE(Run());

  EXPECT_EQ(testing::WithoutTargetDialectLines(testing::ReadFileBytes(log_)),
            "Product 777 could not be found\r\n"
            "Order 'A1' is converted.\r\n"
            "1 order were converted.\r\n"
            "0 order were NOT converted.\r\n");

  const auto header = Target("select * from orderheader");
  ASSERT_EQ(header->RecordCount(), 1);
  const testing::Row source = OrderHeader("A1");
  for (const auto& [column, value] : source) {
    if (column == "ORDERSTATUS" || column == "HEADERBILLINGSTATUS" ||
        column.rfind("FREIGHTTAX", 0) == 0)
      continue;
    const std::string target = column == "ACKNOWLEDGMENTURL" ? "ACKNOWLEDGEMENTURL" : column;
    EXPECT_TRUE(testing::SameValue(header->Field(target), value)) << column;
  }
  EXPECT_TRUE(testing::SameValue(header->Field("FREIGHTTAX"), Money(4)));
  for (const char* cleared : {"FREIGHTTAXCODE", "FREIGHTTAXCODEDESCRIPTION", "FREIGHTTAXPERC"}) {
    EXPECT_TRUE(header->Field(cleared).IsNull()) << cleared;
  }
  EXPECT_EQ(header->Field("SUBTOTAL"), Variant::Double(205));
  EXPECT_EQ(header->Field("TAXTOTAL"), Variant::Double(5));
  EXPECT_EQ(header->Field("TOTAL"), Variant::Double(214)) << "205 + 5 + freight tax 4";
  EXPECT_EQ(header->Field("DISCOUNTTOTAL"), Variant::Double(3));
  EXPECT_EQ(header->Field("TOTALNETAMOUNT"), Variant::Double(29)) << "3 x 4 twice and 2.5 x 2";
  EXPECT_EQ(header->Field("ORDERSTATUS"), Variant::Integer(6));
  EXPECT_EQ(header->Field("CURRENCYDECIMALS"), Variant::Integer(2));
  EXPECT_EQ(header->Field("CURRENCYSYMBOL"), Variant::String("€"));
  EXPECT_EQ(header->Field("CUSTOMERCODE"), Variant::String("C7"));
  EXPECT_EQ(header->Field("CUSTOMERNAME"), Variant::String("Müller & Söhne"));

  const auto lines = Target("select * from orderline order by LINENR");
  ASSERT_EQ(lines->RecordCount(), 3);
  const testing::Row first = With(OrderLine("A1", 1, 100), "AMOUNT", Money(200));
  for (const auto& [column, value] : first) {
    if (column == "ALLOCATED" || column == "AUTHORIZED" || column == "BILLED" ||
        column == "LINEBILLINGSTATUS")
      continue;
    EXPECT_TRUE(testing::SameValue(lines->Field(column), value)) << column;
  }
  EXPECT_EQ(lines->Field("ORDERDISCOUNT"), Variant::Double(25)) << "200 x 12.5 / 100";
  EXPECT_EQ(lines->Field("LINESTATUS"), Variant::Integer(0));
  EXPECT_EQ(lines->Field("PARTNUMBER"), Variant::String("PN-100"));
  lines->MoveNext();
  EXPECT_TRUE(lines->Field("PARTNUMBER").IsNull()) << "unknown product";
  EXPECT_EQ(lines->Field("ORDERDISCOUNT"), Variant::Double(0.625));
}

TEST_F(ConvertOrdersTest, NullFreightTaxDiscountAndLocaleGiveNulls) {
  testing::Row header = With(OrderHeader("N1"), "FREIGHTTAX", Variant::Null());
  header = With(header, "DISCOUNTPERC", Variant::Null());
  InsertSource("orderheader", With(header, "CURRENCYCODE", Variant::String("SEK")));
  InsertSource("orderline", OrderLine("N1", 1, 100));
  InsertSource("orderline", OrderLine("N1", 2, 101));

  EXPECT_TRUE(Run());

  const auto written = Target("select * from orderheader");
  EXPECT_TRUE(written->Field("TOTAL").IsNull());
  EXPECT_EQ(written->Field("SUBTOTAL"), Variant::Double(20));
  EXPECT_EQ(written->Field("TAXTOTAL"), Variant::Double(4));
  EXPECT_EQ(written->Field("CURRENCYSYMBOL"), Variant::String(""));
  const auto lines = Target("select * from orderline");
  for (; !lines->Eof(); lines->MoveNext()) EXPECT_TRUE(lines->Field("ORDERDISCOUNT").IsNull());
}

TEST_F(ConvertOrdersTest, OrderWithTextsBeyondTheBasicPlaneIsConvertedWithAllItsLines) {
  const std::string id = "O-\U0001F600";
  InsertSource("orderheader",
               With(OrderHeader(id), "HEADERTEXT", Variant::String("\U00013000 \U0001F6D2")));
  for (int number = 1; number <= 4; ++number) {
    InsertSource("orderline", With(OrderLine(id, number, 99 + number), "LINETEXT",
                                   Variant::String("\U0001D11E " + std::to_string(number))));
  }

  EXPECT_TRUE(Run());
  // The log holds the id as far as the system's code page can (all of it in UTF-8).
  const std::string logged = NarrowToUtf8(Utf8ToNarrow(id));
  EXPECT_EQ(Log(),
            (std::vector<std::string>{"Order '" + logged + "' is converted.",
                                      "1 order were converted.", "0 order were NOT converted."}));
  const auto header = Target("select * from orderheader");
  ASSERT_EQ(header->RecordCount(), 1);
  EXPECT_EQ(header->Field("ORDERID").AsString(), id);
  EXPECT_EQ(header->Field("HEADERTEXT").AsString(), "\U00013000 \U0001F6D2");
  const auto lines = Target("select * from orderline order by LINENR");
  ASSERT_EQ(lines->RecordCount(), 4);
  EXPECT_EQ(lines->Field("ORDERID").AsString(), id);
  EXPECT_EQ(lines->Field("LINETEXT").AsString(), "\U0001D11E 1");
}

TEST_F(ConvertOrdersTest, ConsecutiveOrdersKeepTheirOwnTotals) {
  InsertOrder("T1", {100, 101, 102});
  InsertOrder("T2", {103});

  EXPECT_TRUE(Run());

  const auto second = Target("select * from orderheader where orderid = 'T2'");
  EXPECT_EQ(second->Field("SUBTOTAL"), Variant::Double(10));
  EXPECT_EQ(second->Field("TAXTOTAL"), Variant::Double(2));
  EXPECT_EQ(second->Field("TOTAL"), Variant::Double(16));
  EXPECT_EQ(second->Field("DISCOUNTTOTAL"), Variant::Double(1));
  EXPECT_EQ(second->Field("TOTALNETAMOUNT"), Variant::Double(12));
  EXPECT_EQ(Target("select * from orderheader where orderid = 'T1'")->Field("SUBTOTAL"),
            Variant::Double(30));
}

TEST_F(ConvertOrdersTest, RerunSkipsEveryConvertedOrder) {
  InsertOrder("R1", {100});
  InsertOrder("O'Neil-2", {101, 102});
  ASSERT_TRUE(Run());
  EXPECT_EQ(Log(),
            (std::vector<std::string>{"Order 'R1' is converted.", "Order 'O'Neil-2' is converted.",
                                      "2 order were converted.", "0 order were NOT converted."}));
  EXPECT_EQ(TargetCount("orderline"), 3) << "the apostrophe order found its lines";

  EXPECT_TRUE(Run());

  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "'R1' is already converted.", "'O'Neil-2' is already converted.",
                       "0 order were converted.", "0 order were NOT converted."}));
  EXPECT_EQ(TargetCount("orderheader"), 2);
  EXPECT_EQ(TargetCount("orderline"), 3);
}

TEST_F(ConvertOrdersTest, EmptySourceLogsOnlyTheCounts) {
  EXPECT_TRUE(Run());
  EXPECT_EQ(testing::WithoutTargetDialectLines(testing::ReadFileBytes(log_)),
            "0 order were converted.\r\n0 order were NOT converted.\r\n");
}

TEST_F(ConvertOrdersTest, UnreachableTargetIsLoggedAndFails) {
  ConnectionValues values = testing::ValuesFor(source_, target_);
  values.TDB = folder_.File("missing") + "/folder/target.db";
  if (target_.GetEngine() == setup::Engine::Postgresql) values.TDB = "mv_no_such_database";
  TextWriter log(PathFromUtf8(log_), TextWriter::Mode::Overwrite);
  ConvertOrders converter;

  EXPECT_FALSE(converter.ConvertSubmittedOrders(values, log));

  const auto lines = Log();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "The submitted orders could not be converted.");
  EXPECT_EQ(lines[1].substr(0, 6), "      ");
  EXPECT_GT(lines[1].size(), 6u);
}

TEST(RemoveOrderlinesTest, NeedsTheTargetConnectionOfARun) {
  testing::TestDatabase source("source");
  const auto connection = source.Connect();
  const Recordset orders(*connection, "select * from orderheader");
  ConvertOrders converter;
  try {
    converter.RemoveOrderlines(orders);
    FAIL();
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), errors::kObjectNotSet);
  }
}

}  // namespace
}  // namespace mv
