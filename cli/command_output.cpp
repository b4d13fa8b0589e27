// The two streams' lines, the terminal's progress line redrawn in place and fitted to its width,
// and the run's progress, captions and message boxes written as lines.
#include "cli/command_output.h"

#include <string_view>
#include <utility>

#include "cli/operator_hints.h"
#include "platform/console/console.h"
#include "platform/unicode.h"

namespace mv {
namespace {

constexpr std::chrono::milliseconds kTerminalRedraw{250};
constexpr std::chrono::seconds kPlainLineEvery{5};

// Back to the start of the line, then erase it.
constexpr const char* kClearLine = "\r\x1b[K";

constexpr std::string_view kCut = "...";

}  // namespace

std::string FitToColumns(const std::string& text, int columns) {
  const std::u32string characters = Utf8ToUtf32(text);
  if (columns <= 0 || characters.size() <= static_cast<size_t>(columns)) return text;
  if (static_cast<size_t>(columns) <= kCut.size()) {
    return Utf32ToUtf8(characters.substr(0, static_cast<size_t>(columns)));
  }
  const size_t kept = static_cast<size_t>(columns) - kCut.size();
  const size_t head = (kept + 1) / 2;
  const size_t tail = kept - head;
  return Utf32ToUtf8(characters.substr(0, head)) + std::string(kCut) +
         Utf32ToUtf8(characters.substr(characters.size() - tail));
}

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

int CommandOutput::ProgressColumns() const {
  // One column short of the width, so that the terminal never wraps to a new line.
  return errIsTerminal_ ? TerminalColumns(StandardStream::Error) - 1 : 0;
}

void CommandOutput::Progress(const std::string& text) {
  if (errIsTerminal_) {
    const std::string shown = FitToColumns(text, ProgressColumns());
    if (progressShown_ && shown == shownProgress_) return;  // the same line drawn again
    err_ << kClearLine << shown << std::flush;
    progressShown_ = true;
    shownProgress_ = shown;
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
  output_.Progress(
      ProgressText(migration, done, total, unit, now - started_, output_.ProgressColumns()));
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
