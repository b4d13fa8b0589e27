// The runtime's Decimal: exact text, sums and products, and Overflow where no conversion may wrap.
#include "platform/decimal_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <ostream>
#include <string>

#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/variant.h"

namespace mv {
namespace {

struct TextCase {
  std::string name;
  std::string input;
  std::string text;  // empty when Parse must fail with `error`
  long error = 0;
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name << " \"" << c.input << "\""; }

class DecimalTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(DecimalTextTest, ParsesToItsExactTextOrFails) {
  const TextCase& c = GetParam();
  if (c.error == 0) {
    EXPECT_EQ(DecimalNumber::Parse(c.input).Text(), c.text);
    return;
  }
  try {
    DecimalNumber::Parse(c.input);
    ADD_FAILURE() << "parsed";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), c.error);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecimalTextTest,
    ::testing::Values(
        TextCase{"BeyondCurrency", "999999999999999.9999", "999999999999999.9999"},
        TextCase{"BeyondCurrencyNegative", "-999999999999999.9999", "-999999999999999.9999"},
        TextCase{"LeadingAndTrailingZeros", "-012.5000", "-12.5"},
        TextCase{"NoWholeDigits", ".5", "0.5"}, TextCase{"NegativeZero", "-0.000", "0"},
        TextCase{"Exponent", "1.5E+3", "1500"}, TextCase{"NegativeExponent", "25e-6", "0.000025"},
        TextCase{"Largest", "79228162514264337593543950335", "79228162514264337593543950335"},
        TextCase{"OneAboveLargest", "79228162514264337593543950336", "", errors::kOverflow},
        TextCase{"ExponentBeyondLargest", "1E+29", "", errors::kOverflow},
        // Beyond 28 places, or beyond 96 bits with places left, the fraction is rounded half
        // to even.
        TextCase{"HalfBelowLastPlaceToEven", "0.00000000000000000000000000005", "0"},
        TextCase{"HalfAtLastPlaceToEven", "0.00000000000000000000000000015",
                 "0.0000000000000000000000000002"},
        TextCase{"PlacesGivenUpForWholeDigits", "7922816251426433759354395033.45",
                 "7922816251426433759354395033.4"},
        TextCase{"RegionalComma", "1,5", "", errors::kTypeMismatch},
        TextCase{"EmptyText", "", "", errors::kTypeMismatch},
        TextCase{"TwoPoints", "1.5.0", "", errors::kTypeMismatch}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return info.param.name; });

void ExpectOverflow(const std::function<void()>& conversion, const char* what) {
  try {
    conversion();
    ADD_FAILURE() << what << " did not overflow";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), errors::kOverflow) << what;
  }
}

TEST(DecimalNumberTest, CurrencyHoldsItsRangeAndOverflowsBeyondIt) {
  EXPECT_EQ(DecimalNumber::Parse("922337203685477.5807").ToCurrencyScaled(),
            std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(DecimalNumber::Parse("-922337203685477.5808").ToCurrencyScaled(),
            std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(DecimalNumber::Parse("1.00005").ToCurrencyScaled(), 10000) << "half to even";
  EXPECT_EQ(DecimalNumber::Parse("1.00015").ToCurrencyScaled(), 10002) << "half to even";
  EXPECT_EQ(DecimalNumber::FromCurrency(std::numeric_limits<std::int64_t>::min()).Text(),
            "-922337203685477.5808");
  ExpectOverflow([] { DecimalNumber::Parse("922337203685477.5808").ToCurrencyScaled(); },
                 "one unit above Currency");
  ExpectOverflow([] { DecimalNumber::Parse("-999999999999999.9999").ToCurrencyScaled(); },
                 "far below Currency");
  ExpectOverflow([] { Variant::Decimal("1E+16").ToLong(); }, "a Decimal into a Long");
}

TEST(DecimalNumberTest, SumsAndProductsAreExactOrOverflow) {
  const DecimalNumber big = DecimalNumber::Parse("999999999999999.9999");
  EXPECT_EQ((big + big).Text(), "1999999999999999.9998");
  EXPECT_EQ((big + DecimalNumber::Parse("-999999999999999.9999")).Text(), "0");
  EXPECT_EQ((DecimalNumber::Parse("0.1") + DecimalNumber::Parse("-0.35")).Text(), "-0.25");
  EXPECT_EQ((DecimalNumber::Parse("2.5") * DecimalNumber::Parse("-2")).Text(), "-5");
  ExpectOverflow([&] { (void)(big * big); }, "a product with 31 whole digits");
  ExpectOverflow([&] { (void)(big * DecimalNumber::Parse("1E+14")); }, "a product of 30 digits");
  EXPECT_EQ(DecimalNumber::FromDouble(0.1).Text(), "0.1") << "shortest text of the double";
  EXPECT_EQ(DecimalNumber::FromDouble(922337203685477.5807).ToDouble(), 922337203685477.5807);
  EXPECT_EQ(DecimalNumber::FromDouble(-1234.5).Text(), "-1234.5");
  ExpectOverflow([] { DecimalNumber::FromDouble(1e30); }, "a double beyond Decimal");
}

}  // namespace
}  // namespace mv
