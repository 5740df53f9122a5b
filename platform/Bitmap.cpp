#include "platform/Bitmap.h"

#include "platform/Canvas.h"

#include <QColor>
#include <QColorSpace>
#if defined(__x86_64__)
#include <immintrin.h>
#endif
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

// 32-bit pixels are B, G, R, unused in memory; 24-bit ones are B, G, R: a pixel keeps its first three
// bytes. Qt's own conversion goes pixel by pixel through its generic path and hands large pictures to
// a thread pool; a video frame arrives 30 times a second.
void DropFourthBytes(const std::uint8_t* in, std::uint8_t* out, int pixels) {
  for (int x = 0; x < pixels; ++x, in += 4, out += 3) {
    out[0] = in[0];
    out[1] = in[1];
    out[2] = in[2];
  }
}

#if defined(__x86_64__)
__attribute__((target("ssse3"))) void DropFourthBytesSsse3(const std::uint8_t* in, std::uint8_t* out, int pixels) {
  const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  int x = 0;
  for (; x + 16 <= pixels; x += 16, in += 64, out += 48) {
    const __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), pack);
    const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16)), pack);
    const __m128i c = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 32)), pack);
    const __m128i d = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 48)), pack);
    // 12 bytes from each of a, b, c, d make three full 16-byte stores.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(a, _mm_slli_si128(b, 12)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 32), _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
  }
  DropFourthBytes(in, out, pixels - x);
}
#endif

QImage Rgb32ToBgr888(const QImage& image) {
  QImage out(image.width(), image.height(), QImage::Format_BGR888);
  if (out.isNull()) return out;
#if defined(__x86_64__)
  static const bool ssse3 = __builtin_cpu_supports("ssse3");
#endif
  for (int y = 0; y < image.height(); ++y) {
#if defined(__x86_64__)
    if (ssse3) {
      DropFourthBytesSsse3(image.constScanLine(y), out.scanLine(y), image.width());
      continue;
    }
#endif
    DropFourthBytes(image.constScanLine(y), out.scanLine(y), image.width());
  }
  out.setDotsPerMeterX(image.dotsPerMeterX());
  out.setDotsPerMeterY(image.dotsPerMeterY());
  out.setOffset(image.offset());
  out.setColorSpace(image.colorSpace());
  for (const QString& key : image.textKeys()) out.setText(key, image.text(key));
  return out;
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
  QImage converted = image_.format() == QImage::Format_RGB32 && format == pf24bit ? Rgb32ToBgr888(image_)
                                                                                : image_.convertToFormat(QImageFormatOf(format));
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

void TBitmap::AssignFrame(const QImage& image) {
  if (image.format() != QImage::Format_RGB32) return AssignImage(image);
  ReleaseCanvas();
  image_ = image;
  format_ = pf32bit;
}

void TBitmap::AssignImage(const QImage& image) {
  ReleaseCanvas();
  if (image.isNull()) {
    image_ = QImage();
    format_ = pf24bit;
    return;
  }
  // The format is tested first: isGrayscale() reads every pixel of a colour picture.
  if ((image.format() == QImage::Format_Grayscale8 || image.format() == QImage::Format_Indexed8) && image.isGrayscale()) {
    image_ = image.convertToFormat(QImage::Format_Indexed8, GreyPalette(256));
    format_ = pf8bit;
    return;
  }
  image_ = image.format() == QImage::Format_RGB32 ? Rgb32ToBgr888(image) : image.convertToFormat(QImage::Format_BGR888);
  format_ = pf24bit;
}
