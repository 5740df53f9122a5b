#pragma once
// The extraction as defined, written out again from its definition: the whole picture turned
// into a D x D rotated picture first, pixel by pixel, then the band read from it. It shares no
// code with the production extraction (no geometry, mapping or pixel helper of it), so that
// comparing the two checks the mapping itself and not only the loop bounds. Slow on purpose.
// Works on 24-bit pictures.
#include <cmath>
#include <cstdint>
#include <vector>

#include "app/SpectrumRecord.h"
#include "platform/Bitmap.h"

struct TFullRotationProfile {
  int RowCount = 0;
  std::vector<double> Wavelength, RedSum, GreenSum, BlueSum, TotalSum;
};

namespace full_rotation {
// Nearest integer, ties to the even neighbour (the default rounding mode of the FPU).
inline std::int64_t Nearest(double x) { return static_cast<std::int64_t>(std::nearbyint(x)); }
// Integer halving toward zero: C++ division truncates.
inline std::int64_t Half(std::int64_t n) { return n / 2; }
inline double Distance(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
  const std::int64_t dx = x1 - x2, dy = y1 - y2;
  return std::sqrt(static_cast<double>(dx * dx + dy * dy));
}
}  // namespace full_rotation

inline TFullRotationProfile ExtractByFullRotation(const TBitmap& picture, const TSpectrumRecord& record) {
  using namespace full_rotation;
  TFullRotationProfile out;
  if (picture.PixelFormat() != pf24bit || record.BlueY < 0) return out;
  const std::int64_t W = picture.Width(), H = picture.Height();
  const std::int64_t a = record.BlueX, b = record.BlueY;

  // The angle that turns the blue-to-red line straight down, with the decimal constants.
  double theta = 0;
  const double dx = static_cast<double>(std::int64_t{record.RedX} - a);
  const double dy = static_cast<double>(std::int64_t{record.RedY} - b);
  if (record.RedX > record.BlueX)
    theta = std::atan(dy / dx) - 1.570796326794895;
  else if (record.RedX < record.BlueX)
    theta = std::atan(dy / dx) + 1.570796326794895;
  else
    theta = record.BlueY > record.RedY ? 3.14159265358979 : 0.0;
  const double s = std::sin(theta), c = std::cos(theta);

  // The rotated picture, 3 bytes (red, green, blue) a pixel; black where the source is outside.
  const std::int64_t D = Nearest(Distance(0, 0, W, H)) + 2;
  std::vector<unsigned char> rotated(static_cast<std::size_t>(D * D * 3), 0);
  for (std::int64_t yr = 0; yr < D; ++yr) {
    for (std::int64_t xr = 0; xr < D; ++xr) {
      const double X = static_cast<double>(2 * (xr - a) + 1);
      const double Y = static_cast<double>(2 * (yr - b) + 1);
      const std::int64_t u = Nearest(X * c - Y * s);
      const std::int64_t v = Nearest(X * s + Y * c);
      const std::int64_t sx = a + Half(u - 1), sy = b + Half(v - 1);
      if (sx < 0 || sx > W - 1 || sy < 0 || sy > H - 1) continue;
      // A 24-bit row holds blue, green and red bytes.
      const std::uint8_t* p = picture.ScanLine(static_cast<int>(sy)) + 3 * sx;
      unsigned char* q = &rotated[static_cast<std::size_t>((yr * D + xr) * 3)];
      q[0] = p[2], q[1] = p[1], q[2] = p[0];
    }
  }

  // Rows from the blue end down to the red end (or the last row of the rotated picture).
  std::int64_t last = b + Nearest(Distance(a, b, record.RedX, record.RedY));
  if (last > D - 1) last = D - 1;
  const std::int64_t h = Half(record.BandWidth);
  const std::int64_t left = a - h < 0 ? 0 : a - h;
  const std::int64_t right = a + h > D - 1 ? D - 1 : a + h;
  out.RowCount = last < b ? 0 : static_cast<int>(last - b + 1);
  for (int i = 0; i < out.RowCount; ++i) {
    const std::int64_t yr = b + i;
    double red = 0, green = 0, blue = 0;
    for (std::int64_t xr = left; xr <= right; ++xr) {
      const unsigned char* p = &rotated[static_cast<std::size_t>((yr * D + xr) * 3)];
      red += p[0], green += p[1], blue += p[2];
    }
    out.Wavelength.push_back(record.BlueWavelength + (record.RedWavelength - record.BlueWavelength) * i / out.RowCount);
    out.RedSum.push_back(red);
    out.GreenSum.push_back(green);
    out.BlueSum.push_back(blue);
    out.TotalSum.push_back(red + green + blue);
  }
  return out;
}
