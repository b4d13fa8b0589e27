// Writing baskets or orders in groups: one transaction for many units, their rows written
// together, a group where a unit fails written again unit by unit, each in a savepoint of its
// own, and the log lines of a group written only once it is committed.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/odbc/connection.h"
#include "platform/runtime_error.h"
#include "platform/text_file.h"

namespace mv {

/// The log line for a group whose commit failed or got no answer: the server may have kept the
/// units from `first` to `last` or not.
std::string UnknownOutcomeLine(const std::string& units, const std::string& first,
                               const std::string& last);

/// How the quick way of writing a group ended, when no write failed.
enum class TogetherOutcome {
  Written,     ///< every unit converted and the rows of all written together
  UnitFailed,  ///< a unit failed on its own: the group is written again the careful way
  Ended,       ///< the migration ends with this group; the converter has counted its units
};

/// The two ways a converter writes one group of its units, for UnitGroups::Write.
class GroupWrite {
 public:
  virtual ~GroupWrite() = default;
  /// The quick way: the units converted with their rows held back, then the rows of all of
  /// them written together. A failed write throws.
  virtual TogetherOutcome WriteTogether() = 0;
  /// The quick way's rows are kept: counts its units.
  virtual void CountTogether() = 0;
  /// Forgets what the quick way changed in memory (rows held back, units taken for
  /// converted): the target is back where the group began.
  virtual void ForgetTogether() = 0;
  /// The careful way: unit by unit, each in a savepoint of its own, so that only a failing
  /// unit is lost.
  virtual void WriteOneByOne() = 0;
  /// The quick way's write failed in a way that ends the migration (errors::MigrationEnd). Logs
  /// and counts what that means for the group's units, or throws `error`; the group is then
  /// abandoned.
  virtual void EndAfterFailedWrite(const RuntimeError& error) = 0;
};

/// The log line of a migration whose target took no savepoints when tried at connect.
std::string NoSavepointsLine(const std::string& engineName, const std::string& units);

class UnitGroups {
 public:
  /// Groups of up to `size` units on `target`; of one unit each where the engine took no
  /// savepoints when tried, which the log then says (NoSavepointsLine). `log` must outlive the
  /// groups. A `rehearsal` opens one transaction for all
  /// the groups, so that every unit's savepoint is nested in it, and commits nothing: a
  /// group's "commit" only counts its units and writes its log lines, and the destructor rolls
  /// every unit back. It throws when the engine takes no savepoints.
  /// `units` names them in the log ("baskets").
  UnitGroups(Connection& target, TextWriter& log, int size, bool rehearsal = false,
             std::string units = "units");
  /// Rolls back a group still open, and a rehearsal's transaction; held log lines are dropped.
  ~UnitGroups();
  UnitGroups(const UnitGroups&) = delete;
  UnitGroups& operator=(const UnitGroups&) = delete;

  /// Opens a group when none is open: a transaction (for groups of more than one unit), and
  /// from now on the log's lines are held. Each unit is then written under a Savepoint.
  void Open();
  /// Counts the unit `id` written (and kept) in the open group. Answers true when that filled
  /// the group and it was committed.
  bool UnitWritten(const std::string& id);
  /// Commits the open group, if any, and writes its held log lines. When the commit fails,
  /// the group's lines are dropped, the log names the group's first and last unit as of
  /// unknown outcome (for groups whose units were counted by UnitWritten), and the error
  /// reaches the caller. `whenCommitted` runs once the commit has succeeded, before the log
  /// lines are written, so that a log that cannot be written loses no count of what the
  /// target holds.
  void Commit(const std::function<void()>& whenCommitted = {});

  /// From now on `count` is told the units (those counted by UnitWritten) of each group whose
  /// commit succeeded, before its log lines are written.
  void CountCommitted(std::function<void(long units)> count) { count_ = std::move(count); }

  /// Writes one group of units into the open group (opened first when none is): the quick
  /// way, inside a savepoint that undoes its rows when it fails. After a unit's own failure
  /// the group's held log lines are dropped and it is written again the careful way. After a
  /// failed write that `endsTheMigration` (Converter::EndsTheMigration) the group is
  /// abandoned: nothing of it is written again.
  /// Groups of one unit go the careful way at once. Answers false when the migration ends with
  /// this group (abandoned, its held log lines dropped).
  /// When a failed write ended the transaction itself (Connection::TransactionLost), the whole
  /// transaction is rolled back and the careful way writes each unit in a transaction of its
  /// own. When a unit's failure ends it during the careful way, the group is abandoned and
  /// this throws an error naming its units; in a rehearsal, either ends the rehearsal.
  bool Write(GroupWrite& group, const std::function<bool(const RuntimeError&)>& endsTheMigration);

  /// Rolls the open group back, if any, and drops its held log lines.
  void Abandon();

  /// The most units a group takes: 1 where the engine takes no savepoints.
  int Size() const { return size_; }

  /// The units of the groups committed so far.
  long Committed() const { return committed_; }

 private:
  void LeaveLostTransaction();
  [[noreturn]] void AbandonLostGroup();

  Connection& target_;
  TextWriter& log_;
  int size_;
  std::unique_ptr<Transaction> rehearsal_;    // the rehearsal's transaction, never committed
  std::unique_ptr<Transaction> transaction_;  // none for groups of one unit, nor in a rehearsal
  bool open_ = false;
  int written_ = 0;  // units in the open group
  long committed_ = 0;
  std::function<void(long units)> count_;
  std::string units_;
  std::string firstId_;  // of the open group's units
  std::string lastId_;
};

}  // namespace mv
