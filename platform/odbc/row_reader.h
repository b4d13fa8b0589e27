// A forward-only reader of a query's rows: one row in memory at a time, so that a table of any
// size is read in bounded memory.
#pragma once

#include <memory>
#include <string_view>

#include "platform/odbc/field_row.h"
#include "platform/odbc/statement.h"

namespace mv {

class Connection;

class RowReader {
 public:
  /// Runs `sql` on `connection` (which must outlive the reader); no row is current yet.
  RowReader(Connection& connection, std::string_view sql);

  /// Makes the next row current; false after the last.
  bool Next();
  /// The current row; valid until the next call of Next.
  const FieldRow& Row() const;
  /// The result's columns, in result order.
  const ResultColumns& Columns() const { return *columns_; }

 private:
  odbc::Statement statement_;
  std::shared_ptr<const ResultColumns> columns_;
  std::unique_ptr<FieldRow> row_;
};

}  // namespace mv
