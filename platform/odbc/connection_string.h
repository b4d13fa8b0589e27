// The password in an ODBC connection string: how a value is written into the string, how the
// password is read back out of it, and how it is hidden in the texts that may echo it.
#pragma once

#include <string>
#include <string_view>

namespace mv::odbc {

/// `value` as a connection string holds it: verbatim, unless it holds ';', '{' or '}' or
/// starts or ends with a blank (characters that would end or open a value, blanks the driver
/// would trim); then enclosed in braces with '}' doubled, so that it reaches the driver intact.
std::string ConnectionStringValue(const std::string& value);

/// The value of `connectionString`'s "pwd" attribute (in any letter case): a braced value
/// without its braces and with '}}' as '}', any other without the blanks around it; empty when
/// there is none.
std::string PasswordOf(std::string_view connectionString);

/// `text` with "****" wherever `password` shows: as typed, as the connection string encloses it
/// in braces, and with its blanks run together as error descriptions put them (OneLine).
/// Overlapping or adjacent appearances become one "****"; an empty password hides nothing.
std::string HidePassword(std::string_view text, const std::string& password);

}  // namespace mv::odbc
