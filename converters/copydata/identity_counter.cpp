// IdentityCounter: reading and restoring a PostgreSQL sequence or a SQL Server identity value.
#include "converters/copydata/identity_counter.h"

#include "driver/convert_functions.h"
#include "platform/unicode.h"

namespace mv {
namespace {

/// The value of the first row's column `name` as text.
std::string Text(Connection& connection, const std::string& sql, const std::string& name) {
  const auto rows = OpenRecordset(connection, sql);
  return rows->Eof() || rows->Field(name).IsNull() ? std::string() : rows->Field(name).ToText();
}

}  // namespace

IdentityCounter::IdentityCounter(Connection& connection, const std::string& table,
                                 const std::string& key)
    : connection_(connection) {
  if (connection.Capabilities().identityCounter == IdentityCounterStore::SerialSequence) {
    const std::string sequence = Text(connection,
                                      "select pg_get_serial_sequence('" + table + "', '" +
                                          AsciiLowerCase(key) + "') as SEQUENCENAME",
                                      "SEQUENCENAME");
    if (sequence.empty()) return;
    const auto state = OpenRecordset(
        connection,
        "select cast(last_value as varchar(20)) as LASTVALUE, is_called as ISCALLED from " +
            sequence);
    restore_ = "select setval('" + sequence + "', " + state->Field("LASTVALUE").ToText() + ", " +
               (state->Field("ISCALLED").ToBoolean() ? "true" : "false") + ") as RESTORED";
  } else if (connection.Capabilities().identityCounter == IdentityCounterStore::IdentityColumn) {
    // A table that never numbered a row gives its next row the seed, one that did the reseed
    // value plus the increment; the rows of the rolled-back copy count as numbered.
    const std::string value =
        Text(connection,
             "select cast(coalesce(last_value, seed_value - increment_value) as varchar(40)) as "
             "IDENTITYVALUE from sys.identity_columns where object_id = object_id('" +
                 table + "')",
             "IDENTITYVALUE");
    if (!value.empty()) restore_ = "DBCC CHECKIDENT ('" + table + "', RESEED, " + value + ")";
  }
}

void IdentityCounter::Restore() {
  if (restore_.empty()) return;
  if (connection_.Capabilities().identityCounter == IdentityCounterStore::SerialSequence) {
    OpenRecordset(connection_, restore_);  // setval answers with a row
  } else {
    connection_.Execute(restore_);
  }
}

}  // namespace mv
