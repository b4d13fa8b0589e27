// ServerSession: the begun transaction, the one unread result, and the savepoint before a
// begun transaction that strict results refuse as SQL Server does.
#include "platform/odbc/internal/server_session.h"

#include <array>
#include <string>

#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/unicode.h"

namespace mv::odbc {
namespace {

/// The first word of `sql` in lower case, and the rest after it.
std::string_view FirstWord(std::string_view sql, std::string_view& rest) {
  const size_t start = sql.find_first_not_of(" \t\r\n(");
  if (start == std::string_view::npos) return {};
  const size_t end = sql.find_first_of(" \t\r\n(", start);
  rest = end == std::string_view::npos ? std::string_view() : sql.substr(end);
  return sql.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

/// True when `text` holds `word` as a whole word, in any letter case.
bool HoldsWord(std::string_view text, std::string_view word) {
  const std::string lower = AsciiLowerCase(std::string(text));
  const auto isWordCharacter = [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  };
  for (size_t at = lower.find(word); at != std::string::npos; at = lower.find(word, at + 1)) {
    const size_t after = at + word.size();
    if ((at == 0 || !isWordCharacter(lower[at - 1])) &&
        (after == lower.size() || !isWordCharacter(lower[after]))) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool MarksSavepoint(std::string_view sql) {
  std::string_view rest;
  const std::string word = AsciiLowerCase(std::string(FirstWord(sql, rest)));
  if (word == "savepoint") return true;
  std::string_view after;
  const std::string second = AsciiLowerCase(std::string(FirstWord(rest, after)));
  return word == "save" && (second == "transaction" || second == "tran");
}

bool BeginsTransaction(std::string_view sql) {
  // SQL Server's list of the statements that begin an implicit transaction.
  static constexpr std::array<std::string_view, 13> kBeginning{
      "alter",  "begin", "create", "delete", "drop",     "fetch", "grant",
      "insert", "merge", "open",   "revoke", "truncate", "update"};
  std::string_view rest;
  const std::string word = AsciiLowerCase(std::string(FirstWord(sql, rest)));
  if (word == "select" || word == "with") return HoldsWord(rest, "from");
  for (std::string_view beginning : kBeginning) {
    if (word == beginning) return true;
  }
  return false;
}

void ServerSession::RefuseWhenNotAllowed(const void* statement, std::string_view sql) const {
  if (!strict_) return;
  // The texts, states and numbers of Microsoft's driver and server.
  if (owner_ != nullptr && owner_ != statement) {
    throw errors::DatabaseError(
        0, "[Microsoft][ODBC SQL Server Driver]Connection is busy with results for another hstmt",
        "HY000", false);
  }
  if (inTransaction_ && !begun_ && MarksSavepoint(sql)) {
    throw errors::DatabaseError(628,
                                "[Microsoft][ODBC SQL Server Driver][SQL Server]Cannot issue SAVE "
                                "TRANSACTION when there is no active transaction.",
                                "25000", false);
  }
}

void ServerSession::Ran(const void* statement, std::string_view sql, bool hasResult) {
  if (inTransaction_ && BeginsTransaction(sql)) begun_ = true;
  if (hasResult) {
    owner_ = statement;
  } else {
    Finished(statement);
  }
}

void ServerSession::Finished(const void* statement) {
  if (owner_ == statement) owner_ = nullptr;
}

void ServerSession::TransactionOpened() {
  inTransaction_ = true;
  begun_ = false;
}

void ServerSession::TransactionLeft() {
  inTransaction_ = false;
  begun_ = false;
}

bool StrictResultsWanted() { return EnvironmentVariable("VANTREL_ODBC_STRICT_RESULTS") == "1"; }

}  // namespace mv::odbc
