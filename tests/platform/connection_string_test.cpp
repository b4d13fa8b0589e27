// The password in a connection string: read back out of it, and hidden in the texts that echo
// it.
#include "platform/odbc/connection_string.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace mv::odbc {
namespace {

TEST(PasswordOfTest, ReadsThePwdValueAsTheConnectionStringHoldsIt) {
  EXPECT_EQ(PasswordOf("driver={SQL Server};server=s;uid=u;pwd=Secret;database=d"), "Secret");
  EXPECT_EQ(PasswordOf("driver={SQL Server};server=s;uid=u;pwd={a;b}}c};database=d"), "a;b}c");
  EXPECT_EQ(PasswordOf("DRIVER=x; PWD = two  blanks "), "two  blanks");
  EXPECT_EQ(PasswordOf("driver={pwd=no};uid=u"), "");
  EXPECT_EQ(PasswordOf("dsn=shop"), "");
}

struct HideCase {
  const char* what;
  std::string password;
  std::string text;
  std::string hidden;
  friend void PrintTo(const HideCase& c, std::ostream* out) { *out << c.what; }
};

class HidePasswordTest : public ::testing::TestWithParam<HideCase> {};

TEST_P(HidePasswordTest, NoFormRemains) {
  EXPECT_EQ(HidePassword(GetParam().text, GetParam().password), GetParam().hidden);
}

INSTANTIATE_TEST_SUITE_P(
    Echoes, HidePasswordTest,
    ::testing::Values(
        HideCase{"connection string echoed in capitals", "Secret",
                 "Login failed: DRIVER={SQL Server};SERVER=s;UID=u;PWD=Secret;DATABASE=d",
                 "Login failed: DRIVER={SQL Server};SERVER=s;UID=u;PWD=****;DATABASE=d"},
        HideCase{"braced value with its brace doubled", "a;b}c", "bad pwd={a;b}}c};",
                 "bad pwd=****;"},
        HideCase{"blanks run together on one line", "two  blanks", "pwd=two blanks", "pwd=****"},
        HideCase{"every appearance", "secret", "secret, not secret", "****, not ****"},
        HideCase{"password of asterisks", "**", "a**b**", "a****b****"},
        HideCase{"empty password hides nothing", "", "pwd=;uid=u", "pwd=;uid=u"}),
    // The descriptions are words and blanks; a test's name takes '_' for a blank.
    [](const ::testing::TestParamInfo<HideCase>& info) {
      std::string name = info.param.what;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

}  // namespace
}  // namespace mv::odbc
