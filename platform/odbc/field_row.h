// The values of one result row by column name: the interface every row source offers, and a
// row held on its own after its result has moved on.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/odbc/column_info.h"
#include "platform/variant.h"

namespace mv {

/// RuntimeError 3265: a column name the row does not have.
[[noreturn]] void ThrowItemNotFound();
/// RuntimeError 3021: a row asked for where there is none.
[[noreturn]] void ThrowNoCurrentRecord();

/// A row whose values are read by column name, in any letter case.
class FieldSource {
 public:
  virtual ~FieldSource() = default;
  /// Throws RuntimeError 3265 for a name the row does not have.
  virtual const Variant& Field(std::string_view name) const = 0;
};

/// The columns of one result, found by name in any letter case.
class ResultColumns {
 public:
  ResultColumns() = default;
  explicit ResultColumns(std::vector<odbc::ColumnInfo> columns);

  const std::vector<odbc::ColumnInfo>& All() const { return columns_; }
  size_t size() const { return columns_.size(); }
  const odbc::ColumnInfo& operator[](size_t index) const { return columns_[index]; }
  bool Contains(std::string_view name) const;
  /// The first column named `name`. Throws RuntimeError 3265 for a name no column has.
  size_t Index(std::string_view name) const;

 private:
  std::vector<odbc::ColumnInfo> columns_;
  bool uniqueNames_ = true;        // no two columns share a name in any letter case
  mutable size_t lastColumn_ = 0;  // where the last name lookup ended
};

/// One row of a result, held with its result's columns.
class FieldRow : public FieldSource {
 public:
  FieldRow(std::shared_ptr<const ResultColumns> columns, std::vector<Variant> values)
      : columns_(std::move(columns)), values_(std::move(values)) {}
  const Variant& Field(std::string_view name) const override {
    return values_[columns_->Index(name)];
  }
  /// The value of column `index` (ResultColumns::Index), for rows read column by column many
  /// times over without looking their names up each time.
  const Variant& FieldAt(size_t index) const { return values_[index]; }
  const ResultColumns& Columns() const { return *columns_; }

 private:
  std::shared_ptr<const ResultColumns> columns_;
  std::vector<Variant> values_;
};

}  // namespace mv
