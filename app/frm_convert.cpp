// FrmConvert: the window's controls and commands over the front-end core's start-up, option
// rules, runs and endings.
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
#include <utility>

#include "app/artwork.h"
#include "app/frm_convert_layout.h"
#include "frontend/start_up.h"

namespace mv {
namespace {

// Window heights in twips, as the outer height of a window whose title bar and borders take
// 24 pixels (360 twips); the client area is the rest, whatever frame the platform draws.
constexpr int kCollapsedHeight = 5500;
constexpr int kExpandedHeight = 6550;
constexpr int kFrameHeight = 360;
constexpr int kClientWidth = 6210;

CheckState CheckValue(const QCheckBox& box) {
  switch (box.checkState()) {
    case Qt::Checked:
      return CheckState::Checked;
    case Qt::PartiallyChecked:
      return CheckState::Greyed;
    default:
      return CheckState::Unchecked;
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

void FrmConvert::closeEvent(QCloseEvent* event) {
  if (!run_.MayClose()) event->ignore();
}

void FrmConvert::CreateControls() {
  for (const ControlLayout& layout : FrmConvertLayout()) PlaceControl(layout, *this);
  FindControls();
  captions_.emplace(OptionCaptions{CheckBoxCaption(*CheckBasket), CheckBoxCaption(*CheckOrders),
                                   CheckBoxCaption(*CheckParameters), CheckBoxCaption(*CheckCopy)});
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
  for (QCheckBox* option : {CheckBasket, CheckOrders, CheckParameters, CheckCopy, CheckDump}) {
    connect(option, &QCheckBox::stateChanged, this, [this] { ApplyOptionRules(); });
  }
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
  // Every box is unchecked: the connection fields, "Migrate" and "Dump" are disabled.
  ApplyOptionRules();
  SettingsFields fields = SettingsFieldsOf(ConnectionValuesOfControls());
  const std::optional<WindowPaths> paths = StartWindow(fields, messages_);
  ShowFields(fields);
  if (!paths) return false;
  paths_ = *paths;
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

void FrmConvert::ApplyOptionRules() {
  const EnabledControls enabled = EnabledFor(OptionStatesOfControls());
  for (QWidget* control : std::initializer_list<QWidget*>{Convert, SDBServer, SUser, SPassword, SDB,
                                                          TDBServer, TUser, TPassword, TDB}) {
    control->setEnabled(enabled.migrateControls);
  }
  DumpBaskets->setEnabled(enabled.DumpBaskets);
}

void FrmConvert::RunDump() {
  const ConnectionValues values = ConnectionValuesOfControls();
  if (!CheckBeforeDump(values, messages_)) return;
  run_.StartDump(values, DumpFileName->text().toStdString());
}

void FrmConvert::RunMigration() {
  const ConnectionValues values = ConnectionValuesOfControls();
  if (!CheckBeforeMigrate(values, paths_.sIniFileName, messages_, [this] { EndProgram(); })) {
    return;
  }
  HideResultText();
  run_.StartMigration(factory_, runMessages_, captions_->All(), values,
                      SelectionOf(OptionStatesOfControls()), paths_.sLogFileName);
}

void FrmConvert::ShowResultText(const std::string& caption) {
  ResultText->setText(QString::fromStdString(caption));
  ResultText->show();
}

void FrmConvert::HideResultText() { ResultText->hide(); }

void FrmConvert::EndProgram() {
  close();
  QCoreApplication::quit();
}

void FrmConvert::ShowFields(const SettingsFields& fields) {
  SDBServer->setText(QString::fromStdString(fields.SDBServer));
  TDBServer->setText(QString::fromStdString(fields.TDBServer));
  SUser->setText(QString::fromStdString(fields.SUser));
  TUser->setText(QString::fromStdString(fields.TUser));
  SDB->setText(QString::fromStdString(fields.SDB));
  TDB->setText(QString::fromStdString(fields.TDB));
}

ConnectionValues FrmConvert::ConnectionValuesOfControls() const {
  return {SDBServer->text().toStdString(), SUser->text().toStdString(),
          SPassword->text().toStdString(), SDB->text().toStdString(),
          TDBServer->text().toStdString(), TUser->text().toStdString(),
          TPassword->text().toStdString(), TDB->text().toStdString()};
}

OptionStates FrmConvert::OptionStatesOfControls() const {
  return {CheckValue(*CheckBasket), CheckValue(*CheckOrders), CheckValue(*CheckParameters),
          CheckValue(*CheckCopy), CheckValue(*CheckDump)};
}

}  // namespace mv
