// A PostgreSQL test server's processes frozen with SIGSTOP, as a server that stops answering is,
// for the tests of what the program does then. POSIX systems only: Windows has no SIGSTOP.
#pragma once

#ifndef _WIN32
#include <sys/types.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/odbc/connection.h"
#include "tests/support/test_database.h"

namespace mv::testing {

/// Why this test run has no server to freeze (SQLite is embedded); empty when it has one.
std::string WhyNoServerToFreeze();

/// Server processes frozen while it lives, thawed when it ends or, should the call under test
/// hang, after a minute, which fails the test.
class Freeze {
 public:
  enum class Start {
    Now,         // frozen here (SIGSTOP)
    Themselves,  // the processes stop themselves (SelfFreezingCommit); only thawed here
  };
  explicit Freeze(std::vector<pid_t> processes, Start start = Start::Now);
  ~Freeze();
  Freeze(const Freeze&) = delete;
  Freeze& operator=(const Freeze&) = delete;

 private:
  void Thaw();
  void RescueAfterAMinute();

  std::vector<pid_t> processes_;
  std::mutex mutex_;
  std::condition_variable endedSignal_;
  bool ended_ = false;
  std::thread rescue_;
};

/// The server process of `connection`.
pid_t BackendOf(Connection& connection);
/// The server's main process, which accepts connections and cancel requests.
pid_t Postmaster();
/// The server processes of every connection open on `databases`: the server as a test sees it,
/// while the server's main process goes on taking other tests' connections.
std::vector<pid_t> ServerProcesses(const std::vector<const TestDatabase*>& databases);

/// Makes the server process that commits a transaction which wrote to `table` of `database`
/// freeze the processes of `databases` (ServerProcesses), itself last, inside the commit, once
/// per transaction, while `database` holds a row in "frozen_commit_armed" (ArmFrozenCommit): a
/// commit that never answers.
void PrepareSelfFreezingCommit(const TestDatabase& database, const std::string& table,
                               const std::vector<const TestDatabase*>& databases);
/// Arms it; DisarmFrozenCommit ends it, so that a rerun's commits answer.
void ArmFrozenCommit(const TestDatabase& database);
void DisarmFrozenCommit(const TestDatabase& database);

}  // namespace mv::testing
#endif
