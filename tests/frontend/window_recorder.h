// A window's `ResultText` and message boxes recorded as one sequence, so that tests can assert
// on what the operator sees and in which order.
#pragma once

#include <string>
#include <vector>

#include "frontend/run_ending.h"
#include "platform/message_display.h"

namespace mv::testing {

class WindowRecorder : public ResultTextView, public MessageDisplay {
 public:
  void ShowResultText(const std::string& caption) override {
    shown.push_back("ResultText: " + caption);
  }
  void HideResultText() override { shown.push_back("ResultText hidden"); }
  void ShowMessage(const std::string& text) override { shown.push_back("box: " + text); }
  std::vector<std::string> shown;
};

}  // namespace mv::testing
