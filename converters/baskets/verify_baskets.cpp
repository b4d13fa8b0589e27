// BasketVerification: ORDERLIST read as one stream, each group's baskets converted as the
// migration converts them and compared with the target's rows of that group.
#include "converters/baskets/verify_baskets.h"

#include "driver/convert_functions.h"
#include "driver/group_size.h"
#include "driver/open_order_form_storage.h"
#include "platform/errors.h"
#include "platform/odbc/row_reader.h"

namespace mv {

void BasketVerification::Verify(const ConnectionValues& values) {
  const auto source =
      OpenSourceConnection(values.SDBServer, values.SUser, values.SPassword, values.SDB);
  const auto target = OpenConnection(values.TDBServer, values.TUser, values.TPassword, values.TDB);
  target->AskReadOnly();
  storage_ =
      OpenOrderFormStorage(values.SDBServer, values.SUser, values.SPassword, values.SDB, log_);
  if (!storage_) throw errors::ObjectNotSet();
  const long total = source->QueryValue("SELECT COUNT(*) AS BASKETS FROM ORDERLIST").ToLong();
  UnitVerification verification(
      *target, {"BASKETHEADER", "BASKETID", ConvertBaskets::kHeaderColumns, ""},
      {"BASKETLINE", "BASKETID", ConvertBaskets::kLineColumns, "BASKETLINENR"}, account_);
  const int groupSize = GroupSize();
  long number = 0;
  {
    RowReader baskets(*source, "SELECT * FROM ORDERLIST");
    for (bool more = true; more && !progress_.StopRequested();) {
      std::vector<WrittenUnit> group;
      while (static_cast<int>(group.size()) < groupSize && (more = baskets.Next())) {
        if (auto unit = WrittenBasket(baskets.Row(), ++number)) group.push_back(std::move(*unit));
      }
      verification.VerifyGroup(group);
      progress_.Report(account_.Migration(), number, total, "baskets");
    }
  }
  FindExtraUnits(*target, "BASKETHEADER", "BASKETID", *source, "ORDERLIST", "order_id", groupSize,
                 account_, [this] { return progress_.StopRequested(); });
}

std::optional<WrittenUnit> BasketVerification::WrittenBasket(const FieldRow& row, long number) {
  const Variant& basketId = row.Field("order_id");
  if (basketId.IsNull()) {
    account_.Find({"refused: no basket id", "(no id, row " + std::to_string(number) + ")", ""});
    return std::nullopt;
  }
  const std::string id = basketId.ToText();
  std::shared_ptr<const VariantObject> orderForm;
  try {
    orderForm = storage_->DataOf(row);
  } catch (const RuntimeError& error) {
    if (error.Number() != errors::kOrderFormDamaged) throw;
    account_.Find({"refused: damaged order form", id, error.Description()});
    return std::nullopt;
  }
  ConvertBaskets::BasketRows rows;
  log_.Hold();
  try {
    const bool valid = converter_.ValidateBasket(log_, *orderForm);
    log_.DropHeld();
    if (!valid) {
      account_.Find({"refused: validation failure", id, ""});
      return std::nullopt;
    }
    rows = converter_.RowsOf(*orderForm);
  } catch (const RuntimeError& error) {
    log_.DropHeld();
    account_.Find({"refused: damaged order form", id, error.Description()});
    return std::nullopt;
  }
  return WrittenUnit{id, std::move(rows.headers.front()), std::move(rows.lines)};
}

}  // namespace mv
