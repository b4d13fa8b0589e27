// Rows of one table gathered into multi-row INSERT statements.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/odbc/connection.h"

namespace mv {

/// The rows of one table as multi-row literal inserts into a target: up to kRowsPerStatement
/// rows each, fewer where the target's statement limits take fewer rows in one VALUES list.
class RowInserts {
 public:
  static constexpr size_t kRowsPerStatement = 500;

  /// `head` is the statement up to and including "VALUES ". With `executeWhenFull` a statement
  /// is executed as soon as it is full, and the last one by Finish; otherwise the statements
  /// are kept for Execute. `target` must outlive the inserts.
  RowInserts(std::string head, Connection& target, bool executeWhenFull);

  /// Adds one row: its literals in parentheses.
  void Add(const std::string& row);
  /// Completes the last statement.
  void Finish();
  /// Executes the kept statements in the order their rows were added.
  void Execute() const;

 private:
  void Complete();

  std::string head_;
  Connection& target_;
  bool executeWhenFull_;
  size_t rowsPerStatement_;
  std::string statement_;  // the statement being filled
  size_t rows_ = 0;        // the rows in it
  std::vector<std::string> kept_;
};

}  // namespace mv
