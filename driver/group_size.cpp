// GroupSize: VANTREL_GROUP_SIZE read as a whole number from 1 to the maximum, else the default
// of 500; a number above the maximum refused.
#include "driver/group_size.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

constexpr int kDefault = 500;
constexpr const char* kVariable = "VANTREL_GROUP_SIZE";

/// The group size the environment asks for, or why it cannot be had.
struct GroupSizeSetting {
  int size = kDefault;
  std::optional<std::string> refusal;
};

GroupSizeSetting ReadSetting() {
  const std::optional<std::string> setting = EnvironmentVariable(kVariable);
  if (!setting) return {};
  const std::string_view text(*setting);
  long long size = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
  if (end != text.data() + text.size()) return {};
  // A number too long for any integer asks for more than the maximum as well.
  const bool tooLarge = error == std::errc()
                            ? size > kMaxGroupSize
                            : error == std::errc::result_out_of_range && !text.starts_with('-');
  if (tooLarge) {
    return {kDefault, std::string(kVariable) + " is " + *setting + ", but a group holds at most " +
                          std::to_string(kMaxGroupSize) + " baskets or orders."};
  }
  return {error == std::errc() && size >= 1 ? static_cast<int>(size) : kDefault, std::nullopt};
}

}  // namespace

int GroupSize() {
  const GroupSizeSetting setting = ReadSetting();
  if (setting.refusal) throw errors::InvalidProcedureCall(*setting.refusal);
  return setting.size;
}

bool CheckGroupSize(MessageDisplay& messages, std::vector<std::string>& failures) {
  const GroupSizeSetting setting = ReadSetting();
  if (!setting.refusal) return true;
  messages.ShowMessage(*setting.refusal);
  failures.push_back(*setting.refusal);
  return false;
}

}  // namespace mv
