// InputBlock: an application-wide event filter that drops the window's mouse, key and touch input.
#include "app/input_block.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

namespace mv {
namespace {

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      return true;
    default:
      return false;
  }
}

}  // namespace

InputBlock::InputBlock(QWidget& window) : window_(window) {
  QCoreApplication::instance()->installEventFilter(this);
}

InputBlock::~InputBlock() {
  QCoreApplication::processEvents();
  QCoreApplication::instance()->removeEventFilter(this);
}

bool InputBlock::eventFilter(QObject* receiver, QEvent* event) {
  if (!IsInput(event->type())) return false;
  if (receiver == window_.windowHandle()) return true;
  const auto* widget = qobject_cast<QWidget*>(receiver);
  return widget != nullptr && widget->window() == &window_;
}

}  // namespace mv
