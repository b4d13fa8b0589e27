// MessageBoxDisplay: the program's message boxes as Qt message boxes.
#pragma once

#include "platform/message_display.h"

namespace mv {

/// A modal QMessageBox with an OK button only, no icon and the title "MigrateVantrel22To23",
/// centred over the active window when there is one.
class MessageBoxDisplay : public MessageDisplay {
 public:
  void ShowMessage(const std::string& text) override;
};

}  // namespace mv
