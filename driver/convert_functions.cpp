#include "driver/convert_functions.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "platform/file_problem.h"
#include "platform/odbc/one_line.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

/// A connection-string value as the ODBC rules need it: verbatim unless it holds a character
/// that would end or open a value, or blanks at its edges that the driver would trim.
std::string ConnectionStringValue(const std::string& value) {
  const bool needsBraces = value.find_first_of(";{}") != std::string::npos ||
                           (!value.empty() && (value.front() == ' ' || value.back() == ' '));
  if (!needsBraces) return value;
  std::string braced = "{";
  for (char c : value) {
    braced += c;
    if (c == '}') braced += '}';
  }
  return braced + "}";
}

/// Why no connection can be opened with these values; nothing when one can.
std::optional<std::string> ConnectFailure(const std::string& server, const std::string& user,
                                          const std::string& password,
                                          const std::string& database) {
  try {
    OpenConnection(server, user, password, database)->Close();
    return std::nullopt;
  } catch (const RuntimeError& error) {
    return error.Description();
  } catch (const std::exception& error) {
    return HidePassword(error.what(), password);
  }
}

/// Shows `message` and adds it to `failures` with the reason behind it.
void ReportConnectFailure(const std::string& message, MessageSubject subject,
                          const std::string& reason, MessageDisplay& messages,
                          std::vector<std::string>& failures) {
  messages.ShowMessageAbout(message, {subject, reason, ""});
  failures.push_back(message + ": " + reason);
}

}  // namespace

bool ValidateFields(const std::string& sourceServer, const std::string& targetServer,
                    const std::string& sourceUser, const std::string& targetUser,
                    const std::string& sourceDatabase, const std::string& targetDatabase,
                    MessageDisplay& messages, std::vector<std::string>& failures) {
  struct Field {
    const std::string* value;
    const char* message;
    MessageSubject subject;
  };
  const std::array<Field, 6> fields{{
      {&sourceServer, "Please enter a Source Database Server", MessageSubject::SourceServer},
      {&targetServer, "Please enter a Target Database Server", MessageSubject::TargetServer},
      {&sourceUser, "Please enter a Source Database User", MessageSubject::SourceUser},
      {&targetUser, "Please enter a TargetDatabase User", MessageSubject::TargetUser},
      {&sourceDatabase, "Please enter a Source Database Name", MessageSubject::SourceDatabase},
      {&targetDatabase, "Please enter a Target Database Name", MessageSubject::TargetDatabase},
  }};
  for (const auto& [value, message, subject] : fields) {
    if (value->empty()) {
      messages.ShowMessageAbout(message, {subject, "", ""});
      failures.emplace_back(message);
      return false;
    }
  }
  return true;
}

std::string BuildConnectionString(const std::string& server, const std::string& user,
                                  const std::string& password, const std::string& database) {
  return "driver={SQL Server};server=" + ConnectionStringValue(server) +
         ";uid=" + ConnectionStringValue(user) + ";pwd=" + ConnectionStringValue(password) +
         ";database=" + ConnectionStringValue(database);
}

std::unique_ptr<Connection> OpenConnection(const std::string& server, const std::string& user,
                                           const std::string& password,
                                           const std::string& database) {
  try {
    return std::make_unique<Connection>(BuildConnectionString(server, user, password, database),
                                        kLoginTimeoutSeconds, kQueryTimeoutSeconds);
  } catch (const RuntimeError& error) {
    throw RuntimeError(error.Number(), HidePassword(error.Description(), password),
                       error.SqlState(), error.ConnectionLost());
  }
}

bool TestConnections(const ConnectionValues& values, MessageDisplay& messages,
                     std::vector<std::string>& failures, RunProgress& progress) {
  bool result = true;
  progress.Status("Connecting to Source Database (" + values.SDBServer + ")...");
  if (auto reason = ConnectFailure(values.SDBServer, values.SUser, values.SPassword, values.SDB)) {
    ReportConnectFailure("Cannot connect to Source Database (" + values.SDBServer + ")",
                         MessageSubject::SourceConnection, *reason, messages, failures);
    result = false;
  }
  progress.Status("Connecting to Target Database (" + values.TDBServer + ")...");
  if (auto reason = ConnectFailure(values.TDBServer, values.TUser, values.TPassword, values.TDB)) {
    ReportConnectFailure("Cannot connect to Target Database (" + values.TDBServer + ")",
                         MessageSubject::TargetConnection, *reason, messages, failures);
    result = false;
  }
  return result;
}

std::string HidePassword(const std::string& text, const std::string& password) {
  // Marks every character that any form of the password covers, then writes each run of
  // marked characters as one "****".
  std::vector<bool> covered(text.size(), false);
  for (const std::string& shown :
       {ConnectionStringValue(password), password, odbc::OneLine(password)}) {
    if (shown.empty()) continue;
    for (size_t at = text.find(shown); at != std::string::npos; at = text.find(shown, at + 1)) {
      std::fill_n(covered.begin() + static_cast<std::ptrdiff_t>(at), shown.size(), true);
    }
  }
  std::string hidden;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!covered[i]) {
      hidden += text[i];
    } else if (i == 0 || !covered[i - 1]) {
      hidden += "****";
    }
  }
  return hidden;
}

std::unique_ptr<Recordset> OpenRecordset(Connection& connection, std::string_view sql) {
  return std::make_unique<Recordset>(connection, sql);
}

std::unique_ptr<TextWriter> OpenLogStream(const std::string& logFileName,
                                          MessageDisplay& messages) {
  try {
    return std::make_unique<TextWriter>(PathFromUtf8(logFileName), TextWriter::Mode::Append);
  } catch (const std::exception&) {
    const auto path = PathFromUtf8(logFileName);
    messages.ShowMessageAbout(
        "Error Occurred: Logfile could not opened. Check rights on the folder.",
        {MessageSubject::LogFile, AppendFailureReason(path), logFileName});
    return nullptr;
  }
}

}  // namespace mv
