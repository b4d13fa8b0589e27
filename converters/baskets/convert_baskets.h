// ConvertBaskets: the stored 2.2 baskets into the 2.3 tables BASKETHEADER and BASKETLINE.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <unordered_set>

#include "driver/converter.h"
#include "driver/unit_groups.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/row_reader.h"
#include "platform/orderform/order_form_storage.h"
#include "platform/variant.h"

namespace mv {

class ConvertBaskets : public Converter {
 public:
  /// Converts every stored basket of the source's ORDERLIST whose header is not yet in the
  /// target: validates it, writing its block of log lines, and writes a valid one as one
  /// header row and one row per line, all or nothing (a savepoint of its own inside a group's
  /// transaction; the group's log lines follow its commit). Ends with the summary line and
  /// true. A row without id or whose order form is damaged is logged as "OrderID: " with the
  /// id (or "(no id, row N)", N counting the rows from 1) and "Error occured: " with the
  /// description, and skipped; the run goes on and answers false after the summary line. Any
  /// other error logs "Error occured: " and its description and answers false at once: the
  /// failing basket leaves nothing in the target, the ones before it stay converted. Rejected
  /// baskets are no error. Errors writing the log reach the caller.
  bool Convert(const ConnectionValues& values, TextWriter& log) override;

  /// The SQL literal of a text. On failure (text that is not UTF-8) writes the error's
  /// description as one line to the log of the last Convert, when there was one, and
  /// answers "".
  std::string SQLEncode(const std::string& i_sStrValue);

 private:
  /// The source side of one call: its connection, the order-form storage and the rows of
  /// ORDERLIST. Members are declared so that the reader goes before its connection.
  struct BasketSource {
    std::unique_ptr<Connection> connection;
    std::unique_ptr<OrderFormStorage> storage;
    std::int64_t total = 0;
    std::unique_ptr<RowReader> baskets;
  };
  /// The target side of one call and what it has counted. It outlives the source side, so that
  /// a failure can still commit the baskets before it.
  struct BasketRun {
    explicit BasketRun(TextWriter& runLog) : log(runLog) {}
    TextWriter& log;
    std::unique_ptr<Connection> target;
    std::unique_ptr<UnitGroups> groups;
    /// The ids of the baskets the target holds, grown by each conversion.
    std::unordered_set<std::string> convertedIds;
    /// Rows skipped for a missing id or a damaged order form.
    std::int32_t damaged = 0;
    /// The ORDERLIST rows read so far.
    long row = 0;
  };

  static BasketSource OpenSource(const ConnectionValues& values, TextWriter& log);
  void OpenTarget(BasketRun& run, const ConnectionValues& values);
  /// Converts the row the reader stands on.
  void ConvertRow(BasketRun& run, BasketSource& source);
  /// The order form of the current row; null when the row is already converted or, after
  /// logging it, has no id or a damaged order form. Other failures are thrown.
  std::shared_ptr<const VariantObject> OrderFormOf(BasketRun& run, BasketSource& source);
  /// Commits the last group, writes the summary line and closes both sides.
  bool Finish(BasketRun& run, BasketSource& source, const ConnectionValues& values);
  /// Keeps the baskets before the failure and logs the error.
  bool EndWithError(BasketRun& run, const std::exception& error);
  /// The ids of the baskets the target's BASKETHEADER holds, read once per run.
  static std::unordered_set<std::string> BasketIds(Connection& target);
  void InsertBasketHeader(const VariantObject& orderForm, Connection& target);
  /// The lines numbered from 1 as a 16-bit number (Overflow from 32,768 lines), in multi-row
  /// inserts of up to 500 lines.
  void InsertBasketLines(const VariantObject& orderForm, Connection& target);
  /// Appends the value's literal by its type name, then ", " or, for the last, ")". Numbers
  /// that go through their text form are written with a decimal point whatever the regional
  /// settings. Throws for values without a text form (objects, byte arrays, errors).
  void AppendSQLValue(std::string& statement, const Variant& value, bool moreFollows);
  /// Writes the basket's block to `log` and answers whether no tested entry is Null. An
  /// order id that is no text is written as its text form; a Null one throws.
  bool ValidateBasket(TextWriter& log, const VariantObject& orderForm);

  /// The log of the last call, for SQLEncode.
  TextWriter* logFile_ = nullptr;
};

}  // namespace mv
