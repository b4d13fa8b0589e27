// The quick way of ConvertBaskets through a group: no savepoint per basket, the rows of all its
// baskets written together at its end, and the whole group converted again basket by basket
// when anything fails.
#include <exception>
#include <optional>
#include <vector>

#include "converters/baskets/convert_baskets.h"

namespace mv {

bool ConvertBaskets::ConvertGroupTogether(BasketRun& run, BasketSource& source) {
  GroupRows group;
  if (ReadNextRow(run, source, group)) {
    run.groups->Open();
    if (const auto accounts = ConvertTogether(run, source, group)) {
      for (std::size_t i = 0; i < accounts->size(); ++i) {
        ReportRowProgress(group.rows[i], source);
        CountBasket(run, (*accounts)[i], group.rows[i]);
      }
    } else {
      // The careful way writes the group's log lines again, and fails where the first try
      // failed, if at all, keeping the baskets before it.
      run.groups->DropHeldLines();
      for (const BasketRow& row : group.rows) ConvertRow(run, source, row);
    }
  }
  // The baskets read before a failure to read are converted, as when they are read one by one.
  if (group.error) std::rethrow_exception(group.error);
  return group.more;
}

bool ConvertBaskets::ReadNextRow(BasketRun& run, BasketSource& source, GroupRows& group) {
  try {
    group.more = !StopRequested() && source.baskets->Next();
  } catch (const std::exception&) {
    group.error = std::current_exception();
    group.more = false;
  }
  if (group.more) group.rows.push_back(CurrentRow(run, source));
  return group.more;
}

std::optional<std::vector<ConvertBaskets::BasketAccount>> ConvertBaskets::ConvertTogether(
    BasketRun& run, BasketSource& source, GroupRows& group) {
  std::vector<BasketAccount> accounts;
  try {
    // Undoes what the group wrote when it is left unkept.
    Savepoint together(*run.target);
    GroupInserts inserts;
    int written = 0;
    do {
      accounts.push_back(ConvertBasket(run, source, group.rows.back(), &inserts));
      if (accounts.back().written) ++written;
    } while (written < run.groups->Size() && ReadNextRow(run, source, group));
    inserts.Execute(*run.target);
    together.Keep();
    return accounts;
  } catch (const std::exception& error) {
    for (std::size_t i = 0; i < accounts.size(); ++i) {
      if (accounts[i].written)
        run.convertedIds.erase(group.rows[i].fields.Field("order_id").ToText());
    }
    // A stop or a time-out ends the migration with the group undone, its lines unlogged.
    const auto* failure = dynamic_cast<const RuntimeError*>(&error);
    if (failure && EndsTheMigration(*failure)) {
      run.groups->Abandon();
      throw;
    }
    return std::nullopt;
  }
}

void ConvertBaskets::GroupInserts::Execute(Connection& target) {
  // The headers go first, so that every line finds its basket's header.
  headers.Finish();
  lines.Finish();
  headers.Execute(target);
  lines.Execute(target);
}

}  // namespace mv
