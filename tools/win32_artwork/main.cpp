// win32-artwork FOLDER: writes the Qt window's banner and icon as the Win32 window's resources,
// banner.bmp and window.ico, so that both windows show the same artwork. Run it again after
// the artwork changes and commit the two files in app/win32/.
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QtEndian>
#include <cstdio>

#include "app/artwork.h"

namespace {

void Append16(QByteArray& bytes, quint16 value) {
  const quint16 little = qToLittleEndian(value);
  bytes.append(reinterpret_cast<const char*>(&little), sizeof(little));
}

void Append32(QByteArray& bytes, quint32 value) {
  const quint32 little = qToLittleEndian(value);
  bytes.append(reinterpret_cast<const char*>(&little), sizeof(little));
}

// One icon image as Windows stores it: a 32-bit device-independent bitmap of twice the height
// (the colours bottom up, then an all-clear mask, since the alpha channel does the masking).
QByteArray IconImage(const QImage& icon) {
  const QImage argb = icon.convertToFormat(QImage::Format_ARGB32);
  const int size = argb.width();
  QByteArray bytes;
  Append32(bytes, 40);                             // header size
  Append32(bytes, size);                           // width
  Append32(bytes, 2 * size);                       // height: colours and mask
  Append16(bytes, 1);                              // planes
  Append16(bytes, 32);                             // bits a pixel
  for (int i = 0; i < 6; ++i) Append32(bytes, 0);  // no compression, default sizes and colours
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) Append32(bytes, argb.pixel(x, y));
  }
  const int maskRowBytes = ((size + 31) / 32) * 4;
  bytes.append(QByteArray(maskRowBytes * size, '\0'));
  return bytes;
}

QByteArray IconFile(const QIcon& icon, const QList<int>& sizes) {
  QByteArray header;
  QByteArray images;
  Append16(header, 0);  // reserved
  Append16(header, 1);  // an icon
  Append16(header, static_cast<quint16>(sizes.size()));
  quint32 offset = 6 + 16 * sizes.size();
  for (int size : sizes) {
    const QByteArray image = IconImage(icon.pixmap(size, size).toImage());
    header.append(static_cast<char>(size));
    header.append(static_cast<char>(size));
    header.append('\0');  // no palette
    header.append('\0');  // reserved
    Append16(header, 1);  // planes
    Append16(header, 32);
    Append32(header, image.size());
    Append32(header, offset);
    offset += image.size();
    images += image;
  }
  return header + images;
}

bool Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: win32-artwork FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const bool banner = mv::Banner()
                          .toImage()
                          .convertToFormat(QImage::Format_RGB888)
                          .save(folder + QStringLiteral("/banner.bmp"), "BMP");
  const bool icon =
      Write(folder + QStringLiteral("/window.ico"), IconFile(mv::WindowIcon(), {16, 32}));
  return banner && icon ? 0 : 1;
}
