// Message boxes and captions recorded in memory, so tests can assert on their exact texts.
#pragma once

#include <string>
#include <vector>

#include "platform/message_display.h"
#include "platform/progress_caption.h"

namespace mv::testing {

class RecordingMessageDisplay : public MessageDisplay {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

class RecordingCaption : public ProgressCaption {
 public:
  explicit RecordingCaption(std::string initial = "") : caption(std::move(initial)) {}
  void SetCaption(const std::string& text) override {
    caption = text;
    history.push_back(text);
  }
  std::string caption;
  std::vector<std::string> history;
};

/// The whole content of a file, as bytes.
std::string ReadFileBytes(const std::string& path);

}  // namespace mv::testing
