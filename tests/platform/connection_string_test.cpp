// The operator's keywords read and checked for form, and the password in a connection string:
// read back out of it, and hidden in the texts that echo it.
#include "platform/odbc/connection_string.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/runtime_error.h"

namespace mv::odbc {
namespace {

TEST(PasswordOfTest, ReadsThePwdValueAsTheConnectionStringHoldsIt) {
  const auto hidden = [](std::string_view connectionString) {
    return HidePasswords("[Secret] [a;b}c] [two  blanks] [no]", connectionString);
  };
  EXPECT_EQ(hidden("driver={SQL Server};server=s;uid=u;pwd=Secret;database=d"),
            "[****] [a;b}c] [two  blanks] [no]");
  EXPECT_EQ(hidden("driver={SQL Server};server=s;uid=u;pwd={a;b}}c};database=d"),
            "[Secret] [****] [two  blanks] [no]");
  EXPECT_EQ(hidden("DRIVER=x; PWD = two  blanks "), "[Secret] [a;b}c] [****] [no]");
  EXPECT_EQ(hidden("driver={pwd=no};uid=u"), "[Secret] [a;b}c] [two  blanks] [no]");
  EXPECT_EQ(hidden("dsn=shop"), "[Secret] [a;b}c] [two  blanks] [no]");
}

struct HideCase {
  const char* what;
  std::string password;
  std::string text;
  std::string hidden;
  std::string user = "u";
  friend void PrintTo(const HideCase& c, std::ostream* out) { *out << c.what; }
};

class HidePasswordTest : public ::testing::TestWithParam<HideCase> {};

TEST_P(HidePasswordTest, HidesWholeAppearancesAndLeavesOtherWords) {
  const HideCase& c = GetParam();
  const std::string connectionString =
      "driver={SQL Server};server=s;uid=" + c.user + ";pwd=" + ConnectionStringValue(c.password);
  EXPECT_EQ(HidePasswords(c.text, connectionString), c.hidden);
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
        HideCase{"empty password hides nothing", "", "pwd=;uid=u", "pwd=;uid=u"},
        HideCase{"letter inside words", "x", "Query timeout expired: x",
                 "Query timeout expired: ****"},
        HideCase{"letters inside words", "ti", "connection refused", "connection refused"},
        HideCase{"word in quotes", "tiger", "password \"tiger\" rejected",
                 "password \"****\" rejected"},
        HideCase{"letter beside a character beyond ASCII", "f", "für", "für"},
        HideCase{"key value with blanks around equals", "Secret", "Pwd = Secret;", "Pwd = ****;"},
        HideCase{"password that is the user name", "sa",
                 "Login failed for user \"sa\". UID=sa;PWD=sa",
                 "Login failed for user \"sa\". UID=sa;PWD=****", "sa"}),
    // The descriptions are words and blanks; a test's name takes '_' for a blank.
    [](const ::testing::TestParamInfo<HideCase>& info) {
      std::string name = info.param.what;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

struct KeywordsCase {
  const char* what;
  std::string text;
  std::vector<std::pair<std::string, std::string>> keywords;  // none when refused
  std::string message;                                        // empty when read
  friend void PrintTo(const KeywordsCase& c, std::ostream* out) { *out << c.what; }
};

class ReadConnectionKeywordsTest : public ::testing::TestWithParam<KeywordsCase> {};

constexpr std::string_view kGiven[] = {"server", "pwd"};

TEST_P(ReadConnectionKeywordsTest, ReadsWellFormedPairsAndNamesTheFaultyOne) {
  const KeywordsCase& c = GetParam();
  try {
    std::vector<std::pair<std::string, std::string>> read;
    for (const auto& [key, value] : ReadConnectionKeywords("THE_SETTING", c.text, kGiven)) {
      read.emplace_back(key, value);
    }
    EXPECT_TRUE(c.message.empty()) << "expected the refusal " << c.message;
    EXPECT_EQ(read, c.keywords);
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description(), c.message);
    EXPECT_EQ(error.Description().find("secret"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, ReadConnectionKeywordsTest,
    ::testing::Values(
        KeywordsCase{
            "driver and two more in order",
            "Driver={ODBC Driver 18 for SQL Server};Encrypt=yes;TrustServerCertificate=yes",
            {{"Driver", "ODBC Driver 18 for SQL Server"},
             {"Encrypt", "yes"},
             {"TrustServerCertificate", "yes"}},
            ""},
        KeywordsCase{"braced value with semicolon and doubled brace",
                     " App Name = {a;b}}c} ;Trusted_Connection=no;",
                     {{"App Name", "a;b}c"}, {"Trusted_Connection", "no"}},
                     ""},
        KeywordsCase{"empty setting", "", {}, ""},
        KeywordsCase{"pair without equals",
                     "Encrypt=yes;Strict",
                     {},
                     "THE_SETTING: 'Strict' is not KEY=value"},
        KeywordsCase{"empty key", "=yes", {}, "THE_SETTING: '=yes' has no key"},
        KeywordsCase{"key with a hyphen",
                     "Trust-Server=yes",
                     {},
                     "THE_SETTING: the key of 'Trust-Server=yes' holds other characters than "
                     "letters, digits, blanks and underscores"},
        KeywordsCase{"brace left open runs over the password",
                     "Encrypt={yes;PWD=secret",
                     {},
                     "THE_SETTING: the braced value of 'Encrypt={yes...' is not closed with '}'"},
        KeywordsCase{"text after the closing brace",
                     "Encrypt={yes}no",
                     {},
                     "THE_SETTING: 'Encrypt={yes}no' goes on after the '}' that closes its value"},
        KeywordsCase{"brace in a password not braced",
                     "Password=se}cret",
                     {},
                     "THE_SETTING: the value of 'Password=****' holds a brace: enclose the value "
                     "in {...}, '}' doubled"},
        KeywordsCase{"password key given by the program",
                     "pwd={secret}",
                     {},
                     "THE_SETTING: 'pwd=****' repeats 'pwd', which the program sets from the "
                     "connection values"},
        KeywordsCase{"server in another case",
                     "SERVER=db2",
                     {},
                     "THE_SETTING: 'SERVER=db2' repeats 'server', which the program sets from "
                     "the connection values"},
        KeywordsCase{"key twice",
                     "Encrypt=yes;encrypt=no",
                     {},
                     "THE_SETTING: 'encrypt=no' repeats the key 'Encrypt'"}),
    [](const ::testing::TestParamInfo<KeywordsCase>& info) {
      std::string name = info.param.what;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

TEST(HidePasswordsTest, HidesThePasswordOfEveryPasswordKey) {
  EXPECT_EQ(HidePasswords("refused: pwd=first, Password={sec;ond}, uid=u",
                          "driver={x};uid=u;pwd=first;Password={sec;ond}"),
            "refused: pwd=****, Password=****, uid=u");
}

}  // namespace
}  // namespace mv::odbc
