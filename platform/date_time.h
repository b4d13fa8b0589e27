// DateTime: a calendar date and time of day, its serial number and its texts in the user's
// regional formats.
#pragma once

#include <compare>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace mv {

/// A calendar date and time of day, with the fraction of a second a database column holds.
struct DateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  std::int32_t nanosecond = 0;  // texts leave it out; databases keep it

  friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

/// The date in the user's short date format, and the time of day in the user's long time
/// format (regional settings).
std::string ShortDateText(const DateTime& date);
std::string LongTimeText(const DateTime& date);

/// The general date: the short date, a blank and the long time; the date alone at midnight
/// and the time alone on day 0 (1899-12-30), which includes the zero date itself.
std::string GeneralDateText(const DateTime& date);

/// Days since 1899-12-30 plus the time as a fraction of a day; before that day the time
/// counts away from zero (-1.25 is 1899-12-29 06:00), as the runtime stores dates.
double SerialDate(const DateTime& date);

/// Writes the invariant text "2026-12-08 04:10:36.000000000" (test names and messages).
void PrintTo(const DateTime& date, std::ostream* out);

}  // namespace mv
