// A control whose caption a migration run rewrites to show its progress.
#pragma once

#include <string>

namespace mv {

/// Sets the caption and shows it at once, also while a run keeps the window busy.
class ProgressCaption {
 public:
  virtual ~ProgressCaption() = default;
  virtual void SetCaption(const std::string& caption) = 0;
};

}  // namespace mv
