// DateTime: serial dates and the regional date and time texts.
#include "platform/date_time.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <ostream>

#include "platform/regional_settings.h"

namespace mv {
namespace {

std::chrono::sys_days DayOf(const DateTime& date) {
  return std::chrono::sys_days{std::chrono::year{date.year} / static_cast<unsigned>(date.month) /
                               static_cast<unsigned>(date.day)};
}

constexpr std::chrono::sys_days kSerialDayZero =
    std::chrono::sys_days{std::chrono::year{1899} / 12 / 30};

bool IsSerialDayZero(const DateTime& date) {
  return date.year == 1899 && date.month == 12 && date.day == 30;
}

std::string FormatDateTime(const DateTime& date, const std::string& format) {
  const std::chrono::sys_days day = DayOf(date);
  const std::chrono::weekday weekday{day};
  const std::chrono::sys_days yearStart{std::chrono::year{date.year} / 1 / 1};
  std::tm fields{};
  fields.tm_year = date.year - 1900;
  fields.tm_mon = date.month - 1;
  fields.tm_mday = date.day;
  fields.tm_hour = date.hour;
  fields.tm_min = date.minute;
  fields.tm_sec = date.second;
  fields.tm_wday = static_cast<int>(weekday.c_encoding());
  fields.tm_yday = static_cast<int>((day - yearStart).count());
  fields.tm_isdst = 0;
  std::array<char, 256> buffer{};
  const std::size_t length = std::strftime(buffer.data(), buffer.size(), format.c_str(), &fields);
  return std::string(buffer.data(), length);
}

}  // namespace

std::string ShortDateText(const DateTime& date) {
  return FormatDateTime(date, CurrentRegionalSettings().shortDateFormat);
}

std::string LongTimeText(const DateTime& date) {
  return FormatDateTime(date, CurrentRegionalSettings().longTimeFormat);
}

std::string GeneralDateText(const DateTime& date) {
  if (IsSerialDayZero(date)) return LongTimeText(date);
  if (date.hour == 0 && date.minute == 0 && date.second == 0) return ShortDateText(date);
  return ShortDateText(date) + " " + LongTimeText(date);
}

double SerialDate(const DateTime& date) {
  const double days = static_cast<double>((DayOf(date) - kSerialDayZero).count());
  const double time =
      (date.hour * 3600.0 + date.minute * 60.0 + date.second + date.nanosecond / 1e9) / 86400.0;
  return days < 0 ? days - time : days + time;
}

void PrintTo(const DateTime& date, std::ostream* out) {
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d.%09d", date.year,
                date.month, date.day, date.hour, date.minute, date.second,
                static_cast<int>(date.nanosecond));
  *out << text.data();
}

}  // namespace mv
