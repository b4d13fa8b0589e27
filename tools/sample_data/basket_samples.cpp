// Sample stored baskets: order forms of every value kind, marshalled into ORDERLIST.
#include "tools/sample_data/basket_samples.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/orderform/order_form_format.h"
#include "platform/variant.h"
#include "tools/sample_data/chooser.h"
#include "tools/sample_data/order_list_writer.h"

namespace mv::samples {
namespace {

constexpr std::array<std::string_view, 8> kBasketNames{
    "Müller € Wochenbedarf", "Weihnachten für Jürgen",
    "Café crème supplies",   "Kantoor",
    "Ærøskøbing order",      "Spare parts",
    "Säljstart Q3",          "Prix fixé"};
constexpr std::array<std::string_view, 4> kCurrencies{"EUR", "USD", "GBP", "SEK"};
constexpr std::array<std::int32_t, 4> kLocales{1031, 1033, 1043, 1053};
constexpr std::array<std::string_view, 6> kDescriptions{
    "Schraube M6 × 20", "Büroklammern 100 Stück", "Kabel 2 m", "Crème de jour",
    "Vinkel 90°",       "Filter €-Norm"};

/// How a sample basket departs from a valid one.
enum class Flaw { None, NoShopper, LineWithoutSku, NoLines };

Flaw ChooseFlaw(Chooser& choose) {
  switch (choose.Below(12)) {
    case 0:
      return Flaw::NoShopper;
    case 1:
      return Flaw::LineWithoutSku;
    case 2:
      return Flaw::NoLines;
    default:
      return Flaw::None;
  }
}

std::shared_ptr<VariantObject> SampleLine(Chooser& choose, int number, bool withoutSku) {
  auto line = VariantObject::NewDictionary();
  line->Set("SKU", withoutSku ? Variant::Null()
                              : Variant::String("SKU-" + std::to_string(100 + choose.Below(900))));
  line->Set("Quantity", Variant::Long(1 + choose.Below(12)));
  line->Set("request_date", Variant::Date(choose.Date()));
  line->Set("description", Variant::String(std::string(choose.Pick(kDescriptions))));
  line->Set("list_price", Variant::Currency((99 + choose.Below(50000)) * 100LL));
  line->Set("discount", Variant::Double(choose.Below(20) / 4.0));
  line->Set("line_number", Variant::Integer(static_cast<std::int16_t>(number)));
  if (choose.OneIn(3)) {
    line->Set("configurable", Variant::Boolean(true));
    line->Set("config_id", Variant::String("CFG-" + std::to_string(choose.Below(10000))));
    line->Set("config_complete",
              choose.OneIn(3) ? Variant::Null() : Variant::Boolean(choose.OneIn(2)));
  } else {
    line->Set("configurable", Variant::Null());
    line->Set("config_id", choose.OneIn(4) ? Variant::String("CFG-STALE") : Variant::Null());
    line->Set("config_complete", Variant::Null());
  }
  return line;
}

std::shared_ptr<VariantObject> SampleOrderForm(Chooser& choose, const std::string& basketId) {
  const Flaw flaw = ChooseFlaw(choose);
  auto orderForm = VariantObject::NewDictionary();
  orderForm->Set("order_id", Variant::String(basketId));
  orderForm->Set("order_name", choose.OneIn(5)
                                   ? Variant::Null()
                                   : Variant::String(std::string(choose.Pick(kBasketNames))));
  orderForm->Set("order_date", Variant::Date(choose.Date()));
  orderForm->Set("currency_code", Variant::String(std::string(choose.Pick(kCurrencies))));
  orderForm->Set("shopper_id", flaw == Flaw::NoShopper
                                   ? Variant::Null()
                                   : Variant::String("S-" + std::to_string(choose.Below(5000))));
  orderForm->Set("user_locale", Variant::Long(choose.Pick(kLocales)));
  orderForm->Set("business_partner_id", Variant::Long(1 + choose.Below(400)));
  // Drawn one after the other: the operands of one expression may be evaluated in any order.
  const int units = choose.Below(100000);
  const int cents = 10 + choose.Below(90);
  orderForm->Set("total", Variant::Decimal(std::to_string(units) + "." + std::to_string(cents)));
  auto items = VariantObject::NewList();
  const int lineCount = flaw == Flaw::NoLines ? 0 : 1 + choose.Below(5);
  const int lineWithoutSku = flaw == Flaw::LineWithoutSku ? choose.Below(lineCount) : -1;
  for (int i = 0; i < lineCount; ++i) {
    items->Append(Variant::Object(SampleLine(choose, i + 1, i == lineWithoutSku)));
  }
  orderForm->Set("Items", Variant::Object(items));
  return orderForm;
}

}  // namespace

void FillBasketSamples(SampleDatabases& databases, const SampleOptions& options) {
  constexpr int kBasketsPerBatch = 5000;
  Chooser choose(options.seed);
  Transaction transaction(databases.source);
  std::vector<OrderListRow> rows;
  for (int i = 0; i < options.count; ++i) {
    std::string basketId = "B-" + std::to_string(1001 + i);
    if (i % 25 == 12) basketId += "-O'Neil";
    rows.push_back({basketId, EncodeOrderForm(*SampleOrderForm(choose, basketId))});
    if (rows.size() == kBasketsPerBatch || i + 1 == options.count) {
      AppendOrderListRows(databases.source, rows);
      rows.clear();
    }
  }
  transaction.Commit();
}

}  // namespace mv::samples
