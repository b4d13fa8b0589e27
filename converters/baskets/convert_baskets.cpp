// The stored-basket migration: existence check, validation, and the INSERT statements.
#include "converters/baskets/convert_baskets.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <vector>

#include "driver/convert_functions.h"
#include "driver/open_order_form_storage.h"
#include "platform/orderform/order_form_format.h"
#include "platform/regional_settings.h"
#include "platform/runtime_error.h"
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
    default:
      break;
  }
  return text;
}

std::string DescriptionOf(const std::exception& error) {
  const auto* runtimeError = dynamic_cast<const RuntimeError*>(&error);
  return runtimeError ? runtimeError->Description() : error.what();
}

}  // namespace

bool ConvertBaskets::Convert(const ConnectionValues& values, TextWriter& log) {
  logFile_ = &log;
  try {
    auto source = OpenConnection(values.SDBServer, values.SUser, values.SPassword, values.SDB);
    auto storage =
        OpenOrderFormStorage(values.SDBServer, values.SUser, values.SPassword, values.SDB, log);
    auto baskets = OpenRecordset(*source, "SELECT * FROM ORDERLIST");
    auto target = OpenConnection(values.TDBServer, values.TUser, values.TPassword, values.TDB);
    std::int32_t converted = 0;
    std::int32_t damaged = 0;
    for (long row = 1; !baskets->Eof(); baskets->MoveNext(), ++row) {
      const Variant& basketId = baskets->Field("order_id");
      std::shared_ptr<const VariantObject> orderForm;
      try {
        if (BasketExists(*target, basketId.ToText())) continue;
        if (!storage) {
          throw RuntimeError(errors::kObjectNotSet,
                             "Object variable or With block variable not set");
        }
        orderForm = storage->GetData(basketId);
      } catch (const RuntimeError& error) {
        // A basket without id or with a damaged order form is logged and skipped, so that it
        // does not keep the baskets after it from being converted.
        if (!basketId.IsNull() && error.Number() != kOrderFormDamaged) throw;
        log.WriteLine("OrderID: " + (basketId.IsNull() ? "(no id, row " + std::to_string(row) + ")"
                                                       : basketId.ToText()));
        log.WriteLine("Error occured: " + error.Description());
        ++damaged;
        continue;
      }
      if (!ValidateBasket(log, *orderForm)) continue;
      Transaction basket(*target);
      InsertBasketHeader(*orderForm, *target);
      InsertBasketLines(*orderForm, *target);
      basket.Commit();
      ++converted;
    }
    log.WriteLine(std::to_string(converted) + " saved baskets copied/converted to " + values.TDB +
                  "-database on " + values.TDBServer + "-SQL Server.");
    storage.reset();
    source->Close();
    target->Close();
    return damaged == 0;
  } catch (const std::exception& error) {
    log.WriteLine("Error occured: " + DescriptionOf(error));
    return false;
  }
}

std::string ConvertBaskets::SQLEncode(const std::string& i_sStrValue) {
  try {
    return SQLEncodeString(i_sStrValue);
  } catch (const RuntimeError& error) {
    if (logFile_) logFile_->WriteLine(error.Description());
    return "";
  }
}

bool ConvertBaskets::BasketExists(Connection& target, const std::string& basketId) {
  const auto result = OpenRecordset(
      target, "SELECT BASKETID FROM BASKETHEADER WHERE BASKETID = " + SQLEncodeString(basketId));
  return !(result->Bof() && result->Eof());
}

void ConvertBaskets::InsertBasketHeader(const VariantObject& orderForm, Connection& target) {
  std::string statement =
      "INSERT INTO BASKETHEADER ("
      "BASKETID, BASKETNAME, "
      "BASKETDATE, CURRENCYCODE, "
      "USERID, USERLOCALE, "
      "BUSINESSPARTNERID) "
      "VALUES (";
  for (const char* name :
       {"order_id", "order_name", "order_date", "currency_code", "shopper_id", "user_locale"}) {
    AppendSQLValue(statement, Entry(orderForm, name), true);
  }
  AppendSQLValue(statement, Entry(orderForm, "business_partner_id"), false);
  target.Execute(statement);
}

void ConvertBaskets::InsertBasketLines(const VariantObject& orderForm, Connection& target) {
  const std::vector<Variant>& lines = Lines(orderForm);
  const std::int16_t lastPosition = LastLinePosition(lines);
  for (int position = 0; position <= lastPosition; ++position) {
    const VariantObject& line = lines[static_cast<std::size_t>(position)].AsObject();
    std::string statement =
        "INSERT INTO BASKETLINE("
        "BASKETID, BASKETLINENR, SKU, "
        "QUANTITY, REQUESTDATE, PRODUCTCONFIGURABLE, "
        "PRODUCTCONFIGID, PRODUCTCONFIGCOMPLETE "
        ") VALUES (";
    AppendSQLValue(statement, Entry(orderForm, "order_id"), true);
    AppendSQLValue(statement, Variant::Integer(Variant::Long(position + 1).ToInteger()), true);
    AppendSQLValue(statement, Entry(line, "SKU"), true);
    AppendSQLValue(statement, Entry(line, "Quantity"), true);
    AppendSQLValue(statement, Entry(line, "request_date"), true);
    if (Entry(line, "configurable").IsNull()) {
      statement += "0, Null, 0)";
    } else {
      AppendSQLValue(statement, Entry(line, "configurable"), true);
      AppendSQLValue(statement, Entry(line, "config_id"), true);
      const Variant complete = Entry(line, "config_complete");
      if (complete.IsNull()) {
        statement += "0)";
      } else {
        AppendSQLValue(statement, complete, false);
      }
    }
    target.Execute(statement);
  }
}

void ConvertBaskets::AppendSQLValue(std::string& statement, const Variant& value,
                                    bool moreFollows) {
  const std::string typeName = value.TypeName();
  if (typeName == "String") {
    statement += SQLEncodeString(value.AsString());
  } else if (typeName == "Null") {
    statement += "Null";
  } else if (typeName == "Boolean") {
    statement += std::to_string(value.ToInteger());
  } else if (typeName == "Long") {
    statement += SQLEncodeLong(value.ToLong());
  } else if (typeName == "Date") {
    statement += SQLEncodeDate(value.AsDate());
  } else {
    statement += SQLEncodeString(InvariantText(value));
  }
  statement += moreFollows ? ", " : ")";
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
