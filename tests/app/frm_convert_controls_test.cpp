// Tests of the window's controls: each is in the place, font and caption its layout gives it,
// its caption fits, and the window has its title, icon, banner, masked passwords and tab order.
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "app/frm_convert.h"
#include "app/frm_convert_layout.h"
#include "tests/app/window_test_support.h"

namespace mv::testing {
namespace {

// The Qt class the window creates for a control of that kind.
QString ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Picture:
    case ControlKind::Label:
      return QStringLiteral("QLabel");
    case ControlKind::Frame:
      return QStringLiteral("QGroupBox");
    case ControlKind::CheckBox:
      return QStringLiteral("QCheckBox");
    case ControlKind::Button:
      return QStringLiteral("QPushButton");
    case ControlKind::TextBox:
    case ControlKind::PasswordBox:
      return QStringLiteral("QLineEdit");
  }
  return {};
}

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

class FrmConvertControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void controlsHaveTheirKindCaptionPlaceAndFont_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    for (const ControlLayout& control : FrmConvertLayout()) {
      const Twips& box = control.box;
      QTest::newRow(control.name) << ClassOf(control.kind) << control.caption
                                  << QRect(box.left, box.top, box.width, box.height)
                                  << double(control.font.points) << control.font.bold;
    }
  }

  void controlsHaveTheirKindCaptionPlaceAndFont() {
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QFETCH(double, points);
    QFETCH(bool, bold);
    WindowFixture<> fixture;
    const QWidget* control = Find(fixture.window, QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(control->parentWidget(), &fixture.window);
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
    const char* captionProperty = kind == QStringLiteral("QGroupBox") ? "title" : "text";
    QCOMPARE(control->property(captionProperty).toString(), caption);
    QCOMPARE(control->geometry(), QRect(PixelsOf(twips.x()), PixelsOf(twips.y()),
                                        PixelsOf(twips.width()), PixelsOf(twips.height())));
    QCOMPARE(control->font().pointSizeF(), points);
    QCOMPARE(control->font().bold(), bold);
  }

  void controlsHaveTheirPixelPlaceAndFont_data() {
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::newRow("Picture1") << QRect(0, 0, 414, 51) << 8.25 << false;
    QTest::newRow("CheckBasket") << QRect(8, 72, 300, 27) << 8.25 << false;
    QTest::newRow("Label5") << QRect(152, 184, 81, 25) << 12.0 << true;
    QTest::newRow("ResultText") << QRect(24, 312, 297, 33) << 8.25 << true;
    QTest::newRow("DumpFileName") << QRect(8, 384, 161, 19) << 8.25 << false;
  }

  void controlsHaveTheirPixelPlaceAndFont() {
    QFETCH(QRect, pixels);
    QFETCH(double, points);
    QFETCH(bool, bold);
    WindowFixture<> fixture;
    const QWidget* control = Find(fixture.window, QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(control->geometry(), pixels);
    QCOMPARE(control->font().pointSizeF(), points);
    QCOMPARE(control->font().bold(), bold);
  }

  void everyControlOfTheWindowIsInItsLayout() {
    WindowFixture<> fixture;
    QStringList laidOut;
    for (const ControlLayout& control : FrmConvertLayout()) laidOut << control.name;
    QStringList children;
    for (const QWidget* child : fixture.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      children << child->objectName();
    }
    QCOMPARE(children, laidOut);
  }

  void captionsFitTheirControls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    for (const ControlLayout& control : FrmConvertLayout()) {
      if (control.caption.isEmpty() || control.kind == ControlKind::TextBox) continue;
      QTest::newRow(control.name) << QString::fromLatin1(control.name) << QString();
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
    WindowFixture<> fixture;
    QWidget* control = Find(fixture.window, name);
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
    WindowFixture<> fixture;
    const FrmConvert& window = fixture.window;
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
    WindowFixture<> fixture;
    QStringList order;
    QWidget* first = Find(fixture.window, "CheckBasket");
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
};

}  // namespace mv::testing

MV_WIDGET_TEST_MAIN(mv::testing::FrmConvertControlsTest)
#include "frm_convert_controls_test.moc"
