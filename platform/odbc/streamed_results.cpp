// StreamingConnectionString: the streaming keywords of the SQLite and PostgreSQL drivers, told
// apart by the driver's library name.
#include "platform/odbc/internal/streamed_results.h"

#include <array>
#include <string_view>

#include "platform/odbc/internal/diagnostics.h"
#include "platform/unicode.h"

namespace mv::odbc {
namespace {

/// A driver by the start of its library's name in lower case ("sqlite3odbc.so",
/// "psqlodbcw.so", "PSQLODBC35W.DLL" on Windows) and the keywords that make it stream.
struct StreamingDriver {
  std::string_view libraryPrefix;
  std::string_view keywords;
};

/// psqlODBC fetches 1,000 rows at a time: few round trips, a block of well under a megabyte.
constexpr std::array<StreamingDriver, 2> kStreamingDrivers{{
    {"sqlite3odbc", "StepAPI=1"},
    {"psqlodbc", "UseDeclareFetch=1;Fetch=1000"},
}};

/// The file name of the driver's library, as the driver manager reports it.
std::string DriverLibraryName(const Handle& connection) {
  SQLWCHAR name[256] = {};
  SQLSMALLINT length = 0;
  Check(SQLGetInfoW(connection.Get(), SQL_DRIVER_NAME, name, sizeof(name), &length), connection);
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(name),
                                         static_cast<size_t>(length) / sizeof(SQLWCHAR)));
}

}  // namespace

std::optional<std::string> StreamingConnectionString(const Handle& connection,
                                                     const std::string& connectionString) {
  const std::string library = AsciiLowerCase(DriverLibraryName(connection));
  for (const StreamingDriver& driver : kStreamingDrivers) {
    if (!library.starts_with(driver.libraryPrefix)) continue;
    const bool ended = !connectionString.empty() && connectionString.back() == ';';
    return connectionString + (ended ? "" : ";") + std::string(driver.keywords);
  }
  return std::nullopt;
}

}  // namespace mv::odbc
