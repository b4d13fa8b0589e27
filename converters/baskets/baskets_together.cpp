// One group of ConvertBaskets as UnitGroups writes it: the quick way with no savepoint per
// basket and the rows of all its baskets written together at its end, or the careful way
// basket by basket.
#include <exception>

#include "converters/baskets/convert_baskets.h"

namespace mv {

bool ConvertBaskets::ConvertGroupTogether(BasketRun& run, BasketSource& source) {
  BasketGroup group(*this, run, source);
  if (group.ReadNextRow()) {
    run.groups->Write(group, [this](const RuntimeError& error) { return EndsTheMigration(error); });
  }
  // The baskets read before a failure to read are converted, as when they are read one by one.
  if (group.ReadError()) std::rethrow_exception(group.ReadError());
  return group.More();
}

ConvertBaskets::BasketGroup::BasketGroup(ConvertBaskets& converter, BasketRun& run,
                                         BasketSource& source)
    : converter_(converter), run_(run), source_(source) {}

bool ConvertBaskets::BasketGroup::ReadNextRow() {
  try {
    more_ = !converter_.StopRequested() && source_.rows->Next();
  } catch (const std::exception&) {
    readError_ = std::current_exception();
    more_ = false;
  }
  if (more_) rows_.push_back(CurrentRow(run_, source_));
  return more_;
}

TogetherOutcome ConvertBaskets::BasketGroup::WriteTogether() {
  int written = 0;
  do {
    accounts_.push_back(converter_.ConvertBasket(run_, source_, rows_.back(), true));
    if (accounts_.back().written) ++written;
  } while (written < run_.groups->Size() && ReadNextRow());
  run_.inserts->Write();
  return TogetherOutcome::Written;
}

void ConvertBaskets::BasketGroup::CountTogether() {
  for (std::size_t i = 0; i < accounts_.size(); ++i) {
    converter_.ReportRowProgress(rows_[i], source_);
    converter_.CountBasket(run_, accounts_[i], rows_[i]);
  }
}

void ConvertBaskets::BasketGroup::ForgetTogether() {
  for (std::size_t i = 0; i < accounts_.size(); ++i) {
    if (accounts_[i].written) run_.convertedIds.erase(rows_[i].fields.Field("order_id").ToText());
  }
  accounts_.clear();
  run_.inserts->Forget();
}

void ConvertBaskets::BasketGroup::WriteOneByOne() {
  // Fails where the quick way failed, if at all, keeping the baskets before it.
  for (const BasketRow& row : rows_) converter_.ConvertRow(run_, source_, row);
}

void ConvertBaskets::BasketGroup::EndAfterFailedWrite(const RuntimeError& error) { throw error; }

}  // namespace mv
