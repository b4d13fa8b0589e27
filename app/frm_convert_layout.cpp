// The window's layout table, twips as pixels, the window's sans serif, and each control's creation.
#include "app/frm_convert_layout.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

#include "app/artwork.h"
#include "driver/window_paths.h"

namespace mv {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr FontSize kHeading{12, true};
constexpr FontSize kBold{8.25, true};
constexpr Qt::Alignment kTopLeft = Qt::AlignLeft | Qt::AlignTop;
constexpr Qt::Alignment kTopCentre = Qt::AlignHCenter | Qt::AlignTop;

// Password boxes show "*" for each character, whatever the platform's style draws.
class AsteriskPasswordStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

QLabel* NewBanner(QWidget& window) {
  auto* picture = new QLabel(&window);
  picture->setPixmap(Banner());
  picture->setAlignment(kTopLeft);
  picture->setAutoFillBackground(true);
  QPalette white = picture->palette();
  white.setColor(QPalette::Window, Qt::white);
  picture->setPalette(white);
  return picture;
}

QLabel* NewLabel(const ControlLayout& layout, QWidget& window) {
  auto* label = new QLabel(layout.caption, &window);
  if (layout.alignment) label->setAlignment(layout.alignment);
  if (layout.wordWrap) label->setWordWrap(true);
  return label;
}

QLineEdit* NewPasswordBox(QWidget& window) {
  auto* password = new QLineEdit(&window);
  password->setEchoMode(QLineEdit::Password);
  auto* asterisks = new AsteriskPasswordStyle;
  asterisks->setParent(&window);
  password->setStyle(asterisks);
  return password;
}

QWidget* NewControl(const ControlLayout& layout, QWidget& window) {
  switch (layout.kind) {
    case ControlKind::Picture:
      return NewBanner(window);
    case ControlKind::Frame:
      return new QGroupBox(layout.caption, &window);
    case ControlKind::CheckBox:
      return new QCheckBox(layout.caption, &window);
    case ControlKind::Button:
      return new QPushButton(layout.caption, &window);
    case ControlKind::Label:
      return NewLabel(layout, window);
    case ControlKind::TextBox:
      return new QLineEdit(layout.caption, &window);
    case ControlKind::PasswordBox:
      return NewPasswordBox(window);
  }
  Q_UNREACHABLE();
}

}  // namespace

std::vector<ControlLayout> FrmConvertLayout() {
  using enum ControlKind;
  return {
      {"Picture1", Picture, {}, {0, 0, 6210, 765}},
      // The frame first, so that the option check boxes lie over it.
      {"Frame1", Frame, "Migration Options", {0, 840, 4815, 1815}},
      {"CheckBasket", CheckBox, "Migrate Baskets", {120, 1080, 4500, 400}},
      {"CheckOrders", CheckBox, "Migrate Submitted Orders", {120, 1440, 4455, 400}},
      {"CheckParameters", CheckBox, "Migrate Parameters", {120, 1800, 4455, 400}},
      {"CheckCopy", CheckBox, "Copy Remaining Data ", {120, 2160, 4335, 400}},
      {"Cancel", Button, "Exit", {4920, 960, 1215, 375}},
      {"Convert", Button, "Migrate", {4920, 1320, 1215, 375}},
      {"OpenLogFile", Button, "Open Log file", {4920, 1680, 1215, 375}},
      {"Label5", Label, "Source", {2280, 2760, 1215, 375}, kHeading, kTopCentre},
      {"Label6", Label, "Target", {3600, 2760, 1215, 375}, kHeading, kTopCentre},
      {"Label1", Label, "Database Server", {360, 3120, 1935, 255}},
      {"Label2", Label, "Database User", {360, 3480, 1935, 255}},
      {"Label3", Label, "Database Password", {360, 3840, 1935, 255}},
      {"Label4", Label, "Database Name", {360, 4200, 1935, 255}},
      {"SDBServer", TextBox, {}, {2280, 3120, 1215, 285}},
      {"SUser", TextBox, {}, {2280, 3480, 1215, 285}},
      {"SPassword", PasswordBox, {}, {2280, 3840, 1215, 285}},
      {"SDB", TextBox, {}, {2280, 4200, 1215, 285}},
      {"TDBServer", TextBox, {}, {3600, 3120, 1215, 285}},
      {"TUser", TextBox, {}, {3600, 3480, 1215, 285}},
      {"TPassword", PasswordBox, {}, {3600, 3840, 1215, 285}},
      {"TDB", TextBox, {}, {3600, 4200, 1215, 285}},
      {"AdvancedOn", Button, "Advanced >>", {4920, 4200, 1215, 375}},
      {"AdvancedOff", Button, "Advanced <<", {4920, 4200, 1215, 375}},
      {"ResultText", Label, {}, {360, 4680, 4455, 495}, kBold, kTopLeft, true},
      {"CheckDump", CheckBox, "Dump Vantrel 2.2 Orderforms", {120, 5400, 2415, 375}},
      {"DumpBaskets", Button, "Dump", {2640, 5400, 1215, 375}},
      {"DumpFileName",
       TextBox,
       QString::fromStdString(InitialDumpFileName()),
       {120, 5760, 2415, 285}},
      {"OpenDumpFile", Button, "Open Dumpfile", {2640, 5760, 1215, 375}},
  };
}

int Pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

// MS Sans Serif (or its TrueType successor, Microsoft Sans Serif) where it exists, as the
// product's controls were sized for it. Elsewhere DejaVu Sans, the sans serif of every Debian
// desktop, condensed: its glyphs run a fifth wider, so that at its normal width "Dump Vantrel
// 2.2 Orderforms" would not fit its check box. Without DejaVu Sans Condensed installed, the
// regular face is narrowed to the same width.
QFont SansSerif(FontSize size) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                    QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(size.points);
  font.setBold(size.bold);
  if (!QFontInfo(font).family().endsWith(QStringLiteral("Sans Serif"))) {
    font.setStretch(QFont::Condensed);
  }
  return font;
}

void PlaceControl(const ControlLayout& layout, QWidget& window) {
  QWidget* control = NewControl(layout, window);
  control->setObjectName(QString::fromLatin1(layout.name));
  const Twips& box = layout.box;
  control->setGeometry(Pixels(box.left), Pixels(box.top), Pixels(box.width), Pixels(box.height));
  if (layout.font != kWindowFont) control->setFont(SansSerif(layout.font));
}

}  // namespace mv
