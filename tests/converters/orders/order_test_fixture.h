// Source and target databases for the submitted-order migration: rows of 2.2 orders, the 2.3
// reference data, a run with its log, and services that fail on request.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "converters/orders/convert_orders.h"
#include "tests/support/converter_run.h"
#include "tests/support/test_database.h"

namespace mv::testing {

/// Column values of one row, in the order they are set.
using Row = std::vector<std::pair<std::string, Variant>>;

/// Sets `column` in `row`, replacing an earlier value.
Row With(Row row, const std::string& column, Variant value);

/// A source header that the gate accepts (ORDERSTATUS 2, WEBPAYMENTMETHOD 1) with every column
/// set: currency EUR, business partner 7, FREIGHTTAX 4, DISCOUNTPERC 12.5.
Row OrderHeader(const std::string& orderId);
/// A source line with every column set: PRICE 3, QUANTITY 4, AMOUNT 10, LINETAX 2,
/// DISCOUNTAMOUNT 1, all flags True, LINEBILLINGSTATUS 0.
Row OrderLine(const std::string& orderId, int lineNumber, int productId);

/// Equal values; a Currency also equals the same amount of another number kind, since money
/// columns read as Double on SQLite.
bool SameValue(const Variant& actual, const Variant& expected);

/// Writes services that answer like the real ones except where a test makes one fail.
struct ServiceFailures {
  std::string currency;       // currency code whose lookup fails
  std::int32_t localeId = 0;  // locale id whose symbol lookup fails
  long businessPartner = 0;   // partner id whose name lookup fails
  std::int32_t product = 0;   // product id whose lookup fails
};
BusinessServicesFactory FailingServices(const ServiceFailures& failures);

class OrderDatabaseTest : public ::testing::Test {
 protected:
  OrderDatabaseTest();

  void InsertSource(const std::string& table, const Row& row);
  /// An accepted order with one line per product id.
  void InsertOrder(const std::string& orderId, const std::vector<int>& productIds);

  /// Runs the migration with `services` and answers its result; the log is read by Log().
  bool Run(BusinessServicesFactory services = OpenBusinessServices);
  std::vector<std::string> Log() const { return testing::LogLinesWithoutDialect(log_); }

  /// The rows of `sql` on the target.
  std::unique_ptr<Recordset> Target(const std::string& sql);
  long TargetCount(const std::string& table) { return CountRows(*targetConnection_, table); }

  TestDatabase source_{"source"};
  TestDatabase target_{"target"};
  std::unique_ptr<Connection> sourceConnection_ = source_.Connect();
  std::unique_ptr<Connection> targetConnection_ = target_.Connect();
  TempFolder folder_;
  std::string log_ = folder_.File("Vantrel23Conversion.log");
};

}  // namespace mv::testing
