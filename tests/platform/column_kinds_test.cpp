// The kind and value each SQL column type reads as through a recordset, on the real engines.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/odbc/connection.h"
#include "platform/odbc/recordset.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

using setup::Engine;
using testing::TestDatabase;

/// One column of the table: its declared type and stored literal on each engine and the value
/// read back, which differs where the engine's driver reports the type as another one. A null
/// type means the engine has no such type.
struct ColumnKindCase {
  const char* name;
  const char* sqliteType;
  const char* postgresType;
  const char* sqliteLiteral;
  const char* postgresLiteral;
  Variant sqliteValue;
  Variant postgresValue;
};

void PrintTo(const ColumnKindCase& c, std::ostream* out) { *out << c.name; }

const ColumnKindCase kCases[] = {
    // psqlODBC hands a boolean out as a bit with BoolsAsChar = 0, which the driver
    // registration sets.
    {"Bit", "bit", "boolean", "1", "true", Variant::Boolean(true), Variant::Boolean(true)},
    {"TinyInt", "tinyint", nullptr, "200", nullptr, Variant::Byte(200), {}},
    {"SmallInt", "smallint", "smallint", "-12", "-12", Variant::Integer(-12),
     Variant::Integer(-12)},
    {"Int", "integer", "integer", "70000", "70000", Variant::Long(70000), Variant::Long(70000)},
    {"BigInt", "bigint", "bigint", "9007199254740993", "9007199254740993",
     Variant::Decimal("9007199254740993"), Variant::Decimal("9007199254740993")},
    // SQLite stores every floating-point number in 8 bytes; its driver reports REAL as DOUBLE.
    {"Real", "real", "real", "2.5", "2.5", Variant::Double(2.5), Variant::Single(2.5f)},
    {"Float", "float", "double precision", "0.1", "0.1", Variant::Double(0.1),
     Variant::Double(0.1)},
    // The SQLite driver reports DECIMAL(p,s) as a text column and NUMERIC as DOUBLE.
    {"Decimal10x2", "decimal(10,2)", "decimal(10,2)", "12345678.91", "12345678.91",
     Variant::String("12345678.91"), Variant::Decimal("12345678.91")},
    {"Numeric19x4", "numeric(19,4)", "numeric(19,4)", "-12.3456", "-12.3456",
     Variant::Double(-12.3456), Variant::Decimal("-12.3456")},
    // psqlODBC reports money as FLOAT; only the money types SQL Server reports as decimal read
    // as Currency.
    {"Money", nullptr, "money", nullptr, "12.34", {}, Variant::Double(12.34)},
    {"Date", "date", "date", "'2026-12-08'", "'2026-12-08'", Variant::Date({2026, 12, 8}),
     Variant::Date({2026, 12, 8})},
    {"Time", "time", "time", "'04:10:36'", "'04:10:36'", Variant::Date({1899, 12, 30, 4, 10, 36}),
     Variant::Date({1899, 12, 30, 4, 10, 36})},
    {"Timestamp", "timestamp", "timestamp", "'2026-12-08 04:10:36.125'",
     "'2026-12-08 04:10:36.125'", Variant::Date({2026, 12, 8, 4, 10, 36, 125000000}),
     Variant::Date({2026, 12, 8, 4, 10, 36, 125000000})},
    {"Char", "char(4)", "char(4)", "'ab'", "'ab'", Variant::String("ab"), Variant::String("ab  ")},
    {"VarChar", "varchar(20)", "varchar(20)", "'Grüße'", "'Grüße'", Variant::String("Grüße"),
     Variant::String("Grüße")},
    {"Text", "text", "text", "'a longer text'", "'a longer text'", Variant::String("a longer text"),
     Variant::String("a longer text")},
    {"Binary", "varbinary(4)", "bytea", "x'00ff10'", "'\\x00ff10'", Variant::Bytes({0, 255, 16}),
     Variant::Bytes({0, 255, 16})},
};

std::string ColumnOf(const ColumnKindCase& c) { return std::string("c_") + c.name; }

/// One table with a column of each type the engine has, and one row, shared by the cases.
class ColumnKindTest : public ::testing::TestWithParam<ColumnKindCase> {
 protected:
  static void SetUpTestSuite() {
    database_ = std::make_unique<TestDatabase>();
    connection_ = database_->Connect();
    std::string columns = "id";
    std::string declarations = "id integer primary key";
    std::string literals = "1";
    for (const ColumnKindCase& c : kCases) {
      if (Type(c) == nullptr) continue;
      columns += ", " + ColumnOf(c);
      declarations += ", " + ColumnOf(c) + " " + Type(c);
      literals += std::string(", ") + (Postgres() ? c.postgresLiteral : c.sqliteLiteral);
    }
    connection_->Execute("create table kinds (" + declarations + ")");
    connection_->Execute("insert into kinds (" + columns + ") values (" + literals + ")");
  }

  static void TearDownTestSuite() {
    connection_.reset();
    database_.reset();
  }

  static bool Postgres() { return database_->GetEngine() == Engine::Postgresql; }
  static const char* Type(const ColumnKindCase& c) {
    return Postgres() ? c.postgresType : c.sqliteType;
  }

  static inline std::unique_ptr<TestDatabase> database_;
  static inline std::unique_ptr<Connection> connection_;
};

TEST_P(ColumnKindTest, ReadsAsItsRuntimeKindWithItsValue) {
  const ColumnKindCase& c = GetParam();
  if (Type(c) == nullptr) GTEST_SKIP() << "the engine has no " << c.name << " type";
  Recordset rows(*connection_, "select * from kinds");
  const Variant& value = rows.Field(ColumnOf(c));
  const Variant& expected = Postgres() ? c.postgresValue : c.sqliteValue;
  EXPECT_EQ(value.TypeName(), expected.TypeName());
  EXPECT_EQ(value, expected);
}

INSTANTIATE_TEST_SUITE_P(Types, ColumnKindTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mv
