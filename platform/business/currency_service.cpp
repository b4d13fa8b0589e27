// DatabaseCurrencyService: a currency's decimals and locale id from the currency table.
#include "platform/business/currency_service.h"

#include "platform/errors.h"
#include "platform/odbc/recordset.h"
#include "platform/runtime_error.h"
#include "platform/utilities/quoted_literal.h"

namespace mv {

std::shared_ptr<const VariantObject> DatabaseCurrencyService::GetCurrencyData(
    const Variant& currencyCode) {
  const std::string code = currencyCode.ToText();
  Recordset currency(target_, "select DECIMALS, LOCALEID from currency where CURRENCYCODE = " +
                                  QuotedLiteral(code));
  if (currency.Eof()) {
    throw errors::CurrencyNotFound(code);
  }
  auto data = VariantObject::NewDictionary();
  data->Set("DECIMALS", currency.Field("DECIMALS"));
  data->Set("LOCALEID", currency.Field("LOCALEID"));
  return data;
}

}  // namespace mv
