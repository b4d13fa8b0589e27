// Tests of the window without databases: its controls, start-up, enabling, advanced toggle,
// settings file and the commands that end before a migration reaches a database.
#include "app/frm_convert.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <filesystem>

#include "driver/window_paths.h"
#include "platform/configuration/configuration_path.h"
#include "tests/app/window_test_support.h"
#include "tests/support/recording_message_display.h"

namespace mv::testing {
namespace {

int Pixels(int twips) { return (twips + 7) / 15; }

const QStringList kConnectionFields{"SDBServer", "SUser", "SPassword", "SDB",
                                    "TDBServer", "TUser", "TPassword", "TDB"};
const QStringList kOptionBoxes{"CheckBasket", "CheckOrders", "CheckParameters", "CheckCopy"};

// Messages as shown, each with the settings file's content at the moment it was shown.
class SnapshotMessageDisplay : public MessageDisplay {
 public:
  explicit SnapshotMessageDisplay(std::string settingsPath)
      : settingsPath_(std::move(settingsPath)) {}
  void ShowMessage(const std::string& text) override {
    messages.append(QString::fromStdString(text));
    settingsAtMessage.append(QByteArray::fromStdString(ReadFileBytes(settingsPath_)));
  }
  QStringList messages;
  QList<QByteArray> settingsAtMessage;

 private:
  std::string settingsPath_;
};

/// The width a control needs to show its whole text: the text measured in the control's own
/// font, with the margins its style draws around it (a check box's indicator, a button's
/// frame, a text box's frame and inner margins).
int WidthForText(const QWidget& control) {
  if (const auto* frame = qobject_cast<const QGroupBox*>(&control)) {
    return frame->minimumSizeHint().width();
  }
  if (const auto* field = qobject_cast<const QLineEdit*>(&control)) {
    const int frameWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const QMargins margins = field->textMargins();
    constexpr int kInnerMargins = 2 * 2;  // QLineEdit keeps 2 pixels free on either side
    return field->fontMetrics().horizontalAdvance(field->text()) + 2 * frameWidth + margins.left() +
           margins.right() + kInnerMargins;
  }
  return control.sizeHint().width();
}

}  // namespace

class FrmConvertTest : public QObject {
  Q_OBJECT

 private slots:
  void controlsHaveTheirKindCaptionPlaceAndFont_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    const auto row = [](const char* name, const char* kind, const QString& caption, QRect twips,
                        double points = 8.25, bool bold = false) {
      QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << caption
                          << twips << points << bold;
    };
    row("Picture1", "QLabel", "", {0, 0, 6210, 765});
    row("Frame1", "QGroupBox", "Migration Options", {0, 840, 4815, 1815});
    row("CheckBasket", "QCheckBox", "Migrate Baskets", {120, 1080, 4500, 400});
    row("CheckOrders", "QCheckBox", "Migrate Submitted Orders", {120, 1440, 4455, 400});
    row("CheckParameters", "QCheckBox", "Migrate Parameters", {120, 1800, 4455, 400});
    row("CheckCopy", "QCheckBox", "Copy Remaining Data ", {120, 2160, 4335, 400});
    row("Cancel", "QPushButton", "Exit", {4920, 960, 1215, 375});
    row("Convert", "QPushButton", "Migrate", {4920, 1320, 1215, 375});
    row("OpenLogFile", "QPushButton", "Open Log file", {4920, 1680, 1215, 375});
    row("Label5", "QLabel", "Source", {2280, 2760, 1215, 375}, 12, true);
    row("Label6", "QLabel", "Target", {3600, 2760, 1215, 375}, 12, true);
    row("Label1", "QLabel", "Database Server", {360, 3120, 1935, 255});
    row("Label2", "QLabel", "Database User", {360, 3480, 1935, 255});
    row("Label3", "QLabel", "Database Password", {360, 3840, 1935, 255});
    row("Label4", "QLabel", "Database Name", {360, 4200, 1935, 255});
    row("SDBServer", "QLineEdit", "", {2280, 3120, 1215, 285});
    row("SUser", "QLineEdit", "", {2280, 3480, 1215, 285});
    row("SPassword", "QLineEdit", "", {2280, 3840, 1215, 285});
    row("SDB", "QLineEdit", "", {2280, 4200, 1215, 285});
    row("TDBServer", "QLineEdit", "", {3600, 3120, 1215, 285});
    row("TUser", "QLineEdit", "", {3600, 3480, 1215, 285});
    row("TPassword", "QLineEdit", "", {3600, 3840, 1215, 285});
    row("TDB", "QLineEdit", "", {3600, 4200, 1215, 285});
    row("AdvancedOn", "QPushButton", "Advanced >>", {4920, 4200, 1215, 375});
    row("AdvancedOff", "QPushButton", "Advanced <<", {4920, 4200, 1215, 375});
    row("ResultText", "QLabel", "", {360, 4680, 4455, 495}, 8.25, true);
    row("CheckDump", "QCheckBox", "Dump Vantrel 2.2 Orderforms", {120, 5400, 2415, 375});
    row("DumpBaskets", "QPushButton", "Dump", {2640, 5400, 1215, 375});
    row("DumpFileName", "QLineEdit", QString::fromStdString(InitialDumpFileName()),
        {120, 5760, 2415, 285});
    row("OpenDumpFile", "QPushButton", "Open Dumpfile", {2640, 5760, 1215, 375});
  }

  void controlsHaveTheirKindCaptionPlaceAndFont() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QFETCH(double, points);
    QFETCH(bool, bold);
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    const QWidget* control = Find(window, name);
    QCOMPARE(control->parentWidget(), &window);
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
    const char* captionProperty = kind == QStringLiteral("QGroupBox") ? "title" : "text";
    QCOMPARE(control->property(captionProperty).toString(), caption);
    QCOMPARE(control->geometry(), QRect(Pixels(twips.x()), Pixels(twips.y()), Pixels(twips.width()),
                                        Pixels(twips.height())));
    QCOMPARE(control->font().pointSizeF(), points);
    QCOMPARE(control->font().bold(), bold);
  }

  void captionsFitTheirControls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    for (const char* name :
         {"Frame1", "CheckBasket", "CheckOrders", "CheckParameters", "CheckCopy", "Cancel",
          "Convert", "OpenLogFile", "Label5", "Label6", "Label1", "Label2", "Label3", "Label4",
          "AdvancedOn", "AdvancedOff", "CheckDump", "DumpBaskets", "OpenDumpFile"}) {
      QTest::newRow(name) << QString::fromLatin1(name) << QString();
    }
    // The longest texts a run writes into the captions, the text of a successful run, and
    // the dump file's initial name as Windows shows it.
    QTest::newRow("CheckOrders done") << "CheckOrders"
                                      << "Migrate Submitted Orders   (Done, No Errors Found)";
    QTest::newRow("CheckCopy done") << "CheckCopy"
                                    << "Copy Remaining Data   (Done, No Errors Found)";
    QTest::newRow("ResultText") << "ResultText"
                                << "Conversion was completed succesfully.";
    QTest::newRow("DumpFileName") << "DumpFileName"
                                  << "c:\\orderforms.txt";
  }

  void captionsFitTheirControls() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    QWidget* control = Find(window, name);
    if (!text.isEmpty()) control->setProperty("text", text);
    const int needed = WidthForText(*control);
    const QFontInfo font(control->font());
    QVERIFY2(needed <= control->width(),
             qPrintable(QStringLiteral("needs %1 pixels in %2 %3, has %4")
                            .arg(needed)
                            .arg(font.family(), font.styleName())
                            .arg(control->width())));
    QVERIFY(control->fontMetrics().height() <= control->height());
  }

  void windowHasCaptionIconBannerAndMaskedPasswords() {
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    QCOMPARE(window.windowTitle(),
             QStringLiteral("      Vantrel 2.2 (SP1) to Vantrel 2.3 Data Migration"));
    const QList<QSize> iconSizes = window.windowIcon().availableSizes();
    QVERIFY(iconSizes.contains(QSize(16, 16)));
    QVERIFY(iconSizes.contains(QSize(32, 32)));
    const auto* picture = Find<QLabel>(window, "Picture1");
    QCOMPARE(picture->pixmap().size(), QSize(275, 119));
    QCOMPARE(picture->palette().color(QPalette::Window), QColor(Qt::white));
    for (const char* name : {"SPassword", "TPassword"}) {
      const auto* password = Find<QLineEdit>(window, name);
      QCOMPARE(password->echoMode(), QLineEdit::Password);
      QCOMPARE(
          password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password),
          int('*'));
    }
  }

  void tabOrderFollowsTheTabIndexes() {
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    QStringList order;
    QWidget* first = Find(window, "CheckBasket");
    QWidget* control = first;
    do {
      if (control->focusPolicy() & Qt::TabFocus) order << control->objectName();
      control = control->nextInFocusChain();
    } while (control != first);
    QCOMPARE(order, QStringList({"CheckBasket", "CheckOrders",  "CheckParameters", "CheckCopy",
                                 "SDBServer",   "SUser",        "SPassword",       "SDB",
                                 "TDBServer",   "TUser",        "TPassword",       "TDB",
                                 "Cancel",      "Convert",      "OpenLogFile",     "AdvancedOff",
                                 "CheckDump",   "DumpFileName", "DumpBaskets",     "AdvancedOn",
                                 "OpenDumpFile"}));
  }

  void startUpLeavesWindowCollapsedAndFieldsDisabled() {
    Installation installation;
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    QVERIFY(window.Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(messages.messages.empty());

    QVERIFY(!Find(window, "ResultText")->isVisible());
    for (const QString& name : kOptionBoxes + QStringList{"CheckDump"}) {
      QCOMPARE(Find<QCheckBox>(window, name)->checkState(), Qt::Unchecked);
    }
    QCOMPARE(window.height(), Pixels(5500 - 360));
    QVERIFY(Find(window, "AdvancedOn")->isVisible());
    QVERIFY(!Find(window, "AdvancedOff")->isVisible());
    for (const QString& name : kConnectionFields) {
      QVERIFY2(!Find(window, name)->isEnabled(), qPrintable(name));
      QCOMPARE(Find<QLineEdit>(window, name)->text(), QString());
    }
    for (const char* name : {"Convert", "DumpBaskets"}) QVERIFY(!Find(window, name)->isEnabled());
    for (const char* name :
         {"Cancel", "OpenLogFile", "OpenDumpFile", "AdvancedOn", "DumpFileName", "CheckBasket"}) {
      QVERIFY2(Find(window, name)->isEnabled(), name);
    }

    QCOMPARE(QString::fromStdString(window.Paths().sWorkFolder),
             QString::fromStdString(installation.Folder().File("")).chopped(1));
    QCOMPARE(window.Paths().sLogFileName, installation.LogPath());
    QCOMPARE(window.Paths().sIniFileName, installation.SettingsPath());
  }

  void startUpFillsFieldsFromTheSettingsFile() {
    Installation installation;
    installation.WriteSettings("srv1\r\nsrv2\r\n\r\nusr2\r\ndb1\r\ndb2\r\n");
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    QVERIFY(window.Load());
    QStringList texts;
    for (const QString& name : kConnectionFields) texts << Find<QLineEdit>(window, name)->text();
    QCOMPARE(texts, QStringList({"srv1", "", "", "db1", "srv2", "usr2", "", "db2"}));
  }

  void startUpWithoutUsableWorkingFolderShowsWhatIsMissing_data() {
    QTest::addColumn<QByteArray>("configuration");
    QTest::addColumn<QString>("message");
    QTest::newRow("variable not set")
        << QByteArray()
        << QStringLiteral(
               "The configuration component has no installation path: set the environment "
               "variable VANTREL_CONFIGURATION to the full path of the installation's "
               "configuration file.");
    QTest::newRow("folder missing")
        << QByteArray("/nonexistent-mv/Orbisco.xml")
        << QStringLiteral(
               "The folder '/nonexistent-mv' of the configuration path "
               "'/nonexistent-mv/Orbisco.xml' does not exist: set the environment variable "
               "VANTREL_CONFIGURATION to the full path of the installation's configuration "
               "file.");
  }

  void startUpWithoutUsableWorkingFolderShowsWhatIsMissing() {
    QFETCH(QByteArray, configuration);
    QFETCH(QString, message);
    Installation installation;  // restores the variable afterwards
    if (configuration.isEmpty()) {
      qunsetenv(kConfigurationPathVariable);
    } else {
      qputenv(kConfigurationPathVariable, configuration);
    }
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    QVERIFY(!window.Load());
    QCOMPARE(messages.messages.size(), size_t(1));
    QCOMPARE(QString::fromStdString(messages.messages[0]), message);
  }

  void startUpWithUnreadableSettingsFileEndsWithTheSettingsMessage() {
    Installation installation;
    std::filesystem::create_directory(PathFromUtf8(installation.SettingsPath()));
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    QVERIFY(!window.Load());
    QCOMPARE(messages.messages, std::vector<std::string>{"Path '" + installation.SettingsPath() +
                                                         "' for logfile doesn't exist."});
  }

  void optionBoxEnablesMigrateAndFields_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("enabled");
    for (const QString& option : kOptionBoxes) {
      QTest::addRow("%s unchecked", qPrintable(option)) << option << 0 << false;
      QTest::addRow("%s checked", qPrintable(option)) << option << 1 << true;
      QTest::addRow("%s greyed", qPrintable(option)) << option << 2 << true;
    }
  }

  void optionBoxEnablesMigrateAndFields() {
    QFETCH(QString, option);
    QFETCH(int, state);
    QFETCH(bool, enabled);
    Installation installation;
    installation.WriteSettings("srv1\r\nsrv2\r\n");
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    QVERIFY(window.Load());
    const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    auto* box = Find<QCheckBox>(window, option);
    box->setCheckState(states[state]);
    for (const QString& name : kConnectionFields + QStringList{"Convert"}) {
      QVERIFY2(Find(window, name)->isEnabled() == enabled, qPrintable(name));
    }
    box->setCheckState(Qt::Unchecked);
    for (const QString& name : kConnectionFields + QStringList{"Convert"}) {
      QVERIFY2(!Find(window, name)->isEnabled(), qPrintable(name));
    }
    QCOMPARE(Find<QLineEdit>(window, "SDBServer")->text(), QStringLiteral("srv1"));
    QCOMPARE(Find<QLineEdit>(window, "TDBServer")->text(), QStringLiteral("srv2"));
  }

  void migrateStaysEnabledWhileAnyOptionIsTicked() {
    Installation installation;
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    QVERIFY(window.Load());
    Find<QCheckBox>(window, "CheckOrders")->setCheckState(Qt::Checked);
    Find<QCheckBox>(window, "CheckCopy")->setCheckState(Qt::Checked);
    Find<QCheckBox>(window, "CheckOrders")->setCheckState(Qt::Unchecked);
    QVERIFY(Find(window, "Convert")->isEnabled());
    QVERIFY(Find(window, "TDB")->isEnabled());
  }

  void dumpIsEnabledOnlyWhileDumpIsChecked_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("unchecked") << 0 << false;
    QTest::newRow("checked") << 1 << true;
    QTest::newRow("greyed") << 2 << false;
  }

  void dumpIsEnabledOnlyWhileDumpIsChecked() {
    QFETCH(int, state);
    QFETCH(bool, enabled);
    Installation installation;
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    QVERIFY(window.Load());
    const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    auto* dump = Find<QCheckBox>(window, "CheckDump");
    dump->setCheckState(Qt::Checked);
    dump->setCheckState(states[state]);
    QCOMPARE(Find(window, "DumpBaskets")->isEnabled(), enabled);
    QVERIFY(!Find(window, "Convert")->isEnabled());
  }

  void advancedTogglesHeightWithOneButtonInPlace() {
    Installation installation;
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    QVERIFY(window.Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* on = Find<QPushButton>(window, "AdvancedOn");
    auto* off = Find<QPushButton>(window, "AdvancedOff");
    const int collapsed = Pixels(5500 - 360);
    const int expanded = Pixels(6550 - 360);
    QCOMPARE(window.height(), collapsed);
    QVERIFY(Find(window, "CheckDump")->geometry().top() >= collapsed);

    QTest::mouseClick(on, Qt::LeftButton);
    QCOMPARE(window.height(), expanded);
    QVERIFY(!on->isVisible());
    QVERIFY(off->isVisible());
    QVERIFY(Find(window, "OpenDumpFile")->geometry().bottom() < expanded);
    QCOMPARE(off->geometry(), on->geometry());

    QTest::mouseClick(off, Qt::LeftButton);
    QCOMPARE(window.height(), collapsed);
    QVERIFY(on->isVisible());
    QVERIFY(!off->isVisible());
    QCOMPARE(window.width(), Pixels(6210));
  }

  void migrateWithEmptyTargetServerSavesSettingsThenReportsBothMessages() {
    Installation installation;
    SnapshotMessageDisplay messages(installation.SettingsPath());
    StandInConverters converters;
    FrmConvert window(converters.Factory(), messages);
    QVERIFY(window.Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Find<QCheckBox>(window, "CheckParameters")->setCheckState(Qt::Checked);
    const QStringList texts{"srv1", "sa",  "secret-source", "db1",
                            "",     "sa2", "secret-target", "db2"};
    for (int i = 0; i < kConnectionFields.size(); ++i) {
      Find<QLineEdit>(window, kConnectionFields[i])->setText(texts[i]);
    }

    QTest::mouseClick(Find(window, "Convert"), Qt::LeftButton);
    WaitForRunEnd(window);

    QCOMPARE(messages.messages,
             QStringList({"Please enter a Target Database Server", QString::fromLatin1(kFailed)}));
    const QByteArray settings("srv1\r\n\r\nsa\r\nsa2\r\ndb1\r\ndb2\r\n");
    QCOMPARE(messages.settingsAtMessage[0], settings);
    QVERIFY(!settings.contains("secret"));
    QVERIFY(!Find(window, "ResultText")->isVisible());
    QVERIFY(converters.created.empty());
    QVERIFY(window.isVisible());
  }

  void migrateWhenSettingsCannotBeWrittenEndsWithoutRunning() {
    Installation installation;
    RecordingMessageDisplay messages;
    StandInConverters converters;
    FrmConvert window(converters.Factory(), messages);
    QVERIFY(window.Load());
    // A folder in the settings file's place can be neither deleted nor replaced.
    std::filesystem::create_directories(PathFromUtf8(installation.SettingsPath()) / "locked");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Find<QCheckBox>(window, "CheckBasket")->setCheckState(Qt::Checked);

    QTest::mouseClick(Find(window, "Convert"), Qt::LeftButton);

    QCOMPARE(messages.messages, std::vector<std::string>{"Path '" + installation.SettingsPath() +
                                                         "' for logfile doesn't exist."});
    QVERIFY(!window.isVisible());
    QVERIFY(converters.created.empty());
    QVERIFY(!std::filesystem::exists(PathFromUtf8(installation.LogPath())));
  }

  void exitClosesTheWindowWithoutWritingSettings() {
    Installation installation;
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages);
    QVERIFY(window.Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Find<QCheckBox>(window, "CheckBasket")->setCheckState(Qt::Checked);
    Find<QLineEdit>(window, "SDBServer")->setText("typed");

    QTest::mouseClick(Find(window, "Cancel"), Qt::LeftButton);

    QVERIFY(!window.isVisible());
    QVERIFY(!std::filesystem::exists(PathFromUtf8(installation.SettingsPath())));
    QVERIFY(messages.messages.empty());
  }

  void openLogFileWithoutLogShowsNoMessage() {
    Installation installation;
    RecordingMessageDisplay messages;
    std::vector<std::string> viewed;
    FrmConvert window(StandInConverters().Factory(), messages, [&](const std::string& path) {
      viewed.push_back(path);
      return true;
    });
    QVERIFY(window.Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(Find(window, "OpenLogFile"), Qt::LeftButton);

    QCOMPARE(viewed, std::vector<std::string>{installation.LogPath()});
    QVERIFY(messages.messages.empty());
    QVERIFY(window.isVisible());
    QVERIFY(!std::filesystem::exists(PathFromUtf8(installation.LogPath())));
  }

  void viewerThatCannotStartIsNamedInAMessage_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("Open Log file") << QStringLiteral("OpenLogFile");
    QTest::newRow("Open Dumpfile") << QStringLiteral("OpenDumpFile");
  }

  void viewerThatCannotStartIsNamedInAMessage() {
    QFETCH(QString, button);
    Installation installation;
    RecordingMessageDisplay messages;
    FrmConvert window(StandInConverters().Factory(), messages,
                      [](const std::string&) { return false; });
    QVERIFY(window.Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(Find(window, "AdvancedOn"), Qt::LeftButton);
    Find<QLineEdit>(window, "DumpFileName")->setText(QStringLiteral("/tmp/my orders.txt"));

    QTest::mouseClick(Find(window, button), Qt::LeftButton);

    const std::string path =
        button == QStringLiteral("OpenLogFile") ? installation.LogPath() : "/tmp/my orders.txt";
    QCOMPARE(
        messages.messages,
        std::vector<std::string>{"No program could be started to show the file '" + path + "'."});
    QVERIFY(window.isVisible());
  }
};

}  // namespace mv::testing

MV_WIDGET_TEST_MAIN(mv::testing::FrmConvertTest)
#include "frm_convert_test.moc"
