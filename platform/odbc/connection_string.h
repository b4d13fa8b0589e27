// The values of an ODBC connection string: how a value is written into the string, the
// operator's added keywords read and checked for form, how the passwords are read back out of
// a string, and how they are hidden in the texts that may echo it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mv::odbc {

/// `value` as a connection string holds it: verbatim, unless it holds ';', '{' or '}' or
/// starts or ends with a blank (characters that would end or open a value, blanks the driver
/// would trim); then Braced, so that it reaches the driver intact.
std::string ConnectionStringValue(const std::string& value);

/// `value` enclosed in braces with '}' doubled, as a driver's name is written.
std::string Braced(const std::string& value);

/// One KEY=value pair: the key without the blanks around it, the value as the driver reads it
/// (a braced value without its braces and with '}}' as '}').
struct ConnectionKeyword {
  std::string key;
  std::string value;
};

/// The KEY=value pairs of `text`, separated by ';', a value that holds ';' braced as
/// "{...}" with '}' doubled; blank pairs are skipped. Throws RuntimeError 5 with a text that
/// starts with `setting` and quotes the faulty pair for a pair without '=', a key empty or
/// holding other characters than letters, digits, blanks and underscores, a braced value not
/// closed or followed by more text, a brace in a value that is not braced, or a key that
/// repeats an earlier one or one of `given` (any letter case). The value of a password's key
/// (pwd, password) is never quoted: "****" stands for it.
std::vector<ConnectionKeyword> ReadConnectionKeywords(std::string_view setting,
                                                      std::string_view text,
                                                      std::span<const std::string_view> given);

/// `text` with "****" for every password of `connectionString` (the values of its "pwd" and
/// "password" attributes, in any letter case) wherever it stands whole in `text`: as typed, as
/// the connection string encloses it in braces, or with its blanks run together as error
/// descriptions put them (OneLine). Whole means that it does not run on into a word at either
/// end: "x" is hidden in "pwd=x;" and in "user \"x\"", never inside "expired". A password that
/// is also another value of the string (the user name, say) is hidden only as a password key's
/// value ("PWD=sa"): elsewhere its text is that value, and "****" would garble the message and
/// tell which value the password is. Overlapping or adjacent appearances become one "****";
/// an empty password hides nothing.
std::string HidePasswords(std::string_view text, std::string_view connectionString);

}  // namespace mv::odbc
