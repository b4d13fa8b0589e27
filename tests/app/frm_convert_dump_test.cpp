// Tests of the "Dump" command over a real 2.2 source: the dump file and "Dump Completed", and
// a dump that fails.
#include "app/frm_convert.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <stdexcept>

#include "driver/convert_functions.h"
#include "platform/orderform/order_form_format.h"
#include "platform/runtime_error.h"
#include "tests/app/window_test_support.h"
#include "tests/support/recording_message_display.h"
#include "tools/sample_data/order_list_writer.h"

namespace mv::testing {
namespace {

// A window started on an installation whose settings file names the source (the file holds
// no password, so none is typed), with "Dump" armed and writing to `dumpFile`.
class DumpFixture {
 public:
  DumpFixture(const setup::DatabaseAddress& source, const std::string& dumpFile) {
    fixture_.installation.WriteSettings(source.server + "\r\ntarget-server\r\n" + source.user +
                                        "\r\ntarget-user\r\n" + source.database +
                                        "\r\ntarget-db\r\n");
    if (!fixture_.Start()) throw std::runtime_error("window did not start");
    QTest::mouseClick(Find(Window(), "AdvancedOn"), Qt::LeftButton);
    Find<QLineEdit>(Window(), "DumpFileName")->setText(QString::fromStdString(dumpFile));
    TickBoxes(Window(), {"CheckDump"});
  }

  FrmConvert& Window() { return fixture_.window; }
  const Installation& Folder() const { return fixture_.installation; }
  const std::vector<std::string>& Messages() const { return fixture_.messages.messages; }
  void Dump() {
    QTest::mouseClick(Find(Window(), "DumpBaskets"), Qt::LeftButton);
    WaitForRunEnd(Window());
  }

 private:
  WindowFixture<> fixture_;
};

// The description of the error that opening a connection to `address` raises.
std::string ConnectionFailure(const setup::DatabaseAddress& address) {
  try {
    OpenConnection(address.server, address.user, address.password, address.database);
  } catch (const RuntimeError& error) {
    return error.Description();
  }
  throw std::runtime_error("the connection opened");
}

}  // namespace

class FrmConvertDumpTest : public QObject {
  Q_OBJECT

 private slots:
  void dumpWritesTheSourceOrderFormsThenShowsDumpCompleted() {
    TestDatabase source("source");
    auto line = VariantObject::NewDictionary();
    line->Set("SKU", Variant::String("A-100"));
    auto items = VariantObject::NewList();
    items->Append(Variant::Object(line));
    auto orderForm = VariantObject::NewDictionary();
    orderForm->Set("order_id", Variant::String("B-1002"));
    orderForm->Set("Items", Variant::Object(items));
    AppendOrderListRows(*source.Connect(), {{"B-1002", EncodeOrderForm(*orderForm)}});
    TempFolder dumpFolder;
    const std::string dumpFile = dumpFolder.File("orderforms.txt");
    DumpFixture dump(source.Address(), dumpFile);
    QVERIFY(!Find(dump.Window(), "SDBServer")->isEnabled());

    dump.Dump();

    QCOMPARE(dump.Messages(), std::vector<std::string>{"Dump Completed"});
    const std::string written = ReadFileBytes(dumpFile);
    QVERIFY2(written.starts_with("Dumped on "), written.c_str());
    QCOMPARE(QString::fromStdString(written.substr(written.find("\r\n") + 2)),
             QString::fromStdString("\r\norder_id" + std::string(42, ' ') + "B-1002 [String]\r\n" +
                                    "Orderline 1\r\n\r\nSKU" + std::string(47, ' ') +
                                    "A-100 [String]\r\n\r\n\r\n\r\n"));
    QVERIFY(Find(dump.Window(), "DumpBaskets")->isEnabled());
    QVERIFY(!std::filesystem::exists(PathFromUtf8(dump.Folder().LogPath())));
  }

  void damagedOrderFormsAreCountedOnASecondLine() {
    TestDatabase source("source");
    auto orderForm = VariantObject::NewDictionary();
    orderForm->Set("order_id", Variant::String("B-2"));
    AppendOrderListRows(*source.Connect(), {{"B-1", {1}}, {"B-2", EncodeOrderForm(*orderForm)}});
    TempFolder dumpFolder;
    DumpFixture dump(source.Address(), dumpFolder.File("orderforms.txt"));

    dump.Dump();
    AppendOrderListRows(*source.Connect(), {{"B-3", {}}});
    dump.Dump();

    QCOMPARE(dump.Messages(),
             (std::vector<std::string>{
                 "Dump Completed\n1 order form is damaged; its place in the dump file says why.",
                 "Dump Completed\n2 order forms are damaged; their place in the dump file says "
                 "why."}));
  }

  void failedDumpShowsItsDescriptionAndLeavesTheWindowIdle_data() {
    QTest::addColumn<bool>("sourceReachable");
    QTest::newRow("dump file in a missing folder") << true;
    QTest::newRow("source unreachable") << false;
  }

  void failedDumpShowsItsDescriptionAndLeavesTheWindowIdle() {
    QFETCH(bool, sourceReachable);
    TestDatabase reachable("source");
    TempFolder dumpFolder;
    setup::DatabaseAddress source = reachable.Address();
    std::string dumpFile = dumpFolder.File("missing/orderforms.txt");
    std::string expected = "Path not found";
    if (!sourceReachable) {
      source.server = "127.0.0.2";
      source.database = dumpFolder.File("missing/source.db");
      dumpFile = dumpFolder.File("orderforms.txt");
      expected = ConnectionFailure(source);
    }
    DumpFixture dump(source, dumpFile);

    dump.Dump();

    QCOMPARE(dump.Messages(), std::vector<std::string>{expected});
    QVERIFY(!std::filesystem::exists(PathFromUtf8(dumpFile)));
    QVERIFY(dump.Window().isVisible());
    QVERIFY(Find(dump.Window(), "DumpBaskets")->isEnabled());
    QTest::mouseClick(Find(dump.Window(), "AdvancedOff"), Qt::LeftButton);
    QVERIFY2(Find(dump.Window(), "AdvancedOn")->isVisible(), "the window takes input again");
  }
};

}  // namespace mv::testing

MV_WIDGET_TEST_MAIN(mv::testing::FrmConvertDumpTest)
#include "frm_convert_dump_test.moc"
