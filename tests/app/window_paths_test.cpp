// Tests of the paths the window derives from the installation's configuration path.
#include "driver/window_paths.h"

#include <QTest>
#include <filesystem>

#include "platform/runtime_error.h"
#include "tests/support/test_database.h"

namespace mv::testing {

class WindowPathsTest : public QObject {
  Q_OBJECT

 private slots:
  void filesLieInTheFolderOfTheConfigurationFile() {
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "Orbisco" / "Config");
    const std::string config = folder.File("Orbisco/Config/Orbisco.xml");
    const WindowPaths paths = WindowPathsFor(config);
    QCOMPARE(QString::fromStdString(paths.sWorkFolder),
             QString::fromStdString(folder.File("Orbisco/Config")));
    QCOMPARE(QString::fromStdString(paths.sLogFileName),
             QString::fromStdString(folder.File("Orbisco/Config/Vantrel23Conversion.log")));
    QCOMPARE(QString::fromStdString(paths.sIniFileName),
             QString::fromStdString(folder.File("Orbisco/Config/Vantrel23Convert.INI")));
  }

  void pathWithoutUsableFolderIsRefused_data() {
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("message");
    const QString howToSet = QStringLiteral(
        ": set the environment variable VANTREL_CONFIGURATION to the full path of the "
        "installation's configuration file.");
    QTest::newRow("no folder") << QStringLiteral("Orbisco.xml")
                               << "The configuration path 'Orbisco.xml' names no folder" + howToSet;
    QTest::newRow("a folder, not a file")
        << QStringLiteral("/var/tmp/")
        << "The configuration path '/var/tmp/' names no folder" + howToSet;
    QTest::newRow("folder missing")
        << QStringLiteral("/nonexistent-mv/Config/Orbisco.xml")
        << "The folder '/nonexistent-mv/Config' of the configuration path "
           "'/nonexistent-mv/Config/Orbisco.xml' does not exist" +
               howToSet;
  }

  void pathWithoutUsableFolderIsRefused() {
    QFETCH(QString, config);
    QFETCH(QString, message);
    try {
      WindowPathsFor(config.toStdString());
      QFAIL("no error");
    } catch (const RuntimeError& error) {
      QCOMPARE(QString::fromStdString(error.Description()), message);
    }
  }

  void dumpFileStartsInTheHomeFolder() {
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", "/home/operator");
    const std::string name = InitialDumpFileName();
    qputenv("HOME", home);
    QCOMPARE(QString::fromStdString(name), QStringLiteral("/home/operator/orderforms.txt"));
  }
};

}  // namespace mv::testing

QTEST_APPLESS_MAIN(mv::testing::WindowPathsTest)
#include "window_paths_test.moc"
