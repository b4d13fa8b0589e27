// GuiThreadMessageDisplay: each message box shown on the window's thread under the normal cursor.
#include "app/gui_thread_message_display.h"

#include <QCursor>
#include <QGuiApplication>

#include "app/blocking_call.h"

namespace mv {

void GuiThreadMessageDisplay::ShowMessage(const std::string& text) {
  BlockingCall(window_, [&] {
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    messages_.ShowMessage(text);
    QGuiApplication::restoreOverrideCursor();
  });
}

}  // namespace mv
