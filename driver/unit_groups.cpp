#include "driver/unit_groups.h"

#include "platform/errors.h"
#include "platform/runtime_error.h"

namespace mv {

UnitGroups::UnitGroups(Connection& target, TextWriter& log, int size, bool rehearsal)
    : target_(target), log_(log), size_(target.Capabilities().savepoints && size > 1 ? size : 1) {
  if (!rehearsal) return;
  // Without savepoints a unit could only be undone with the transaction that holds the ones
  // before it.
  if (!target.Capabilities().savepoints) {
    throw errors::ProviderError("A rehearsal needs savepoints, which " + target.EngineName() +
                                " does not take through this program");
  }
  rehearsal_ = std::make_unique<Transaction>(target);
}

UnitGroups::~UnitGroups() { Abandon(); }

void UnitGroups::Abandon() {
  if (!open_) return;
  open_ = false;
  written_ = 0;
  transaction_.reset();  // rolls back
  log_.DropHeld();
}

void UnitGroups::DropHeldLines() {
  if (!open_) return;
  log_.DropHeld();
  log_.Hold();
}

void UnitGroups::Open() {
  if (open_) return;
  // A group of one needs no transaction of its own: the unit's savepoint is its transaction.
  if (size_ > 1 && !rehearsal_) transaction_ = std::make_unique<Transaction>(target_);
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
