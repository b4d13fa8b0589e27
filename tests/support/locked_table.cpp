#include "tests/support/locked_table.h"

namespace mv::testing {

LockedTable::LockedTable(const TestDatabase& database, const std::string& table)
    : holder_(database.Connect()) {
  holder_->BeginTransaction();
  holder_->Execute("lock table " + table + " in share mode");
}

LockedTable::~LockedTable() {
  try {
    holder_->RollbackTransaction();
  } catch (...) {
    // The lock goes with the session.
  }
}

}  // namespace mv::testing
