// BackgroundRun: runs a migration or a dump off the window's thread while the window stays live.
#pragma once

#include <QObject>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "app/input_block.h"

namespace mv {

/// What a run's work came to: its answer, or the description of an error that escaped it.
struct RunOutcome {
  bool result = false;
  std::optional<std::string> escapedError;
};

/// One run at a time on a worker thread. While it lasts, the window repaints and shows the busy
/// cursor, its controls take no input, and the calls the work makes to the window's thread
/// (captions, message boxes) are served.
class BackgroundRun : public QObject {
 public:
  explicit BackgroundRun(QWidget& window) : window_(window) {}
  /// Waits for a run still going, serving its calls to the window's thread; its outcome is not
  /// shown.
  ~BackgroundRun() override;
  BackgroundRun(const BackgroundRun&) = delete;
  BackgroundRun& operator=(const BackgroundRun&) = delete;

  /// Starts `work` on a worker thread while no run is going. Once it has returned or thrown, and
  /// the window takes input again, `finished` receives its outcome on the window's thread.
  void Start(std::function<bool()> work, std::function<void(const RunOutcome&)> finished);

  /// True from Start() until the window takes input again, just before `finished` is called.
  bool Running() const { return running_; }

  /// Closes the window once the running work has ended and `finished` has returned.
  void CloseWindowWhenEnded() { closeWhenEnded_ = true; }

 private:
  void End(const RunOutcome& outcome);

  QWidget& window_;
  std::optional<InputBlock> block_;
  std::thread worker_;
  std::function<void(const RunOutcome&)> finished_;
  bool running_ = false;
  bool closeWhenEnded_ = false;
};

}  // namespace mv
