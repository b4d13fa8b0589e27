// BackgroundRun: the window's busy cursor, blocked input and progress timer around the core's
// run, and its ending handed back on the window's thread.
#include "app/background_run.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMetaObject>
#include <utility>

#include "app/ask_to_stop_migration.h"

namespace mv {

BackgroundRun::BackgroundRun(QWidget& window, ResultTextView& resultText, MessageDisplay& messages)
    : window_(window), resultText_(resultText), messages_(messages), run_([this] {
        QMetaObject::invokeMethod(
            this, [this] { End(); }, Qt::QueuedConnection);
      }) {
  QObject::connect(&progressTimer_, &QTimer::timeout, this, [this] {
    if (const std::optional<std::string> text = run_.ProgressText()) {
      resultText_.ShowResultText(*text);
    }
  });
}

BackgroundRun::~BackgroundRun() {
  if (!run_.Running()) return;
  destroying_ = true;
  run_.RequestStop();
  // The worker may be waiting for this thread to set a caption or show a message box.
  while (!run_.WorkDone()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  Unblock();
}

void BackgroundRun::StartMigration(ConverterFactory factory, MessageDisplay& messages,
                                   const MigrationCaptions& captions,
                                   const ConnectionValues& values,
                                   const MigrationSelection& selection,
                                   const std::string& sLogFileName) {
  Block();
  progressTimer_.start(kProgressShowEvery);
  run_.StartMigration(std::move(factory), messages, captions, values, selection, sLogFileName);
}

void BackgroundRun::StartDump(const ConnectionValues& values, const std::string& dumpFileName) {
  Block();
  run_.StartDump(values, dumpFileName);
}

bool BackgroundRun::MayClose() {
  return run_.MayClose([this] { return AskToStopMigration(window_); });
}

void BackgroundRun::Block() {
  block_.emplace(window_);
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void BackgroundRun::Unblock() {
  block_.reset();
  QGuiApplication::restoreOverrideCursor();
  progressTimer_.stop();
}

void BackgroundRun::End() {
  if (destroying_) return;  // the destructor unblocks the window; no ending is shown
  Unblock();
  if (run_.Finish(resultText_, messages_)) window_.close();
}

}  // namespace mv
