#pragma once
// The extraction as defined: the whole picture turned into a D x D rotated picture first, then
// the band read from it. Slow on purpose; tests and benchmarks compare the real extraction with it.
#include <algorithm>
#include <vector>

#include "app/SpectrumRecord.h"
#include "platform/Bitmap.h"

struct TFullRotationProfile {
  int RowCount = 0;
  std::vector<double> Wavelength, RedSum, GreenSum, BlueSum, TotalSum;
};

inline TFullRotationProfile ExtractByFullRotation(const TBitmap& picture, const TSpectrumRecord& record) {
  const int W = picture.Width(), H = picture.Height();
  const TExtractionGeometry g = ExtractionGeometry(W, H, record);
  const std::int64_t D = g.D;
  // Rotated picture: 3 bytes a pixel, black where the source lies outside the picture.
  std::vector<unsigned char> rotated(static_cast<std::size_t>(D * D * 3), 0);
  for (std::int64_t yr = 0; yr < D; ++yr) {
    for (std::int64_t xr = 0; xr < D; ++xr) {
      int sx = 0, sy = 0;
      if (!RotatedSource(g, record, W, H, xr, yr, sx, sy)) continue;
      int r = 0, gr = 0, b = 0;
      ReadPixel(picture, sx, sy, r, gr, b);
      unsigned char* p = &rotated[static_cast<std::size_t>((yr * D + xr) * 3)];
      p[0] = static_cast<unsigned char>(r), p[1] = static_cast<unsigned char>(gr), p[2] = static_cast<unsigned char>(b);
    }
  }
  TFullRotationProfile out;
  out.RowCount = static_cast<int>(g.LastRow - record.BlueY + 1);
  for (int i = 0; i < out.RowCount; ++i) {
    const std::int64_t yr = record.BlueY + i;
    double red = 0, green = 0, blue = 0;
    for (std::int64_t xr = g.Left; xr <= g.Right; ++xr) {
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
