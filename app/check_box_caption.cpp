#include "app/check_box_caption.h"

#include <QString>

namespace mv {

void CheckBoxCaption::SetCaption(const std::string& caption) {
  box_.setText(QString::fromStdString(caption));
  box_.repaint();
}

}  // namespace mv
