// InputBlock: keeps the operator's input away from a window while a command runs.
#pragma once

#include <QObject>
#include <QWidget>

namespace mv {

/// While it lives, mouse, key, wheel and touch events aimed at `window` or its controls are
/// dropped; message boxes, being windows of their own, still take input, and a close request
/// still reaches the window, which decides what it means during the command. On destruction
/// it first delivers (and so drops) the input that queued up during the command.
class InputBlock : public QObject {
 public:
  explicit InputBlock(QWidget& window);
  ~InputBlock() override;
  InputBlock(const InputBlock&) = delete;
  InputBlock& operator=(const InputBlock&) = delete;

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override;

 private:
  QWidget& window_;
};

}  // namespace mv
