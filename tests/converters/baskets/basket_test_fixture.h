// The basket tests' shared part: order forms that pass the validation, and a fixture with a
// source, a target and a log for whole basket migrations.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "converters/baskets/convert_baskets.h"
#include "platform/date_time.h"
#include "platform/variant_object.h"
#include "tests/support/converter_run.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/test_database.h"

namespace mv::testing {

inline constexpr DateTime kOrderDate{2002, 3, 4, 5, 6, 7};

/// The request date of line `line`.
DateTime RequestDate(int line);
/// A line that passes the validation, not configurable.
std::shared_ptr<VariantObject> Line(int number);
/// An order form with `id` that passes the validation, with `lines`.
std::shared_ptr<VariantObject> Basket(const std::string& id,
                                      const std::vector<std::shared_ptr<VariantObject>>& lines);
/// A valid order form with `lineCount` valid lines.
std::shared_ptr<VariantObject> ValidBasket(const std::string& id, int lineCount);

class ConvertBasketsTest : public ::testing::Test {
 protected:
  ConvertBasketsTest() : values_(testing::ValuesFor(source_, target_)) {}

  /// Stores the order forms under their own order ids, in this order.
  void Store(const std::vector<std::shared_ptr<VariantObject>>& forms);

  /// One run of the converter, appending to the test's log.
  bool Run() {
    ConvertBaskets converter;
    return RunConverter(converter, values_, logPath_);
  }

  std::string Log() const { return testing::WithoutTargetDialectLines(ReadFileBytes(logPath_)); }

  std::string Summary(int converted) const {
    return std::to_string(converted) + " saved baskets copied/converted to " + values_.TDB +
           "-database on " + values_.TDBServer + "-SQL Server.";
  }

  std::vector<std::vector<Variant>> Target(const std::string& sql) const {
    return Rows(*target_.Connect(), sql);
  }

  /// The BASKETIDs of the target's headers, in order.
  std::vector<std::string> HeaderIds() const;

  TestDatabase source_{"source"};
  TestDatabase target_{"target"};
  ConnectionValues values_;
  TempFolder folder_;
  std::string logPath_ = folder_.File("Vantrel23Conversion.log");
};

}  // namespace mv::testing
