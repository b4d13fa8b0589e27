// The window's banner and icon painted in code: a blue tile with an arrow from 2.2 into 2.3.
#include "app/artwork.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace mv {
namespace {

const QColor kDeepBlue(0x1f, 0x3c, 0x78);
const QColor kLightBlue(0x3f, 0x8f, 0xd8);
const QColor kAccent(0xf0, 0x9a, 0x28);

// A rounded tile in the product's blues with a right arrow: 2.2 carried into 2.3.
void DrawMark(QPainter& painter, const QRectF& box) {
  QLinearGradient fill(box.topLeft(), box.bottomRight());
  fill.setColorAt(0, kLightBlue);
  fill.setColorAt(1, kDeepBlue);
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  const qreal radius = box.width() / 5;
  painter.drawRoundedRect(box, radius, radius);

  const qreal unit = box.width() / 16;
  QPainterPath arrow;
  arrow.moveTo(box.left() + 3 * unit, box.top() + 6.5 * unit);
  arrow.lineTo(box.left() + 8.5 * unit, box.top() + 6.5 * unit);
  arrow.lineTo(box.left() + 8.5 * unit, box.top() + 3.5 * unit);
  arrow.lineTo(box.left() + 13.5 * unit, box.top() + 8 * unit);
  arrow.lineTo(box.left() + 8.5 * unit, box.top() + 12.5 * unit);
  arrow.lineTo(box.left() + 8.5 * unit, box.top() + 9.5 * unit);
  arrow.lineTo(box.left() + 3 * unit, box.top() + 9.5 * unit);
  arrow.closeSubpath();
  painter.setBrush(Qt::white);
  painter.drawPath(arrow);
  painter.setBrush(kAccent);
  painter.drawEllipse(QRectF(box.left() + 2 * unit, box.top() + 2 * unit, 3 * unit, 3 * unit));
}

QPixmap IconOfSize(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawMark(painter, QRectF(0, 0, size, size));
  painter.end();
  return QPixmap::fromImage(image);
}

}  // namespace

QPixmap Banner() {
  QImage image(275, 119, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  DrawMark(painter, QRectF(8, 6, 38, 38));

  QFont name(QStringLiteral("Sans Serif"));
  name.setPixelSize(24);
  name.setBold(true);
  painter.setFont(name);
  painter.setPen(kDeepBlue);
  painter.drawText(QRectF(54, 2, 215, 28), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Vantrel"));

  QFont tagline(QStringLiteral("Sans Serif"));
  tagline.setPixelSize(11);
  painter.setFont(tagline);
  painter.setPen(QColor(0x55, 0x5f, 0x6d));
  painter.drawText(QRectF(55, 29, 215, 16), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("2.2 (SP1)  \u2192  2.3 Data Migration"));

  // Below the part the window shows: a band that fades out, for a taller picture box.
  QLinearGradient band(0, 0, 275, 0);
  band.setColorAt(0, kDeepBlue);
  band.setColorAt(0.7, kLightBlue);
  band.setColorAt(1, Qt::white);
  painter.fillRect(QRectF(0, 47, 275, 3), band);
  painter.fillRect(QRectF(0, 52, 275, 67), QColor(0xf3, 0xf6, 0xfb));
  painter.end();
  return QPixmap::fromImage(image);
}

QIcon WindowIcon() {
  QIcon icon;
  icon.addPixmap(IconOfSize(16));
  icon.addPixmap(IconOfSize(32));
  return icon;
}

}  // namespace mv
