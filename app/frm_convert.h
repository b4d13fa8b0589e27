// FrmConvert: the program's only window: connection fields, migration options and commands.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/background_run.h"
#include "app/file_viewer.h"
#include "app/progress_display.h"
#include "driver/connection_values.h"
#include "driver/converter.h"
#include "driver/settings_file.h"
#include "driver/window_paths.h"
#include "platform/message_display.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mv {

/// The window builds and wires its controls; the settings file, the paths, the migration run
/// and the worker thread it runs on are the work of the classes it calls. A migration or a
/// dump runs off the window's thread: the window keeps painting and shows the migration's
/// progress in `ResultText`, while its controls take no input until the run ends.
class FrmConvert : public QWidget {
 public:
  /// `factory` creates the converters of a run; `messages` shows every message box; `viewer`
  /// starts the viewer of "Open Log file" and "Open Dumpfile".
  FrmConvert(ConverterFactory factory, MessageDisplay& messages,
             ViewerLauncher viewer = StartViewer, QWidget* parent = nullptr);
  /// A migration still running is asked to stop after its current step and waited for.
  ~FrmConvert() override;

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
  /// its outcome has been shown. During a dump the window stays open.
  void closeEvent(QCloseEvent* event) override;

 private:
  /// Creates the controls from the window's layout table, then finds each by its name.
  void CreateControls();
  void FindControls();
  void SetTabOrder();
  void ConnectCommands();

  void SetWindowHeight(int twips);
  void ShowAdvanced(bool expanded);
  void UpdateMigrateControls();
  void UpdateDumpControls();
  /// False after the message box of ValidateValues when a connection field holds a value no
  /// connection could use (a control character, more than kMaxConnectionValueLength characters).
  bool ValuesUsable(const ConnectionValues& values);
  void RunMigration();
  /// "Conversion was completed succesfully." after a run that succeeded, else the error box.
  void ShowMigrationOutcome(const RunOutcome& outcome, std::optional<Migration> busy);
  /// Dumps the stored order forms of the source into the dump file, then shows "Dump
  /// Completed", with a second line counting the damaged forms when there were any; an error
  /// that ends the dump is shown with its description instead.
  void RunDump();
  void LoadSettings();
  bool SaveSettings();
  /// Shows an error that escaped a run and returns the window to idle: no success text, and
  /// the migration it cut short (`busy`, when one was) shown as "(Done, Errors Found)" rather
  /// than busy.
  void ReportEscapedError(const std::string& description, std::optional<Migration> busy);
  /// The check box that selects `migration` and shows its state.
  QCheckBox* CheckBoxOf(Migration migration) const;
  /// Closes the window and ends the event loop.
  void EndProgram();

  SettingsFields FieldsOfControls() const;
  ConnectionValues ConnectionValuesOfControls() const;
  std::array<QCheckBox*, 4> OptionBoxes() const;

  ConverterFactory factory_;
  MessageDisplay& messages_;
  ViewerLauncher viewer_;
  WindowPaths paths_;
  /// The running migration's progress and stop; none while no migration runs. Declared before
  /// run_, which may still wait for a migration that reports to it.
  std::unique_ptr<ProgressDisplay> progress_;
  BackgroundRun run_{*this};

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
