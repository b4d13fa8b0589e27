#include "app/frm_convert.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <utility>

#include "app/artwork.h"
#include "app/ask_to_stop_migration.h"
#include "app/check_box_caption.h"
#include "app/gui_thread_message_display.h"
#include "driver/global_convert.h"
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
constexpr int kTwipsPerPixel = 15;

int Pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

// A control's place in twips: left, top, width, height.
struct Twips {
  int left;
  int top;
  int width;
  int height;
};

template <typename Control>
Control* Place(QWidget* window, const char* name, const QString& caption, Twips box) {
  auto* control = new Control(caption, window);
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(Pixels(box.left), Pixels(box.top), Pixels(box.width), Pixels(box.height));
  return control;
}

// MS Sans Serif (or its TrueType successor, Microsoft Sans Serif) where it exists, as the
// product's controls were sized for it. Elsewhere DejaVu Sans, the sans serif of every Debian
// desktop, condensed: its glyphs run a fifth wider, so that at its normal width "Dump Vantrel
// 2.2 Orderforms" would not fit its check box. Without DejaVu Sans Condensed installed, the
// regular face is narrowed to the same width.
QFont SansSerif(qreal points, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                    QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  if (!QFontInfo(font).family().endsWith(QStringLiteral("Sans Serif"))) {
    font.setStretch(QFont::Condensed);
  }
  return font;
}

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

// Password boxes show "*" for each character, whatever the platform's style draws.
class AsteriskPasswordStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

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
  setFont(SansSerif(8.25, false));
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
  Picture1 = Place<QLabel>(this, "Picture1", QString(), {0, 0, 6210, 765});
  Picture1->setPixmap(Banner());
  Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Picture1->setAutoFillBackground(true);
  QPalette white = Picture1->palette();
  white.setColor(QPalette::Window, Qt::white);
  Picture1->setPalette(white);

  // The frame first, so that the option check boxes lie over it.
  Frame1 =
      Place<QGroupBox>(this, "Frame1", QStringLiteral("Migration Options"), {0, 840, 4815, 1815});
  CheckBasket = Place<QCheckBox>(this, "CheckBasket", QStringLiteral("Migrate Baskets"),
                                 {120, 1080, 4500, 400});
  CheckOrders = Place<QCheckBox>(this, "CheckOrders", QStringLiteral("Migrate Submitted Orders"),
                                 {120, 1440, 4455, 400});
  CheckParameters = Place<QCheckBox>(this, "CheckParameters", QStringLiteral("Migrate Parameters"),
                                     {120, 1800, 4455, 400});
  CheckCopy = Place<QCheckBox>(this, "CheckCopy", QStringLiteral("Copy Remaining Data "),
                               {120, 2160, 4335, 400});

  Cancel = Place<QPushButton>(this, "Cancel", QStringLiteral("Exit"), {4920, 960, 1215, 375});
  Convert = Place<QPushButton>(this, "Convert", QStringLiteral("Migrate"), {4920, 1320, 1215, 375});
  OpenLogFile = Place<QPushButton>(this, "OpenLogFile", QStringLiteral("Open Log file"),
                                   {4920, 1680, 1215, 375});

  Label5 = Place<QLabel>(this, "Label5", QStringLiteral("Source"), {2280, 2760, 1215, 375});
  Label6 = Place<QLabel>(this, "Label6", QStringLiteral("Target"), {3600, 2760, 1215, 375});
  for (QLabel* heading : {Label5, Label6}) {
    heading->setFont(SansSerif(12, true));
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  }
  Label1 = Place<QLabel>(this, "Label1", QStringLiteral("Database Server"), {360, 3120, 1935, 255});
  Label2 = Place<QLabel>(this, "Label2", QStringLiteral("Database User"), {360, 3480, 1935, 255});
  Label3 =
      Place<QLabel>(this, "Label3", QStringLiteral("Database Password"), {360, 3840, 1935, 255});
  Label4 = Place<QLabel>(this, "Label4", QStringLiteral("Database Name"), {360, 4200, 1935, 255});

  SDBServer = Place<QLineEdit>(this, "SDBServer", QString(), {2280, 3120, 1215, 285});
  SUser = Place<QLineEdit>(this, "SUser", QString(), {2280, 3480, 1215, 285});
  SPassword = Place<QLineEdit>(this, "SPassword", QString(), {2280, 3840, 1215, 285});
  SDB = Place<QLineEdit>(this, "SDB", QString(), {2280, 4200, 1215, 285});
  TDBServer = Place<QLineEdit>(this, "TDBServer", QString(), {3600, 3120, 1215, 285});
  TUser = Place<QLineEdit>(this, "TUser", QString(), {3600, 3480, 1215, 285});
  TPassword = Place<QLineEdit>(this, "TPassword", QString(), {3600, 3840, 1215, 285});
  TDB = Place<QLineEdit>(this, "TDB", QString(), {3600, 4200, 1215, 285});
  auto* asterisks = new AsteriskPasswordStyle;
  asterisks->setParent(this);
  for (QLineEdit* password : {SPassword, TPassword}) {
    password->setEchoMode(QLineEdit::Password);
    password->setStyle(asterisks);
  }

  AdvancedOn = Place<QPushButton>(this, "AdvancedOn", QStringLiteral("Advanced >>"),
                                  {4920, 4200, 1215, 375});
  AdvancedOff = Place<QPushButton>(this, "AdvancedOff", QStringLiteral("Advanced <<"),
                                   {4920, 4200, 1215, 375});
  ResultText = Place<QLabel>(this, "ResultText", QString(), {360, 4680, 4455, 495});
  ResultText->setFont(SansSerif(8.25, true));
  ResultText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ResultText->setWordWrap(true);

  CheckDump = Place<QCheckBox>(this, "CheckDump", QStringLiteral("Dump Vantrel 2.2 Orderforms"),
                               {120, 5400, 2415, 375});
  DumpBaskets =
      Place<QPushButton>(this, "DumpBaskets", QStringLiteral("Dump"), {2640, 5400, 1215, 375});
  DumpFileName = Place<QLineEdit>(
      this, "DumpFileName", QString::fromStdString(InitialDumpFileName()), {120, 5760, 2415, 285});
  OpenDumpFile = Place<QPushButton>(this, "OpenDumpFile", QStringLiteral("Open Dumpfile"),
                                    {2640, 5760, 1215, 375});
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

void FrmConvert::RunDump() {
  const ConnectionValues values = ConnectionValuesOfControls();
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
        if (*damaged > 0) {
          message += "\n" + std::to_string(*damaged) +
                     " order forms are damaged; their place in the dump file says why.";
        }
        messages_.ShowMessage(outcome.escapedError.value_or(message));
      });
}

void FrmConvert::RunMigration() {
  if (!SaveSettings()) return;
  ResultText->hide();
  progress_ = std::make_unique<ProgressDisplay>([this](const std::string& text) {
    ResultText->setText(QString::fromStdString(text));
    ResultText->show();
  });
  const ConnectionValues values = ConnectionValuesOfControls();
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
