// UnitGroups: a group's transaction and held log lines, the quick write under a savepoint, the
// careful way after a unit fails, and the commit that releases the log lines.
#include "driver/unit_groups.h"

#include <exception>
#include <optional>
#include <utility>

#include "platform/errors.h"
#include "platform/runtime_error.h"

namespace mv {

std::string UnknownOutcomeLine(const std::string& units, const std::string& first,
                               const std::string& last) {
  return "The commit of the " + units + " from '" + first + "' to '" + last +
         "' got no answer or failed: whether they are in the target is unknown; a rerun "
         "converts those not yet there.";
}

std::string NoSavepointsLine(const std::string& engineName, const std::string& units) {
  return "The target database (" + engineName + ") took no savepoints when tried: each of the " +
         units + " is written in a transaction of its own.";
}

UnitGroups::UnitGroups(Connection& target, TextWriter& log, int size, bool rehearsal,
                       std::string units)
    : target_(target),
      log_(log),
      size_(target.Capabilities().savepoints && size > 1 ? size : 1),
      units_(std::move(units)) {
  if (!target.Capabilities().savepoints) {
    // Without savepoints a unit could only be undone with the transaction that holds the ones
    // before it.
    if (rehearsal) {
      throw errors::ProviderError("A rehearsal needs savepoints, which " + target.EngineName() +
                                  " does not take through this program");
    }
    log_.WriteLine(NoSavepointsLine(target.EngineName(), units_));
    return;
  }
  if (rehearsal) rehearsal_ = std::make_unique<Transaction>(target);
}

UnitGroups::~UnitGroups() { Abandon(); }

void UnitGroups::Abandon() {
  if (!open_) return;
  open_ = false;
  written_ = 0;
  transaction_.reset();  // rolls back
  log_.DropHeld();
}

bool UnitGroups::Write(GroupWrite& group,
                       const std::function<bool(const RuntimeError&)>& endsTheMigration) {
  Open();
  if (size_ == 1) {
    group.WriteOneByOne();
    return true;
  }
  TogetherOutcome outcome = TogetherOutcome::UnitFailed;
  std::optional<RuntimeError> failure;
  {
    Savepoint together(target_);  // undoes the group's rows unless kept
    try {
      outcome = group.WriteTogether();
      if (outcome == TogetherOutcome::Written) together.Keep();
    } catch (const RuntimeError& error) {
      failure = error;
    } catch (const std::exception&) {
      // Not the target's failure: the careful way finds which unit it belongs to.
      outcome = TogetherOutcome::UnitFailed;
    }
  }
  // Counting may fill the group and commit it: its failure is the commit's, not the write's.
  if (outcome == TogetherOutcome::Written && !failure) {
    group.CountTogether();
    return true;
  }
  if (outcome == TogetherOutcome::Ended && !failure) {
    Abandon();
    return false;
  }
  if (failure && endsTheMigration(*failure)) {
    try {
      group.EndAfterFailedWrite(*failure);
    } catch (...) {
      group.ForgetTogether();
      Abandon();
      throw;
    }
    group.ForgetTogether();
    Abandon();
    return false;
  }
  group.ForgetTogether();
  // The careful way writes the group's log lines again.
  log_.DropHeld();
  log_.Hold();
  if (target_.TransactionLost()) LeaveLostTransaction();
  group.WriteOneByOne();
  if (target_.TransactionLost()) AbandonLostGroup();
  return true;
}

void UnitGroups::LeaveLostTransaction() {
  // The server ended the transaction after a failed write, with every row of the group in it:
  // the group is written again unit by unit, each in a transaction of its own, so that only a
  // failing unit is lost.
  if (rehearsal_) {
    throw errors::ProviderError("The server ended the rehearsal's transaction after a failure");
  }
  transaction_.reset();  // rolls back
}

void UnitGroups::AbandonLostGroup() {
  // A unit's failure ended the transaction while the group was written unit by unit: the units
  // written before it in the group are rolled back with it.
  const std::string lost = written_ > 0 ? " from '" + firstId_ + "' to '" + lastId_ + "'" : "";
  Abandon();
  throw errors::ProviderError("The server ended the transaction of the " + units_ + lost +
                              " after a failure: none of them was written; a rerun converts them");
}

void UnitGroups::Open() {
  // A group whose transaction was left after a failure ends before the next one opens.
  if (open_ && size_ > 1 && !transaction_ && !rehearsal_) Commit();
  if (open_) return;
  // A group of one needs no transaction of its own: the unit's savepoint is its transaction.
  if (size_ > 1 && !rehearsal_) transaction_ = std::make_unique<Transaction>(target_);
  // The quick way's savepoint is then one the server keeps, which tells when a failure ended
  // the transaction and the group must be written again unit by unit, each on its own.
  if (size_ > 1) target_.BeginOnServer();
  open_ = true;
  written_ = 0;
  log_.Hold();
}

bool UnitGroups::UnitWritten(const std::string& id) {
  if (written_ == 0) firstId_ = id;
  lastId_ = id;
  ++written_;
  if (written_ < size_) return false;
  Commit();
  return true;
}

void UnitGroups::Commit(const std::function<void()>& whenCommitted) {
  if (!open_) return;
  open_ = false;
  const std::unique_ptr<Transaction> transaction = std::move(transaction_);
  try {
    if (transaction) transaction->Commit();
  } catch (...) {
    log_.DropHeld();
    if (written_ > 0) log_.WriteLine(UnknownOutcomeLine(units_, firstId_, lastId_));
    written_ = 0;
    throw;
  }
  committed_ += written_;
  if (count_ && written_ > 0) count_(written_);
  written_ = 0;
  if (whenCommitted) whenCommitted();
  log_.ReleaseHeld();
}

}  // namespace mv
