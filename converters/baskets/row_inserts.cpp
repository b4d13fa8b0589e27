// RowInserts: rows joined into one VALUES list until it is full, then executed at once or kept.
#include "converters/baskets/row_inserts.h"

namespace mv {

void RowInserts::Add(const std::string& row) {
  statement_ += rows_ == 0 ? head_ : ", ";
  statement_ += row;
  if (++rows_ == kRowsPerStatement) Complete();
}

void RowInserts::Finish() {
  if (rows_ > 0) Complete();
}

void RowInserts::Complete() {
  rows_ = 0;
  if (target_) {
    target_->Execute(statement_);
    statement_.clear();
  } else {
    kept_.push_back(std::move(statement_));
    statement_.clear();
  }
}

void RowInserts::Execute(Connection& target) const {
  for (const std::string& statement : kept_) target.Execute(statement);
}

}  // namespace mv
