// The reference writer: each table's rows read forward and bound into one prepared multi-row
// insert, executed whenever it is full, the rest by an insert of their number.
#include "bench/plain_insert.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "platform/odbc/internal/insert_text.h"
#include "platform/odbc/internal/statement.h"
#include "platform/odbc/row_reader.h"

namespace mv::bench {
namespace {

constexpr size_t kParametersBelow = 2000;
constexpr size_t kMaxRowsPerInsert = 1000;

/// The insert of `rows` whole rows of `table`.
std::string InsertText(const std::string& table, const std::vector<odbc::ColumnInfo>& columns,
                       size_t rows) {
  std::vector<size_t> all(columns.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = i;
  return odbc::InsertText(table, ResultColumns(columns), all, rows);
}

/// Binds `values`, whole rows of `columns`, to `insert` and runs it.
void Insert(odbc::Statement& insert, const std::vector<Variant>& values,
            const std::vector<odbc::ColumnInfo>& columns) {
  for (size_t i = 0; i < values.size(); ++i) {
    insert.BindParameter(static_cast<SQLUSMALLINT>(i + 1), values[i], columns[i % columns.size()]);
  }
  insert.Execute();
}

/// Copies the rows of `table` from `from` into `to`; answers how many.
long CopyTable(Connection& from, Connection& to, const std::string& table) {
  RowReader rows(from, "select * from " + table);
  const std::vector<odbc::ColumnInfo>& columns = rows.Columns().All();
  const size_t rowsPerInsert =
      std::clamp<size_t>((kParametersBelow - 1) / columns.size(), 1, kMaxRowsPerInsert);
  odbc::Statement full(to.StatementContext());
  full.Prepare(InsertText(table, columns, rowsPerInsert));
  std::vector<Variant> pending;
  long copied = 0;
  for (; rows.Next(); ++copied) {
    for (const odbc::ColumnInfo& column : columns) pending.push_back(rows.Row().Field(column.name));
    if (pending.size() == rowsPerInsert * columns.size()) {
      Insert(full, pending, columns);
      pending.clear();
    }
  }
  if (!pending.empty()) {
    odbc::Statement rest(to.StatementContext());
    rest.Prepare(InsertText(table, columns, pending.size() / columns.size()));
    Insert(rest, pending, columns);
  }
  return copied;
}

}  // namespace

PlainInsertTime TimePlainInsert(Connection& from, Connection& to,
                                const std::vector<ComparedTable>& tables) {
  const auto start = std::chrono::steady_clock::now();
  PlainInsertTime result;
  Transaction transaction(to);
  for (const ComparedTable& table : tables) result.rows += CopyTable(from, to, table.name);
  transaction.Commit();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  result.seconds = elapsed.count();
  return result;
}

}  // namespace mv::bench
