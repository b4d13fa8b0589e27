#include "driver/unit_groups.h"

namespace mv {

UnitGroups::UnitGroups(Connection& target, TextWriter& log, int size)
    : target_(target), log_(log), size_(target.TakesSavepoints() && size > 1 ? size : 1) {}

UnitGroups::~UnitGroups() { Abandon(); }

void UnitGroups::Abandon() {
  if (!open_) return;
  open_ = false;
  written_ = 0;
  transaction_.reset();  // rolls back
  log_.DropHeld();
}

void UnitGroups::Open() {
  if (open_) return;
  // A group of one needs no transaction of its own: the unit's savepoint is its transaction.
  if (size_ > 1) transaction_ = std::make_unique<Transaction>(target_);
  open_ = true;
  written_ = 0;
  log_.Hold();
}

bool UnitGroups::UnitWritten() {
  ++written_;
  if (written_ < size_) return false;
  Commit();
  return true;
}

void UnitGroups::Commit() {
  if (!open_) return;
  open_ = false;
  const std::unique_ptr<Transaction> transaction = std::move(transaction_);
  try {
    if (transaction) transaction->Commit();
  } catch (...) {
    log_.DropHeld();
    throw;
  }
  committed_ += written_;
  written_ = 0;
  log_.ReleaseHeld();
}

}  // namespace mv
