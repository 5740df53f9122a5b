#include "platform/ImageList.h"

#include "platform/Canvas.h"

int TImageList::Add(const QImage& image) {
  QImage picture = image.convertToFormat(QImage::Format_ARGB32);
  if (picture.width() != width_ || picture.height() != height_) picture = picture.scaled(width_, height_);
  // Teal marks the background of a picture: it is left out when the picture is drawn.
  for (int y = 0; y < picture.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x)
      if ((row[x] & 0xFFFFFFu) == kTransparentRgb && qAlpha(row[x]) == 255) row[x] = 0;
  }
  images_.push_back(std::move(picture));
  return Count() - 1;
}

QImage TImageList::Image(int index) const {
  if (index < 0 || index >= Count()) return {};
  return images_[static_cast<size_t>(index)];
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  QImage picture = images_[static_cast<size_t>(index)];
  if (!enabled) {
    // Greyed: every visible pixel becomes a light or dark grey by its brightness.
    for (int py = 0; py < picture.height(); ++py)
      for (int px = 0; px < picture.width(); ++px) {
        const QRgb c = picture.pixel(px, py);
        if (qAlpha(c) == 0) continue;
        const int g = qGray(c) < 128 ? 128 : 192;
        picture.setPixel(px, py, qRgba(g, g, g, qAlpha(c)));
      }
  }
  canvas.Draw(x, y, picture);
}
