// ConvertFunctions: the shared helpers of every migration: input check, connection string,
// connections, recordsets and the log file.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/connection_values.h"
#include "driver/odbc_keywords.h"
#include "driver/run_progress.h"
#include "platform/message_display.h"
#include "platform/odbc/connection.h"
#include "platform/odbc/recordset.h"
#include "platform/text_file.h"

namespace mv {

/// Checks, in this order, that the source server, target server, source user, target user,
/// source database and target database are not empty (a blank counts as filled). Shows the
/// message of the first empty one, adds it to `failures` and answers false; answers true
/// silently when all are set.
bool ValidateFields(const std::string& sourceServer, const std::string& targetServer,
                    const std::string& sourceUser, const std::string& targetUser,
                    const std::string& sourceDatabase, const std::string& targetDatabase,
                    MessageDisplay& messages, std::vector<std::string>& failures);

/// The longest connection value taken, in characters: well inside what every driver takes,
/// since some hand the connection string's length on as a 16-bit number.
inline constexpr std::size_t kMaxConnectionValueLength = 1000;

/// Why `value` cannot go into a connection string: "holds a control character" (a NUL or
/// another one, which a driver would cut the value at or pass on to the server), "is not valid
/// UTF-8 text" or "is longer than 1000 characters"; nothing when it can.
std::optional<std::string> ConnectionValueFault(std::string_view value);

/// Checks the eight values, the source's server, user, password and database, then the
/// target's, with ConnectionValueFault. Shows "The Target Database Name holds a control
/// character." for the first that fails (a password never shown), adds it to `failures` and
/// answers false; answers true silently when all can be used. Empty values are ValidateFields'
/// concern and pass here.
bool ValidateValues(const ConnectionValues& values, MessageDisplay& messages,
                    std::vector<std::string>& failures);

/// "driver={SQL Server};server=...;uid=...;pwd=...;database=...". Values are placed verbatim,
/// except that one holding ';', '{' or '}' or starting or ending with a blank is enclosed in
/// braces with '}' doubled (odbc::ConnectionStringValue), so that it reaches the server intact.
/// The operator's `keywords` follow in their order, except a "driver" one, whose value takes
/// the place of "{SQL Server}": a driver takes the first of a repeated keyword. Throws
/// RuntimeError 5 naming the keyword when a value has a ConnectionValueFault, so that no
/// connection is ever opened with a value cut short or wrapped around.
std::string BuildConnectionString(const std::string& server, const std::string& user,
                                  const std::string& password, const std::string& database,
                                  const OdbcKeywords& keywords = OdbcKeywordsInUse());

/// An open connection (login time-out 15 s, query time-out 30 s). Failures throw RuntimeError
/// with the provider's number and description, every password of the connection string hidden,
/// the operator's keywords' included.
std::unique_ptr<Connection> OpenConnection(const std::string& server, const std::string& user,
                                           const std::string& password,
                                           const std::string& database);

/// An open connection to a 2.2 source, as OpenConnection's, whose queries hand their rows over
/// as they are fetched (ResultReading::Streamed), so that a source table of any size is read
/// in bounded memory. The program never writes to the source.
std::unique_ptr<Connection> OpenSourceConnection(const std::string& server, const std::string& user,
                                                 const std::string& password,
                                                 const std::string& database);

/// Opens and closes a connection to the source, then to the target, always both; shows
/// "Cannot connect to Source Database (server)" or the Target message for each that fails,
/// and adds that message, ": " and the driver's reason to `failures`. Tells `progress` which
/// database it is connecting to.
bool TestConnections(const ConnectionValues& values, MessageDisplay& messages,
                     std::vector<std::string>& failures, RunProgress& progress = NoProgress());

/// The log line that tells which engine the target is and in whose words the migration writes
/// to it, once per migration.
std::string TargetDialectLine(const Connection& target);

/// The fully fetched, batch-updatable result of `sql` on `connection`. Failures throw.
std::unique_ptr<Recordset> OpenRecordset(Connection& connection, std::string_view sql);

/// The log file opened for appending (created when missing), or null after showing "Error
/// Occurred: Logfile could not opened. Check rights on the folder." when it cannot be opened.
std::unique_ptr<TextWriter> OpenLogStream(const std::string& logFileName, MessageDisplay& messages);

}  // namespace mv
