// Amounts bound as values of a decimal column: more decimal places than the column keeps are
// rounded half away from zero, as the server rounds a literal, before the driver sees them (the
// SQL Server drivers refuse to cut them off). The SQLite driver reports no scale for a decimal
// column and PostgreSQL rounds by itself, so the bound parameter is what shows it.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/odbc/internal/value_binding.h"
#include "platform/variant.h"

namespace mv::odbc {
namespace {

struct RoundingCase {
  const char* name;
  Variant value;
  const char* sent;  // the text a decimal(10,2) column gets
};

void PrintTo(const RoundingCase& c, std::ostream* out) { *out << c.name; }

class DecimalBindingTest : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(DecimalBindingTest, MoreDecimalsThanTheColumnKeepsAreRoundedHalfAwayFromZero) {
  const ColumnInfo column{.name = "AMOUNT",
                          .sqlType = SQL_DECIMAL,
                          .size = 10,
                          .decimalDigits = 2,
                          .typeName = "decimal",
                          .kind = VariantKind::Decimal};
  ParameterValue parameter;
  SetParameter(parameter, GetParam().value, column);

  EXPECT_EQ(parameter.type.cType, SQL_C_CHAR);
  EXPECT_EQ(parameter.type.sqlType, SQL_DECIMAL);
  EXPECT_EQ(std::string(parameter.bytes.data(), static_cast<size_t>(parameter.length)),
            GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, DecimalBindingTest,
    ::testing::Values(
        RoundingCase{"HalfRoundsUp", Variant::Decimal("12.345"), "12.35"},
        RoundingCase{"NegativeHalfRoundsAwayFromZero", Variant::Decimal("-12.345"), "-12.35"},
        RoundingCase{"BelowHalfRoundsDown", Variant::Decimal("12.344"), "12.34"},
        RoundingCase{"FittingValueStays", Variant::Decimal("-7.5"), "-7.5"},
        RoundingCase{"NinesCarryIntoTheWholePart", Variant::Decimal("99.995"), "100"},
        // Half to even, the runtime's own rounding, would give 1234.56.
        RoundingCase{"CurrencyWithFourDecimals", Variant::Currency(12345650), "1234.57"},
        // The double nearest 2.675 lies below it; its shortest text is rounded,
        // where the driver would cut the double to 2.67.
        RoundingCase{"DoubleByItsShortestText", Variant::Double(2.675), "2.68"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mv::odbc
