// Orders that fail while being written: nothing of such an order reaches the target, not even
// with a later order, the log shows the failure block, the run goes on and answers False.
#include <gtest/gtest.h>

#include "tests/converters/orders/order_test_fixture.h"
#include "tests/support/locked_table.h"

namespace mv {
namespace {

using testing::OrderHeader;
using testing::OrderLine;
using testing::ServiceFailures;
using testing::With;

class OrderFailureTest : public testing::OrderDatabaseTest {
 protected:
  /// The ORDERIDs in the target `table`, in key order.
  std::vector<std::string> TargetOrderIds(const std::string& table) {
    std::vector<std::string> ids;
    for (auto rows = Target("select ORDERID from " + table + " order by ORDERID, 1"); !rows->Eof();
         rows->MoveNext()) {
      ids.push_back(rows->Field("ORDERID").ToText());
    }
    return ids;
  }
};

struct HeaderFailureCase {
  const char* name;
  ServiceFailures failures;
  const char* description;
};

void PrintTo(const HeaderFailureCase& c, std::ostream* out) { *out << c.name; }

class HeaderServiceFailureTest : public OrderFailureTest,
                                 public ::testing::WithParamInterface<HeaderFailureCase> {};

TEST_P(HeaderServiceFailureTest, GivesCurrencyBlockNoLines) {
  InsertOrder("H1", {100, 101});

  EXPECT_FALSE(Run(testing::FailingServices(GetParam().failures)));

  EXPECT_EQ(Log(),
            (std::vector<std::string>{
                "Order 'H1'", "      An error occurred while reading Currency data for 'EUR'.",
                std::string("      ") + GetParam().description, "0 order were converted.",
                "1 order were NOT converted."}));
  EXPECT_EQ(TargetCount("orderheader"), 0);
  EXPECT_EQ(TargetCount("orderline"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Services, HeaderServiceFailureTest,
    ::testing::Values(HeaderFailureCase{"Currency", {"EUR", 0, 0, 0}, "Currency lookup failed"},
                      HeaderFailureCase{"Locale", {"", 1043, 0, 0}, "Locale lookup failed"},
                      HeaderFailureCase{
                          "CustomerName", {"", 0, 7, 0}, "Customer name lookup failed"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OrderFailureTest, HeaderRejectedByTheTargetLeavesNoLines) {
  if (target_.GetEngine() == setup::Engine::Sqlite) {
    targetConnection_->Execute(
        "create trigger reject_h1 before insert on orderheader when new.ORDERID = 'H1' "
        "begin select raise(abort, 'order H1 rejected'); end");
  } else {
    targetConnection_->Execute(
        "alter table orderheader add constraint reject_h1 check (ORDERID <> 'H1')");
  }
  InsertOrder("H1", {100, 101});
  InsertOrder("H2", {102});

  EXPECT_FALSE(Run());

  const auto log = Log();
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[0], "Order 'H1'");
  EXPECT_EQ(log[1], "      An error occurred while reading Currency data for 'EUR'.");
  EXPECT_EQ(log[2].substr(0, 6), "      ");
  EXPECT_NE(
      log[2].find(target_.GetEngine() == setup::Engine::Sqlite ? "order H1 rejected" : "reject_h1"),
      std::string::npos)
      << log[2];
  EXPECT_EQ(log[3], "Order 'H2' is converted.");
  EXPECT_EQ(log[4], "1 order were converted.");
  EXPECT_EQ(log[5], "1 order were NOT converted.");
  EXPECT_EQ(TargetOrderIds("orderheader"), (std::vector<std::string>{"H2"}));
  EXPECT_EQ(TargetOrderIds("orderline"), (std::vector<std::string>{"H2"}));
}

TEST_F(OrderFailureTest, ProductNotFoundIsAWarningButALookupFailureDropsTheWholeOrder) {
  InsertOrder("P1", {100, 555, 101});
  InsertOrder("P2", {100, 103, 101});
  ServiceFailures failures;
  failures.product = 103;

  EXPECT_FALSE(Run(testing::FailingServices(failures)));

  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "Product 555 could not be found", "Order 'P1' is converted.", "Order 'P2'",
                       "      An error occurred while reading Product data for '103'.",
                       "      Product lookup failed", "1 order were converted.",
                       "1 order were NOT converted."}));
  EXPECT_EQ(TargetOrderIds("orderheader"), (std::vector<std::string>{"P1"}));
  EXPECT_EQ(TargetOrderIds("orderline"), (std::vector<std::string>{"P1", "P1", "P1"}));

  EXPECT_TRUE(Run()) << "once the lookup works, a rerun converts the order";
  EXPECT_EQ(Log(),
            (std::vector<std::string>{"'P1' is already converted.", "Order 'P2' is converted.",
                                      "1 order were converted.", "0 order were NOT converted."}));
  EXPECT_EQ(TargetCount("orderline"), 6);
}

TEST_F(OrderFailureTest, HeaderTextHoldingANulLeavesThatOrderUnconverted) {
  if (source_.GetEngine() != setup::Engine::Sqlite) {
    GTEST_SKIP() << "only SQLite's text columns hold a NUL character among these engines";
  }
  InsertOrder("N1", {100});
  InsertOrder("N2", {101});
  sourceConnection_->Execute(
      "update orderheader set HEADERTEXT = 'ab' || char(0) || 'cd' where ORDERID = 'N1'");

  EXPECT_FALSE(Run());

  EXPECT_EQ(
      Log(),
      (std::vector<std::string>{
          "Order 'N1'", "      An error occurred while converting the order header.",
          "      The value for orderheader.HEADERTEXT holds a NUL character and cannot "
          "be written whole",
          "Order 'N2' is converted.", "1 order were converted.", "1 order were NOT converted."}));
  EXPECT_EQ(TargetOrderIds("orderheader"), (std::vector<std::string>{"N2"}));
}

TEST_F(OrderFailureTest, PendingRowsOfAFailedOrderNeverReachTheTargetWithTheNextOrder) {
  InsertOrder("F1", {100, 666});  // the first line is pending when the second lookup fails
  InsertSource("orderheader", With(OrderHeader("F2"), "BUSINESSPARTNERID", Variant::Long(8)));
  InsertSource("orderline", OrderLine("F2", 1, 101));  // fails in the header: pending header
  InsertOrder("F3", {102, 103});
  ServiceFailures failures;
  failures.product = 666;
  failures.businessPartner = 8;

  EXPECT_FALSE(Run(testing::FailingServices(failures)));

  EXPECT_EQ(TargetOrderIds("orderheader"), (std::vector<std::string>{"F3"}));
  EXPECT_EQ(TargetOrderIds("orderline"), (std::vector<std::string>{"F3", "F3"}));
  const auto log = Log();
  EXPECT_EQ(log.back(), "2 order were NOT converted.");
}

/// The real product service, except that looking up `product` first ends the database session
/// of the run's target connection from `other`, as a server restart or a network failure would.
class ConnectionEndingProduct : public ProductService {
 public:
  ConnectionEndingProduct(Connection& target, Connection& other, std::int32_t product)
      : real_(OpenBusinessServices(target).product),
        other_(other),
        session_(Recordset(target, "select pg_backend_pid() as pid").Field("pid").ToText()),
        product_(product) {}

  ProductData GetProductData(std::int32_t productId) override {
    // The second argument waits until the session has ended.
    if (productId == product_)
      other_.Execute("select pg_terminate_backend(" + session_ + ", 10000)");
    return real_->GetProductData(productId);
  }

 private:
  std::unique_ptr<ProductService> real_;
  Connection& other_;
  std::string session_;
  std::int32_t product_;
};

TEST_F(OrderFailureTest, LostTargetConnectionEndsTheRunAfterTheOrderItHappenedIn) {
  if (target_.GetEngine() == setup::Engine::Sqlite) {
    GTEST_SKIP() << "an SQLite database lives inside the process: its connection cannot be lost";
  }
  InsertOrder("L1", {100});
  InsertOrder("L2", {101});
  InsertOrder("L3", {102});

  EXPECT_FALSE(Run([this](Connection& target) {
    BusinessServices services = OpenBusinessServices(target);
    services.product = std::make_unique<ConnectionEndingProduct>(target, *targetConnection_, 101);
    return services;
  }));

  // L1 shares L2's group, which the lost connection rolls back: its "is converted." line is
  // never written.
  const auto log = Log();
  ASSERT_EQ(log.size(), 5u) << "no block for L3";
  EXPECT_EQ(log[0], "Order 'L2'");
  EXPECT_EQ(log[1], "      An error occurred while reading Product data for '101'.");
  EXPECT_NE(log[2].find("terminating connection"), std::string::npos) << log[2];
  EXPECT_EQ(log[3], "0 order were converted.");
  EXPECT_EQ(log[4], "2 order were NOT converted.");
  EXPECT_TRUE(TargetOrderIds("orderheader").empty());
  EXPECT_TRUE(TargetOrderIds("orderline").empty());

  EXPECT_TRUE(Run()) << "a rerun converts the rolled-back group";
  EXPECT_EQ(TargetOrderIds("orderheader"), (std::vector<std::string>{"L1", "L2", "L3"}));
}

TEST_F(OrderFailureTest, ConnectionLostWhileAGroupIsWrittenEndsTheRunWithNoOrderOfIt) {
  if (target_.GetEngine() == setup::Engine::Sqlite) {
    GTEST_SKIP() << "an SQLite database lives inside the process: its connection cannot be lost";
  }
  // The server ends the session while the insert of the group's lines runs.
  targetConnection_->Execute(
      "create function end_session() returns trigger language plpgsql as $$ begin "
      "perform pg_terminate_backend(pg_backend_pid()); return null; end $$");
  targetConnection_->Execute(
      "create trigger end_session after insert on orderline for each statement execute "
      "function end_session()");
  InsertOrder("W1", {100});
  InsertOrder("W2", {101, 102});
  InsertOrder("W3", {103});

  EXPECT_FALSE(Run());

  // The lines went out together: the block names the group's first order.
  const auto log = Log();
  ASSERT_EQ(log.size(), 5u) << "one block only";
  EXPECT_EQ(log[0], "Order 'W1'");
  EXPECT_EQ(log[1], "      An error occurred while reading Product data for '100'.");
  EXPECT_NE(log[2].find("terminating connection"), std::string::npos) << log[2];
  EXPECT_EQ(log[3], "0 order were converted.");
  EXPECT_EQ(log[4], "3 order were NOT converted.");
  EXPECT_TRUE(TargetOrderIds("orderheader").empty());

  targetConnection_->Execute("drop trigger end_session on orderline");
  EXPECT_TRUE(Run()) << "a rerun converts the rolled-back group";
  EXPECT_EQ(TargetOrderIds("orderheader"), (std::vector<std::string>{"W1", "W2", "W3"}));
}

TEST_F(OrderFailureTest, ALockedTableEndsTheRunAfterOneTimeOut) {
  if (target_.GetEngine() != setup::Engine::Postgresql) {
    GTEST_SKIP() << "needs a lock held by another session (PostgreSQL)";
  }
  InsertOrder("T1", {100});
  InsertOrder("T2", {101});
  InsertOrder("T3", {102});
  {
    const testing::LockedTable locked(target_, "orderline");
    EXPECT_FALSE(Run());
  }
  // One order's block, as for a lost connection: each order written again would wait as long.
  const auto log = Log();
  ASSERT_EQ(log.size(), 5u) << "one block only";
  EXPECT_EQ(log[0], "Order 'T1'");
  EXPECT_NE(log[2].find("timeout"), std::string::npos) << log[2];  // the server's or our own
  EXPECT_EQ(log[3], "0 order were converted.");
  EXPECT_TRUE(TargetOrderIds("orderheader").empty());

  EXPECT_TRUE(Run());
  EXPECT_EQ(TargetOrderIds("orderheader"), (std::vector<std::string>{"T1", "T2", "T3"}));
}

struct EscapedFailureCase {
  const char* name;
  const char* table;
  const char* column;
  const char* step;
  const char* description;
  /// The faulty line follows two accepted lines with different line statuses.
  bool afterConflictingLines = false;
};

void PrintTo(const EscapedFailureCase& c, std::ostream* out) { *out << c.name; }

class EscapedFailureTest : public OrderFailureTest,
                           public ::testing::WithParamInterface<EscapedFailureCase> {};

TEST_P(EscapedFailureTest, LoggedAsABlock) {
  const EscapedFailureCase& failure = GetParam();
  testing::Row header = OrderHeader("E1");
  int lineNumber = 1;
  if (failure.afterConflictingLines) {
    header = With(With(header, "ORDERSTATUS", Variant::Integer(4)), "HEADERBILLINGSTATUS",
                  Variant::Integer(8));
    InsertSource("orderline", OrderLine("E1", lineNumber++, 101));
    InsertSource("orderline",
                 With(OrderLine("E1", lineNumber++, 102), "BILLED", Variant::Integer(0)));
  }
  testing::Row line = OrderLine("E1", lineNumber, 100);
  if (std::string(failure.table) == "orderheader")
    header = With(header, failure.column, Variant::Null());
  else
    line = With(line, failure.column, Variant::Null());
  InsertSource("orderheader", header);
  InsertSource("orderline", line);
  InsertOrder("E2", {101});

  EXPECT_FALSE(Run());

  EXPECT_EQ(Log(),
            (std::vector<std::string>{
                "Order 'E1'", std::string("      An error occurred while ") + failure.step + ".",
                std::string("      ") + failure.description, "Order 'E2' is converted.",
                "1 order were converted.", "1 order were NOT converted."}));
  EXPECT_EQ(TargetOrderIds("orderheader"), (std::vector<std::string>{"E2"}));
  EXPECT_EQ(TargetOrderIds("orderline"), (std::vector<std::string>{"E2"}));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, EscapedFailureTest,
    ::testing::Values(EscapedFailureCase{"NullOrderStatus", "orderheader", "ORDERSTATUS",
                                         "checking the order status", "Invalid use of Null"},
                      EscapedFailureCase{"NullAllocated", "orderline", "ALLOCATED",
                                         "checking the order status", "Invalid use of Null"},
                      EscapedFailureCase{"NullAllocatedAfterConflictingLines", "orderline",
                                         "ALLOCATED", "checking the order status",
                                         "Invalid use of Null", true},
                      EscapedFailureCase{"NullAmountInFirstLine", "orderline", "AMOUNT",
                                         "converting the order lines", "Invalid use of Null"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mv
