// IdentityCounter: reading and restoring the counter of a table's key in the engine's words.
#include "converters/copydata/identity_counter.h"

#include "driver/convert_functions.h"
#include "platform/unicode.h"

namespace mv {

IdentityCounter::IdentityCounter(Connection& connection, const std::string& table,
                                 const std::string& key)
    : connection_(connection) {
  const IdentityCounterWords& words = connection.Words().identityCounter;
  if (words.read.empty()) return;
  const auto named = [&](std::string text) {
    return Filled(Filled(std::move(text), "table", table), "column", AsciiLowerCase(key));
  };
  const auto counter = OpenRecordset(connection, named(words.read));
  if (counter->Eof() || counter->Field("IDENTITYVALUE").IsNull()) return;
  restore_ = Filled(named(words.restore), "value", counter->Field("IDENTITYVALUE").ToText());
}

void IdentityCounter::Restore() {
  if (!restore_.empty()) connection_.Execute(restore_);
}

}  // namespace mv
