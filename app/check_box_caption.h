// CheckBoxCaption: an option check box whose caption a migration run rewrites.
#pragma once

#include <QCheckBox>

#include "driver/global_convert.h"
#include "platform/progress_caption.h"

namespace mv {

/// Sets the check box's text on the window's thread, whichever thread the run calls from, and
/// returns once it is set, so the caption always reads as the run last left it.
class CheckBoxCaption : public ProgressCaption {
 public:
  explicit CheckBoxCaption(QCheckBox& box) : box_(box) {}
  void SetCaption(const std::string& caption) override;

 private:
  QCheckBox& box_;
};

/// The captions of the four option boxes, in the order the run executes the migrations.
struct OptionCaptions {
  CheckBoxCaption basket;
  CheckBoxCaption orders;
  CheckBoxCaption parameters;
  CheckBoxCaption copy;

  MigrationCaptions All() { return {basket, orders, parameters, copy}; }
};

}  // namespace mv
