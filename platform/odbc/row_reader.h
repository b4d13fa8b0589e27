// A forward-only reader of a query's rows: one row in memory at a time, so that a table of any
// size is read in bounded memory.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/odbc/column_info.h"
#include "platform/odbc/field_row.h"
#include "platform/variant.h"

namespace mv {

class Connection;

namespace odbc {
class Statement;
}

/// A value for one "?" of a query, sent typed as a value of `column`.
struct QueryParameter {
  Variant value;
  odbc::ColumnInfo column;
};

/// A query prepared once on a connection (which must outlive it) and run again and again with
/// other parameters, each run read by a RowReader: for a query that a loop asks many times.
class PreparedQuery {
 public:
  PreparedQuery(Connection& connection, std::string_view sql);
  ~PreparedQuery();
  PreparedQuery(const PreparedQuery&) = delete;
  PreparedQuery& operator=(const PreparedQuery&) = delete;

 private:
  friend class RowReader;
  std::unique_ptr<odbc::Statement> statement_;
};

class RowReader {
 public:
  /// Runs `sql` on `connection` (which must outlive the reader); no row is current yet.
  RowReader(Connection& connection, std::string_view sql);
  /// Prepares `sql`, binds its "?" in order to `parameters` and runs it.
  RowReader(Connection& connection, std::string_view sql,
            const std::vector<QueryParameter>& parameters);
  /// Runs `query` with its "?" bound in order to `parameters`; the query's result is closed
  /// when the reader goes, so that the query can run again. One reader of a query at a time.
  RowReader(PreparedQuery& query, const std::vector<QueryParameter>& parameters);
  ~RowReader();
  RowReader(const RowReader&) = delete;
  RowReader& operator=(const RowReader&) = delete;

  /// Makes the next row current; false after the last.
  bool Next();
  /// The current row; valid until the next call of Next.
  const FieldRow& Row() const;
  /// The result's columns, in result order.
  const ResultColumns& Columns() const { return *columns_; }

 private:
  /// Binds `parameters`, executes and describes the result's columns.
  void Execute(const std::vector<QueryParameter>& parameters);

  std::unique_ptr<odbc::Statement> owned_;  // the reader's own statement, when not a query's
  odbc::Statement* statement_;
  std::shared_ptr<const ResultColumns> columns_;
  std::unique_ptr<FieldRow> row_;
};

}  // namespace mv
