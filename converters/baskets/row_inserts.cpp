// RowInserts: rows joined into one VALUES list until it is full, then executed at once or kept.
#include "converters/baskets/row_inserts.h"

#include <algorithm>
#include <utility>

namespace mv {

RowInserts::RowInserts(std::string head, Connection& target, bool executeWhenFull)
    : head_(std::move(head)),
      target_(target),
      executeWhenFull_(executeWhenFull),
      rowsPerStatement_(std::min(kRowsPerStatement, target.Capabilities().limits.rowsPerInsert)) {}

void RowInserts::Add(const std::string& row) {
  statement_ += rows_ == 0 ? head_ : ", ";
  statement_ += row;
  if (++rows_ == rowsPerStatement_) Complete();
}

void RowInserts::Finish() {
  if (rows_ > 0) Complete();
}

void RowInserts::Complete() {
  rows_ = 0;
  if (executeWhenFull_) {
    target_.Execute(statement_);
  } else {
    kept_.push_back(std::move(statement_));
  }
  statement_.clear();
}

void RowInserts::Execute() const {
  for (const std::string& statement : kept_) target_.Execute(statement);
}

}  // namespace mv
