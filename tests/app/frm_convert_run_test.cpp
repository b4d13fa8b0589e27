// Tests of "Migrate" runs that reach the databases: the outcome shown, the captions, errors
// that escape a run, and input during a run.
#include "app/frm_convert.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <stdexcept>

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

// A window on a fresh installation with the connection fields pointing at two test
// databases and the given options ticked.
class RunFixture {
 public:
  RunFixture(StandInConverters& converters, const QStringList& options)
      : window_(converters.Factory(), messages_) {
    if (!window_.Load()) throw std::runtime_error("window did not start");
    window_.show();
    if (!QTest::qWaitForWindowExposed(&window_)) throw std::runtime_error("window not shown");
    for (const QString& option : options) {
      Find<QCheckBox>(window_, option)->setCheckState(Qt::Checked);
    }
    const ConnectionValues values = ValuesFor(source_, target_);
    const std::pair<const char*, std::string> fields[] = {
        {"SDBServer", values.SDBServer}, {"SUser", values.SUser},
        {"SPassword", values.SPassword}, {"SDB", values.SDB},
        {"TDBServer", values.TDBServer}, {"TUser", values.TUser},
        {"TPassword", values.TPassword}, {"TDB", values.TDB}};
    for (const auto& [name, text] : fields) {
      Find<QLineEdit>(window_, name)->setText(QString::fromStdString(text));
    }
  }

  FrmConvert& Window() { return window_; }
  QStringList Messages() const {
    QStringList texts;
    for (const std::string& text : messages_.messages) texts << QString::fromStdString(text);
    return texts;
  }
  QString Caption(const char* option) { return Find<QCheckBox>(window_, option)->text(); }
  void Migrate() {
    QTest::mouseClick(Find(window_, "Convert"), Qt::LeftButton);
    WaitForRunEnd(window_);
  }

 private:
  Installation installation_;
  TestDatabase source_;
  TestDatabase target_;
  RecordingMessageDisplay messages_;
  FrmConvert window_;
};

}  // namespace

class FrmConvertRunTest : public QObject {
  Q_OBJECT

 private slots:
  void successShowsResultTextAndDoneCaptions() {
    StandInConverters converters;
    RunFixture run(converters, {"CheckParameters", "CheckCopy"});
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
    RunFixture run(converters, {"CheckBasket"});
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
    RunFixture run(converters, {"CheckBasket", "CheckOrders"});
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
    RunFixture run(converters, {"CheckParameters"});
    converters.creating = [](Migration) { throw RuntimeError(5, "Invalid procedure call"); };

    run.Migrate();

    QCOMPARE(run.Messages(), QStringList({"Invalid procedure call"}));
    QCOMPARE(run.Caption("CheckParameters"),
             QStringLiteral("Migrate Parameters   (Done, Errors Found)"));
  }

  void errorInsideAConverterIsAFailedMigration() {
    StandInConverters converters;
    RunFixture run(converters, {"CheckParameters", "CheckCopy"});
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
    RunFixture run(converters, {"CheckBasket"});
    auto* exitButton = Find(run.Window(), "Cancel");
    converters.during = [&](Migration) { PostClick(exitButton); };

    run.Migrate();
    QCoreApplication::processEvents();

    QVERIFY(run.Window().isVisible());
    PostClick(exitButton);  // the same click after the run ends the program
    QCoreApplication::processEvents();
    QVERIFY(!run.Window().isVisible());
  }
};

}  // namespace mv::testing

MV_WIDGET_TEST_MAIN(mv::testing::FrmConvertRunTest)
#include "frm_convert_run_test.moc"
