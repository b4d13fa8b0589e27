// The computer's local date and time: the system's own clock and time zone on Windows (the C
// runtime there would take a Unix-style TZ variable as it pleases), the C library elsewhere.
#include "platform/local_time.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

namespace mv {

DateTime LocalNow() {
#ifdef _WIN32
  SYSTEMTIME local{};
  GetLocalTime(&local);
  return DateTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
#else
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour,        local.tm_min,     local.tm_sec};
#endif
}

}  // namespace mv
