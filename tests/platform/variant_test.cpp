// Tests of Variant: type names, text and number conversions with their errors, equality and
// printing.
#include "platform/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/regional_settings.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

RegionalSettings German() { return {"%d.%m.%Y", "%H:%M:%S", ','}; }
RegionalSettings UnitedStates() { return {"%m/%d/%Y", "%I:%M:%S %p", '.'}; }

Variant DictionaryValue() { return Variant::Object(VariantObject::NewDictionary()); }

struct TextCase {
  Variant value;
  const char* expected;
};

void ExpectTexts(const RegionalSettings& settings, const std::vector<TextCase>& cases) {
  ScopedRegionalSettings scope(settings);
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(value.ToText(), expected) << "type " << value.TypeName();
  }
}

TEST(VariantTest, TypeNameOfEveryKind) {
  const std::vector<TextCase> cases = {
      {Variant(), "Empty"},
      {Variant::Null(), "Null"},
      {Variant::Integer(1), "Integer"},
      {Variant::Long(1), "Long"},
      {Variant::Single(1), "Single"},
      {Variant::Double(1), "Double"},
      {Variant::Currency(1), "Currency"},
      {Variant::Date({}), "Date"},
      {Variant::String(""), "String"},
      {Variant::Boolean(false), "Boolean"},
      {Variant::Byte(1), "Byte"},
      {Variant::Decimal("1"), "Decimal"},
      {Variant::Error(5), "Error"},
      {Variant::Bytes({1, 2}), "Byte()"},
      {DictionaryValue(), "Dictionary"},
      {Variant::Object(VariantObject::NewList()), "SimpleList"},
      {Variant::Object(nullptr), "Nothing"},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(value.TypeName(), expected);
}

TEST(VariantTest, TextUnderGermanSettings) {
  ExpectTexts(German(), {
                            {Variant(), ""},
                            {Variant::String(" a b "), " a b "},
                            {Variant::Integer(-7), "-7"},
                            {Variant::Long(2147483647), "2147483647"},
                            {Variant::Byte(255), "255"},
                            {Variant::Boolean(true), "True"},
                            {Variant::Boolean(false), "False"},
                            {Variant::Double(0.1 + 0.2), "0,3"},
                            {Variant::Double(-1.5), "-1,5"},
                            {Variant::Double(1.0 / 3), "0,333333333333333"},
                            {Variant::Double(123456789012345.0), "123456789012345"},
                            {Variant::Double(1e16), "1E+16"},
                            {Variant::Double(0.0001), "0,0001"},
                            {Variant::Double(1.5e-5), "1,5E-05"},
                            {Variant::Double(-0.0), "0"},
                            {Variant::Single(0.1f), "0,1"},
                            {Variant::Single(1.0f / 3), "0,3333333"},
                            {Variant::Currency(125000), "12,5"},
                            {Variant::Currency(30000), "3"},
                            {Variant::Currency(-5), "-0,0005"},
                            {Variant::Currency(std::numeric_limits<std::int64_t>::min()),
                             "-922337203685477,5808"},
                            {Variant::Decimal("-012.50"), "-12,5"},
                            {Variant::Decimal(".5"), "0,5"},
                            {Variant::Decimal("-0.00"), "0"},
                            {Variant::Date({2026, 12, 8, 4, 10, 36}), "08.12.2026 04:10:36"},
                            {Variant::Date({2026, 12, 8, 0, 0, 0}), "08.12.2026"},
                            {Variant::Date({1899, 12, 30, 13, 5, 0}), "13:05:00"},
                            {Variant::Date({}), "00:00:00"},
                        });
}

TEST(VariantTest, TextUnderUnitedStatesSettings) {
  ExpectTexts(UnitedStates(),
              {
                  {Variant::Double(-2.5), "-2.5"},
                  {Variant::Currency(125000), "12.5"},
                  {Variant::Decimal("3.140"), "3.14"},
                  {Variant::Date({2026, 12, 8, 4, 10, 36}), "12/08/2026 04:10:36 AM"},
                  {Variant::Date({2026, 12, 8, 13, 5, 0}), "12/08/2026 01:05:00 PM"},
                  {Variant::Date({2026, 12, 8, 0, 0, 0}), "12/08/2026"},
              });
}

TEST(VariantTest, WeekdayAndDayOfYearReachTheDateFormat) {
  ScopedRegionalSettings scope({"%a %j %d.%m.%Y", "%H:%M", ','});
  EXPECT_EQ(Variant::Date({2026, 12, 8, 0, 0, 0}).ToText(), "Tue 342 08.12.2026");
}

struct NumberCase {
  Variant value;
  std::int32_t expected;
};

TEST(VariantTest, IntegerConversionRoundsHalfToEven) {
  ScopedRegionalSettings scope(German());
  const std::vector<NumberCase> cases = {
      {Variant::Double(2.5), 2},       {Variant::Double(3.5), 4},
      {Variant::Double(-2.5), -2},     {Variant::Double(-3.5), -4},
      {Variant::Double(2.6), 3},       {Variant::Single(-0.5f), 0},
      {Variant::String("2,5"), 2},     {Variant::String(" -1e2 "), -100},
      {Variant::Currency(35000), 4},   {Variant::Currency(25001), 3},
      {Variant::Decimal("2.5"), 2},    {Variant::Boolean(true), -1},
      {Variant::Boolean(false), 0},    {Variant(), 0},
      {Variant::Byte(200), 200},       {Variant::Double(32767.4), 32767},
      {Variant::Long(-32768), -32768}, {Variant::Date({1900, 1, 1, 0, 0, 0}), 2},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(value.ToInteger(), expected) << value.ToText() << " [" << value.TypeName() << "]";
    EXPECT_EQ(value.ToLong(), expected) << value.ToText() << " [" << value.TypeName() << "]";
  }
}

TEST(VariantTest, DateAsNumberIsItsSerialDay) {
  EXPECT_EQ(Variant::Date({2026, 12, 8, 18, 0, 0}).ToDouble(), 46364.75);
  EXPECT_EQ(Variant::Date({2026, 12, 8, 12, 0, 0}).ToLong(), 46364);
  EXPECT_EQ(Variant::Date({1899, 12, 29, 6, 0, 0}).ToDouble(), -1.25);
}

TEST(VariantTest, DoubleConversionReadsRegionalText) {
  {
    ScopedRegionalSettings scope(German());
    EXPECT_EQ(Variant::String("1,5").ToDouble(), 1.5);
    EXPECT_EQ(Variant::String("\t-0,25  ").ToDouble(), -0.25);
    EXPECT_EQ(Variant::String("1,5E3").ToDouble(), 1500);
    EXPECT_EQ(Variant::String(",5").ToDouble(), 0.5);
  }
  ScopedRegionalSettings scope(UnitedStates());
  EXPECT_EQ(Variant::String("1.5").ToDouble(), 1.5);
  EXPECT_EQ(Variant::Currency(-5).ToDouble(), -0.0005);
  EXPECT_EQ(Variant::Decimal("-12.5").ToDouble(), -12.5);
}

TEST(VariantTest, BooleanConversion) {
  ScopedRegionalSettings scope(UnitedStates());
  const std::vector<std::pair<Variant, bool>> cases = {
      {Variant::String("TRUE"), true}, {Variant::String("false"), false},
      {Variant::String("0"), false},   {Variant::String("0.5"), true},
      {Variant::Double(0), false},     {Variant::Long(-7), true},
      {Variant::Currency(1), true},    {Variant(), false},
      {Variant::Boolean(true), true},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(value.ToBoolean(), expected);
}

enum class Conversion { Text, Integer, Long, Double, Boolean };

void Convert(const Variant& value, Conversion conversion) {
  switch (conversion) {
    case Conversion::Text:
      value.ToText();
      return;
    case Conversion::Integer:
      value.ToInteger();
      return;
    case Conversion::Long:
      value.ToLong();
      return;
    case Conversion::Double:
      value.ToDouble();
      return;
    case Conversion::Boolean:
      value.ToBoolean();
      return;
  }
}

struct ErrorCase {
  Variant value;
  Conversion conversion;
  long number;
  const char* description;
};

TEST(VariantTest, FailedConversionsRaiseTheRuntimeErrors) {
  ScopedRegionalSettings scope(German());
  const char* overflow = "Overflow";
  const char* mismatch = "Type mismatch";
  const char* null = "Invalid use of Null";
  const std::vector<ErrorCase> cases = {
      {Variant::Long(32768), Conversion::Integer, 6, overflow},
      {Variant::Long(-32769), Conversion::Integer, 6, overflow},
      {Variant::Double(32767.5), Conversion::Integer, 6, overflow},
      {Variant::Date({2026, 12, 8, 0, 0, 0}), Conversion::Integer, 6, overflow},
      {Variant::Double(2147483648.0), Conversion::Long, 6, overflow},
      {Variant::String("2147483648"), Conversion::Long, 6, overflow},
      {Variant::Double(std::nan("")), Conversion::Long, 6, overflow},
      {Variant::String("1E400"), Conversion::Double, 6, overflow},
      {Variant::String("abc"), Conversion::Integer, 13, mismatch},
      {Variant::String(""), Conversion::Integer, 13, mismatch},
      {Variant::String("1.5"), Conversion::Integer, 13, mismatch},  // '.' is no separator here
      {Variant::String("1,5,0"), Conversion::Double, 13, mismatch},
      {Variant::String("2E"), Conversion::Double, 13, mismatch},
      {Variant::String("True"), Conversion::Integer, 13, mismatch},
      {Variant::String("yes"), Conversion::Boolean, 13, mismatch},
      {Variant::Bytes({1}), Conversion::Long, 13, mismatch},
      {Variant::Bytes({1}), Conversion::Text, 13, mismatch},
      {DictionaryValue(), Conversion::Double, 13, mismatch},
      {DictionaryValue(), Conversion::Text, 13, mismatch},
      {Variant::Error(5), Conversion::Integer, 13, mismatch},
      {Variant::Error(5), Conversion::Text, 13, mismatch},
      {Variant::Null(), Conversion::Text, 94, null},
      {Variant::Null(), Conversion::Integer, 94, null},
      {Variant::Null(), Conversion::Long, 94, null},
      {Variant::Null(), Conversion::Double, 94, null},
      {Variant::Null(), Conversion::Boolean, 94, null},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    try {
      Convert(cases[i].value, cases[i].conversion);
      ADD_FAILURE() << "case " << i << " raised no error";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), cases[i].number) << "case " << i;
      EXPECT_EQ(error.Description(), cases[i].description) << "case " << i;
    }
  }
}

TEST(VariantTest, ExactGettersNameExpectedAndActualType) {
  EXPECT_EQ(Variant::String("x").AsString(), "x");
  EXPECT_EQ(Variant::Currency(-12345).AsCurrencyScaled(), -12345);
  try {
    Variant::Long(5).AsString();
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 13);
    EXPECT_EQ(error.Description(), "Type mismatch: expected String, got Long");
  }
  try {
    DictionaryValue().AsDate();
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description(), "Type mismatch: expected Date, got Dictionary");
  }
  try {
    Variant::Object(nullptr).AsObject();
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 91);
  }
}

TEST(VariantTest, EqualityNeedsSameKindAndValue) {
  const Variant object = DictionaryValue();
  struct EqualityCase {
    Variant a;
    Variant b;
    bool equal;
  };
  const std::vector<EqualityCase> cases = {
      {Variant(), Variant(), true},
      {Variant::Null(), Variant::Null(), true},
      {Variant::Null(), Variant(), false},
      {Variant::Long(1), Variant::Integer(1), false},
      {Variant::Long(1), Variant::Long(1), true},
      {Variant::Double(std::nan("")), Variant::Double(std::nan("")), false},
      {Variant::Decimal("1.50"), Variant::Decimal("1.5"), true},
      {Variant::String("a"), Variant::String("A"), false},
      {Variant::Date({2026, 1, 2, 3, 4, 5}), Variant::Date({2026, 1, 2, 3, 4, 5}), true},
      {Variant::Date({2026, 1, 2, 3, 4, 5}), Variant::Date({2026, 1, 2, 3, 4, 6}), false},
      {object, object, true},
      {DictionaryValue(), DictionaryValue(), false},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(cases[i].a == cases[i].b, cases[i].equal) << "case " << i;
  }
}

TEST(VariantTest, PrintsKindAndInvariantValueWhateverTheRegionalSettings) {
  ScopedRegionalSettings scope(German());
  const std::vector<TextCase> cases = {
      {Variant(), "Empty"},
      {Variant::Null(), "Null"},
      {Variant::Integer(-7), "Integer -7"},
      {Variant::Double(0.1), "Double 0.1"},
      {Variant::Single(1e30f), "Single 1e+30"},
      {Variant::Currency(-125000), "Currency -12.5"},
      {Variant::Decimal("3.140"), "Decimal 3.14"},
      {Variant::Boolean(true), "Boolean True"},
      {Variant::String("a\"b"), "String \"a\"b\""},
      {Variant::Date({2026, 12, 8, 4, 10, 36, 5000000}), "Date 2026-12-08 04:10:36.005000000"},
      {Variant::Bytes({0, 255}), "Byte() 2 bytes"},
      {Variant::Error(5), "Error 5"},
      {DictionaryValue(), "Dictionary"},
      {Variant::Object(nullptr), "Nothing"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(::testing::PrintToString(value), expected);
  }
  EXPECT_EQ(::testing::PrintToString(DecimalNumber::Parse("-0012.50")), "-12.5");
}

}  // namespace
}  // namespace mv
