#pragma once
// A bitmap with the platform's pixel formats and row access. Rows are stored as the platform
// stores them: 24-bit pixels as blue, green, red bytes; 32-bit as blue, green, red, unused;
// 15- and 16-bit as little-endian 5-5-5 and 5-6-5 words.
#include <QImage>
#include <cstdint>

#include "platform/Graphics.h"

enum TPixelFormat : int { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height, TPixelFormat format = pf24bit);

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

  const QImage& Image() const { return image_; }
  QImage& Image() { return image_; }

 private:
  QImage image_;
  TPixelFormat format_ = pfDevice;
};

QImage::Format QImageFormatOf(TPixelFormat format);
