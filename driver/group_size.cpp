// GroupSize: VANTREL_GROUP_SIZE read as a whole number from 1 on, else the default of 500.
#include "driver/group_size.h"

#include <charconv>
#include <string_view>

#include "platform/environment.h"

namespace mv {

int GroupSize() {
  constexpr int kDefault = 500;
  const std::optional<std::string> setting = EnvironmentVariable("VANTREL_GROUP_SIZE");
  if (!setting) return kDefault;
  const std::string_view text(*setting);
  int size = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
  return error == std::errc() && end == text.data() + text.size() && size >= 1 ? size : kDefault;
}

}  // namespace mv
