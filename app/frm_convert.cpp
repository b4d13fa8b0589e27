// FrmConvert: the window's controls, commands and settings, and the migration and dump runs it
// starts off its thread, with the outcome of each.
#include "app/frm_convert.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <utility>

#include "app/artwork.h"
#include "app/ask_to_stop_migration.h"
#include "app/check_box_caption.h"
#include "app/frm_convert_layout.h"
#include "app/gui_thread_message_display.h"
#include "driver/convert_functions.h"
#include "driver/global_convert.h"
#include "driver/odbc_keywords.h"
#include "dump/dump_orderforms.h"
#include "platform/configuration/configuration_path.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

// Window heights in twips, as the outer height of a window whose title bar and borders take
// 24 pixels (360 twips); the client area is the rest, whatever frame the platform draws.
constexpr int kCollapsedHeight = 5500;
constexpr int kExpandedHeight = 6550;
constexpr int kFrameHeight = 360;
constexpr int kClientWidth = 6210;

// The state of a check box as the product counts it: 0 unchecked, 1 checked, 2 greyed.
int CheckValue(const QCheckBox& box) {
  switch (box.checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

}  // namespace

FrmConvert::FrmConvert(ConverterFactory factory, MessageDisplay& messages, ViewerLauncher viewer,
                       QWidget* parent)
    : QWidget(parent),
      factory_(std::move(factory)),
      messages_(messages),
      viewer_(std::move(viewer)) {
  setObjectName(QStringLiteral("FrmConvert"));
  setWindowTitle(QStringLiteral("      Vantrel 2.2 (SP1) to Vantrel 2.3 Data Migration"));
  setWindowIcon(WindowIcon());
  setFont(SansSerif(kWindowFont));
  CreateControls();
  SetTabOrder();
  ConnectCommands();
  SetWindowHeight(kCollapsedHeight);
}

FrmConvert::~FrmConvert() {
  if (progress_) progress_->RequestStop();
}

void FrmConvert::closeEvent(QCloseEvent* event) {
  if (!run_.Running()) return;
  event->ignore();
  // Only a migration has progress to show and can stop; a dump runs to its end.
  if (!progress_ || progress_->StopRequested() || !AskToStopMigration(*this)) return;
  if (!run_.Running()) {  // it ended while the question was up
    event->accept();
    return;
  }
  progress_->RequestStop();
  run_.CloseWindowWhenEnded();
}

void FrmConvert::CreateControls() {
  for (const ControlLayout& layout : FrmConvertLayout()) PlaceControl(layout, *this);
  FindControls();
}

void FrmConvert::FindControls() {
  const auto find = [this]<typename Control>(Control*& control, const char* name) {
    control = findChild<Control*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
  };
  find(Picture1, "Picture1");
  find(Frame1, "Frame1");
  find(CheckBasket, "CheckBasket");
  find(CheckOrders, "CheckOrders");
  find(CheckParameters, "CheckParameters");
  find(CheckCopy, "CheckCopy");
  find(Cancel, "Cancel");
  find(Convert, "Convert");
  find(OpenLogFile, "OpenLogFile");
  find(Label5, "Label5");
  find(Label6, "Label6");
  find(Label1, "Label1");
  find(Label2, "Label2");
  find(Label3, "Label3");
  find(Label4, "Label4");
  find(SDBServer, "SDBServer");
  find(SUser, "SUser");
  find(SPassword, "SPassword");
  find(SDB, "SDB");
  find(TDBServer, "TDBServer");
  find(TUser, "TUser");
  find(TPassword, "TPassword");
  find(TDB, "TDB");
  find(AdvancedOn, "AdvancedOn");
  find(AdvancedOff, "AdvancedOff");
  find(ResultText, "ResultText");
  find(CheckDump, "CheckDump");
  find(DumpBaskets, "DumpBaskets");
  find(DumpFileName, "DumpFileName");
  find(OpenDumpFile, "OpenDumpFile");
}

void FrmConvert::SetTabOrder() {
  QWidget* const order[] = {
      CheckBasket, CheckOrders, CheckParameters, CheckCopy,   SDBServer, SUser,
      SPassword,   SDB,         TDBServer,       TUser,       TPassword, TDB,
      Cancel,      Convert,     OpenLogFile,     AdvancedOff, CheckDump, DumpFileName,
      DumpBaskets, AdvancedOn,  OpenDumpFile};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void FrmConvert::ConnectCommands() {
  for (QCheckBox* option : OptionBoxes()) {
    connect(option, &QCheckBox::stateChanged, this, [this] { UpdateMigrateControls(); });
  }
  connect(CheckDump, &QCheckBox::stateChanged, this, [this] { UpdateDumpControls(); });
  connect(DumpBaskets, &QPushButton::clicked, this, [this] { RunDump(); });
  connect(Convert, &QPushButton::clicked, this, [this] { RunMigration(); });
  connect(Cancel, &QPushButton::clicked, this, [this] { EndProgram(); });
  connect(OpenLogFile, &QPushButton::clicked, this,
          [this] { ViewFile(paths_.sLogFileName, viewer_, messages_); });
  connect(OpenDumpFile, &QPushButton::clicked, this,
          [this] { ViewFile(DumpFileName->text().toStdString(), viewer_, messages_); });
  connect(AdvancedOn, &QPushButton::clicked, this, [this] { ShowAdvanced(true); });
  connect(AdvancedOff, &QPushButton::clicked, this, [this] { ShowAdvanced(false); });
}

bool FrmConvert::Load() {
  ResultText->hide();
  for (QCheckBox* box : {CheckBasket, CheckOrders, CheckParameters, CheckCopy, CheckDump}) {
    box->setCheckState(Qt::Unchecked);
  }
  ShowAdvanced(false);
  for (QLineEdit* field : {SDBServer, TDBServer, SUser, TUser, SPassword, TPassword, SDB, TDB}) {
    field->setEnabled(false);
  }
  DumpBaskets->setEnabled(false);
  Convert->setEnabled(false);
  try {
    paths_ = WindowPathsFor(ConfigurationPath());
    LoadSettings();
    // A malformed VANTREL_ODBC_KEYWORDS is told before any connection is tried.
    OdbcKeywordsOfEnvironment();
  } catch (const RuntimeError& error) {
    messages_.ShowMessage(error.Description());
    return false;
  }
  return true;
}

void FrmConvert::SetWindowHeight(int twips) {
  setFixedSize(Pixels(kClientWidth), Pixels(twips - kFrameHeight));
}

void FrmConvert::ShowAdvanced(bool expanded) {
  SetWindowHeight(expanded ? kExpandedHeight : kCollapsedHeight);
  AdvancedOn->setVisible(!expanded);
  AdvancedOff->setVisible(expanded);
}

void FrmConvert::UpdateMigrateControls() {
  int states = 0;
  for (const QCheckBox* option : OptionBoxes()) states |= CheckValue(*option);
  const bool enabled = states != 0;
  for (QWidget* control : std::initializer_list<QWidget*>{Convert, SDBServer, SUser, SPassword, SDB,
                                                          TDBServer, TUser, TPassword, TDB}) {
    control->setEnabled(enabled);
  }
}

void FrmConvert::UpdateDumpControls() { DumpBaskets->setEnabled(CheckValue(*CheckDump) == 1); }

bool FrmConvert::ValuesUsable(const ConnectionValues& values) {
  std::vector<std::string> refused;
  return ValidateValues(values, messages_, refused);
}

void FrmConvert::RunDump() {
  const ConnectionValues values = ConnectionValuesOfControls();
  if (!ValuesUsable(values)) return;
  const std::string dumpFile = DumpFileName->text().toStdString();
  // The worker leaves the count of damaged order forms here; it is read once the run is over.
  auto damaged = std::make_shared<int>(0);
  run_.Start(
      [values, dumpFile, damaged] {
        *damaged = DumpOrderforms().Dump(values.SDBServer, values.SUser, values.SPassword,
                                         values.SDB, dumpFile);
        return true;
      },
      // Shown once the window takes input again, so the operator can close the box.
      [this, damaged](const RunOutcome& outcome) {
        std::string message = "Dump Completed";
        if (*damaged == 1) {
          message += "\n1 order form is damaged; its place in the dump file says why.";
        } else if (*damaged > 1) {
          message += "\n" + std::to_string(*damaged) +
                     " order forms are damaged; their place in the dump file says why.";
        }
        messages_.ShowMessage(outcome.escapedError.value_or(message));
      });
}

void FrmConvert::RunMigration() {
  const ConnectionValues values = ConnectionValuesOfControls();
  // Values no connection could use are not saved for the next start either.
  if (!ValuesUsable(values) || !SaveSettings()) return;
  ResultText->hide();
  progress_ = std::make_unique<ProgressDisplay>([this](const std::string& text) {
    ResultText->setText(QString::fromStdString(text));
    ResultText->show();
  });
  const MigrationSelection selection{CheckValue(*CheckBasket) != 0, CheckValue(*CheckOrders) != 0,
                                     CheckValue(*CheckParameters) != 0,
                                     CheckValue(*CheckCopy) != 0};
  // The worker leaves here the migration an escaped error cut short; it is read once the run
  // is over.
  auto busy = std::make_shared<std::optional<Migration>>();
  run_.Start(
      [this, values, selection, busy] {
        GuiThreadMessageDisplay messages(messages_, *this);
        CheckBoxCaption basket(*CheckBasket);
        CheckBoxCaption orders(*CheckOrders);
        CheckBoxCaption parameters(*CheckParameters);
        CheckBoxCaption copy(*CheckCopy);
        GlobalConvert convert(factory_, messages, LocalNow, *progress_);
        try {
          return convert.Run(values, selection, paths_.sLogFileName,
                             {basket, orders, parameters, copy});
        } catch (...) {
          *busy = convert.BusyMigration();
          throw;
        }
      },
      [this, busy](const RunOutcome& outcome) {
        progress_.reset();
        ShowMigrationOutcome(outcome, *busy);
      });
}

void FrmConvert::ShowMigrationOutcome(const RunOutcome& outcome, std::optional<Migration> busy) {
  if (outcome.escapedError) {
    ReportEscapedError(*outcome.escapedError, busy);
  } else if (outcome.result) {
    ResultText->setText(QString::fromLatin1(kConversionSucceeded));
    ResultText->show();
  } else {
    messages_.ShowMessage(kConversionFailed);
    ResultText->hide();
  }
}

void FrmConvert::ReportEscapedError(const std::string& description, std::optional<Migration> busy) {
  // The step the error cut short did not finish cleanly: say so instead of "(Busy)".
  if (busy) CheckBoxOf(*busy)->setText(QString::fromStdString(ErrorsFoundCaption(*busy)));
  ResultText->hide();
  messages_.ShowMessage(description);
}

QCheckBox* FrmConvert::CheckBoxOf(Migration migration) const {
  return OfMigration(migration, CheckBasket, CheckOrders, CheckParameters, CheckCopy);
}

void FrmConvert::LoadSettings() {
  SettingsFields fields = FieldsOfControls();
  SettingsFile(paths_.sIniFileName).LoadSettings(fields);
  SDBServer->setText(QString::fromStdString(fields.SDBServer));
  TDBServer->setText(QString::fromStdString(fields.TDBServer));
  SUser->setText(QString::fromStdString(fields.SUser));
  TUser->setText(QString::fromStdString(fields.TUser));
  SDB->setText(QString::fromStdString(fields.SDB));
  TDB->setText(QString::fromStdString(fields.TDB));
}

bool FrmConvert::SaveSettings() {
  try {
    SettingsFile(paths_.sIniFileName).SaveSettings(FieldsOfControls());
    return true;
  } catch (const RuntimeError& error) {
    messages_.ShowMessage(error.Description());
    EndProgram();
    return false;
  }
}

void FrmConvert::EndProgram() {
  close();
  QCoreApplication::quit();
}

SettingsFields FrmConvert::FieldsOfControls() const {
  return {SDBServer->text().toStdString(), TDBServer->text().toStdString(),
          SUser->text().toStdString(),     TUser->text().toStdString(),
          SDB->text().toStdString(),       TDB->text().toStdString()};
}

ConnectionValues FrmConvert::ConnectionValuesOfControls() const {
  return {SDBServer->text().toStdString(), SUser->text().toStdString(),
          SPassword->text().toStdString(), SDB->text().toStdString(),
          TDBServer->text().toStdString(), TUser->text().toStdString(),
          TPassword->text().toStdString(), TDB->text().toStdString()};
}

std::array<QCheckBox*, 4> FrmConvert::OptionBoxes() const {
  return {CheckBasket, CheckOrders, CheckParameters, CheckCopy};
}

}  // namespace mv
