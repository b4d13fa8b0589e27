// GuiThreadMessageDisplay: the message boxes a run on a worker thread asks the window to show.
#pragma once

#include <QObject>

#include "platform/message_display.h"

namespace mv {

/// Shows each message through `messages` on the thread of `window` and returns once the
/// operator has closed the box, so a run's boxes appear one after another in its order and
/// the run goes on only after each. While a box is up, the normal cursor replaces the busy one.
class GuiThreadMessageDisplay : public MessageDisplay {
 public:
  GuiThreadMessageDisplay(MessageDisplay& messages, QObject& window)
      : messages_(messages), window_(window) {}
  void ShowMessage(const std::string& text) override;

 private:
  MessageDisplay& messages_;
  QObject& window_;
};

}  // namespace mv
