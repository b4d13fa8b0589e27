// Text values placed into SQL statements as quoted literals.
#pragma once

#include <string>
#include <string_view>

namespace mv {

/// `text` between apostrophes, each apostrophe inside doubled, so that a value such as
/// O'Brien stays one literal; text without an apostrophe is only enclosed.
std::string QuotedLiteral(std::string_view text);

}  // namespace mv
