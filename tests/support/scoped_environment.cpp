// Setting and removing environment variables: the wide environment on Windows.
#include "tests/support/scoped_environment.h"

#include <cstdlib>

#include "platform/environment.h"
#include "platform/unicode.h"

namespace mv::testing {
namespace {

void SetVariable(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // The wide environment, where the program reads its variables; an empty value removes one.
  const std::u16string wideName = Utf8ToUtf16(name);
  const std::u16string wideValue = Utf8ToUtf16(value.value_or(""));
  _wputenv_s(reinterpret_cast<const wchar_t*>(wideName.c_str()),
             reinterpret_cast<const wchar_t*>(wideValue.c_str()));
#else
  if (value) {
    ::setenv(name.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name.c_str());
  }
#endif
}

}  // namespace

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::string name,
                                                     const std::optional<std::string>& value)
    : name_(std::move(name)), previous_(EnvironmentVariable(name_.c_str())) {
  SetVariable(name_, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() { SetVariable(name_, previous_); }

}  // namespace mv::testing
