// A check that text is well-formed UTF-8, for values that must reach SQL text or a stored
// order form as whole characters.
#pragma once

#include <string_view>

namespace mv {

/// True when `text` is well-formed UTF-8: no stray continuation bytes, no overlong forms, no
/// surrogates, nothing beyond U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view text);

}  // namespace mv
