#include "chart/output/rUdudPrintGeometry.h"

#include <algorithm>
#include <cmath>

#include "chart/core/iErrors.h"

namespace {
// Nearest, ties to even; callers make sure the value is finite and within int range.
int R(double value) { return static_cast<int>(std::nearbyint(value)); }

// Pixel coordinates further out than this mean a setting is absurd, not a page.
constexpr double kFarPixels = 1e9;
bool Usable(double value) { return std::isfinite(value) && std::fabs(value) < kFarPixels; }
}  // namespace

TRect PrintTargetRect(const TPrinterMetrics& m, const TiPaperSize& paper, const TiPrintMargins& margins, int width,
                      int height) {
  if (width <= 0 || height <= 0) throw EiError(QStringLiteral("The chart has no area to draw"));
  const double pageX = std::nearbyint(m.DpiX * paper.Width);
  const double pageY = std::nearbyint(m.DpiY * paper.Height);
  const double kx = (pageX - (margins.Left + margins.Right) * m.DpiX) / width;
  const double ky = (pageY - (margins.Top + margins.Bottom) * m.DpiY) / height;
  const double k = std::min(kx, ky);
  const double left = m.DpiX * margins.Left - m.OffsetX;
  const double top = m.DpiY * margins.Top - m.OffsetY;
  const double right = left + width * k;
  const double bottom = top + height * k;
  if (!(k > 0) || !Usable(left) || !Usable(top) || !Usable(right) || !Usable(bottom) || R(right) <= R(left) ||
      R(bottom) <= R(top))
    throw EiError(QStringLiteral("The print margins leave no room on the paper"));
  return {R(left), R(top), R(right), R(bottom)};
}

TiPreviewGeometry PreviewGeometry(int areaWidth, int areaHeight, const TiPaperSize& paper, const TiPrintMargins& margins,
                                  int pictureWidth, int pictureHeight) {
  TiPreviewGeometry g;
  const int w = areaWidth - 20, h = areaHeight - 20;
  if (w <= 0 || h <= 0 || !(paper.Width > 0) || !(paper.Height > 0)) return g;
  int pw, ph;
  if (double(h) / paper.Height > double(w) / paper.Width) {
    pw = w;
    ph = R(paper.Height * w / paper.Width);
  } else {
    ph = h;
    pw = R(double(h) / paper.Height * paper.Width);
  }
  g.PixelsPerInch = R(pw / paper.Width);
  const int cx = areaWidth / 2, cy = areaHeight / 2;
  g.Sheet = {cx - pw / 2 - 5, cy - ph / 2 - 5, cx + pw / 2 - 5, cy + ph / 2 - 5};
  g.Shadow = {g.Sheet.Left + 7, g.Sheet.Top + 7, g.Sheet.Right + 7, g.Sheet.Bottom + 7};

  const double ppi = g.PixelsPerInch;
  const double marginX = (margins.Left + margins.Right) * ppi, marginY = (margins.Top + margins.Bottom) * ppi;
  if (!Usable(marginX) || !Usable(marginY) || !Usable(ppi * margins.Left) || !Usable(ppi * margins.Top)) return g;
  g.Printable = {pw - R(marginX), ph - R(marginY)};
  if (g.Printable.cx <= 0 || g.Printable.cy <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return g;

  int picW, picH;
  if (double(g.Printable.cx) / pictureWidth >= double(g.Printable.cy) / pictureHeight) {
    picH = g.Printable.cy;
    picW = R(double(pictureWidth) * g.Printable.cy / pictureHeight);
  } else {
    picW = g.Printable.cx;
    picH = R(double(pictureHeight) * g.Printable.cx / pictureWidth);
  }
  const int left = g.Sheet.Left + R(ppi * margins.Left), top = g.Sheet.Top + R(ppi * margins.Top);
  g.Picture = {left, top, left + picW, top + picH};
  g.HasPicture = picW > 0 && picH > 0;
  return g;
}
