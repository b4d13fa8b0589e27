// One ODBC statement on a connection: execute, describe and fetch result columns as Variants,
// bind Variants as parameters, every call that waits for the server under the watchdog.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/odbc/column_info.h"
#include "platform/odbc/internal/handle.h"
#include "platform/odbc/internal/statement_context.h"
#include "platform/odbc/internal/value_binding.h"
#include "platform/variant.h"

namespace mv::odbc {

/// Every call that waits for the server (execute, or fetch a row with its values) is watched:
/// one that has not answered within the connection's query time-out is cancelled and throws
/// RuntimeError errors::kQueryTimeout "Query timeout expired" (or the driver's own time-out
/// text), also when the driver itself never gives up; one running when the operator stops the
/// run is cancelled and throws the driver's error.
class Statement {
 public:
  /// A statement on the connection `context` comes from, which must outlive the statement.
  explicit Statement(StatementContext context);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  /// Runs `sql`. Throws RuntimeError 5 for a text holding a NUL character, which no driver
  /// would take whole.
  void ExecuteDirect(const std::string& sql);
  /// Prepares `sql`; refuses a NUL character as ExecuteDirect does. On a connection whose
  /// driver reads texts only up to a NUL, a query is prepared inside one that flags such
  /// texts (odbc/internal/nul_flags.h); FetchRow then gives them marked.
  void Prepare(const std::string& sql);
  /// Sets parameter `number` (from 1) to `value`, typed as a value of `column`, for the
  /// executions that follow until it is set again. Each parameter keeps its buffer and its
  /// binding from one execution to the next; it is bound again only when the value needs
  /// another type or a larger buffer, so that a prepared statement executed over and over is
  /// bound once.
  void BindParameter(SQLUSMALLINT number, const Variant& value, const ColumnInfo& column);
  void Execute();
  /// Runs the catalog query for the primary key columns of `table` (SQLPrimaryKeys).
  void PrimaryKeys(const std::string& table);
  /// The result columns of the executed statement.
  std::vector<ColumnInfo> DescribeColumns();
  /// Moves to the next result row and reads its values, of `columns` (DescribeColumns), into
  /// `values`, which it clears first; false, with `values` empty, after the last row. The
  /// fetch and the reading of the row's values are watched as one call.
  bool FetchRow(const std::vector<ColumnInfo>& columns, std::vector<Variant>& values);
  /// Closes the result of the last execution, read or not, so that the connection takes other
  /// statements and this one can be executed again; nothing when there is none.
  void CloseResult();

  const Handle& Get() const { return statement_; }

 private:
  /// Runs `call` under the connection's query time-out; see the class.
  template <typename Call>
  auto Watched(Call call);
  /// Runs `call`, which executes `sql` (empty for a catalog query), under the watchdog, and
  /// tells the connection's session (odbc::ServerSession), which may refuse it under strict
  /// results; a result it gives counts as unread until fetched past its last row.
  template <typename Call>
  void Run(Call call, std::string_view sql);
  void PrepareText(const std::string& sql);

  StatementContext context_;
  Handle statement_;
  std::string prepared_;                                   // the text of the prepared statement
  std::optional<std::vector<ColumnInfo>> flaggedColumns_;  // the inner query's, when flagged
  std::string nulFlags_;                                   // the current row's flags
  /// A parameter's value and how the driver was last told to read it.
  struct BoundParameter {
    ParameterValue value;
    std::optional<ParameterType> boundType;
    const char* boundBuffer = nullptr;
    size_t boundLength = 0;  // the buffer length the driver was given
  };
  /// By number from 1; a deque, so that the buffers and indicators the driver holds stay where
  /// they are when more parameters are added.
  std::deque<BoundParameter> parameters_;
};

}  // namespace mv::odbc
