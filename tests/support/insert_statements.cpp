#include "tests/support/insert_statements.h"

namespace mv::testing {

void CountInsertStatements(Connection& connection, const std::string& table) {
  connection.Execute("create table if not exists insert_statements (table_name varchar(100))");
  connection.Execute(
      "create or replace function count_insert_statement() returns trigger language plpgsql as "
      "$$ begin insert into insert_statements values (TG_TABLE_NAME); return null; end $$");
  connection.Execute("create trigger count_insert_statements_" + table + " after insert on " +
                     table + " for each statement execute function count_insert_statement()");
}

long InsertStatements(Connection& connection, const std::string& table) {
  return connection
      .QueryValue("select count(*) from insert_statements where table_name = '" + table + "'")
      .ToLong();
}

}  // namespace mv::testing
