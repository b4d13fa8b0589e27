// The controls of the program's window in one table: the kind, caption, place and font of
// each. The window is built from it, and its tests check the window against it.
#pragma once

#include <QFont>
#include <QString>
#include <Qt>
#include <vector>

class QWidget;

namespace mv {

/// What a control is; the picture shows the banner, a password box masks what is typed.
enum class ControlKind { Picture, Frame, CheckBox, Button, Label, TextBox, PasswordBox };

/// A control's place in twips: left, top, width, height.
struct Twips {
  int left;
  int top;
  int width;
  int height;
};

/// A font of the window's sans serif by its size and weight.
struct FontSize {
  qreal points;
  bool bold;
  bool operator==(const FontSize&) const = default;
};

/// The font of the window and of every control that has none of its own.
inline constexpr FontSize kWindowFont{8.25, false};

/// One control of the window. A label's alignment and word wrap are Qt's unless given.
struct ControlLayout {
  const char* name;
  ControlKind kind;
  QString caption;
  Twips box;
  FontSize font = kWindowFont;
  Qt::Alignment alignment = {};
  bool wordWrap = false;
};

/// The window's controls in the order they are created: a later one lies over an earlier one.
std::vector<ControlLayout> FrmConvertLayout();

/// Twips as whole pixels, at 15 twips a pixel, rounded to the nearest pixel.
int Pixels(int twips);

/// MS Sans Serif where it exists, else a sans serif of the same width.
QFont SansSerif(FontSize size);

/// Creates the control a row describes, as a child of `window`, in its place and font.
void PlaceControl(const ControlLayout& layout, QWidget& window);

}  // namespace mv
