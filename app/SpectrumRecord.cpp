#include "app/SpectrumRecord.h"

#include <algorithm>
#include <cmath>

#include "platform/Bitmap.h"
#include "platform/Dialogs.h"

void TSpectrumRecord::EnsureCapacity(int rows) {
  if (rows <= Capacity()) return;
  const auto n = static_cast<std::size_t>(rows);
  for (std::vector<double>* a : {&Wavelength, &RedSum, &GreenSum, &BlueSum, &TotalSum}) a->resize(n, 0.0);
}

double PixelDistance(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
  // 128-bit squares: ends 2^32 apart (any two 32-bit positions) would overflow 64 bits.
  const __int128 dx = x1 - x2, dy = y1 - y2;
  return std::sqrt(static_cast<double>(dx * dx + dy * dy));
}

double RotationAngle(const TSpectrumRecord& r) {
  // The constants are the decimal values used for pi/2 and pi, not full-precision pi.
  // Differences in 64 bits: two 32-bit positions can lie further apart than 32 bits hold.
  const double dy = static_cast<double>(static_cast<std::int64_t>(r.RedY) - r.BlueY);
  const double dx = static_cast<double>(static_cast<std::int64_t>(r.RedX) - r.BlueX);
  if (r.RedX > r.BlueX) return std::atan(dy / dx) - 1.570796326794895;
  if (r.RedX < r.BlueX) return std::atan(dy / dx) + 1.570796326794895;
  return r.BlueY > r.RedY ? 3.14159265358979 : 0.0;
}

TExtractionGeometry ExtractionGeometry(int width, int height, const TSpectrumRecord& r) {
  TExtractionGeometry g;
  const double theta = RotationAngle(r);
  g.Sin = std::sin(theta);
  g.Cos = std::cos(theta);
  g.D = RoundEven(PixelDistance(0, 0, width, height)) + 2;
  const double L = PixelDistance(r.BlueX, r.BlueY, r.RedX, r.RedY);
  g.LastRow = static_cast<std::int64_t>(r.BlueY) + RoundEven(L);
  if (g.LastRow > g.D - 1) {
    g.LastRow = g.D - 1;
    g.Truncated = true;
  }
  const std::int64_t h = Div2(r.BandWidth);
  g.Left = std::max<std::int64_t>(static_cast<std::int64_t>(r.BlueX) - h, 0);
  g.Right = std::min<std::int64_t>(static_cast<std::int64_t>(r.BlueX) + h, g.D - 1);
  return g;
}

bool RotatedSource(const TExtractionGeometry& g, const TSpectrumRecord& r, int width, int height,
                   std::int64_t xr, std::int64_t yr, int& sx, int& sy) {
  const std::int64_t a = r.BlueX, b = r.BlueY;
  // Twice the offset of the pixel's centre from the blue-end pixel's corner: exact integers.
  const double X = static_cast<double>(2 * (xr - a) + 1);
  const double Y = static_cast<double>(2 * (yr - b) + 1);
  const std::int64_t u = RoundEven(X * g.Cos - Y * g.Sin);
  const std::int64_t v = RoundEven(X * g.Sin + Y * g.Cos);
  const std::int64_t x = a + Div2(u - 1);
  const std::int64_t y = b + Div2(v - 1);
  if (x < 0 || x > width - 1 || y < 0 || y > height - 1) return false;
  sx = static_cast<int>(x);
  sy = static_cast<int>(y);
  return true;
}

void ReadPixel(const TBitmap& picture, int x, int y, int& red, int& green, int& blue) {
  const std::uint8_t* row = picture.ScanLine(y);
  switch (picture.PixelFormat()) {
    case pf24bit: {
      const std::uint8_t* p = row + 3 * x;
      blue = p[0], green = p[1], red = p[2];
      return;
    }
    case pf32bit: {
      const std::uint8_t* p = row + 4 * x;
      blue = p[0], green = p[1], red = p[2];
      return;
    }
    case pf15bit: {
      const unsigned w = row[2 * x] | (row[2 * x + 1] << 8);
      // Components widened to 8 bits with the top bits repeated, so that full scale stays 255.
      const unsigned r5 = (w >> 10) & 31, g5 = (w >> 5) & 31, b5 = w & 31;
      red = static_cast<int>((r5 << 3) | (r5 >> 2));
      green = static_cast<int>((g5 << 3) | (g5 >> 2));
      blue = static_cast<int>((b5 << 3) | (b5 >> 2));
      return;
    }
    case pf16bit: {
      const unsigned w = row[2 * x] | (row[2 * x + 1] << 8);
      const unsigned r5 = (w >> 11) & 31, g6 = (w >> 5) & 63, b5 = w & 31;
      red = static_cast<int>((r5 << 3) | (r5 >> 2));
      green = static_cast<int>((g6 << 2) | (g6 >> 4));
      blue = static_cast<int>((b5 << 3) | (b5 >> 2));
      return;
    }
    default:
      red = green = blue = 0;
  }
}

double RowWavelength(const TSpectrumRecord& record, int i) {
  if (record.QuadraticInForce) return record.Quadratic[0] + i * (record.Quadratic[1] + i * record.Quadratic[2]);
  return record.BlueWavelength + (record.RedWavelength - record.BlueWavelength) * i / record.RowCount;
}

namespace {
// The plain extraction is compiled without the clipping test in its inner loop.
template <bool kFindClipping>
void Extract(const TBitmap& picture, TSpectrumRecord& record, TBandClipping* clipping) {
  if (clipping) *clipping = TBandClipping{};
  const TPixelFormat pf = picture.PixelFormat();
  const bool supported = pf == pf15bit || pf == pf16bit || pf == pf24bit || pf == pf32bit;
  if (!supported || picture.Empty() || picture.Width() <= 0 || picture.Height() <= 0) {
    ShowMessage(QString::fromLatin1(kPixelFormatMessage));
    return;
  }
  // Rows above the turned picture do not exist; counting them would also let a far-off blue end
  // ask for billions of rows.
  if (record.BlueY < 0) {
    ShowMessage(QString::fromLatin1(kOutsideMessage));
    return;
  }
  const int W = picture.Width(), H = picture.Height();
  const TExtractionGeometry g = ExtractionGeometry(W, H, record);
  if (g.Truncated) ShowMessage(QString::fromLatin1(kTruncatedMessage));

  // A blue end placed below the rotated picture leaves no rows at all.
  const std::int64_t rows64 = std::max<std::int64_t>(g.LastRow - record.BlueY + 1, 0);
  const int rows = static_cast<int>(std::min<std::int64_t>(rows64, INT32_MAX));
  record.EnsureCapacity(rows);
  if (clipping) clipping->Rows.assign(static_cast<std::size_t>(rows), 0);
  std::fill(record.Wavelength.begin(), record.Wavelength.end(), 0.0);
  record.RowCount = rows;
  // A quadratic scale sets the record's ends itself (the boxes may show them rounded), at row 0
  // and at row RowCount as the linear rule places them, so ranges and overlaps use its own values.
  if (record.QuadraticInForce) {
    record.BlueWavelength = RowWavelength(record, 0);
    record.RedWavelength = RowWavelength(record, rows);
  }

  // Only the band columns of the used rows are ever computed: the full rotated picture would
  // hold millions of pixels for a camera photograph.
  for (int i = 0; i < rows; ++i) {
    const std::int64_t yr = static_cast<std::int64_t>(record.BlueY) + i;
    double red = 0, green = 0, blue = 0;
    record.Wavelength[static_cast<std::size_t>(i)] = RowWavelength(record, i);
    if (yr >= 0 && yr < g.D) {
      [[maybe_unused]] unsigned char flags = 0;
      ForEachBandPixel(g, record, W, H, yr, [&](int sx, int sy) {
        int r = 0, gr = 0, b = 0;
        ReadPixel(picture, sx, sy, r, gr, b);
        red += r;
        green += gr;
        blue += b;
        if constexpr (kFindClipping) flags |= (r >= 255 ? 1 : 0) | (gr >= 255 ? 2 : 0) | (b >= 255 ? 4 : 0);
      });
      if constexpr (kFindClipping) {
        clipping->Rows[static_cast<std::size_t>(i)] = flags;
        clipping->RedRows += flags & 1 ? 1 : 0;
        clipping->GreenRows += flags & 2 ? 1 : 0;
        clipping->BlueRows += flags & 4 ? 1 : 0;
      }
    }
    const auto k = static_cast<std::size_t>(i);
    record.RedSum[k] = red;
    record.GreenSum[k] = green;
    record.BlueSum[k] = blue;
    record.TotalSum[k] = red + green + blue;
  }
}

}  // namespace

void ExtractSpectrum(const TBitmap& picture, TSpectrumRecord& record) { Extract<false>(picture, record, nullptr); }

void ExtractSpectrum(const TBitmap& picture, TSpectrumRecord& record, TBandClipping& clipping) {
  Extract<true>(picture, record, &clipping);
}

std::pair<int, int> BandSourceRows(int width, int height, const TSpectrumRecord& record) {
  if (width <= 0 || height <= 0 || record.BlueY < 0) return {0, -1};
  const TExtractionGeometry g = ExtractionGeometry(width, height, record);
  int first = height, last = -1;
  for (std::int64_t yr = record.BlueY; yr <= g.LastRow; ++yr) {
    if (yr >= g.D) break;
    ForEachBandPixel(g, record, width, height, yr, [&](int, int sy) {
      first = std::min(first, sy);
      last = std::max(last, sy);
    });
  }
  return last < 0 ? std::pair<int, int>{0, -1} : std::pair<int, int>{first, last};
}

int ProfileRows(const TSpectrumRecord& record) {
  return std::clamp(record.RowCount, 0, std::min({record.Capacity(), static_cast<int>(record.RedSum.size()),
                                                  static_cast<int>(record.GreenSum.size()),
                                                  static_cast<int>(record.BlueSum.size()),
                                                  static_cast<int>(record.TotalSum.size())}));
}
