// The date and decimal-text checks that the order form's encoder and decoder share.
#include "platform/orderform/order_form_layout.h"

#include <chrono>

namespace mv::order_form_layout {

bool IsValidDate(const DateTime& date) {
  if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12) return false;
  const std::chrono::year_month_day day{std::chrono::year{date.year},
                                        std::chrono::month{static_cast<unsigned>(date.month)},
                                        std::chrono::day{static_cast<unsigned>(date.day)}};
  return day.ok() && date.hour >= 0 && date.hour < 24 && date.minute >= 0 && date.minute < 60 &&
         date.second >= 0 && date.second < 60;
}

bool IsValidDecimalText(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  bool anyDigit = false;
  bool point = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      anyDigit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return anyDigit;
}

}  // namespace mv::order_form_layout
