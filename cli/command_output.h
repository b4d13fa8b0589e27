// What vantrel-migrate shows while it runs: the window's captions and closing text as lines on
// standard output, its message boxes and the running migration's progress on standard error.
#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <utility>

#include "driver/run_progress.h"
#include "platform/message_display.h"
#include "platform/progress_caption.h"

namespace mv {

/// `text` in at most `columns` characters: shortened from the middle, where "..." stands for
/// what was left out; whole when `columns` is 0 or less (no width known).
std::string FitToColumns(const std::string& text, int columns);

/// Whole lines on the two streams, each written out at once so that a script reading them
/// sees it when it happens. On a terminal, standard error also holds one progress line that
/// is redrawn in place and cleared before any other line.
class CommandOutput {
 public:
  CommandOutput(std::ostream& out, std::ostream& err, bool errIsTerminal);
  void Line(const std::string& text);
  void ErrorLine(const std::string& text);
  /// On a terminal, `text` as the progress line, fitted to its width (FitToColumns) and not
  /// drawn again while it stays the same; otherwise a line of its own.
  void Progress(const std::string& text);
  bool ErrIsTerminal() const { return errIsTerminal_; }
  /// The characters a progress line may have: 0 (no limit) when standard error is no terminal.
  int ProgressColumns() const;

 private:
  void ClearProgress();

  std::ostream& out_;
  std::ostream& err_;
  bool errIsTerminal_;
  bool progressShown_ = false;
  std::string shownProgress_;
};

/// The running migration's progress: on a terminal redrawn at most four times a second,
/// otherwise a plain line every five seconds. Asks `stopRequested` whether the operator
/// wants the run to stop.
class ProgressLines : public RunProgress {
 public:
  ProgressLines(CommandOutput& output, std::function<bool()> stopRequested);
  void Report(std::string_view migration, std::int64_t done, std::int64_t total,
              std::string_view unit) override;
  bool StopRequested() const override { return stopRequested_(); }
  /// On a terminal, `text` as the progress line; nothing otherwise.
  void Status(std::string_view text) override;
  /// A migration starts now: its rate is measured from here.
  void Restart();

 private:
  using Clock = std::chrono::steady_clock;
  CommandOutput& output_;
  std::function<bool()> stopRequested_;
  Clock::time_point started_ = Clock::now();
  Clock::time_point shown_ = started_;
};

/// A migration's caption as a line on standard output, e.g. "Migrate Baskets   (Busy)".
class CaptionLine : public ProgressCaption {
 public:
  CaptionLine(CommandOutput& output, ProgressLines& progress)
      : output_(output), progress_(progress) {}
  void SetCaption(const std::string& caption) override;
  /// The last caption set; empty when the migration did not run.
  const std::string& Caption() const { return caption_; }
  /// The seconds from the first caption set to the last.
  double Seconds() const { return std::chrono::duration<double>(last_ - first_).count(); }

 private:
  CommandOutput& output_;
  ProgressLines& progress_;
  std::string caption_;
  std::chrono::steady_clock::time_point first_;
  std::chrono::steady_clock::time_point last_;
};

/// Each message box of the window as one line on standard error, followed on the same line by
/// the reason where there is one, and on the next by what to change (HintFor).
class MessageLines : public MessageDisplay {
 public:
  explicit MessageLines(CommandOutput& output) : output_(output) {}
  void ShowMessage(const std::string& text) override { output_.ErrorLine(text); }
  void ShowMessageAbout(const std::string& text, const MessageDetail& detail) override;
  /// The settings file the connection values came from, for the hints; empty for none.
  void SetSettingsFile(std::string path) { settingsFile_ = std::move(path); }
  /// True once a message said that the log cannot be written.
  bool LogUnusable() const { return logUnusable_; }

 private:
  CommandOutput& output_;
  std::string settingsFile_;
  bool logUnusable_ = false;
};

}  // namespace mv
