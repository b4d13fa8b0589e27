// Tests of the settings file: which lines fill which fields, what a write produces, and how
// an unusable file is reported.
#include "driver/settings_file.h"

#include <QTest>
#include <filesystem>
#include <fstream>

#include "platform/runtime_error.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/test_database.h"

Q_DECLARE_METATYPE(mv::SettingsFields)

namespace mv::testing {
namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(PathFromUtf8(path), std::ios::binary) << bytes;
}

QString FieldsText(const SettingsFields& f) {
  return QString::fromStdString(f.SDBServer + "|" + f.TDBServer + "|" + f.SUser + "|" + f.TUser +
                                "|" + f.SDB + "|" + f.TDB);
}

// Runs `action` and answers the description of the RuntimeError it throws ("" when none).
template <typename Action>
std::string FailureOf(Action action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.Description();
  }
  return "";
}

}  // namespace

class SettingsFileTest : public QObject {
  Q_OBJECT

 private slots:
  void loadFillsFieldsFromNonEmptyLines_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<SettingsFields>("before");
    QTest::addColumn<SettingsFields>("expected");
    const SettingsFields empty;
    const SettingsFields typed{"a", "b", "c", "d", "e", "f"};
    QTest::newRow("empty third line leaves the source user")
        << QByteArray("srv1\r\nsrv2\r\n\r\nusr2\r\ndb1\r\ndb2\r\n") << empty
        << SettingsFields{"srv1", "srv2", "", "usr2", "db1", "db2"};
    QTest::newRow("two lines fill the two servers only")
        << QByteArray("srv1\r\nsrv2\r\n") << empty
        << SettingsFields{"srv1", "srv2", "", "", "", ""};
    QTest::newRow("lines after the sixth are ignored")
        << QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n") << empty
        << SettingsFields{"1", "2", "3", "4", "5", "6"};
    QTest::newRow("empty and missing lines never clear a field")
        << QByteArray("\r\nx\r\n\r\n") << typed << SettingsFields{"a", "x", "c", "d", "e", "f"};
    QTest::newRow("an empty file changes nothing") << QByteArray() << typed << typed;
    QTest::newRow("lines ending in LF only, last without line end")
        << QByteArray("s\nt\nu\nv\nw\nz") << empty << SettingsFields{"s", "t", "u", "v", "w", "z"};
    QTest::newRow("blanks and separators are kept as they stand")
        << QByteArray(" srv;1 \r\n'q'\r\n") << empty
        << SettingsFields{" srv;1 ", "'q'", "", "", "", ""};
  }

  void loadFillsFieldsFromNonEmptyLines() {
    QFETCH(QByteArray, content);
    QFETCH(SettingsFields, before);
    QFETCH(SettingsFields, expected);
    TempFolder folder;
    WriteBytes(folder.File("Vantrel23Convert.INI"), content.toStdString());
    SettingsFields fields = before;
    SettingsFile(folder.File("Vantrel23Convert.INI")).LoadSettings(fields);
    QCOMPARE(FieldsText(fields), FieldsText(expected));
  }

  void loadWithoutFileChangesNothing() {
    TempFolder folder;
    SettingsFields fields{"a", "b", "c", "d", "e", "f"};
    SettingsFile(folder.File("Vantrel23Convert.INI")).LoadSettings(fields);
    QCOMPARE(FieldsText(fields), QStringLiteral("a|b|c|d|e|f"));
  }

  void loadOfUnreadableFileFailsWithTheSettingsMessageAndChangesNothing() {
    TempFolder folder;
    const std::string path = folder.File("Vantrel23Convert.INI");
    std::filesystem::create_directory(PathFromUtf8(path));
    SettingsFields fields{"a", "b", "c", "d", "e", "f"};
    const std::string failure = FailureOf([&] { SettingsFile(path).LoadSettings(fields); });
    QCOMPARE(QString::fromStdString(failure),
             QString::fromStdString("Path '" + path + "' for logfile doesn't exist."));
    QCOMPARE(FieldsText(fields), QStringLiteral("a|b|c|d|e|f"));
  }

  void saveWritesSixLinesInFileOrderReplacingTheOldFile() {
    TempFolder folder;
    const std::string path = folder.File("Vantrel23Convert.INI");
    WriteBytes(path, "old1\r\nold2\r\nold3\r\nold4\r\nold5\r\nold6\r\nold7\r\nold8\r\n");
    SettingsFile(path).SaveSettings({"srcsrv", "tgtsrv", "", "tgtusr", "srcdb", "tgtdb"});
    QCOMPARE(QByteArray::fromStdString(ReadFileBytes(path)),
             QByteArray("srcsrv\r\ntgtsrv\r\n\r\ntgtusr\r\nsrcdb\r\ntgtdb\r\n"));
  }

  void savedFieldsLoadBackUnchanged() {
    TempFolder folder;
    const std::string path = folder.File("Vantrel23Convert.INI");
    const SettingsFields saved{"sql01\\SHOP", "sql02", "sa", "Müller", "shop 22", "shop;23"};
    SettingsFile(path).SaveSettings(saved);
    SettingsFields loaded;
    SettingsFile(path).LoadSettings(loaded);
    QCOMPARE(FieldsText(loaded), FieldsText(saved));
  }

  void saveFailureNamesTheSettingsPath_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::newRow("folder missing") << QStringLiteral("missing folder");
    QTest::newRow("old file cannot be deleted") << QStringLiteral("non-empty folder in its place");
  }

  void saveFailureNamesTheSettingsPath() {
    QFETCH(QString, obstacle);
    TempFolder folder;
    std::string path;
    if (obstacle == QStringLiteral("missing folder")) {
      path = folder.File("missing/Vantrel23Convert.INI");
    } else {
      path = folder.File("Vantrel23Convert.INI");
      std::filesystem::create_directories(PathFromUtf8(path) / "inside");
    }
    const std::string failure = FailureOf([&] {
      SettingsFile(path).SaveSettings({"a", "b", "c", "d", "e", "f"});
    });
    QCOMPARE(QString::fromStdString(failure),
             QString::fromStdString("Path '" + path + "' for logfile doesn't exist."));
  }
};

}  // namespace mv::testing

QTEST_APPLESS_MAIN(mv::testing::SettingsFileTest)
#include "settings_file_test.moc"
