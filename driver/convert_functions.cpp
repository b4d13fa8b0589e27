#include "driver/convert_functions.h"

#include <array>
#include <utility>

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

bool CanConnect(const std::string& server, const std::string& user, const std::string& password,
                const std::string& database) {
  try {
    OpenConnection(server, user, password, database)->Close();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

bool ValidateFields(const std::string& sourceServer, const std::string& targetServer,
                    const std::string& sourceUser, const std::string& targetUser,
                    const std::string& sourceDatabase, const std::string& targetDatabase,
                    MessageDisplay& messages) {
  const std::array<std::pair<const std::string*, const char*>, 6> fields{{
      {&sourceServer, "Please enter a Source Database Server"},
      {&targetServer, "Please enter a Target Database Server"},
      {&sourceUser, "Please enter a Source Database User"},
      {&targetUser, "Please enter a TargetDatabase User"},
      {&sourceDatabase, "Please enter a Source Database Name"},
      {&targetDatabase, "Please enter a Target Database Name"},
  }};
  for (const auto& [value, message] : fields) {
    if (value->empty()) {
      messages.ShowMessage(message);
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
  return std::make_unique<Connection>(BuildConnectionString(server, user, password, database),
                                      kLoginTimeoutSeconds, kQueryTimeoutSeconds);
}

bool TestConnections(const ConnectionValues& values, MessageDisplay& messages) {
  bool result = true;
  if (!CanConnect(values.SDBServer, values.SUser, values.SPassword, values.SDB)) {
    messages.ShowMessage("Cannot connect to Source Database (" + values.SDBServer + ")");
    result = false;
  }
  if (!CanConnect(values.TDBServer, values.TUser, values.TPassword, values.TDB)) {
    messages.ShowMessage("Cannot connect to Target Database (" + values.TDBServer + ")");
    result = false;
  }
  return result;
}

std::unique_ptr<Recordset> OpenRecordset(Connection& connection, std::string_view sql) {
  return std::make_unique<Recordset>(connection, sql);
}

std::unique_ptr<TextWriter> OpenLogStream(const std::string& logFileName,
                                          MessageDisplay& messages) {
  try {
    return std::make_unique<TextWriter>(PathFromUtf8(logFileName), TextWriter::Mode::Append);
  } catch (const std::exception&) {
    messages.ShowMessage("Error Occurred: Logfile could not opened. Check rights on the folder.");
    return nullptr;
  }
}

}  // namespace mv
