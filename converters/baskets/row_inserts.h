// Rows of one table gathered into multi-row INSERT statements.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/odbc/connection.h"

namespace mv {

/// The rows of one table as multi-row literal inserts of up to kRowsPerStatement rows each (the
/// rows every engine takes in one VALUES list). With a target, a statement is executed as soon
/// as it is full, and the last one by Finish; without, the statements are kept for Execute.
class RowInserts {
 public:
  static constexpr int kRowsPerStatement = 500;

  /// `head` is the statement up to and including "VALUES ".
  explicit RowInserts(std::string head, Connection* target = nullptr)
      : head_(std::move(head)), target_(target) {}

  /// Adds one row: its literals in parentheses.
  void Add(const std::string& row);
  /// Completes the last statement.
  void Finish();
  /// Executes the kept statements in the order their rows were added.
  void Execute(Connection& target) const;

 private:
  void Complete();

  std::string head_;
  Connection* target_;
  std::string statement_;  // the statement being filled
  int rows_ = 0;           // the rows in it
  std::vector<std::string> kept_;
};

}  // namespace mv
