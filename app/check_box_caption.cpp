// CheckBoxCaption: the check box's text set on the window's thread through BlockingCall.
#include "app/check_box_caption.h"

#include <QString>

#include "app/blocking_call.h"

namespace mv {

void CheckBoxCaption::SetCaption(const std::string& caption) {
  BlockingCall(box_, [&] { box_.setText(QString::fromStdString(caption)); });
}

}  // namespace mv
