// RowsAhead: a batch of rows read and their ids asked about before the first is handed out.
#include "driver/rows_ahead.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/runtime_error.h"

namespace mv {

RowsAhead::RowsAhead(RowReader& reader, std::size_t batch, ConvertedIds& convertedIds,
                     std::string idColumn)
    : reader_(reader),
      batch_(std::max<std::size_t>(batch, 1)),
      convertedIds_(convertedIds),
      idColumn_(std::move(idColumn)) {}

bool RowsAhead::Next() {
  current_.reset();
  if (ahead_.empty() && !ended_ && !readError_) ReadBatch();
  if (ahead_.empty()) {
    if (readError_) std::rethrow_exception(std::exchange(readError_, nullptr));
    return false;
  }
  current_.emplace(std::move(ahead_.front()));
  ahead_.pop_front();
  return true;
}

const FieldRow& RowsAhead::Row() const {
  if (!current_) ThrowNoCurrentRecord();
  return *current_;
}

void RowsAhead::ReadBatch() {
  try {
    while (ahead_.size() < batch_) {
      if (!reader_.Next()) {
        ended_ = true;
        break;
      }
      ahead_.push_back(reader_.Row());
    }
  } catch (const std::exception&) {
    readError_ = std::current_exception();
  }
  std::vector<std::string> ids;
  for (const FieldRow& row : ahead_) {
    // An id that cannot be read is left to the converter, which fails that unit as it would.
    try {
      const Variant& id = row.Field(idColumn_);
      if (!id.IsNull()) ids.push_back(id.ToText());
    } catch (const RuntimeError&) {
    }
  }
  convertedIds_.AskTargetAbout(ids);
}

}  // namespace mv
