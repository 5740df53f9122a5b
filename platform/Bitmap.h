#pragma once
// A bitmap with the platform's pixel formats and row access. Rows are stored as the platform
// stores them: 24-bit pixels as blue, green, red bytes; 32-bit as blue, green, red, unused;
// 15- and 16-bit as little-endian 5-5-5 and 5-6-5 words.
#include <QImage>
#include <cstdint>
#include <memory>

#include "platform/Graphics.h"

enum TPixelFormat : int { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TCanvas;

class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pf24bit);
  ~TBitmap();
  // Copies share the pixels until one of them changes; the canvas (pen, brush, font) is not copied.
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(TBitmap&& other) noexcept;

  // The canvas that draws on this bitmap; made on first use and kept with the bitmap. Palette
  // bitmaps (1, 4, 8 bit) become 24-bit when first drawn on.
  TCanvas* Canvas();

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  bool Empty() const { return image_.isNull(); }
  TPixelFormat PixelFormat() const { return format_; }
  // Converts the pixels to the new format; a size of zero stays empty.
  void SetPixelFormat(TPixelFormat format);
  // Resizes keeping the format; new pixels are white, as on the platform. False when the memory
  // for the pixels cannot be had (the bitmap is then empty).
  bool SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, Height()); }
  void SetHeight(int height) { SetSize(Width(), height); }

  std::uint8_t* ScanLine(int row);
  const std::uint8_t* ScanLine(int row) const;
  int BytesPerLine() const { return static_cast<int>(image_.bytesPerLine()); }

  TColor Pixel(int x, int y) const;        // clBlack outside the bitmap
  void SetPixel(int x, int y, TColor color);

  void Assign(const TBitmap& other) { *this = other; }
  // Takes a decoded picture: colour pictures become 24-bit, grey ones 8-bit.
  void AssignImage(const QImage& image);
  // Takes a video frame: a 32-bit one as it is, without a copy (frames come 30 times a second);
  // any other as AssignImage takes it.
  void AssignFrame(const QImage& image);

  // The pixels. Taking them ends the canvas's painting, so a copy of them never changes behind
  // the holder's back.
  const QImage& Image() const;
  QImage& Image();

 private:
  friend class TCanvas;
  void ReleaseCanvas() const;

  QImage image_;
  TPixelFormat format_ = pfDevice;
  mutable std::unique_ptr<TCanvas> canvas_;
};

QImage::Format QImageFormatOf(TPixelFormat format);
