// CheckBoxCaption: an option check box whose caption a migration run rewrites.
#pragma once

#include <QCheckBox>

#include "platform/progress_caption.h"

namespace mv {

/// Sets the check box's text and repaints it at once, since a run never returns to the event
/// loop before it ends.
class CheckBoxCaption : public ProgressCaption {
 public:
  explicit CheckBoxCaption(QCheckBox& box) : box_(box) {}
  void SetCaption(const std::string& caption) override;

 private:
  QCheckBox& box_;
};

}  // namespace mv
