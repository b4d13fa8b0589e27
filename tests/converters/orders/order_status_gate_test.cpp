// The status gate, rule by rule: which 2.2 orders are converted with which new statuses, and
// the exact reason logged for each refusal.
#include "converters/orders/order_status_gate.h"

#include <gtest/gtest.h>

#include "tests/converters/orders/order_test_fixture.h"

namespace mv {
namespace {

using testing::OrderHeader;
using testing::OrderLine;
using testing::With;

struct LineFlags {
  bool allocated;
  bool authorized;
  bool billed;
  Variant lineBillingStatus;
};

struct GateCase {
  const char* name;
  Variant orderStatus;
  Variant webPaymentMethod;
  Variant headerBillingStatus;
  std::vector<LineFlags> lines;
  /// The logged refusal, or empty for an accepted order.
  std::string refusal;
  std::int16_t newOrderStatus = 0;
  std::int16_t newLineStatus = 0;
};

void PrintTo(const GateCase& c, std::ostream* out) { *out << c.name; }

Variant I(int value) { return Variant::Integer(static_cast<std::int16_t>(value)); }
const Variant kNull = Variant::Null();
const std::string kFlags = "'G1' cannot be converted when 'Allocated = ";
constexpr bool T = true;
constexpr bool F = false;

const GateCase kGateCases[] = {
    {"NewlySubmitted",
     I(1),
     I(2),
     I(0),
     {{T, T, T, I(0)}},
     "'G1' is NewlySubmitted. So this order cannot be converted yet."},
    {"WebPayment1AcceptsAnyLine", I(2), I(1), I(9), {{F, F, F, I(7)}, {T, F, T, I(2)}}, "", 6, 0},
    {"Billing0AllFlagsSet", I(2), I(2), I(0), {{T, T, T, I(0)}}, "", 5, 2},
    {"Billing0NullReadAsZero", I(2), I(2), kNull, {{T, T, T, kNull}}, "", 5, 2},
    {"Billing0NotAuthorized",
     I(2),
     I(2),
     I(0),
     {{T, F, F, I(0)}},
     kFlags + "True' ,'Authorized = False', 'Billed = False' and 'LineBillingStatus = 0'"},
    {"Billing0SecondLineNotBilled",
     I(2),
     I(2),
     I(0),
     {{T, T, T, I(0)}, {T, T, F, I(0)}},
     kFlags + "True' ,'Authorized = True', 'Billed = False' and 'LineBillingStatus = 0'"},
    {"Billing2AllocatedOnly", I(2), I(2), I(2), {{T, F, F, I(2)}}, "", 7, 1},
    {"Billing2Authorized",
     I(2),
     I(2),
     I(2),
     {{T, T, F, I(2)}},
     kFlags + "True' ,'Authorized = True', 'Billed = False' and 'LineBillingStatus = 2'"},
    {"PreparedForReauthorization",
     I(2),
     I(2),
     I(3),
     {{T, T, T, I(0)}},
     "'G1' is PreparedForReauthorization. So this order cannot be converted yet."},
    {"PreparedForBilling",
     I(2),
     I(2),
     I(4),
     {{F, F, F, I(0)}},
     "'G1' is PreparedForBilling. So this order cannot be converted yet."},
    {"PreparedForAuthorizationAndBilling",
     I(2),
     I(2),
     I(5),
     {{T, T, T, I(0)}},
     "'G1' is PreparedForAuthorizationAndBilling. So this order cannot be converted yet."},
    {"Billing7AuthorizedNotBilled", I(2), I(2), I(7), {{T, T, F, I(7)}}, "", 8, 1},
    {"Billing7Billed",
     I(2),
     I(2),
     I(7),
     {{T, T, T, I(7)}},
     kFlags + "True' ,'Authorized = True', 'Billed = True' and 'LineBillingStatus = 7'"},
    {"Billing6", I(2), I(2), I(6), {{T, T, T, I(0)}}, ""},
    {"BillingNegative", I(2), I(2), I(-1), {{T, T, T, I(0)}}, ""},
    {"WebPayment3", I(2), I(3), I(0), {{T, T, T, I(0)}}, ""},
    {"WebPaymentNull", I(2), kNull, I(0), {{T, T, T, I(0)}}, ""},
    {"Status3Clean", I(3), kNull, I(0), {{F, F, F, I(0)}}, "", 3, 0},
    {"Status3Billing1",
     I(3),
     kNull,
     I(1),
     {{F, F, F, I(0)}},
     kFlags + "False' ,'Authorized = False', 'Billed = False' and 'LineBillingStatus = 0'"},
    {"Status3Allocated",
     I(3),
     kNull,
     I(0),
     {{T, F, F, I(0)}},
     kFlags + "True' ,'Authorized = False', 'Billed = False' and 'LineBillingStatus = 0'"},
    {"Status4Billed", I(4), kNull, I(8), {{F, F, T, I(0)}}, "", 5, 3},
    {"Status4NotBilled", I(4), kNull, I(8), {{T, T, F, I(0)}}, "", 1, 0},
    {"Status4Billing2", I(4), kNull, I(2), {{T, T, T, I(0)}}, ""},
    {"Status0", I(0), I(1), I(0), {{T, T, T, I(0)}}, ""},
    {"Status5", I(5), I(1), I(0), {{T, T, T, I(0)}}, ""},
    {"NoLines", I(2), I(1), I(0), {}, "'G1' has no lines... no conversion nessecary."},
};

class OrderStatusGateTest : public testing::OrderDatabaseTest,
                            public ::testing::WithParamInterface<GateCase> {};

TEST_P(OrderStatusGateTest, FirstRuleDecides) {
  const GateCase& gate = GetParam();
  testing::Row header = With(OrderHeader("G1"), "ORDERSTATUS", gate.orderStatus);
  header = With(header, "WEBPAYMENTMETHOD", gate.webPaymentMethod);
  InsertSource("orderheader", With(header, "HEADERBILLINGSTATUS", gate.headerBillingStatus));
  int lineNumber = 0;
  for (const LineFlags& flags : gate.lines) {
    testing::Row line = OrderLine("G1", ++lineNumber, 100);
    line = With(line, "ALLOCATED", I(flags.allocated));
    line = With(line, "AUTHORIZED", I(flags.authorized));
    line = With(line, "BILLED", I(flags.billed));
    InsertSource("orderline", With(line, "LINEBILLINGSTATUS", flags.lineBillingStatus));
  }

  EXPECT_TRUE(Run()) << "a refusal is no failure";

  const bool accepted = gate.newOrderStatus != 0 || gate.newLineStatus != 0;
  if (!accepted) {
    EXPECT_EQ(Log(), (std::vector<std::string>{gate.refusal, "0 order were converted.",
                                               "1 order were NOT converted."}));
    EXPECT_EQ(TargetCount("orderheader"), 0);
    EXPECT_EQ(TargetCount("orderline"), 0);
    return;
  }
  const bool conflicting = gate.lines.size() > 1 && gate.newLineStatus != 0;
  EXPECT_FALSE(conflicting) << "cases with conflicting lines have their own test";
  EXPECT_EQ(Log(), (std::vector<std::string>{"Order 'G1' is converted.", "1 order were converted.",
                                             "0 order were NOT converted."}));
  EXPECT_EQ(Target("select * from orderheader")->Field("ORDERSTATUS"), I(gate.newOrderStatus));
  const auto lines = Target("select * from orderline");
  EXPECT_EQ(lines->RecordCount(), static_cast<long>(gate.lines.size()));
  for (; !lines->Eof(); lines->MoveNext())
    EXPECT_EQ(lines->Field("LINESTATUS"), I(gate.newLineStatus));
}

INSTANTIATE_TEST_SUITE_P(Rules, OrderStatusGateTest, ::testing::ValuesIn(kGateCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StatusRulesTest, TheOneLineOfEachCaseGetsTheVerdictTheWholeRunShows) {
  const auto zeroForNull = [](const Variant& value) {
    return value.IsNull() ? std::int16_t{0} : value.ToInteger();
  };
  for (const GateCase& gate : kGateCases) {
    if (gate.lines.size() != 1) continue;
    SCOPED_TRACE(gate.name);
    const LineFlags& flags = gate.lines.front();
    const StatusVerdict verdict = EvaluateStatusRules(
        {"G1", gate.orderStatus.ToInteger(), zeroForNull(gate.headerBillingStatus), flags.allocated,
         flags.authorized, flags.billed, zeroForNull(flags.lineBillingStatus),
         zeroForNull(gate.webPaymentMethod)});
    EXPECT_EQ(verdict.accepted, gate.newOrderStatus != 0 || gate.newLineStatus != 0);
    EXPECT_EQ(verdict.NewOrderStatus, gate.newOrderStatus);
    EXPECT_EQ(verdict.NewLineStatus, gate.newLineStatus);
    EXPECT_EQ(verdict.orderMessage, gate.refusal);
  }
}

class ConflictingLinesTest : public testing::OrderDatabaseTest {};

TEST_F(ConflictingLinesTest, DifferingLineStatusesTakeTheLastAndWarnAfterTheHeader) {
  InsertSource("orderheader",
               With(With(OrderHeader("C1"), "ORDERSTATUS", I(4)), "HEADERBILLINGSTATUS", I(8)));
  InsertSource("orderline", OrderLine("C1", 1, 100));
  InsertSource("orderline", With(OrderLine("C1", 2, 101), "BILLED", I(0)));
  InsertOrder("C2", {100, 101});

  EXPECT_TRUE(Run());

  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "Order 'C1' is converted.",
                       "Attention: There are conflicting line (line) statusses for this order.",
                       "Order 'C2' is converted.", "2 order were converted.",
                       "0 order were NOT converted."}))
      << "the warning belongs to the first order only";
  const auto header = Target("select * from orderheader where orderid = 'C1'");
  EXPECT_EQ(header->Field("ORDERSTATUS"), I(1));
  const auto lines = Target("select * from orderline where orderid = 'C1'");
  for (; !lines->Eof(); lines->MoveNext()) EXPECT_EQ(lines->Field("LINESTATUS"), I(0));
}

}  // namespace
}  // namespace mv
