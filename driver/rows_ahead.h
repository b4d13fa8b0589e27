// A source's rows read a batch ahead, so that a rerun asks the target about a batch of units
// in one query instead of one query a unit.
#pragma once

#include <cstddef>
#include <deque>
#include <exception>
#include <optional>
#include <string>

#include "driver/converted_ids.h"
#include "platform/odbc/field_row.h"
#include "platform/odbc/row_reader.h"

namespace mv {

/// Hands out the rows of a reader in its order, reading up to `batch` rows at a time. Before
/// the rows of a batch are handed out, the converted ids are asked about their ids (column
/// `idColumn`; a Null id is left out) in one query.
class RowsAhead {
 public:
  /// `reader` and `convertedIds` must outlive this.
  RowsAhead(RowReader& reader, std::size_t batch, ConvertedIds& convertedIds, std::string idColumn);

  /// Makes the next row current; false after the last. A failure to read a row is thrown once
  /// the rows before it have been handed out, as when rows are read one by one.
  bool Next();
  /// The current row; valid until the next call of Next.
  const FieldRow& Row() const;

 private:
  void ReadBatch();

  RowReader& reader_;
  std::size_t batch_;
  ConvertedIds& convertedIds_;
  std::string idColumn_;
  std::deque<FieldRow> ahead_;
  std::optional<FieldRow> current_;
  std::exception_ptr readError_;
  bool ended_ = false;
};

}  // namespace mv
