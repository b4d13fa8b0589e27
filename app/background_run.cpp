// BackgroundRun: the work on its worker thread, the error that escapes it, and the window's busy
// cursor and blocked input until the outcome is handed back on the window's thread.
#include "app/background_run.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMetaObject>
#include <exception>
#include <utility>

#include "platform/runtime_error.h"

namespace mv {

BackgroundRun::~BackgroundRun() {
  finished_ = nullptr;
  closeWhenEnded_ = false;
  // The worker may be waiting for this thread to set a caption or show a message box.
  while (running_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BackgroundRun::Start(std::function<bool()> work,
                          std::function<void(const RunOutcome&)> finished) {
  running_ = true;
  finished_ = std::move(finished);
  block_.emplace(window_);
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  worker_ = std::thread([this, work = std::move(work)] {
    RunOutcome outcome;
    try {
      outcome.result = work();
    } catch (const RuntimeError& error) {
      outcome.escapedError = error.Description();
    } catch (const std::exception& error) {
      outcome.escapedError = error.what();
    }
    QMetaObject::invokeMethod(
        this, [this, outcome] { End(outcome); }, Qt::QueuedConnection);
  });
}

void BackgroundRun::End(const RunOutcome& outcome) {
  worker_.join();
  block_.reset();
  QGuiApplication::restoreOverrideCursor();
  running_ = false;
  if (finished_) std::exchange(finished_, nullptr)(outcome);
  if (std::exchange(closeWhenEnded_, false)) window_.close();
}

}  // namespace mv
