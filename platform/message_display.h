// The message box through which the program tells the operator something.
#pragma once

#include <string>

namespace mv {

/// Shows a message box with an OK button only, no icon and the title "MigrateVantrel22To23",
/// and returns when the operator has closed it.
class MessageDisplay {
 public:
  virtual ~MessageDisplay() = default;
  virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace mv
