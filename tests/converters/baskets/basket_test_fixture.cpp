#include "tests/converters/baskets/basket_test_fixture.h"

#include "platform/orderform/order_form_format.h"
#include "tools/sample_data/order_list_writer.h"

namespace mv::testing {

DateTime RequestDate(int line) { return {2002, 4, line, 0, 0, 0}; }

std::shared_ptr<VariantObject> Line(int number) {
  auto line = VariantObject::NewDictionary();
  line->Set("SKU", Variant::String("A-" + std::to_string(number)));
  line->Set("Quantity", Variant::Long(number));
  line->Set("request_date", Variant::Date(RequestDate(number)));
  line->Set("configurable", Variant::Null());
  line->Set("config_id", Variant::Null());
  line->Set("config_complete", Variant::Null());
  return line;
}

std::shared_ptr<VariantObject> Basket(const std::string& id,
                                      const std::vector<std::shared_ptr<VariantObject>>& lines) {
  auto form = VariantObject::NewDictionary();
  form->Set("order_id", Variant::String(id));
  form->Set("order_name", Variant::String("Basket " + id));
  form->Set("order_date", Variant::Date(kOrderDate));
  form->Set("currency_code", Variant::String("EUR"));
  form->Set("shopper_id", Variant::String("S-77"));
  form->Set("user_locale", Variant::Long(1031));
  form->Set("business_partner_id", Variant::Long(12));
  auto items = VariantObject::NewList();
  for (const auto& line : lines) items->Append(Variant::Object(line));
  form->Set("Items", Variant::Object(items));
  return form;
}

std::shared_ptr<VariantObject> ValidBasket(const std::string& id, int lineCount) {
  std::vector<std::shared_ptr<VariantObject>> lines;
  for (int number = 1; number <= lineCount; ++number) lines.push_back(Line(number));
  return Basket(id, lines);
}

void ConvertBasketsTest::Store(const std::vector<std::shared_ptr<VariantObject>>& forms) {
  std::vector<OrderListRow> rows;
  for (const auto& form : forms) {
    rows.push_back({form->Get("order_id").ToText(), EncodeOrderForm(*form)});
  }
  AppendOrderListRows(*source_.Connect(), rows);
}

std::vector<std::string> ConvertBasketsTest::HeaderIds() const {
  std::vector<std::string> ids;
  for (const auto& row : Target("SELECT BASKETID FROM BASKETHEADER ORDER BY BASKETID")) {
    ids.push_back(row[0].AsString());
  }
  return ids;
}

}  // namespace mv::testing
