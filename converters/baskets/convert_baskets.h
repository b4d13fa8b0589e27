// ConvertBaskets: the stored 2.2 baskets into the 2.3 tables BASKETHEADER and BASKETLINE.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "converters/baskets/row_inserts.h"
#include "driver/converted_ids.h"
#include "driver/converter.h"
#include "driver/rows_ahead.h"
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
  /// Where groups hold more than one basket, a group's baskets are first written together at
  /// its end, without a savepoint per basket; when anything fails, that is undone and the
  /// group is converted again basket by basket, which then fails as described.
  bool Convert(const ConnectionValues& values, TextWriter& log) override;

  /// The SQL literal of a text. On failure (text that is not UTF-8) writes the error's
  /// description as one line to the log of the last Convert, when there was one, and
  /// answers "".
  std::string SQLEncode(const std::string& i_sStrValue);

 private:
  /// Compares the target with the rows RowsOf builds, instead of writing them.
  friend class BasketVerification;

  /// The columns of the header's and of a line's row, in the order of their values.
  static const std::vector<std::string> kHeaderColumns;
  static const std::vector<std::string> kLineColumns;

  /// The source side of one call: its connection, the order-form storage and the rows of
  /// ORDERLIST. Members are declared so that the reader goes before its connection.
  struct BasketSource {
    std::unique_ptr<Connection> connection;
    std::unique_ptr<OrderFormStorage> storage;
    std::int64_t total = 0;
    std::unique_ptr<RowReader> baskets;
    /// The rows of `baskets`, read a group ahead (made once the target is open).
    std::unique_ptr<RowsAhead> rows;
  };
  /// The rows of one basket's inserts, built before anything is sent: each value as its
  /// literal in an insert's text holds it (AppendSQLValue).
  struct BasketRows {
    std::vector<std::vector<Variant>> headers;
    std::vector<std::vector<Variant>> lines;
  };
  /// The basket rows waiting for the target: a basket's until its end, a group's until the
  /// group's end when its baskets are written together.
  struct BasketInserts {
    explicit BasketInserts(Connection& target);
    void Add(const BasketRows& rows);
    /// Writes the headers first, so that every line finds its basket's header. Nothing is left
    /// waiting afterwards, also when writing failed.
    void Write();
    void Forget();
    RowInserts headers;
    RowInserts lines;
  };
  /// The target side of one call and what it has counted. It outlives the source side, so that
  /// a failure can still commit the baskets before it.
  struct BasketRun {
    explicit BasketRun(TextWriter& runLog) : log(runLog) {}
    TextWriter& log;
    std::unique_ptr<Connection> target;
    std::unique_ptr<BasketInserts> inserts;
    std::unique_ptr<UnitGroups> groups;
    /// The ids of the baskets the target holds or this run converted.
    ConvertedIds convertedIds;
    /// Rows skipped for a missing id or a damaged order form.
    std::int32_t damaged = 0;
    /// The ORDERLIST rows read so far.
    long row = 0;
  };

  /// One row of ORDERLIST, held so that its group can be converted again, and its number
  /// counting the rows from 1.
  struct BasketRow {
    FieldRow fields;
    long number = 0;
  };
  /// What one row came to: a basket written, or the label under which a rehearsal's summary
  /// counts its refusal, and whether it was skipped for a missing id or a damaged order form.
  struct BasketAccount {
    bool written = false;
    std::string refusal;
    bool damaged = false;
  };

  static BasketSource OpenSource(const ConnectionValues& values, TextWriter& log);
  void OpenTarget(BasketRun& run, const ConnectionValues& values);
  /// The row the reader stands on, counted.
  static BasketRow CurrentRow(BasketRun& run, BasketSource& source);
  /// Converts one row, its basket written under a savepoint of its own.
  void ConvertRow(BasketRun& run, BasketSource& source, const BasketRow& row);
  /// Reads and converts the rows of one group, its baskets written together at its end; a group
  /// where anything fails is converted again row by row. Answers whether rows may follow.
  bool ConvertGroupTogether(BasketRun& run, BasketSource& source);
  /// One group of baskets as UnitGroups writes it (GroupWrite): the quick way reads the
  /// group's rows as it converts them, leaving the baskets' inserts for the group's end; the
  /// careful way converts those rows one by one. A write that lost the connection, ran out of
  /// time or that a stop cancelled ends the migration with its error.
  class BasketGroup : public GroupWrite {
   public:
    BasketGroup(ConvertBaskets& converter, BasketRun& run, BasketSource& source);
    /// Adds the next row to the group, unless a stop was asked for, the rows are at their end
    /// or reading failed; answers whether it did.
    bool ReadNextRow();
    TogetherOutcome WriteTogether() override;
    void CountTogether() override;
    void ForgetTogether() override;
    void WriteOneByOne() override;
    void EndAfterFailedWrite(const RuntimeError& error) override;
    /// False after the last row or a stop.
    bool More() const { return more_; }
    /// A failure reading the next row, for the caller to throw once the group is written.
    std::exception_ptr ReadError() const { return readError_; }

   private:
    ConvertBaskets& converter_;
    BasketRun& run_;
    BasketSource& source_;
    std::vector<BasketRow> rows_;
    std::vector<BasketAccount> accounts_;  // of the quick way
    bool more_ = true;
    std::exception_ptr readError_;
  };
  /// Converts a row: its basket is written under a savepoint of its own, or, with `together`,
  /// its rows are left waiting in the run's inserts. A form that cannot be read or holds the wrong
  /// thing (a line list that is none, a NUL in a text) is the basket's failure: logged after its
  /// OrderID line and skipped. Failures of the target are thrown.
  BasketAccount ConvertBasket(BasketRun& run, BasketSource& source, const BasketRow& row,
                              bool together);
  /// Counts a converted row into its group, or into the refusals and damaged rows.
  void CountBasket(BasketRun& run, const BasketAccount& account, const BasketRow& row);
  void ReportRowProgress(const BasketRow& row, const BasketSource& source);
  /// The order form of `row`; null when the row is already converted or, after logging it, has
  /// no id or a damaged order form, with `account` telling which. Other failures are thrown.
  std::shared_ptr<const VariantObject> OrderFormOf(BasketRun& run, BasketSource& source,
                                                   const BasketRow& row, BasketAccount& account);
  /// Commits the last group, writes the summary line and closes both sides.
  bool Finish(BasketRun& run, BasketSource& source, const ConnectionValues& values);
  /// Keeps the baskets before the failure and logs the error.
  bool EndWithError(BasketRun& run, const std::exception& error);
  /// The basket's header and lines, under a savepoint of their own.
  static void WriteBasket(BasketRun& run, const BasketRows& rows);
  /// The rows of the basket's inserts. Throws for what the form holds wrongly.
  BasketRows RowsOf(const VariantObject& orderForm);
  void AddBasketHeader(const VariantObject& orderForm, std::vector<std::vector<Variant>>& headers);
  /// The lines numbered from 1 as a 16-bit number (Overflow from 32,768 lines).
  void AddBasketLines(const VariantObject& orderForm, std::vector<std::vector<Variant>>& lines);
  /// Appends to `row` the value as its literal holds it, by its kind: a text as it is, Null as
  /// Null, a Boolean or Long as its digits, a date as SQLDateText, any other kind as its text
  /// form, numbers with a decimal point whatever the regional settings. Throws for values
  /// without a text form (objects, byte arrays, errors) and Invalid procedure call for a text
  /// that is not UTF-8.
  void AppendSQLValue(std::vector<Variant>& row, const Variant& value);
  /// Writes the basket's block to `log` and answers whether no tested entry is Null. An
  /// order id that is no text is written as its text form; a Null one throws.
  bool ValidateBasket(TextWriter& log, const VariantObject& orderForm);

  /// The log of the last call, for SQLEncode.
  TextWriter* logFile_ = nullptr;
};

}  // namespace mv
