// SQL literals of texts, numbers and dates.
#include "platform/utilities/sql_encode.h"

#include <cstdio>

#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"
#include "platform/utilities/quoted_literal.h"

namespace mv {

std::string SQLEncodeString(std::string_view text) {
  if (!IsValidUtf8(text)) throw errors::InvalidProcedureCall();
  return QuotedLiteral(text);
}

std::string SQLEncodeLong(std::int32_t value) { return std::to_string(value); }

std::string SQLDateText(const DateTime& value) {
  char buffer[96];
  std::snprintf(buffer, sizeof(buffer), "%04d-%02d-%02dT%02d:%02d:%02d", value.year, value.month,
                value.day, value.hour, value.minute, value.second);
  return buffer;
}

std::string SQLEncodeDate(const DateTime& value) { return "'" + SQLDateText(value) + "'"; }

}  // namespace mv
