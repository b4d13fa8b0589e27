// The ODBC keywords the operator adds to every connection string the program builds: those of
// VANTREL_ODBC_KEYWORDS, or those vantrel-migrate's --odbc-keywords chooses instead.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/odbc/connection_string.h"

namespace mv {

inline constexpr const char* kOdbcKeywordsVariable = "VANTREL_ODBC_KEYWORDS";

using OdbcKeywords = std::vector<odbc::ConnectionKeyword>;

/// The KEY=value pairs of `text`, checked for form before any connection as
/// odbc::ReadConnectionKeywords checks them; the keys the connection values set (server, uid,
/// pwd, database) are refused. Throws RuntimeError 5 whose text starts with `setting`.
OdbcKeywords ReadOdbcKeywords(std::string_view setting, std::string_view text);

/// The keywords of VANTREL_ODBC_KEYWORDS; none when it is not set. Throws as ReadOdbcKeywords.
OdbcKeywords OdbcKeywordsOfEnvironment();

/// The keywords every connection string gets: those of the ChosenOdbcKeywords alive, else those
/// of the environment. Throws as ReadOdbcKeywords for a malformed variable.
OdbcKeywords OdbcKeywordsInUse();

/// For its lifetime, the keywords every connection string gets instead of the environment's;
/// the keywords in use before it come back with its end.
class ChosenOdbcKeywords {
 public:
  explicit ChosenOdbcKeywords(OdbcKeywords keywords);
  ~ChosenOdbcKeywords();
  ChosenOdbcKeywords(const ChosenOdbcKeywords&) = delete;
  ChosenOdbcKeywords& operator=(const ChosenOdbcKeywords&) = delete;

 private:
  std::optional<OdbcKeywords> previous_;
};

}  // namespace mv
