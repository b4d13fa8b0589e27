#ifndef _WIN32
#include "tests/support/frozen_server.h"

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <utility>

#include <gtest/gtest.h>

#include "platform/odbc/recordset.h"
#include "tests/support/converter_run.h"

namespace mv::testing {

std::string WhyNoServerToFreeze() {
  return setup::EngineFromEnvironment() == setup::Engine::Sqlite
             ? "SQLite is embedded: there is no server to freeze"
             : "";
}

Freeze::Freeze(std::vector<pid_t> processes, Start start)
    : processes_(std::move(processes)), rescue_([this] { RescueAfterAMinute(); }) {
  if (start == Start::Now) {
    for (pid_t process : processes_) ::kill(process, SIGSTOP);
  }
}

Freeze::~Freeze() {
  {
    const std::lock_guard lock(mutex_);
    ended_ = true;
  }
  endedSignal_.notify_all();
  rescue_.join();
  Thaw();
}

void Freeze::Thaw() {
  for (pid_t process : processes_) ::kill(process, SIGCONT);
}

void Freeze::RescueAfterAMinute() {
  std::unique_lock lock(mutex_);
  if (endedSignal_.wait_for(lock, std::chrono::seconds(60), [this] { return ended_; })) return;
  ADD_FAILURE() << "the call did not return from the frozen server within a minute";
  Thaw();
}

pid_t BackendOf(Connection& connection) {
  Recordset backend(connection, "select pg_backend_pid() as pid");
  return static_cast<pid_t>(backend.Field("pid").ToLong());
}

pid_t Postmaster() {
  std::ifstream file(std::string(std::getenv("PG_DATA_DIR")) + "/postmaster.pid");
  pid_t pid = 0;
  file >> pid;
  return pid;
}

namespace {

/// The SQL condition on pg_stat_activity for the processes of `databases` but the asking one.
std::string ProcessesOf(const std::vector<const TestDatabase*>& databases) {
  std::string names;
  for (const TestDatabase* database : databases) {
    names += (names.empty() ? "'" : ", '") + database->Address().database + "'";
  }
  return "datname in (" + names + ") and pid <> pg_backend_pid()";
}

}  // namespace

std::vector<pid_t> ServerProcesses(const std::vector<const TestDatabase*>& databases) {
  const auto monitor = databases.front()->Connect();
  std::vector<pid_t> processes;
  for (const std::vector<Variant>& row :
       Rows(*monitor, "select pid from pg_stat_activity where " + ProcessesOf(databases))) {
    processes.push_back(static_cast<pid_t>(row.at(0).ToLong()));
  }
  return processes;
}

void PrepareSelfFreezingCommit(const TestDatabase& database, const std::string& table,
                               const std::vector<const TestDatabase*>& databases) {
  const auto connection = database.Connect();
  connection->Execute("create table frozen_commit_armed (armed int)");
  // The server process sends SIGSTOP through a program it runs (a superuser's right).
  connection->Execute(
      "create function freeze_own_commit() returns trigger language plpgsql as $$ begin "
      "if exists (select 1 from frozen_commit_armed) "
      "and current_setting('mv.commit_frozen', true) is distinct from 'yes' then "
      "perform set_config('mv.commit_frozen', 'yes', true); "
      "execute format('copy (select 1) to program %L', 'kill -STOP ' || "
      "(select coalesce(string_agg(pid::text, ' '), '') from pg_stat_activity where " +
      ProcessesOf(databases) +
      ") || ' ' || pg_backend_pid()); "
      "end if; return null; end $$");
  connection->Execute("create constraint trigger freeze_own_commit after insert on " + table +
                      " deferrable initially deferred for each row "
                      "execute function freeze_own_commit()");
}

void ArmFrozenCommit(const TestDatabase& database) {
  database.Connect()->Execute("insert into frozen_commit_armed values (1)");
}

void DisarmFrozenCommit(const TestDatabase& database) {
  database.Connect()->Execute("delete from frozen_commit_armed");
}

}  // namespace mv::testing
#endif
