// Writing baskets or orders in groups: one transaction for many units, each unit in a
// savepoint of its own, and the log lines of a group written only once it is committed.
#pragma once

#include <memory>
#include <string>

#include "platform/odbc/connection.h"
#include "platform/text_file.h"

namespace mv {

/// The log line for a group whose commit failed or got no answer: the server may have kept the
/// units from `first` to `last` or not.
std::string UnknownOutcomeLine(const std::string& units, const std::string& first,
                               const std::string& last);

class UnitGroups {
 public:
  /// Groups of up to `size` units on `target`; of one unit each where the engine takes no
  /// savepoints. `log` must outlive the groups. A `rehearsal` opens one transaction for all
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
  /// reaches the caller.
  void Commit();

  /// Rolls the open group back, if any, and drops its held log lines.
  void Abandon();
  /// Drops the log lines the open group holds so far and holds the ones that follow: for a
  /// group whose units are written again after their first try was undone.
  void DropHeldLines();

  /// The most units a group takes: 1 where the engine takes no savepoints.
  int Size() const { return size_; }

  /// The units of the groups committed so far.
  long Committed() const { return committed_; }

 private:
  Connection& target_;
  TextWriter& log_;
  int size_;
  std::unique_ptr<Transaction> rehearsal_;    // the rehearsal's transaction, never committed
  std::unique_ptr<Transaction> transaction_;  // none for groups of one unit, nor in a rehearsal
  bool open_ = false;
  int written_ = 0;  // units in the open group
  long committed_ = 0;
  std::string units_;
  std::string firstId_;  // of the open group's units
  std::string lastId_;
};

}  // namespace mv
