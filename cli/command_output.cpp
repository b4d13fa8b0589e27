#include "cli/command_output.h"

#include <utility>

#include "cli/operator_hints.h"

namespace mv {
namespace {

constexpr std::chrono::milliseconds kTerminalRedraw{250};
constexpr std::chrono::seconds kPlainLineEvery{5};

// Back to the start of the line, then erase it.
constexpr const char* kClearLine = "\r\x1b[K";

}  // namespace

CommandOutput::CommandOutput(std::ostream& out, std::ostream& err, bool errIsTerminal)
    : out_(out), err_(err), errIsTerminal_(errIsTerminal) {}

void CommandOutput::Line(const std::string& text) {
  ClearProgress();
  out_ << text << '\n' << std::flush;
}

void CommandOutput::ErrorLine(const std::string& text) {
  ClearProgress();
  err_ << text << '\n' << std::flush;
}

void CommandOutput::Progress(const std::string& text) {
  if (errIsTerminal_) {
    err_ << kClearLine << text << std::flush;
    progressShown_ = true;
  } else {
    err_ << text << '\n' << std::flush;
  }
}

void CommandOutput::ClearProgress() {
  if (!progressShown_) return;
  err_ << kClearLine << std::flush;
  progressShown_ = false;
}

ProgressLines::ProgressLines(CommandOutput& output, std::function<bool()> stopRequested)
    : output_(output), stopRequested_(std::move(stopRequested)) {}

void ProgressLines::Report(std::string_view migration, std::int64_t done, std::int64_t total,
                           std::string_view unit) {
  const auto now = Clock::now();
  const auto every =
      output_.ErrIsTerminal() ? Clock::duration(kTerminalRedraw) : Clock::duration(kPlainLineEvery);
  if (now - shown_ < every) return;
  shown_ = now;
  output_.Progress(ProgressText(migration, done, total, unit, now - started_));
}

void ProgressLines::Status(std::string_view text) {
  if (output_.ErrIsTerminal()) output_.Progress(std::string(text));
}

void ProgressLines::Restart() {
  started_ = Clock::now();
  // The first report of a terminal's progress line comes at once, a plain line only after
  // the usual pause.
  shown_ = output_.ErrIsTerminal() ? started_ - kTerminalRedraw : started_;
}

void CaptionLine::SetCaption(const std::string& caption) {
  last_ = std::chrono::steady_clock::now();
  if (caption_.empty()) first_ = last_;
  caption_ = caption;
  output_.Line(caption);
  progress_.Restart();
}

void MessageLines::ShowMessageAbout(const std::string& text, const MessageDetail& detail) {
  output_.ErrorLine(detail.reason.empty() ? text : text + ": " + detail.reason);
  const std::string hint = HintFor(detail, settingsFile_);
  if (!hint.empty()) output_.ErrorLine(hint);
  if (detail.subject == MessageSubject::LogFile) logUnusable_ = true;
}

}  // namespace mv
