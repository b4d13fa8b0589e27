// Tests of the window without databases: start-up, enabling, advanced toggle, settings file
// and the commands that end before a migration reaches a database.
#include "app/frm_convert.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "driver/odbc_keywords.h"
#include "platform/configuration/configuration_path.h"
#include "tests/app/window_test_support.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/scoped_environment.h"

namespace mv::testing {
namespace {

const QStringList kConnectionFields{"SDBServer", "SUser", "SPassword", "SDB",
                                    "TDBServer", "TUser", "TPassword", "TDB"};
const QStringList kOptionBoxes{"CheckBasket", "CheckOrders", "CheckParameters", "CheckCopy"};

// Messages as shown, each with the content of the settings file at `settingsPath` at the
// moment it was shown.
struct SnapshotMessageDisplay : MessageDisplay {
  void ShowMessage(const std::string& text) override {
    messages.append(QString::fromStdString(text));
    settingsAtMessage.append(QByteArray::fromStdString(ReadFileBytes(settingsPath)));
  }
  std::string settingsPath;
  QStringList messages;
  QList<QByteArray> settingsAtMessage;
};

}  // namespace

class FrmConvertTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpLeavesWindowCollapsedAndFieldsDisabled() {
    WindowFixture<> fixture;
    QVERIFY(fixture.Start());
    QVERIFY(fixture.messages.messages.empty());

    QVERIFY(!Find(fixture.window, "ResultText")->isVisible());
    for (const QString& name : kOptionBoxes + QStringList{"CheckDump"}) {
      QCOMPARE(Find<QCheckBox>(fixture.window, name)->checkState(), Qt::Unchecked);
    }
    QCOMPARE(fixture.window.height(), PixelsOf(5500 - 360));
    QVERIFY(Find(fixture.window, "AdvancedOn")->isVisible());
    QVERIFY(!Find(fixture.window, "AdvancedOff")->isVisible());
    for (const QString& name : kConnectionFields) {
      QVERIFY2(!Find(fixture.window, name)->isEnabled(), qPrintable(name));
      QCOMPARE(Find<QLineEdit>(fixture.window, name)->text(), QString());
    }
    for (const char* name : {"Convert", "DumpBaskets"})
      QVERIFY(!Find(fixture.window, name)->isEnabled());
    for (const char* name :
         {"Cancel", "OpenLogFile", "OpenDumpFile", "AdvancedOn", "DumpFileName", "CheckBasket"}) {
      QVERIFY2(Find(fixture.window, name)->isEnabled(), name);
    }

    QCOMPARE(QString::fromStdString(fixture.window.Paths().sWorkFolder),
             QString::fromStdString(fixture.installation.Folder().File("")).chopped(1));
    QCOMPARE(fixture.window.Paths().sLogFileName, fixture.installation.LogPath());
    QCOMPARE(fixture.window.Paths().sIniFileName, fixture.installation.SettingsPath());
  }

  void startUpFillsFieldsFromTheSettingsFile() {
    WindowFixture<> fixture;
    fixture.installation.WriteSettings("srv1\r\nsrv2\r\n\r\nusr2\r\ndb1\r\ndb2\r\n");
    QVERIFY(fixture.Start());
    QStringList texts;
    for (const QString& name : kConnectionFields)
      texts << Find<QLineEdit>(fixture.window, name)->text();
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
    WindowFixture<> fixture;  // its installation restores the variable afterwards
    if (configuration.isEmpty()) {
      qunsetenv(kConfigurationPathVariable);
    } else {
      qputenv(kConfigurationPathVariable, configuration);
    }
    QVERIFY(!fixture.window.Load());
    QCOMPARE(fixture.messages.messages.size(), size_t(1));
    QCOMPARE(QString::fromStdString(fixture.messages.messages[0]), message);
  }

  void startUpWithUnreadableSettingsFileEndsWithTheSettingsMessage() {
    WindowFixture<> fixture;
    std::filesystem::create_directory(PathFromUtf8(fixture.installation.SettingsPath()));
    QVERIFY(!fixture.window.Load());
    QCOMPARE(fixture.messages.messages,
             std::vector<std::string>{"Path '" + fixture.installation.SettingsPath() +
                                      "' for logfile doesn't exist."});
  }

  void startUpWithMalformedOdbcKeywordsNamesThePairWithoutItsPassword() {
    WindowFixture<> fixture;
    const ScopedEnvironmentVariable keywords(kOdbcKeywordsVariable, "Encrypt=yes;Password={secret");
    QVERIFY(!fixture.window.Load());
    QCOMPARE(fixture.messages.messages,
             std::vector<std::string>{"VANTREL_ODBC_KEYWORDS: the braced value of "
                                      "'Password=****' is not closed with '}'"});
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
    WindowFixture<> fixture;
    fixture.installation.WriteSettings("srv1\r\nsrv2\r\n");
    QVERIFY(fixture.Start());
    const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    auto* box = Find<QCheckBox>(fixture.window, option);
    box->setCheckState(states[state]);
    for (const QString& name : kConnectionFields + QStringList{"Convert"}) {
      QVERIFY2(Find(fixture.window, name)->isEnabled() == enabled, qPrintable(name));
    }
    box->setCheckState(Qt::Unchecked);
    for (const QString& name : kConnectionFields + QStringList{"Convert"}) {
      QVERIFY2(!Find(fixture.window, name)->isEnabled(), qPrintable(name));
    }
    QCOMPARE(Find<QLineEdit>(fixture.window, "SDBServer")->text(), QStringLiteral("srv1"));
    QCOMPARE(Find<QLineEdit>(fixture.window, "TDBServer")->text(), QStringLiteral("srv2"));
  }

  void migrateStaysEnabledWhileAnyOptionIsTicked() {
    WindowFixture<> fixture;
    QVERIFY(fixture.Start());
    Find<QCheckBox>(fixture.window, "CheckOrders")->setCheckState(Qt::Checked);
    Find<QCheckBox>(fixture.window, "CheckCopy")->setCheckState(Qt::Checked);
    Find<QCheckBox>(fixture.window, "CheckOrders")->setCheckState(Qt::Unchecked);
    QVERIFY(Find(fixture.window, "Convert")->isEnabled());
    QVERIFY(Find(fixture.window, "TDB")->isEnabled());
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
    WindowFixture<> fixture;
    QVERIFY(fixture.Start());
    const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    auto* dump = Find<QCheckBox>(fixture.window, "CheckDump");
    dump->setCheckState(Qt::Checked);
    dump->setCheckState(states[state]);
    QCOMPARE(Find(fixture.window, "DumpBaskets")->isEnabled(), enabled);
    QVERIFY(!Find(fixture.window, "Convert")->isEnabled());
  }

  void advancedTogglesHeightWithOneButtonInPlace() {
    WindowFixture<> fixture;
    QVERIFY(fixture.Start());
    auto* on = Find<QPushButton>(fixture.window, "AdvancedOn");
    auto* off = Find<QPushButton>(fixture.window, "AdvancedOff");
    const int collapsed = PixelsOf(5500 - 360);
    const int expanded = PixelsOf(6550 - 360);
    QCOMPARE(fixture.window.height(), collapsed);
    QVERIFY(Find(fixture.window, "CheckDump")->geometry().top() >= collapsed);

    QTest::mouseClick(on, Qt::LeftButton);
    QCOMPARE(fixture.window.height(), expanded);
    QVERIFY(!on->isVisible());
    QVERIFY(off->isVisible());
    QVERIFY(Find(fixture.window, "OpenDumpFile")->geometry().bottom() < expanded);
    QCOMPARE(off->geometry(), on->geometry());

    QTest::mouseClick(off, Qt::LeftButton);
    QCOMPARE(fixture.window.height(), collapsed);
    QVERIFY(on->isVisible());
    QVERIFY(!off->isVisible());
    QCOMPARE(fixture.window.width(), PixelsOf(6210));
  }

  void migrateWithEmptyTargetServerSavesSettingsThenReportsBothMessages() {
    WindowFixture<SnapshotMessageDisplay> fixture;
    fixture.messages.settingsPath = fixture.installation.SettingsPath();
    QVERIFY(fixture.Start());
    TickBoxes(fixture.window, {"CheckParameters"});
    FillConnectionFields(fixture.window,
                         {"srv1", "sa", "secret-source", "db1", "", "sa2", "secret-target", "db2"});

    QTest::mouseClick(Find(fixture.window, "Convert"), Qt::LeftButton);
    WaitForRunEnd(fixture.window);

    QCOMPARE(fixture.messages.messages,
             QStringList({"Please enter a Target Database Server", QString::fromLatin1(kFailed)}));
    const QByteArray settings("srv1\r\n\r\nsa\r\nsa2\r\ndb1\r\ndb2\r\n");
    QCOMPARE(fixture.messages.settingsAtMessage[0], settings);
    QVERIFY(!settings.contains("secret"));
    QVERIFY(!Find(fixture.window, "ResultText")->isVisible());
    QVERIFY(fixture.converters.created.empty());
    QVERIFY(fixture.window.isVisible());
  }

  void migrateWhenSettingsCannotBeWrittenEndsWithoutRunning() {
    WindowFixture<> fixture;
    QVERIFY(fixture.Start());
    // A folder in the settings file's place can be neither deleted nor replaced.
    std::filesystem::create_directories(PathFromUtf8(fixture.installation.SettingsPath()) /
                                        "locked");
    Find<QCheckBox>(fixture.window, "CheckBasket")->setCheckState(Qt::Checked);

    QTest::mouseClick(Find(fixture.window, "Convert"), Qt::LeftButton);

    QCOMPARE(fixture.messages.messages,
             std::vector<std::string>{"Path '" + fixture.installation.SettingsPath() +
                                      "' for logfile doesn't exist."});
    QVERIFY(!fixture.window.isVisible());
    QVERIFY(fixture.converters.created.empty());
    QVERIFY(!std::filesystem::exists(PathFromUtf8(fixture.installation.LogPath())));
  }

  void exitClosesTheWindowWithoutWritingSettings() {
    WindowFixture<> fixture;
    QVERIFY(fixture.Start());
    Find<QCheckBox>(fixture.window, "CheckBasket")->setCheckState(Qt::Checked);
    Find<QLineEdit>(fixture.window, "SDBServer")->setText("typed");

    QTest::mouseClick(Find(fixture.window, "Cancel"), Qt::LeftButton);

    QVERIFY(!fixture.window.isVisible());
    QVERIFY(!std::filesystem::exists(PathFromUtf8(fixture.installation.SettingsPath())));
    QVERIFY(fixture.messages.messages.empty());
  }

  void openLogFileWithoutLogShowsNoMessage() {
    std::vector<std::string> viewed;
    WindowFixture<> fixture({}, [&](const std::string& path) {
      viewed.push_back(path);
      return true;
    });
    QVERIFY(fixture.Start());

    QTest::mouseClick(Find(fixture.window, "OpenLogFile"), Qt::LeftButton);

    QCOMPARE(viewed, std::vector<std::string>{fixture.installation.LogPath()});
    QVERIFY(fixture.messages.messages.empty());
    QVERIFY(fixture.window.isVisible());
    QVERIFY(!std::filesystem::exists(PathFromUtf8(fixture.installation.LogPath())));
  }

  void viewerThatCannotStartIsNamedInAMessage_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("Open Log file") << QStringLiteral("OpenLogFile");
    QTest::newRow("Open Dumpfile") << QStringLiteral("OpenDumpFile");
  }

  void viewerThatCannotStartIsNamedInAMessage() {
    QFETCH(QString, button);
    WindowFixture<> fixture({}, [](const std::string&) { return false; });
    QVERIFY(fixture.Start());
    QTest::mouseClick(Find(fixture.window, "AdvancedOn"), Qt::LeftButton);
    Find<QLineEdit>(fixture.window, "DumpFileName")->setText(QStringLiteral("/tmp/my orders.txt"));

    QTest::mouseClick(Find(fixture.window, button), Qt::LeftButton);

    const std::string path = button == QStringLiteral("OpenLogFile")
                                 ? fixture.installation.LogPath()
                                 : "/tmp/my orders.txt";
    QCOMPARE(
        fixture.messages.messages,
        std::vector<std::string>{"No program could be started to show the file '" + path + "'."});
    QVERIFY(fixture.window.isVisible());
  }
};

}  // namespace mv::testing

MV_WIDGET_TEST_MAIN(mv::testing::FrmConvertTest)
#include "frm_convert_test.moc"
