// The stored-basket migration: existence check, validation, and the INSERT statements.
#include "converters/baskets/convert_baskets.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "driver/convert_functions.h"
#include "driver/converted_ids.h"
#include "driver/escaped_error.h"
#include "driver/group_size.h"
#include "driver/open_order_form_storage.h"
#include "driver/unit_groups.h"
#include "platform/errors.h"
#include "platform/odbc/row_reader.h"
#include "platform/orderform/order_form_format.h"
#include "platform/regional_settings.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"
#include "platform/utilities/sql_encode.h"

namespace mv {
namespace {

/// A tested entry and the line that reports it when Null.
struct RequiredEntry {
  const char* name;
  const char* message;
};

constexpr std::array<RequiredEntry, 5> kRequiredHeaderEntries = {{
    {"order_date", "     OrderDate was not filled."},
    {"currency_code", "     CurrencyCode was not filled."},
    {"shopper_id", "     ShopperID was not filled."},
    {"user_locale", "     UserLocale was not filled."},
    {"business_partner_id", "     BusinessPartnerID was not filled."},
}};

constexpr std::array<RequiredEntry, 3> kRequiredLineEntries = {{
    {"SKU", "     SKU was not filled."},
    {"Quantity", "     Quantity was not filled."},
    {"request_date", "     RequestDate was not filled."},
}};

/// The entry `name` of an order form or line; an entry the dictionary lacks reads as Null, so
/// that a missing shopper is reported like an unfilled one.
Variant Entry(const VariantObject& dictionary, std::string_view name) {
  return dictionary.Contains(name) ? dictionary.Get(name) : Variant::Null();
}

/// The entry `name` as Entry reads it, for the target column `column`. Throws for a text
/// holding a NUL character, which the insert's text could not carry.
Variant EntryFor(const VariantObject& dictionary, std::string_view name, const char* column) {
  Variant value = Entry(dictionary, name);
  if (HoldsNulCharacter(value)) throw errors::NulInText(column);
  return value;
}

/// The order form's line list. Throws Type mismatch when "items" is no object, 438 when it
/// is no list.
const std::vector<Variant>& Lines(const VariantObject& orderForm) {
  return Entry(orderForm, "items").AsObject().Elements();
}

/// The last line position as a 16-bit number; Overflow beyond 32,767.
std::int16_t LastLinePosition(const std::vector<Variant>& lines) {
  return Variant::Long(static_cast<std::int32_t>(lines.size()) - 1).ToInteger();
}

/// The text form of a number kind with '.' as decimal point, since the statement's text must
/// not depend on the regional settings; every other kind's text as the runtime gives it.
std::string InvariantText(const Variant& value) {
  std::string text = value.ToText();
  switch (value.Kind()) {
    case VariantKind::Single:
    case VariantKind::Double:
    case VariantKind::Currency:
    case VariantKind::Decimal:
      std::replace(text.begin(), text.end(), CurrentRegionalSettings().decimalSeparator, '.');
      break;
    case VariantKind::Empty:
    case VariantKind::Null:
    case VariantKind::Integer:
    case VariantKind::Long:
    case VariantKind::Date:
    case VariantKind::String:
    case VariantKind::Boolean:
    case VariantKind::Byte:
    case VariantKind::Error:
    case VariantKind::ByteArray:
    case VariantKind::Object:
      break;
  }
  return text;
}

/// How often the migration tells how far it is, in rows of ORDERLIST.
constexpr long kRowsPerProgressReport = 500;

}  // namespace

const std::vector<std::string> ConvertBaskets::kHeaderColumns{
    "BASKETID", "BASKETNAME", "BASKETDATE",       "CURRENCYCODE",
    "USERID",   "USERLOCALE", "BUSINESSPARTNERID"};

const std::vector<std::string> ConvertBaskets::kLineColumns{
    "BASKETID",        "BASKETLINENR",         "SKU",
    "QUANTITY",        "REQUESTDATE",          "PRODUCTCONFIGURABLE",
    "PRODUCTCONFIGID", "PRODUCTCONFIGCOMPLETE"};

ConvertBaskets::BasketInserts::BasketInserts(Connection& target)
    : headers(target, "BASKETHEADER", kHeaderColumns), lines(target, "BASKETLINE", kLineColumns) {}

void ConvertBaskets::BasketInserts::Add(const BasketRows& rows) {
  for (const std::vector<Variant>& header : rows.headers) headers.Add(header);
  for (const std::vector<Variant>& line : rows.lines) lines.Add(line);
}

void ConvertBaskets::BasketInserts::Write() {
  try {
    headers.Write();
    lines.Write();
  } catch (...) {
    Forget();
    throw;
  }
}

void ConvertBaskets::BasketInserts::Forget() {
  headers.Forget();
  lines.Forget();
}

bool ConvertBaskets::Convert(const ConnectionValues& values, TextWriter& log) {
  logFile_ = &log;
  BasketRun run{log};
  TallyConverted(0);  // heads the migration's summary
  try {
    BasketSource source = OpenSource(values, log);
    OpenTarget(run, values);
    // A rerun then asks the target about a group's baskets in one query.
    source.rows =
        std::make_unique<RowsAhead>(*source.baskets, GroupSize(), run.convertedIds, "order_id");
    if (run.groups->Size() == 1) {
      while (!StopRequested() && source.rows->Next()) {
        ConvertRow(run, source, CurrentRow(run, source));
      }
    } else {
      while (ConvertGroupTogether(run, source)) {
      }
    }
    return Finish(run, source, values);
  } catch (const std::exception& error) {
    return EndWithError(run, error);
  }
}

ConvertBaskets::BasketSource ConvertBaskets::OpenSource(const ConnectionValues& values,
                                                        TextWriter& log) {
  BasketSource source;
  source.connection =
      OpenSourceConnection(values.SDBServer, values.SUser, values.SPassword, values.SDB);
  source.storage =
      OpenOrderFormStorage(values.SDBServer, values.SUser, values.SPassword, values.SDB, log);
  source.total = OpenRecordset(*source.connection, "SELECT COUNT(*) AS BASKETS FROM ORDERLIST")
                     ->Field("BASKETS")
                     .ToLong();
  source.baskets = std::make_unique<RowReader>(*source.connection, "SELECT * FROM ORDERLIST");
  return source;
}

void ConvertBaskets::OpenTarget(BasketRun& run, const ConnectionValues& values) {
  run.target = OpenConnection(values.TDBServer, values.TUser, values.TPassword, values.TDB);
  run.log.WriteLine(TargetDialectLine(*run.target));
  run.inserts = std::make_unique<BasketInserts>(*run.target);
  run.convertedIds =
      ConvertedIds(*run.target, "BASKETHEADER", "BASKETID", 2 * GroupSize(), Rehearsing());
  run.groups =
      std::make_unique<UnitGroups>(*run.target, run.log, GroupSize(), Rehearsing(), "baskets");
  // Counted as each group commits: a log that fails later loses no count of what is converted.
  run.groups->CountCommitted([this](long baskets) { TallyConverted(baskets); });
}

ConvertBaskets::BasketRow ConvertBaskets::CurrentRow(BasketRun& run, BasketSource& source) {
  return {source.rows->Row(), ++run.row};
}

void ConvertBaskets::ConvertRow(BasketRun& run, BasketSource& source, const BasketRow& row) {
  ReportRowProgress(row, source);
  run.groups->Open();
  CountBasket(run, ConvertBasket(run, source, row, false), row);
}

ConvertBaskets::BasketAccount ConvertBaskets::ConvertBasket(BasketRun& run, BasketSource& source,
                                                            const BasketRow& row, bool together) {
  BasketAccount account;
  const std::shared_ptr<const VariantObject> orderForm = OrderFormOf(run, source, row, account);
  if (!orderForm) return account;
  BasketRows rows;
  try {
    if (!ValidateBasket(run.log, *orderForm)) return {false, "refused: validation failure", false};
    rows = RowsOf(*orderForm);
  } catch (const RuntimeError& error) {
    // The form was read but holds the wrong thing: the basket's own damage, which must not
    // keep the baskets after it from being converted.
    WriteErrorOccured(run.log, error);
    return {false, "refused: damaged order form", true};
  }
  if (together) {
    run.inserts->Add(rows);
  } else {
    WriteBasket(run, rows);
  }
  run.convertedIds.insert(row.fields.Field("order_id").ToText());
  return {true, {}, false};
}

void ConvertBaskets::CountBasket(BasketRun& run, const BasketAccount& account,
                                 const BasketRow& row) {
  if (account.written) {
    run.groups->UnitWritten(row.fields.Field("order_id").ToText());
    return;
  }
  Tally(account.refusal);
  if (account.damaged) ++run.damaged;
}

void ConvertBaskets::ReportRowProgress(const BasketRow& row, const BasketSource& source) {
  if (row.number % kRowsPerProgressReport == 0) {
    ReportProgress(row.number, source.total, "baskets");
  }
}

std::shared_ptr<const VariantObject> ConvertBaskets::OrderFormOf(BasketRun& run,
                                                                 BasketSource& source,
                                                                 const BasketRow& row,
                                                                 BasketAccount& account) {
  const Variant& basketId = row.fields.Field("order_id");
  try {
    if (!basketId.IsNull() && run.convertedIds.contains(basketId.ToText())) {
      account.refusal = "refused: already converted";
      return nullptr;
    }
    if (!source.storage) {
      throw errors::ObjectNotSet();
    }
    return source.storage->DataOf(row.fields);
  } catch (const RuntimeError& error) {
    // A basket without id or with a damaged order form is logged and skipped, so that it
    // does not keep the baskets after it from being converted.
    if (!basketId.IsNull() && error.Number() != errors::kOrderFormDamaged) throw;
    run.log.WriteLine("OrderID: " + (basketId.IsNull()
                                         ? "(no id, row " + std::to_string(row.number) + ")"
                                         : basketId.ToText()));
    WriteErrorOccured(run.log, error);
    account.refusal = basketId.IsNull() ? "refused: no basket id" : "refused: damaged order form";
    account.damaged = true;
    return nullptr;
  }
}

bool ConvertBaskets::Finish(BasketRun& run, BasketSource& source, const ConnectionValues& values) {
  run.groups->Commit();
  ReportProgress(run.row, source.total, "baskets");
  const bool stopped = StopRequested();
  if (stopped) run.log.WriteLine(kStoppedByOperator);
  run.log.WriteLine(std::to_string(run.groups->Committed()) +
                    " saved baskets copied/converted to " + values.TDB + "-database on " +
                    values.TDBServer + "-SQL Server.");
  run.groups.reset();
  run.inserts.reset();  // its statements go before their connection
  source.storage.reset();
  source.rows.reset();
  source.baskets.reset();  // its statement goes before its connection
  source.connection->Close();
  run.target->Close();
  return run.damaged == 0 && !stopped;
}

bool ConvertBaskets::EndWithError(BasketRun& run, const std::exception& error) {
  Tally("errors");  // before the log, which may be what failed
  // The baskets before the failing one stay converted, and their lines reach the log.
  try {
    if (run.groups) run.groups->Commit();
  } catch (const std::exception&) {
    // The group is lost with the connection; the error below says why.
  }
  if (StopRequested()) {
    // The statement the stop cancelled says nothing the operator does not know.
    run.log.WriteLine(kStoppedByOperator);
  } else {
    WriteErrorOccured(run.log, error);
  }
  return false;
}

std::string ConvertBaskets::SQLEncode(const std::string& i_sStrValue) {
  try {
    return SQLEncodeString(i_sStrValue);
  } catch (const RuntimeError& error) {
    if (logFile_) logFile_->WriteLine(error.Description());
    return "";
  }
}

void ConvertBaskets::WriteBasket(BasketRun& run, const BasketRows& rows) {
  Savepoint basket(*run.target);
  run.inserts->Add(rows);
  run.inserts->Write();
  basket.Keep();
}

ConvertBaskets::BasketRows ConvertBaskets::RowsOf(const VariantObject& orderForm) {
  BasketRows rows;
  AddBasketHeader(orderForm, rows.headers);
  AddBasketLines(orderForm, rows.lines);
  return rows;
}

void ConvertBaskets::AddBasketHeader(const VariantObject& orderForm,
                                     std::vector<std::vector<Variant>>& headers) {
  constexpr std::pair<const char*, const char*> kColumns[] = {
      {"order_id", "BASKETHEADER.BASKETID"},
      {"order_name", "BASKETHEADER.BASKETNAME"},
      {"order_date", "BASKETHEADER.BASKETDATE"},
      {"currency_code", "BASKETHEADER.CURRENCYCODE"},
      {"shopper_id", "BASKETHEADER.USERID"},
      {"user_locale", "BASKETHEADER.USERLOCALE"},
      {"business_partner_id", "BASKETHEADER.BUSINESSPARTNERID"}};
  std::vector<Variant> row;
  for (const auto& [name, column] : kColumns) {
    AppendSQLValue(row, EntryFor(orderForm, name, column));
  }
  headers.push_back(std::move(row));
}

void ConvertBaskets::AddBasketLines(const VariantObject& orderForm,
                                    std::vector<std::vector<Variant>>& lines) {
  const std::vector<Variant>& items = Lines(orderForm);
  const std::int16_t lastPosition = LastLinePosition(items);
  for (int position = 0; position <= lastPosition; ++position) {
    const VariantObject& line = items[static_cast<std::size_t>(position)].AsObject();
    const Variant zero = Variant::String("0");
    std::vector<Variant> row;
    AppendSQLValue(row, EntryFor(orderForm, "order_id", "BASKETLINE.BASKETID"));
    AppendSQLValue(row, Variant::Integer(Variant::Long(position + 1).ToInteger()));
    AppendSQLValue(row, EntryFor(line, "SKU", "BASKETLINE.SKU"));
    AppendSQLValue(row, EntryFor(line, "Quantity", "BASKETLINE.QUANTITY"));
    AppendSQLValue(row, EntryFor(line, "request_date", "BASKETLINE.REQUESTDATE"));
    if (Entry(line, "configurable").IsNull()) {
      row.insert(row.end(), {zero, Variant::Null(), zero});
    } else {
      AppendSQLValue(row, EntryFor(line, "configurable", "BASKETLINE.PRODUCTCONFIGURABLE"));
      AppendSQLValue(row, EntryFor(line, "config_id", "BASKETLINE.PRODUCTCONFIGID"));
      const Variant complete =
          EntryFor(line, "config_complete", "BASKETLINE.PRODUCTCONFIGCOMPLETE");
      if (complete.IsNull()) {
        row.push_back(zero);
      } else {
        AppendSQLValue(row, complete);
      }
    }
    lines.push_back(std::move(row));
  }
}

void ConvertBaskets::AppendSQLValue(std::vector<Variant>& row, const Variant& value) {
  switch (value.Kind()) {
    case VariantKind::String:
      if (!IsValidUtf8(value.AsString())) throw errors::InvalidProcedureCall();
      row.push_back(value);
      break;
    case VariantKind::Null:
      row.push_back(value);
      break;
    case VariantKind::Boolean:
      row.push_back(Variant::String(std::to_string(value.ToInteger())));
      break;
    case VariantKind::Long:
      row.push_back(Variant::String(SQLEncodeLong(value.ToLong())));
      break;
    case VariantKind::Date:
      row.push_back(Variant::String(SQLDateText(value.AsDate())));
      break;
    case VariantKind::Empty:
    case VariantKind::Integer:
    case VariantKind::Single:
    case VariantKind::Double:
    case VariantKind::Currency:
    case VariantKind::Byte:
    case VariantKind::Decimal:
    case VariantKind::Error:
    case VariantKind::ByteArray:
    case VariantKind::Object:
      row.push_back(Variant::String(InvariantText(value)));
      break;
  }
}

bool ConvertBaskets::ValidateBasket(TextWriter& log, const VariantObject& orderForm) {
  bool valid = true;
  const auto test = [&](const VariantObject& dictionary, const RequiredEntry& entry) {
    if (Entry(dictionary, entry.name).IsNull()) {
      log.WriteLine(entry.message);
      valid = false;
    }
  };
  log.WriteLine("OrderID: " + Entry(orderForm, "order_id").ToText());
  for (const RequiredEntry& entry : kRequiredHeaderEntries) test(orderForm, entry);
  const std::vector<Variant>& lines = Lines(orderForm);
  const std::int16_t lastPosition = LastLinePosition(lines);
  for (int position = 0; position <= lastPosition; ++position) {
    log.WriteLine("     LineNr:" + std::to_string(position));
    const VariantObject& line = lines[static_cast<std::size_t>(position)].AsObject();
    for (const RequiredEntry& entry : kRequiredLineEntries) test(line, entry);
  }
  if (!valid) log.WriteLine("     Basket was not converted...");
  return valid;
}

}  // namespace mv
