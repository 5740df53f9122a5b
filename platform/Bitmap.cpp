#include "platform/Bitmap.h"

#include "platform/Canvas.h"

#include <QColor>
#include <climits>
#include <cstdlib>
#include <cstring>

QImage::Format QImageFormatOf(TPixelFormat format) {
  switch (format) {
    case pf1bit: return QImage::Format_Mono;
    case pf4bit:
    case pf8bit: return QImage::Format_Indexed8;
    case pf15bit: return QImage::Format_RGB555;
    case pf16bit: return QImage::Format_RGB16;
    case pf24bit: return QImage::Format_BGR888;
    case pf32bit:
    case pfDevice:
    case pfCustom: return QImage::Format_RGB32;
  }
  return QImage::Format_RGB32;
}

namespace {
QList<QRgb> GreyPalette(int count) {
  QList<QRgb> palette;
  for (int i = 0; i < count; ++i) {
    const int v = count > 1 ? i * 255 / (count - 1) : 0;
    palette << qRgb(v, v, v);
  }
  return palette;
}

QImage Blank(int width, int height, TPixelFormat format) {
  if (width <= 0 || height <= 0) return {};
  QImage img(width, height, QImageFormatOf(format));
  if (img.isNull()) return img;
  if (format == pf1bit) img.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  if (format == pf4bit) img.setColorTable(GreyPalette(16));
  if (format == pf8bit) img.setColorTable(GreyPalette(256));
  if (img.format() == QImage::Format_Mono || img.format() == QImage::Format_Indexed8)
    img.fill(img.colorCount() - 1);
  else
    img.fill(Qt::white);
  return img;
}
}  // namespace

TBitmap::TBitmap() = default;
TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format) { SetSize(width, height); }
TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap& other) : format_(other.format_) {
  other.ReleaseCanvas();
  image_ = other.image_;
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this == &other) return *this;
  other.ReleaseCanvas();
  ReleaseCanvas();
  image_ = other.image_;
  format_ = other.format_;
  return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept : format_(other.format_) {
  other.ReleaseCanvas();
  image_ = std::move(other.image_);
  other.image_ = QImage();
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this == &other) return *this;
  other.ReleaseCanvas();
  ReleaseCanvas();
  image_ = std::move(other.image_);
  other.image_ = QImage();
  format_ = other.format_;
  return *this;
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_.reset(new TCanvas(this));
  return canvas_.get();
}

void TBitmap::ReleaseCanvas() const {
  if (canvas_) canvas_->Release();
}

const QImage& TBitmap::Image() const {
  ReleaseCanvas();
  return image_;
}

QImage& TBitmap::Image() {
  ReleaseCanvas();
  return image_;
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  ReleaseCanvas();
  format_ = format;
  if (image_.isNull()) return;
  QImage converted = image_.convertToFormat(QImageFormatOf(format));
  image_ = converted;
}

bool TBitmap::SetSize(int width, int height) {
  if (width == Width() && height == Height()) return !image_.isNull() || width <= 0 || height <= 0;
  ReleaseCanvas();
  QImage next = Blank(width, height, format_);
  if (next.isNull()) {
    image_ = QImage();
    return width <= 0 || height <= 0;
  }
  if (!image_.isNull()) {
    const int rows = qMin(height, image_.height());
    const int bytes = static_cast<int>(qMin(next.bytesPerLine(), image_.bytesPerLine()));
    const int used = qMin(width, image_.width()) * next.depth() / 8;
    for (int y = 0; y < rows; ++y) std::memcpy(next.scanLine(y), image_.constScanLine(y), static_cast<std::size_t>(qMin(bytes, qMax(used, 0))));
  }
  image_ = next;
  return true;
}

std::uint8_t* TBitmap::ScanLine(int row) { return image_.scanLine(row); }
const std::uint8_t* TBitmap::ScanLine(int row) const { return image_.constScanLine(row); }

TColor TBitmap::Pixel(int x, int y) const {
  if (!image_.valid(x, y)) return clBlack;
  const QRgb c = image_.pixel(x, y);
  return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (!image_.valid(x, y)) return;
  const TColor c = ColorToRGB(color);
  if (image_.format() == QImage::Format_Indexed8 || image_.format() == QImage::Format_Mono) {
    // Nearest palette entry, as the platform does for palette bitmaps.
    int best = 0, bestDist = INT_MAX;
    for (int i = 0; i < image_.colorCount(); ++i) {
      const QRgb p = image_.color(i);
      const int d = std::abs(qRed(p) - GetRValue(c)) + std::abs(qGreen(p) - GetGValue(c)) + std::abs(qBlue(p) - GetBValue(c));
      if (d < bestDist) { bestDist = d; best = i; }
    }
    image_.setPixel(x, y, static_cast<uint>(best));
    return;
  }
  image_.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
}

void TBitmap::AssignImage(const QImage& image) {
  ReleaseCanvas();
  if (image.isNull()) {
    image_ = QImage();
    format_ = pf24bit;
    return;
  }
  if (image.isGrayscale() && (image.format() == QImage::Format_Grayscale8 || image.format() == QImage::Format_Indexed8)) {
    image_ = image.convertToFormat(QImage::Format_Indexed8, GreyPalette(256));
    format_ = pf8bit;
    return;
  }
  image_ = image.convertToFormat(QImage::Format_BGR888);
  format_ = pf24bit;
}
