// FrmConvert: the program's only window: connection fields, migration options and commands.
#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "app/background_run.h"
#include "app/check_box_caption.h"
#include "app/file_viewer.h"
#include "app/gui_thread_message_display.h"
#include "driver/connection_values.h"
#include "driver/converter.h"
#include "driver/settings_file.h"
#include "driver/window_paths.h"
#include "frontend/option_rules.h"
#include "frontend/run_ending.h"
#include "platform/message_display.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mv {

/// The window builds and wires its controls and shows the front-end core: the start-up, the
/// option rules, the run and its ending are the core's. A migration or a dump runs off the
/// window's thread: the window keeps painting and shows the migration's progress in
/// `ResultText`, while its controls take no input until the run ends.
class FrmConvert : public QWidget, private ResultTextView {
 public:
  /// `factory` creates the converters of a run; `messages` shows every message box; `viewer`
  /// starts the viewer of "Open Log file" and "Open Dumpfile".
  FrmConvert(ConverterFactory factory, MessageDisplay& messages,
             ViewerLauncher viewer = StartViewer, QWidget* parent = nullptr);

  /// The window's start-up: collapses it, unchecks the options, disables the connection
  /// fields, "Migrate" and "Dump", derives the working folder from the configuration path and
  /// fills the fields from the settings file. Answers false after a message box when there is
  /// no usable working folder or the settings file cannot be read or holds a line that no
  /// connection could use; the program then ends.
  bool Load();

  /// The working folder and the log and settings paths set by Load().
  const WindowPaths& Paths() const { return paths_; }

  /// True from a "Migrate" or "Dump" press until the run has ended; its outcome is shown in the
  /// same step, right after this turns false.
  bool RunInProgress() const { return run_.Running(); }

 protected:
  /// Without a run, closes the window. During a migration, asks whether to stop it; on Yes the
  /// migration stops after its current step and the window closes once the run has ended and
  /// its ending has been shown. During a dump the window stays open.
  void closeEvent(QCloseEvent* event) override;

 private:
  /// Creates the controls from the window's layout table, then finds each by its name.
  void CreateControls();
  void FindControls();
  void SetTabOrder();
  void ConnectCommands();

  void SetWindowHeight(int twips);
  void ShowAdvanced(bool expanded);
  /// Enables "Migrate", the connection fields and "Dump" as the check boxes' states ask.
  void ApplyOptionRules();
  void RunMigration();
  void RunDump();
  /// Closes the window and ends the event loop.
  void EndProgram();

  void ShowResultText(const std::string& caption) override;
  void HideResultText() override;

  void ShowFields(const SettingsFields& fields);
  ConnectionValues ConnectionValuesOfControls() const;
  OptionStates OptionStatesOfControls() const;

  ConverterFactory factory_;
  MessageDisplay& messages_;
  ViewerLauncher viewer_;
  WindowPaths paths_;
  /// What a run on the worker thread shows: its message boxes, and the option boxes' captions,
  /// made with the controls. Declared before run_, which may still wait for a run using them.
  GuiThreadMessageDisplay runMessages_{messages_, *this};
  std::optional<OptionCaptions> captions_;
  /// A migration still running when the window goes is asked to stop after its current step
  /// and waited for.
  BackgroundRun run_{*this, *this, messages_};

  QLabel* Picture1 = nullptr;
  QGroupBox* Frame1 = nullptr;
  QCheckBox* CheckBasket = nullptr;
  QCheckBox* CheckOrders = nullptr;
  QCheckBox* CheckParameters = nullptr;
  QCheckBox* CheckCopy = nullptr;
  QPushButton* Cancel = nullptr;
  QPushButton* Convert = nullptr;
  QPushButton* OpenLogFile = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLineEdit* SDBServer = nullptr;
  QLineEdit* SUser = nullptr;
  QLineEdit* SPassword = nullptr;
  QLineEdit* SDB = nullptr;
  QLineEdit* TDBServer = nullptr;
  QLineEdit* TUser = nullptr;
  QLineEdit* TPassword = nullptr;
  QLineEdit* TDB = nullptr;
  QPushButton* AdvancedOn = nullptr;
  QPushButton* AdvancedOff = nullptr;
  QLabel* ResultText = nullptr;
  QCheckBox* CheckDump = nullptr;
  QPushButton* DumpBaskets = nullptr;
  QLineEdit* DumpFileName = nullptr;
  QPushButton* OpenDumpFile = nullptr;
};

}  // namespace mv
