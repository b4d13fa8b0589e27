// Amounts and date-times read from one table and written to another keep their exact value on
// the real engines, or fail with Overflow where a kind cannot hold them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/recordset.h"
#include "platform/runtime_error.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

using setup::Engine;

class ExactValuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection_ = database_.Connect();
    for (const char* table : {"origin", "copy"}) {
      connection_->Execute(std::string("create table ") + table +
                           " (id integer primary key, amount numeric(19,4), small smallint, "
                           "stamp " +
                           (Postgres() ? "timestamp" : "datetime") + ")");
    }
  }

  bool Postgres() const { return database_.GetEngine() == Engine::Postgresql; }

  /// Copies every row of origin into copy through two recordsets, as the table copy does.
  void CopyRows() {
    Recordset from(*connection_, "select * from origin order by id");
    Recordset to(*connection_, "select * from copy");
    for (; !from.Eof(); from.MoveNext()) {
      to.AddNew();
      for (const char* column : {"id", "amount", "small", "stamp"}) {
        to.SetField(column, from.Field(column));
      }
    }
    to.UpdateBatch();
  }

  std::vector<std::string> Texts(const std::string& sql) {
    std::vector<std::string> texts;
    for (Recordset rows(*connection_, sql); !rows.Eof(); rows.MoveNext()) {
      texts.push_back(rows.Field("value").ToText());
    }
    return texts;
  }

  testing::TestDatabase database_;
  std::unique_ptr<Connection> connection_;
};

TEST_F(ExactValuesTest, AmountsBeyondCurrencyRangeCopyExactly) {
  const std::vector<std::string> amounts = {"922337203685477.5807", "922337203685477.5808",
                                            "999999999999999.9999", "-999999999999999.9999",
                                            "0.0001"};
  for (size_t i = 0; i < amounts.size(); ++i) {
    connection_->Execute("insert into origin (id, amount) values (" + std::to_string(i) + ", " +
                         amounts[i] + ")");
  }
  CopyRows();
  if (Postgres()) {
    // Decimal columns read as Decimal, never through Currency's 64 bits.
    Recordset rows(*connection_, "select amount from copy order by id");
    EXPECT_EQ(rows.Field("amount").TypeName(), "Decimal");
    EXPECT_EQ(
        Texts("select cast(amount as varchar(30)) as value from copy order by id"),
        (std::vector<std::string>{"922337203685477.5807", "922337203685477.5808",
                                  "999999999999999.9999", "-999999999999999.9999", "0.0001"}));
  }
  // Whatever the engine keeps of a value, the copy keeps the same.
  EXPECT_EQ(Texts("select amount as value from copy order by id"),
            Texts("select amount as value from origin order by id"));
}

TEST_F(ExactValuesTest, AnIntegerBeyondItsColumnKindIsOverflowNotWrapped) {
  if (Postgres()) GTEST_SKIP() << "PostgreSQL keeps smallint columns within their range";
  connection_->Execute("insert into origin (id, small) values (1, 70000)");
  try {
    Recordset rows(*connection_, "select small from origin");
    ADD_FAILURE() << "70000 read into a 16-bit Integer";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), errors::kOverflow);
  }
}

TEST_F(ExactValuesTest, DateTimesKeepTheirMilliseconds) {
  connection_->Execute(
      "insert into origin (id, stamp) values (1, '2024-02-29 10:20:30.5'), "
      "(2, '2024-03-01 23:59:59.123'), (3, '2024-03-02 08:00:00')");
  CopyRows();
  Recordset copied(*connection_, "select stamp from copy order by id");
  std::vector<DateTime> stamps;
  for (; !copied.Eof(); copied.MoveNext()) stamps.push_back(copied.Field("stamp").AsDate());
  EXPECT_EQ(stamps, (std::vector<DateTime>{{2024, 2, 29, 10, 20, 30, 500000000},
                                           {2024, 3, 1, 23, 59, 59, 123000000},
                                           {2024, 3, 2, 8, 0, 0, 0}}));
}

}  // namespace
}  // namespace mv
