// BackgroundRun: the window's migration or dump on a worker thread while the window stays live.
#pragma once

#include <QObject>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <string>

#include "app/input_block.h"
#include "frontend/front_end_run.h"

namespace mv {

/// One run at a time (FrontEndRun). While it lasts, the window repaints and shows the busy
/// cursor, `ResultText` shows a migration's progress a few times a second, the window's
/// controls take no input, and the calls the run makes to the window's thread (captions, message
/// boxes) are served.
class BackgroundRun : public QObject {
 public:
  /// `resultText` shows the progress and the ending, `messages` the ending's message boxes.
  BackgroundRun(QWidget& window, ResultTextView& resultText, MessageDisplay& messages);
  /// Asks a migration still running to stop after its current step and waits for it, serving
  /// its calls to the window's thread; its ending is not shown.
  ~BackgroundRun() override;
  BackgroundRun(const BackgroundRun&) = delete;
  BackgroundRun& operator=(const BackgroundRun&) = delete;

  /// FrontEndRun::StartMigration with the window blocked.
  void StartMigration(ConverterFactory factory, MessageDisplay& messages,
                      const MigrationCaptions& captions, const ConnectionValues& values,
                      const MigrationSelection& selection, const std::string& sLogFileName);
  /// FrontEndRun::StartDump with the window blocked.
  void StartDump(const ConnectionValues& values, const std::string& dumpFileName);

  /// True from a Start until the window takes input again, just before the ending is shown.
  bool Running() const { return run_.Running(); }

  /// Whether the window may close now. During a migration, asks whether to stop it; on Yes the
  /// migration stops after its current step and the window closes once the run has ended and
  /// its ending has been shown. During a dump the window stays open.
  bool MayClose();

 private:
  void Block();
  void Unblock();
  void End();

  QWidget& window_;
  ResultTextView& resultText_;
  MessageDisplay& messages_;
  std::optional<InputBlock> block_;
  QTimer progressTimer_;
  bool destroying_ = false;
  FrontEndRun run_;
};

}  // namespace mv
