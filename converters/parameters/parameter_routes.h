// The 2.2 parameter names the parameter migration knows, and where each one goes in 2.3.
#pragma once

#include <string_view>

namespace mv {

/// How a PARAMVALUE is converted before it is stored.
enum class ParameterConversion {
  Integer,  // 16-bit signed, a fraction rounded half to even
  Text,
};

/// The member of ConvertParameters that a parameter fills, or None for a store parameter.
enum class ParameterMember {
  None,
  OrderConfirmationType,
  OrderCreationType,
  OrderConfirmationFile,
  EdiEscapeSeparator,
  EdiFieldSeparator,
};

/// Where one 2.2 parameter goes: a store section (the 2.3 name is the 2.2 name) or a member.
struct ParameterRoute {
  std::string_view name;
  std::string_view section;  // empty for member parameters
  ParameterMember member;
  ParameterConversion conversion;
};

/// The route of `name`, compared exactly (letter case and blanks count); null for a name the
/// migration does not know.
const ParameterRoute* FindParameterRoute(std::string_view name);

}  // namespace mv
