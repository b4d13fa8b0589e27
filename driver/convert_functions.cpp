// The empty-field check, the connection string and connections, the connection test,
// recordsets, and the log file opened for appending.
#include "driver/convert_functions.h"

#include <array>
#include <exception>
#include <optional>

#include "platform/errors.h"
#include "platform/file_problem.h"
#include "platform/odbc/connection_string.h"
#include "platform/unicode.h"

namespace mv {
namespace {

/// Why no connection can be opened with these values; nothing when one can.
std::optional<std::string> ConnectFailure(const std::string& server, const std::string& user,
                                          const std::string& password,
                                          const std::string& database) {
  try {
    OpenConnection(server, user, password, database)->Close();
    return std::nullopt;
  } catch (const std::exception& error) {
    return error.what();
  }
}

/// Shows `message` and adds it to `failures` with the reason behind it.
void ReportConnectFailure(const std::string& message, MessageSubject subject,
                          const std::string& reason, MessageDisplay& messages,
                          std::vector<std::string>& failures) {
  messages.ShowMessageAbout(message, {subject, reason, ""});
  failures.push_back(message + ": " + reason);
}

/// `value` as the connection string holds it under `key`; throws when it cannot go there.
std::string CheckedValue(const std::string& key, const std::string& value) {
  if (const auto fault = ConnectionValueFault(value)) {
    throw errors::InvalidProcedureCall("The connection value for " + key + " " + *fault);
  }
  return odbc::ConnectionStringValue(value);
}

}  // namespace

std::optional<std::string> ConnectionValueFault(std::string_view value) {
  if (!IsValidUtf8(value)) return "is not valid UTF-8 text";
  const std::u32string characters = Utf8ToUtf32(value);
  for (const char32_t c : characters) {
    // C0 controls (NUL, tab, line ends ...), DEL and the C1 controls.
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return "holds a control character";
  }
  if (characters.size() > kMaxConnectionValueLength) {
    return "is longer than " + std::to_string(kMaxConnectionValueLength) + " characters";
  }
  return std::nullopt;
}

bool ValidateValues(const ConnectionValues& values, MessageDisplay& messages,
                    std::vector<std::string>& failures) {
  struct Value {
    const std::string* text;
    const char* name;
    MessageSubject subject;
  };
  const std::array<Value, 8> all{{
      {&values.SDBServer, "Source Database Server", MessageSubject::SourceServer},
      {&values.SUser, "Source Database User", MessageSubject::SourceUser},
      {&values.SPassword, "Source Database Password", MessageSubject::SourcePassword},
      {&values.SDB, "Source Database Name", MessageSubject::SourceDatabase},
      {&values.TDBServer, "Target Database Server", MessageSubject::TargetServer},
      {&values.TUser, "Target Database User", MessageSubject::TargetUser},
      {&values.TPassword, "Target Database Password", MessageSubject::TargetPassword},
      {&values.TDB, "Target Database Name", MessageSubject::TargetDatabase},
  }};
  for (const auto& [text, name, subject] : all) {
    if (const auto fault = ConnectionValueFault(*text)) {
      const std::string message = "The " + std::string(name) + " " + *fault + ".";
      messages.ShowMessageAbout(message, {subject, "", "", true});
      failures.push_back(message);
      return false;
    }
  }
  return true;
}

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
                                  const std::string& password, const std::string& database,
                                  const OdbcKeywords& keywords) {
  std::string driver = "{SQL Server}";
  std::string added;
  for (const auto& [key, value] : keywords) {
    if (EqualsIgnoreCase(key, "driver")) {
      CheckedValue(key, value);
      driver = odbc::Braced(value);
    } else {
      added += ";" + key + "=" + CheckedValue(key, value);
    }
  }
  return "driver=" + driver + ";server=" + CheckedValue("server", server) +
         ";uid=" + CheckedValue("uid", user) + ";pwd=" + CheckedValue("pwd", password) +
         ";database=" + CheckedValue("database", database) + added;
}

std::unique_ptr<Connection> OpenConnection(const std::string& server, const std::string& user,
                                           const std::string& password,
                                           const std::string& database) {
  return std::make_unique<Connection>(BuildConnectionString(server, user, password, database),
                                      kLoginTimeoutSeconds, kQueryTimeoutSeconds);
}

std::unique_ptr<Connection> OpenSourceConnection(const std::string& server, const std::string& user,
                                                 const std::string& password,
                                                 const std::string& database) {
  return std::make_unique<Connection>(BuildConnectionString(server, user, password, database),
                                      kLoginTimeoutSeconds, kQueryTimeoutSeconds,
                                      ResultReading::Streamed);
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

std::string TargetDialectLine(const Connection& target) {
  return "The target database names itself '" + target.EngineName() + "': it is written in " +
         target.Words().name + " statements.";
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
