// Statements that do not answer: time-outs that hold against a frozen server, and the
// operator's stop cancelling a running statement.
#include "platform/odbc/statement_watchdog.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "driver/convert_functions.h"
#include "platform/errors.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/recordset.h"
#include "platform/odbc/row_reader.h"
#include "platform/runtime_error.h"
#include "tests/support/frozen_server.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

using testing::TestDatabase;

constexpr int kShortQueryTimeout = 2;

std::unique_ptr<Connection> ConnectWithQueryTimeout(
    const TestDatabase& database, int seconds,
    ResultReading reading = ResultReading::DriverDefault) {
  const auto& address = database.Address();
  return std::make_unique<Connection>(
      BuildConnectionString(address.server, address.user, address.password, address.database),
      kLoginTimeoutSeconds, seconds, reading);
}

/// A statement that keeps the engine busy for a minute.
std::string SlowQuery(setup::Engine engine) {
  return engine == setup::Engine::Sqlite
             ? "with recursive c(n) as (select 1 union all select n + 1 from c where n < "
               "10000000000) select count(*) from c"
             : "select pg_sleep(60)";
}

/// A query whose first thousand rows come at once and whose next one keeps the engine busy for a
/// minute: read streamed, the engine works on it while the rows are fetched.
std::string SlowAfterAThousandRows(setup::Engine engine) {
  return engine == setup::Engine::Sqlite
             ? "with recursive c(n) as (select 1 union all select n + 1 from c where n < "
               "10000000000) select n from c where n <= 1000 or n = 10000000000"
             : "select n from generate_series(1, 2000) as n "
               "where case when n > 1000 then pg_sleep(60) is not null else true end";
}

/// The error `call` fails with; fails the test when it succeeds.
RuntimeError FailureOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error;
  }
  ADD_FAILURE() << "expected the call to fail";
  return RuntimeError(0, "");
}

bool SaysTimeout(const RuntimeError& error) {
  std::string text = error.Description();
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return text.find("timeout") != std::string::npos;
}

TEST(StatementWatchdogTest, SlowStatementIsCancelledWithTheTimeoutError) {
  TestDatabase database;
  auto connection = ConnectWithQueryTimeout(database, kShortQueryTimeout);
  // The engine's own time-out may come first (PostgreSQL's statement_timeout): its text then.
  const RuntimeError error =
      FailureOf([&] { connection->Execute(SlowQuery(database.GetEngine())); });
  EXPECT_TRUE(SaysTimeout(error)) << error.Description();
  EXPECT_FALSE(error.ConnectionLost());
  EXPECT_NO_THROW(connection->Execute("select 1")) << "the connection is usable after a cancel";
}

TEST(StatementWatchdogTest, SlowRowIsCancelledWithTheTimeoutError) {
  TestDatabase database;
  auto connection = ConnectWithQueryTimeout(database, kShortQueryTimeout, ResultReading::Streamed);
  RowReader rows(*connection, SlowAfterAThousandRows(database.GetEngine()));
  const RuntimeError error = FailureOf([&] {
    while (rows.Next()) {
    }
  });
  EXPECT_TRUE(SaysTimeout(error)) << error.Description();
}

TEST(StatementWatchdogTest, AQueryTimeoutOfZeroMeansNone) {
  TestDatabase database;
  auto connection = ConnectWithQueryTimeout(database, 0);
  // Long enough for the watchdog to look at it (a few tenths of a second).
  EXPECT_NO_THROW(connection->Execute(
      "with recursive n(i) as (select 1 union all select i + 1 from n where i < 1000000) "
      "select count(*) from n"));
}

TEST(StatementWatchdogTest, StopCancelsTheRunningStatementButNotTheNextOne) {
  TestDatabase database;
  auto connection = ConnectWithQueryTimeout(database, 600);
  std::atomic<bool> returned = false;
  // Stops until the call returns, so that one stop surely comes while it runs.
  std::thread stopper([&] {
    while (!returned) {
      odbc::CancelRunningStatements();
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  });
  const RuntimeError error =
      FailureOf([&] { connection->Execute(SlowQuery(database.GetEngine())); });
  EXPECT_FALSE(SaysTimeout(error)) << error.Description();
  returned = true;
  stopper.join();
  EXPECT_NO_THROW(connection->Execute("select 1"));
}

#ifndef _WIN32
using testing::BackendOf;
using testing::Freeze;
using testing::Postmaster;

struct FrozenCall {
  const char* name;
  bool wholeServer;  // the postmaster too, so that a cancel request waits as well
  std::function<void(Connection&)> call;
  std::function<void(Connection&)> before = [](Connection&) {};  // while the server answers
};

void PrintTo(const FrozenCall& call, std::ostream* out) { *out << call.name; }

std::string Named(const ::testing::TestParamInfo<FrozenCall>& info) { return info.param.name; }

class FrozenServerTest : public ::testing::TestWithParam<FrozenCall> {
 protected:
  void SetUp() override {
    if (const std::string why = testing::WhyNoServerToFreeze(); !why.empty()) GTEST_SKIP() << why;
  }
};

TEST_P(FrozenServerTest, TimesOutAndCutsTheLink) {
  TestDatabase database;
  auto connection = ConnectWithQueryTimeout(database, kShortQueryTimeout);
  GetParam().before(*connection);
  std::vector<pid_t> frozen{BackendOf(*connection)};
  if (GetParam().wholeServer) frozen.push_back(Postmaster());
  const Freeze freeze(frozen);
  const RuntimeError error = FailureOf([&] { GetParam().call(*connection); });
  EXPECT_EQ(error.Number(), errors::kQueryTimeout) << error.Description();
  EXPECT_EQ(error.Description(), "Query timeout expired");
  EXPECT_TRUE(error.ConnectionLost());
}

void SelectOne(Connection& connection) { connection.Execute("select 1"); }

void OpenTransaction(Connection& connection) {
  connection.BeginTransaction();
  SelectOne(connection);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, FrozenServerTest,
    ::testing::Values(FrozenCall{"Execute", false, SelectOne},
                      FrozenCall{"ExecuteOnAWhollyFrozenServer", true, SelectOne},
                      // The driver fetches a large result in blocks: the second needs the server.
                      FrozenCall{"FetchOfTheNextBlock", false,
                                 [](Connection& connection) {
                                   RowReader rows(connection,
                                                  "select generate_series(1, 100000) as n");
                                   while (rows.Next()) {
                                   }
                                 }},
                      // A transaction's end is not a statement: it can only be cut off.
                      FrozenCall{"Commit", false,
                                 [](Connection& connection) { connection.CommitTransaction(); },
                                 OpenTransaction},
                      FrozenCall{"Rollback", false,
                                 [](Connection& connection) { connection.RollbackTransaction(); },
                                 OpenTransaction}),
    Named);

TEST(StatementWatchdogTest, ConnectingToAFrozenServerFailsAfterTheLoginTimeout) {
  if (const std::string why = testing::WhyNoServerToFreeze(); !why.empty()) GTEST_SKIP() << why;
  TestDatabase database;
  const auto& address = database.Address();
  const Freeze freeze({Postmaster()});
  EXPECT_THROW(Connection(BuildConnectionString(address.server, address.user, address.password,
                                                address.database),
                          kShortQueryTimeout, kShortQueryTimeout),
               RuntimeError);
}

#else
TEST(FrozenServerTest, NeedsPosixSignals) {
  GTEST_SKIP() << "Windows has no SIGSTOP to freeze the server with, and a frozen server's TCP "
                  "link is not cut there";
}
#endif

}  // namespace
}  // namespace mv
