// Tests of "Migrate" runs that reach the databases: the outcome shown, the captions, errors
// that escape a run, and the window during a run: input, painting, progress, message boxes and
// a close.
#include "app/frm_convert.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/runtime_error.h"
#include "tests/app/window_test_support.h"
#include "tests/support/recording_message_display.h"

namespace mv::testing {
namespace {

// Queues a left click on `button`, as the window system would deliver it later.
void PostClick(QWidget* button) {
  const QPointF centre = QRectF(button->rect()).center();
  const QPointF global = button->mapToGlobal(centre);
  QCoreApplication::postEvent(
      button, new QMouseEvent(QEvent::MouseButtonPress, centre, global, Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier));
  QCoreApplication::postEvent(
      button, new QMouseEvent(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton,
                              Qt::NoButton, Qt::NoModifier));
}

// Records each message box, marking one shown off the window's thread or over another box,
// and keeps it up for a moment, serving events as a real box does while the operator reads it.
class ReadingMessageDisplay : public MessageDisplay {
 public:
  void ShowMessage(const std::string& text) override {
    QString shown = QString::fromStdString(text);
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
      shown += " [off the window's thread]";
    }
    if (reading_) shown += " [over another box]";
    texts << shown;
    reading_ = true;
    QTest::qWait(100);
    reading_ = false;
  }
  QStringList texts;

 private:
  bool reading_ = false;
};

// Converters that report 3 of 10 baskets, then hold the run until the test opens the gate or
// the operator stops them, logging the stop as the migrations do.
struct Gate {
  ConverterFactory Factory();
  std::atomic<bool> entered = false;
  std::atomic<bool> open = false;
};

class GatedConverter : public Converter {
 public:
  explicit GatedConverter(Gate& gate) : gate_(gate) {}
  bool Convert(const ConnectionValues&, TextWriter& log) override {
    ReportProgress(3, 10, "baskets");
    gate_.entered = true;
    while (!gate_.open && !StopRequested())
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (!gate_.open) log.WriteLine(kStoppedByOperator);
    return gate_.open;
  }

 private:
  Gate& gate_;
};

ConverterFactory Gate::Factory() {
  return [this](Migration) { return std::make_unique<GatedConverter>(*this); };
}

// While it lives, answers the first question box with `button`, noting its title, text and
// buttons.
class QuestionAnswer {
 public:
  explicit QuestionAnswer(QMessageBox::StandardButton button) {
    timer_.callOnTimeout([this, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      timer_.stop();
      asked << box->windowTitle() << box->text();
      buttons = box->standardButtons();
      if (QAbstractButton* answer = box->button(button)) answer->click();
    });
    timer_.start(10);
  }
  QStringList asked;
  QMessageBox::StandardButtons buttons;

 private:
  QTimer timer_;
};

// Counts the paint events a window receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget& window) { window.installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

constexpr int kRunTimeout = 60'000;

// A window on a fresh installation with the connection fields pointing at two test
// databases and the given options ticked.
class RunFixture {
 public:
  RunFixture(ConverterFactory factory, const QStringList& options) : fixture_(std::move(factory)) {
    if (!fixture_.Start()) throw std::runtime_error("window did not start");
    TickBoxes(fixture_.window, options);
    FillConnectionFields(fixture_.window, ValuesFor(source_, target_));
  }

  FrmConvert& Window() { return fixture_.window; }
  QStringList Messages() const { return fixture_.messages.texts; }
  QString Caption(const char* option) { return Find<QCheckBox>(Window(), option)->text(); }
  std::string Log() const { return ReadFileBytes(fixture_.installation.LogPath()); }
  void StartMigration() { QTest::mouseClick(Find(Window(), "Convert"), Qt::LeftButton); }
  void Migrate() {
    StartMigration();
    WaitForRunEnd(Window());
  }

 private:
  TestDatabase source_;
  TestDatabase target_;
  WindowFixture<ReadingMessageDisplay> fixture_;
};

}  // namespace

class FrmConvertRunTest : public QObject {
  Q_OBJECT

 private slots:
  void successShowsResultTextAndDoneCaptions() {
    StandInConverters converters;
    RunFixture run(converters.Factory(), {"CheckParameters", "CheckCopy"});
    QStringList captionsDuringRun;
    converters.during = [&](Migration) {
      captionsDuringRun << run.Caption("CheckParameters") << run.Caption("CheckCopy");
    };

    run.Migrate();

    QCOMPARE(captionsDuringRun, QStringList({"Migrate Parameters   (Busy)", "Copy Remaining Data ",
                                             "Migrate Parameters   (Done, No Errors Found)",
                                             "Copy Remaining Data   (Busy)"}));
    QCOMPARE(converters.created,
             std::vector<Migration>({Migration::Parameters, Migration::CopyData}));
    QCOMPARE(run.Caption("CheckCopy"),
             QStringLiteral("Copy Remaining Data   (Done, No Errors Found)"));
    QVERIFY(run.Messages().isEmpty());
    const auto* result = Find<QLabel>(run.Window(), "ResultText");
    QVERIFY(result->isVisible());
    QCOMPARE(result->text(), QStringLiteral("Conversion was completed succesfully."));
  }

  void failureAfterSuccessShowsErrorBoxAndHidesResultText() {
    StandInConverters converters;
    RunFixture run(converters.Factory(), {"CheckBasket"});
    run.Migrate();
    QVERIFY(Find(run.Window(), "ResultText")->isVisible());

    converters.result = [](Migration) { return false; };
    run.Migrate();

    QCOMPARE(run.Messages(), QStringList({QString::fromLatin1(kFailed)}));
    QVERIFY(!Find(run.Window(), "ResultText")->isVisible());
    QCOMPARE(run.Caption("CheckBasket"), QStringLiteral("Migrate Baskets   (Done, Errors Found)"));
    QCOMPARE(converters.created.size(), size_t(2));
  }

  void escapedErrorIsShownAndWindowReturnsToIdle_data() {
    QTest::addColumn<bool>("runtimeError");
    QTest::addColumn<QString>("message");
    QTest::newRow("runtime error")
        << true << QStringLiteral("This migration is not available in this build");
    QTest::newRow("other exception") << false << QStringLiteral("bad state");
  }

  void escapedErrorIsShownAndWindowReturnsToIdle() {
    QFETCH(bool, runtimeError);
    QFETCH(QString, message);
    StandInConverters converters;
    RunFixture run(converters.Factory(), {"CheckBasket", "CheckOrders"});
    run.Migrate();
    QVERIFY(Find(run.Window(), "ResultText")->isVisible());
    converters.creating = [&](Migration migration) {
      if (migration != Migration::SubmittedOrders) return;
      if (runtimeError) throw RuntimeError(429, message.toStdString());
      throw std::logic_error(message.toStdString());
    };

    run.Migrate();

    QCOMPARE(run.Messages(), QStringList({message}));
    QVERIFY(!Find(run.Window(), "ResultText")->isVisible());
    QCOMPARE(run.Caption("CheckBasket"),
             QStringLiteral("Migrate Baskets   (Done, No Errors Found)"));
    QCOMPARE(run.Caption("CheckOrders"),
             QStringLiteral("Migrate Submitted Orders   (Done, Errors Found)"));
    QVERIFY(run.Window().isVisible());
    QVERIFY(Find(run.Window(), "Convert")->isEnabled());
  }

  void busyCaptionOfAStepCutShortIsNotLeftBehind() {
    StandInConverters converters;
    RunFixture run(converters.Factory(), {"CheckParameters"});
    converters.creating = [](Migration) { throw RuntimeError(5, "Invalid procedure call"); };

    run.Migrate();

    QCOMPARE(run.Messages(), QStringList({"Invalid procedure call"}));
    QCOMPARE(run.Caption("CheckParameters"),
             QStringLiteral("Migrate Parameters   (Done, Errors Found)"));
  }

  void errorInsideAConverterIsAFailedMigration() {
    StandInConverters converters;
    RunFixture run(converters.Factory(), {"CheckParameters", "CheckCopy"});
    converters.during = [](Migration migration) {
      if (migration == Migration::Parameters) throw RuntimeError(5, "Invalid procedure call");
    };

    run.Migrate();

    QCOMPARE(run.Messages(), QStringList({kFailed}));
    QCOMPARE(run.Caption("CheckParameters"),
             QStringLiteral("Migrate Parameters   (Done, Errors Found)"));
    QCOMPARE(run.Caption("CheckCopy"),
             QStringLiteral("Copy Remaining Data   (Done, No Errors Found)"));
  }

  void windowTakesNoInputDuringRun() {
    StandInConverters converters;
    RunFixture run(converters.Factory(), {"CheckBasket"});
    auto* exitButton = Find(run.Window(), "Cancel");
    converters.during = [&](Migration) { PostClick(exitButton); };

    run.Migrate();
    QCoreApplication::processEvents();

    QVERIFY(run.Window().isVisible());
    PostClick(exitButton);  // the same click after the run ends the program
    QCoreApplication::processEvents();
    QVERIFY(!run.Window().isVisible());
  }

  void windowPaintsAndShowsProgressWhileAMigrationRuns() {
    Gate gate;
    RunFixture run(gate.Factory(), {"CheckBasket"});
    PaintCounter paints(run.Window());
    run.StartMigration();
    QTRY_VERIFY_WITH_TIMEOUT(gate.entered, kRunTimeout);

    paints.count = 0;
    run.Window().update();
    QTRY_VERIFY(paints.count > 0);
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    const auto* result = Find<QLabel>(run.Window(), "ResultText");
    QTRY_VERIFY(result->isVisible());
    QTRY_VERIFY2(result->text().startsWith("Migrate Baskets: 3 of 10 baskets"),
                 qPrintable(result->text()));
    QCOMPARE(run.Caption("CheckBasket"), QStringLiteral("Migrate Baskets   (Busy)"));

    gate.open = true;
    WaitForRunEnd(run.Window());
    QCOMPARE(result->text(), QStringLiteral("Conversion was completed succesfully."));
    QVERIFY(result->isVisible());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
  }

  void closeDuringAMigrationAsksWhetherToStop_data() {
    QTest::addColumn<bool>("stop");
    QTest::newRow("Yes stops it, then the window closes") << true;
    QTest::newRow("No lets it go on") << false;
  }

  void closeDuringAMigrationAsksWhetherToStop() {
    QFETCH(bool, stop);
    Gate gate;
    RunFixture run(gate.Factory(), {"CheckBasket"});
    run.StartMigration();
    QTRY_VERIFY_WITH_TIMEOUT(gate.entered, kRunTimeout);

    QuestionAnswer answer(stop ? QMessageBox::Yes : QMessageBox::No);
    run.Window().close();
    QCOMPARE(answer.asked,
             QStringList({"MigrateVantrel22To23",
                          "A migration is running. Stop it after the current step?"}));
    QCOMPARE(answer.buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(run.Window().isVisible());
    gate.open = !stop;
    WaitForRunEnd(run.Window());

    QCOMPARE(run.Window().isVisible(), !stop);
    QCOMPARE(run.Caption("CheckBasket"), stop ? "Migrate Baskets   (Done, Errors Found)"
                                              : "Migrate Baskets   (Done, No Errors Found)");
    QCOMPARE(run.Messages(), stop ? QStringList{kFailed} : QStringList());
    QCOMPARE(run.Log().find(kStoppedByOperator) != std::string::npos, stop);
  }

  void messagesOfTheRunAppearInOrderOneAtATimeOnTheWindowThread() {
    StandInConverters converters;
    RunFixture run(converters.Factory(), {"CheckBasket"});
    TempFolder missing;
    const std::pair<const char*, std::string> unreachable[] = {{"SDBServer", "127.0.0.2"},
                                                               {"TDBServer", "127.0.0.2"},
                                                               {"SDB", missing.File("no/s.db")},
                                                               {"TDB", missing.File("no/t.db")}};
    for (const auto& [name, text] : unreachable) {
      Find<QLineEdit>(run.Window(), name)->setText(QString::fromStdString(text));
    }

    run.Migrate();

    QCOMPARE(run.Messages(),
             QStringList({"Cannot connect to Source Database (127.0.0.2)",
                          "Cannot connect to Target Database (127.0.0.2)", kFailed}));
    QVERIFY(converters.created.empty());
  }
};
}  // namespace mv::testing

MV_WIDGET_TEST_MAIN(mv::testing::FrmConvertRunTest)
#include "frm_convert_run_test.moc"
