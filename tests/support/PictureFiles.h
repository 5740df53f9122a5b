#pragma once
// Picture files written in code for tests.
#include <QFile>
#include <QString>

#include "platform/Jpeg.h"

// Writes the bitmap as a JPEG file; false when the file cannot be written.
inline bool WriteJpegFile(const QString& path, const TBitmap& bitmap, const TJpegWriteOptions& options = {}) {
  const QByteArray bytes = EncodeJpeg(bitmap, options);
  QFile f(path);
  return !bytes.isEmpty() && f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A flat picture of one colour.
inline TBitmap FlatPicture(int width, int height, TColor color) {
  TBitmap b(width, height, pf24bit);
  const TColor c = ColorToRGB(color);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = GetBValue(c);
      row[3 * x + 1] = GetGValue(c);
      row[3 * x + 2] = GetRValue(c);
    }
  }
  return b;
}
