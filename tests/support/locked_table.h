// A target table that another session keeps locked (PostgreSQL): writes there wait until their
// query time-out ends them; reads still answer.
#pragma once

#include <memory>
#include <string>

#include "platform/odbc/connection.h"
#include "tests/support/test_database.h"

namespace mv::testing {

class LockedTable {
 public:
  /// Another session of `database` holds a SHARE lock on `table` (inserts wait; selects do
  /// not) until this ends.
  LockedTable(const TestDatabase& database, const std::string& table);
  ~LockedTable();
  LockedTable(const LockedTable&) = delete;
  LockedTable& operator=(const LockedTable&) = delete;

 private:
  std::unique_ptr<Connection> holder_;
};

}  // namespace mv::testing
