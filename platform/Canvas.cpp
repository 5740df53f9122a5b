#include "platform/Canvas.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>

#include "platform/Bitmap.h"
#include "platform/CanvasLines.h"

namespace {

// The platform's 8 x 8 hatch patterns; bit 0x80 is the leftmost pixel of a row.
constexpr std::array<std::array<std::uint8_t, 8>, 6> kHatchBits = {{
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00},  // bsHorizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // bsVertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // bsFDiagonal (top left to bottom right)
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // bsBDiagonal (bottom left to top right)
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0xFF, 0x08},  // bsCross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // bsDiagCross
}};

// Style ordinals also come from stored files: one the canvas does not know fills solid, as a pen
// style it does not know draws solid.
TBrushStyle KnownBrushStyle(TBrushStyle style) { return style >= bsSolid && style <= bsDiagCross ? style : bsSolid; }

QBrush HatchBrush(TBrushStyle style, TColor color) {
  const int index = static_cast<int>(style) - bsHorizontal;
  if (index < 0 || index >= static_cast<int>(kHatchBits.size())) return QBrush(ToQColor(color));
  QImage tile(8, 8, QImage::Format_ARGB32);
  tile.fill(Qt::transparent);
  const auto& bits = kHatchBits[static_cast<std::size_t>(index)];
  const QRgb c = ToQColor(color).rgb();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (bits[static_cast<std::size_t>(y)] & (0x80 >> x)) tile.setPixel(x, y, c);
  return QBrush(tile);
}

QPainter::CompositionMode RasterOpOf(TPenMode mode) {
  switch (mode) {
    case pmBlack: return QPainter::RasterOp_ClearDestination;
    case pmWhite: return QPainter::RasterOp_SetDestination;
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmNop:
    case pmCopy: break;
  }
  return QPainter::CompositionMode_SourceOver;
}

// Beyond this distance from the origin nothing can show on a screen, a page or a picture:
// figures are cut there, so that their sizes stay within 32 bits and no walk along them runs
// for long.
constexpr long long kFarCoordinate = 1LL << 20;

int Far(int v) { return static_cast<int>(std::clamp<long long>(v, -kFarCoordinate, kFarCoordinate)); }

TRect Bounded(const TRect& r) { return {Far(r.Left), Far(r.Top), Far(r.Right), Far(r.Bottom)}; }

QRect ToQRect(const TRect& rect) {
  const TRect r = Bounded(rect);
  return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

TRect Normalized(int l, int t, int r, int b) {
  l = Far(l);
  t = Far(t);
  r = Far(r);
  b = Far(b);
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  return {l, t, r, b};
}

// Nearest integer of num / den (den > 0, num >= 0), an exact half going down.
long long NearestDown(__int128 num, long long den) {
  return static_cast<long long>((2 * num + den - 1) / (2 * static_cast<__int128>(den)));
}

// The smallest i in [lo, hi) for which pred holds, pred being false and then true along the
// range; hi when it never holds.
template <class Pred>
long long FirstTrue(long long lo, long long hi, Pred pred) {
  while (lo < hi) {
    const long long mid = lo + (hi - lo) / 2;
    if (pred(mid))
      hi = mid;
    else
      lo = mid + 1;
  }
  return lo;
}


}  // namespace

const std::vector<int>& PenDashPattern(TPenStyle style) {
  static const std::vector<int> dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3}, solid;
  switch (style) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return solid;
  }
}

TCanvas::TCanvas(QPaintDevice* device) : device_(device) {}
TCanvas::TCanvas(QPainter* painter) : external_(painter) {}
TCanvas::TCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}

TCanvas::~TCanvas() { Release(); }

void TCanvas::Release() {
  if (own_) {
    if (own_->isActive()) own_->end();
    own_.reset();
  }
  painterLent_ = false;
  rowsReady_ = false;
}

QPainter* TCanvas::Ready() {
  if (external_) return external_;
  if (own_ && own_->isActive()) return own_.get();
  QPaintDevice* device = device_;
  if (bitmap_) {
    // Palette bitmaps cannot be painted on; they become 24-bit when first drawn on.
    const QImage::Format f = bitmap_->image_.format();
    if (f == QImage::Format_Indexed8 || f == QImage::Format_Mono || f == QImage::Format_MonoLSB)
      bitmap_->SetPixelFormat(pf24bit);
    device = &bitmap_->image_;
  }
  if (!device) return nullptr;
  // An image without pixels cannot be painted on; a recording (QPicture) starts empty and grows.
  if (device->devType() == QInternal::Image && (device->width() <= 0 || device->height() <= 0)) return nullptr;
  rowsReady_ = false;
  own_ = std::make_unique<QPainter>();
  if (!own_->begin(device)) {
    own_.reset();
    return nullptr;
  }
  own_->setRenderHint(QPainter::Antialiasing, false);
  own_->setRenderHint(QPainter::TextAntialiasing, false);
  own_->setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (clip_) own_->setClipRect(ToQRect(*clip_));
  return own_.get();
}

QPainter* TCanvas::Painter() {
  painterLent_ = true;
  rowsReady_ = false;
  return Ready();
}

int TCanvas::DeviceWidth() const {
  if (bitmap_) return bitmap_->Width();
  if (device_) return device_->width();
  if (external_ && external_->device()) return external_->device()->width();
  return 0;
}

int TCanvas::DeviceHeight() const {
  if (bitmap_) return bitmap_->Height();
  if (device_) return device_->height();
  if (external_ && external_->device()) return external_->device()->height();
  return 0;
}

QImage* TCanvas::RasterImage() const {
  if (bitmap_) return &bitmap_->image_;
  if (device_ && device_->devType() == QInternal::Image) return static_cast<QImage*>(device_);
  if (external_ && external_->device() && external_->device()->devType() == QInternal::Image)
    return static_cast<QImage*>(external_->device());
  return nullptr;
}

void TCanvas::RealizeBrush() {
  if (realizedBrush_ && *realizedBrush_ == brush_) return;
  realizedBrush_ = brush_;
  if (KnownBrushStyle(brush_.Style) == bsSolid) {
    bkColor_ = ColorToRGB(brush_.Color);
    bkMode_ = OPAQUE;
  } else {
    bkColor_ = ~ColorToRGB(brush_.Color) & 0x00FFFFFF;
    bkMode_ = TRANSPARENT;
  }
}

TColor TCanvas::BkColor() {
  RealizeBrush();
  return bkColor_;
}
void TCanvas::SetBkColor(TColor color) {
  RealizeBrush();
  bkColor_ = ColorToRGB(color);
}
TBkMode TCanvas::BkMode() {
  RealizeBrush();
  return bkMode_;
}
void TCanvas::SetBkMode(TBkMode mode) {
  RealizeBrush();
  bkMode_ = mode;
}

bool TCanvas::ApplyPenMode(QPainter* p) {
  if (pen_.Mode == pmNop) return false;
  if (pen_.Mode != pmCopy && p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Raster)
    p->setCompositionMode(RasterOpOf(pen_.Mode));
  return true;
}

void TCanvas::RestoreMode(QPainter* p) { p->setCompositionMode(QPainter::CompositionMode_SourceOver); }

int TCanvas::WidePenWidth() const { return pen_.Width > 1 ? pen_.Width : 1; }

void TCanvas::FillRun(QPainter* p, int x, int y, int w, int h, TColor color) {
  p->fillRect(QRect(x, y, w, h), ToQColor(color));
}

namespace {

// The rows a pen of radius r covers in pixel column x along the segment a-b: the pixel centres
// within r of the segment, taken as the painter fills a round-capped line (a centre on the
// upper edge is in, one on the lower edge out). Empty when lo >= hi.
void CapsuleColumn(double ax, double ay, double bx, double by, double r, double x, double& lo, double& hi) {
  lo = std::numeric_limits<double>::infinity();
  hi = -lo;
  auto disc = [&](double cx, double cy) {
    const double d = x - cx;
    if (std::fabs(d) >= r) return;
    const double h = std::sqrt(r * r - d * d);
    lo = std::min(lo, cy - h);
    hi = std::max(hi, cy + h);
  };
  disc(ax, ay);
  disc(bx, by);
  const double dx = bx - ax, dy = by - ay, length = std::hypot(dx, dy);
  if (length == 0) return;
  // The band of the segment: a rectangle; the column crosses two of its edges.
  const double nx = -dy / length * r, ny = dx / length * r;
  const double corners[4][2] = {{ax + nx, ay + ny}, {bx + nx, by + ny}, {bx - nx, by - ny}, {ax - nx, ay - ny}};
  for (int i = 0; i < 4; ++i) {
    const double* p = corners[i];
    const double* q = corners[(i + 1) % 4];
    if ((x < std::min(p[0], q[0])) || (x > std::max(p[0], q[0]))) continue;
    double y;
    if (p[0] == q[0]) {
      lo = std::min(lo, std::min(p[1], q[1]));
      hi = std::max(hi, std::max(p[1], q[1]));
      continue;
    }
    y = p[1] + (q[1] - p[1]) * (x - p[0]) / (q[0] - p[0]);
    lo = std::min(lo, y);
    hi = std::max(hi, y);
  }
}

}  // namespace

bool TCanvas::StrokeWideRows(const TPoint* points, int count) {
  if (pen_.Mode != pmCopy) return false;
  QPainter* p = Ready();
  if (!p) return false;
  // The row writer of the thin lines knows the bitmap, its clip and the pen's colour.
  if (ThinLinesFor(p) != TThinLines::Rows) return false;
  const QImage* image = RasterImage();
  if (!image) return false;
  const double r = pen_.Width / 2.0;
  const std::vector<int> solid;
  const int width = image->width(), height = image->height();
  for (int i = 0; i + 1 < count; ++i) {
    const double ax = points[i].X, ay = points[i].Y, bx = points[i + 1].X, by = points[i + 1].Y;
    // Columns whose centre lies within the line's reach, left edge in, right edge out; the
    // writer clips the rest, so columns far beside the bitmap are not visited.
    const double from = std::max(std::ceil(std::min(ax, bx) - r), -1.0);
    const double to = std::min(std::max(ax, bx) + r, static_cast<double>(width) + 1);
    for (double x = from; x < to; ++x) {
      double lo, hi;
      CapsuleColumn(ax, ay, bx, by, r, x, lo, hi);
      if (!(lo < hi)) continue;
      const double top = std::max(std::ceil(lo), -1.0), bottom = std::min(std::ceil(hi), height + 1.0);
      if (!(top < bottom)) continue;
      int phase = 0;
      rows_.Segment(static_cast<int>(x), static_cast<int>(top), static_cast<int>(x), static_cast<int>(bottom), solid, phase);
    }
  }
  return true;
}

// One segment of the pen, the end point excluded.
void TCanvas::StrokeSegment(int x1, int y1, int x2, int y2) {
  if (pen_.Style == psClear || pen_.Mode == pmNop) return;
  if (WidePenWidth() > 1) {
    const TPoint ends[] = {{x1, y1}, {x2, y2}};
    if (StrokeWideRows(ends, 2)) return;
    QPainter* p = Ready();
    if (!p) return;
    RealizeBrush();
    ApplyPenMode(p);
    // Wide pens draw solid with round ends, centred on the pixel centres.
    QPen qpen(ToQColor(pen_.Color), pen_.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p->setPen(qpen);
    p->setBrush(Qt::NoBrush);
    p->drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
    RestoreMode(p);
    return;
  }
  const TPoint points[] = {{x1, y1}, {x2, y2}};
  StrokeThin(points, 2, false);
}

void TCanvas::SyncDashPen() {
  if (!(dashPen_ == pen_)) {
    dashPen_ = pen_;
    dashPhase_ = 0;
  }
}

// How one-pixel lines reach the surface: into the rows of a bitmap when its pixels, clip and
// placement are known; as real lines on recordings and printers; through the painter otherwise.
TCanvas::TThinLines TCanvas::PrepareThinLines(QPainter* p, TScanlineLines& rows) {
  const QPaintEngine* engine = p->paintEngine();
  if (!engine || engine->type() != QPaintEngine::Raster) return TThinLines::Recorded;
  QImage* image = RasterImage();
  if (referenceLines_ || !image || image->devicePixelRatio() != 1.0) return TThinLines::Painted;
  // Writing rows of pixels that another image shares would change that image as well.
  if (!image->isDetached()) return TThinLines::Painted;
  TRect clip{0, 0, image->width(), image->height()};
  if (external_ || painterLent_) {
    // Someone else may have moved, scaled or clipped this painter: ask it.
    if (!p->combinedTransform().isIdentity()) return TThinLines::Painted;
    if (p->hasClipping()) {
      const QRegion region = p->clipRegion();
      if (region.rectCount() > 1) return TThinLines::Painted;
      const QRect b = region.boundingRect();
      const TRect painterClip = region.isEmpty() ? TRect{} : TRect{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
      IntersectRect(clip, clip, painterClip);
    }
  } else if (clip_) {
    IntersectRect(clip, clip, *clip_);
  }
  const bool opaque = bkMode_ == OPAQUE;
  auto rgb = [](TColor color) {
    const TColor c = ColorToRGB(color);
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
  };
  if (!rows.Begin(*image, clip, rgb(pen_.Color), rgb(bkColor_), opaque, pen_.Mode))
    return TThinLines::Painted;
  return TThinLines::Rows;
}

TCanvas::TThinLines TCanvas::ThinLinesFor(QPainter* p) {
  if (rowsReady_ && rowsPen_ == pen_ && rowsBkColor_ == bkColor_ && rowsBkMode_ == bkMode_) return TThinLines::Rows;
  rowsReady_ = false;
  const TThinLines kind = PrepareThinLines(p, rows_);
  // Only this canvas's own painter changes nothing behind its back.
  if (kind == TThinLines::Rows && own_ && !external_ && !painterLent_) {
    rowsReady_ = true;
    rowsPen_ = pen_;
    rowsBkColor_ = bkColor_;
    rowsBkMode_ = bkMode_;
  }
  return kind;
}

// One-pixel segments through the points (and back to the first when closed).
void TCanvas::StrokeThin(const TPoint* points, int count, bool closed) {
  if (pen_.Style == psClear || pen_.Mode == pmNop || count < 2) return;
  QPainter* p = Ready();
  if (!p) return;
  RealizeBrush();
  SyncDashPen();
  const int segments = closed ? count : count - 1;
  auto to = [&](int i) -> const TPoint& { return points[i + 1 == count ? 0 : i + 1]; };
  switch (ThinLinesFor(p)) {
    case TThinLines::Rows: {
      const std::vector<int>& pattern = PenDashPattern(pen_.Style);
      for (int i = 0; i < segments; ++i) rows_.Segment(points[i].X, points[i].Y, to(i).X, to(i).Y, pattern, dashPhase_);
      return;
    }
    case TThinLines::Recorded:
      RecordThin(p, points, count, closed);
      return;
    case TThinLines::Painted:
      ApplyPenMode(p);
      for (int i = 0; i < segments; ++i) PaintSegment(p, points[i].X, points[i].Y, to(i).X, to(i).Y);
      RestoreMode(p);
      return;
  }
}

// Recordings and printers get real lines: one polyline through the pixel centres for each run
// of segments, ending on the last pixel the segments cover, dashed by a pen whose offset
// carries the dash position from the previous line.
void TCanvas::RecordThin(QPainter* p, const TPoint* points, int count, bool closed) {
  const std::vector<int>& pattern = PenDashPattern(pen_.Style);
  int total = 0;
  for (int v : pattern) total += v;
  const bool opaque = !pattern.empty() && bkMode_ == OPAQUE;
  // Beyond this box nothing shows on any page: far segments are cut to it.
  const TRect far{static_cast<int>(-kFarCoordinate), static_cast<int>(-kFarCoordinate),
                  static_cast<int>(kFarCoordinate) + 1, static_cast<int>(kFarCoordinate) + 1};
  QPolygonF chain;
  int chainPhase = dashPhase_;
  auto centre = [](TPoint q) { return QPointF(q.X + 0.5, q.Y + 0.5); };
  auto flush = [&] {
    if (chain.isEmpty()) return;
    QPen ink(ToQColor(pen_.Color), 0);
    if (total > 0) {
      QList<qreal> dashes;
      for (int v : pattern) dashes << v;
      ink.setDashPattern(dashes);
      ink.setDashOffset(chainPhase);
    }
    if (chain.size() == 1) {
      // A line of one pixel: that pixel, in the pen or the gap colour as the pattern stands.
      const bool on = DashOnAt(pattern, chainPhase);
      if (on || opaque)
        p->fillRect(QRectF(chain.front() - QPointF(0.5, 0.5), QSizeF(1, 1)), ToQColor(on ? pen_.Color : bkColor_));
      chain.clear();
      return;
    }
    p->setBrush(Qt::NoBrush);
    for (int pass = opaque ? 0 : 1; pass < 2; ++pass) {
      p->setPen(pass == 0 ? QPen(ToQColor(bkColor_), 0) : ink);
      p->drawPolyline(chain);
    }
    chain.clear();
  };
  const int segments = closed ? count : count - 1;
  TPoint lastPixel{};
  for (int i = 0; i < segments; ++i) {
    const TPoint a = points[i], b = points[i + 1 == count ? 0 : i + 1];
    const TLineSteps s = VisibleSteps(a.X, a.Y, b.X, b.Y, far);
    if (s.n == 0) continue;
    const bool whole = s.lo == 0 && s.hi == s.n;
    if (!whole) {
      if (!chain.isEmpty()) chain << centre(lastPixel);
      flush();
    }
    if (s.hi > s.lo) {
      if (chain.isEmpty()) chainPhase = total > 0 ? static_cast<int>((dashPhase_ + s.lo % total) % total) : 0;
      chain << centre(StepPixel(a.X, a.Y, s, s.lo));
      lastPixel = StepPixel(a.X, a.Y, s, s.hi - 1);
      if (!whole) {
        chain << centre(lastPixel);
        if (chain.size() == 2 && chain[0] == chain[1]) chain.removeLast();
        flush();
      }
    }
    if (total > 0) dashPhase_ = static_cast<int>((dashPhase_ + s.n % total) % total);
  }
  if (!chain.isEmpty()) {
    if (chain.back() != centre(lastPixel)) chain << centre(lastPixel);
    flush();
  }
}

// The walk through the painter, one fillRect for each run of pixels on a row or column: the
// reference the row writer is held to, and the way for painters whose clip or placement the
// canvas cannot see.
void TCanvas::PaintSegment(QPainter* p, int x1, int y1, int x2, int y2) {
  // 64 bits: the end points may lie anywhere in the coordinate range.
  const long long dx = static_cast<long long>(x2) - x1, dy = static_cast<long long>(y2) - y1;
  const long long n = std::max(std::llabs(dx), std::llabs(dy));
  if (n == 0) return;
  const std::vector<int>& pattern = PenDashPattern(pen_.Style);
  int total = 0;
  for (int v : pattern) total += v;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const long long minor = xMajor ? std::llabs(dy) : std::llabs(dx);
  const bool opaque = bkMode_ == OPAQUE;
  const TColor penColor = pen_.Color;
  const TColor gapColor = bkColor_;
  auto xAt = [&](long long i) { return x1 + sx * (xMajor ? i : NearestDown(static_cast<__int128>(i) * minor, n)); };
  auto yAt = [&](long long i) { return y1 + sy * (xMajor ? NearestDown(static_cast<__int128>(i) * minor, n) : i); };

  // Only the steps whose pixel lies on the device are walked; both coordinates move one way
  // along the line, so those steps form one range. The dash pattern still advances over the
  // steps left out, so what shows is exactly what a larger device would show.
  long long lo = 0, hi = n;
  long long fromX = -kFarCoordinate, fromY = -kFarCoordinate, toX = kFarCoordinate, toY = kFarCoordinate;
  const QImage* image = RasterImage();
  // A painter that scales or moves what it draws shows other pixels than the coordinates say.
  if (image && p->combinedTransform().isIdentity()) {
    fromX = 0;
    fromY = 0;
    toX = image->width();
    toY = image->height();
  }
  auto keep = [&](auto coordAt, int step, long long from, long long to) {
    if (step > 0) {
      lo = FirstTrue(lo, hi, [&](long long i) { return coordAt(i) >= from; });
      hi = FirstTrue(lo, hi, [&](long long i) { return coordAt(i) >= to; });
    } else {
      lo = FirstTrue(lo, hi, [&](long long i) { return coordAt(i) < to; });
      hi = FirstTrue(lo, hi, [&](long long i) { return coordAt(i) < from; });
    }
  };
  keep(xAt, sx, fromX, toX);
  keep(yAt, sy, fromY, toY);
  if (total > 0) dashPhase_ = static_cast<int>((dashPhase_ + lo % total) % total);

  // Runs of pixels on one row (x-major) or column (y-major) in one state are filled together.
  int runX = 0, runY = 0, runLen = 0;
  bool runOn = true;
  auto flush = [&] {
    if (runLen == 0) return;
    if (runOn || opaque) {
      const TColor c = runOn ? penColor : gapColor;
      if (xMajor) {
        const int left = sx > 0 ? runX : runX - runLen + 1;
        FillRun(p, left, runY, runLen, 1, c);
      } else {
        const int top = sy > 0 ? runY : runY - runLen + 1;
        FillRun(p, runX, top, 1, runLen, c);
      }
    }
    runLen = 0;
  };
  for (long long i = lo; i < hi; ++i) {
    const int x = static_cast<int>(xAt(i));
    const int y = static_cast<int>(yAt(i));
    bool on = true;
    if (total > 0) {
      int pos = dashPhase_ % total;
      for (std::size_t k = 0; k < pattern.size(); ++k) {
        if (pos < pattern[k]) {
          on = (k % 2) == 0;
          break;
        }
        pos -= pattern[k];
      }
      dashPhase_ = (dashPhase_ + 1) % total;
    }
    const bool sameLine = xMajor ? (y == runY) : (x == runX);
    if (runLen > 0 && sameLine && on == runOn) {
      ++runLen;
      continue;
    }
    flush();
    runX = x;
    runY = y;
    runOn = on;
    runLen = 1;
  }
  flush();
  if (total > 0) dashPhase_ = static_cast<int>((dashPhase_ + (n - hi) % total) % total);
}

void TCanvas::LineTo(int x, int y) {
  StrokeSegment(penPos_.X, penPos_.Y, x, y);
  penPos_ = {x, y};
}

void TCanvas::Polyline(const TPoint* points, int count) {
  if (!points || count < 2 || pen_.Style == psClear) return;
  if (WidePenWidth() > 1) {
    if (StrokeWideRows(points, count)) return;
    QPainter* p = Ready();
    if (!p || !ApplyPenMode(p)) return;
    QPolygonF poly;
    for (int i = 0; i < count; ++i) poly << QPointF(points[i].X + 0.5, points[i].Y + 0.5);
    p->setPen(QPen(ToQColor(pen_.Color), pen_.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p->setBrush(Qt::NoBrush);
    p->drawPolyline(poly);
    RestoreMode(p);
    return;
  }
  StrokeThin(points, count, false);
}

void TCanvas::FillWithBrush(QPainter* p, const QPainterPath& path) {
  const TBrushStyle style = KnownBrushStyle(brush_.Style);
  if (style == bsClear) return;
  RealizeBrush();
  p->setPen(Qt::NoPen);
  if (style == bsSolid) {
    p->fillPath(path, ToQColor(brush_.Color));
    return;
  }
  if (bkMode_ == OPAQUE) p->fillPath(path, ToQColor(bkColor_));
  p->fillPath(path, HatchBrush(style, brush_.Color));
}

void TCanvas::FillRectWithBrush(QPainter* p, const TRect& r) {
  if (IsRectEmpty(r)) return;
  QPainterPath path;
  path.addRect(ToQRect(r));
  FillWithBrush(p, path);
}

void TCanvas::Polygon(const TPoint* points, int count, bool winding) {
  if (!points || count < 2) return;
  QPainter* p = Ready();
  if (!p) return;
  if (ApplyPenMode(p)) {
    QPainterPath path;
    path.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
    path.moveTo(points[0].X, points[0].Y);
    for (int i = 1; i < count; ++i) path.lineTo(points[i].X, points[i].Y);
    path.closeSubpath();
    FillWithBrush(p, path);
    RestoreMode(p);
  }
  if (pen_.Style == psClear) return;
  if (WidePenWidth() > 1) {
    if (!ApplyPenMode(p)) return;
    QPolygonF poly;
    for (int i = 0; i < count; ++i) poly << QPointF(points[i].X + 0.5, points[i].Y + 0.5);
    p->setPen(QPen(ToQColor(pen_.Color), pen_.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p->setBrush(Qt::NoBrush);
    p->drawPolygon(poly);
    RestoreMode(p);
    return;
  }
  StrokeThin(points, count, true);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  const TRect r = Normalized(left, top, right, bottom);
  if (IsRectEmpty(r)) return;
  QPainter* p = Ready();
  if (!p) return;
  if (pen_.Style == psClear) {
    // Without a pen the figure loses its right column and bottom row as well.
    if (ApplyPenMode(p)) {
      FillRectWithBrush(p, {r.Left, r.Top, r.Right - 1, r.Bottom - 1});
      RestoreMode(p);
    }
    return;
  }
  if (WidePenWidth() > 1) {
    if (!ApplyPenMode(p)) return;
    const QRectF centre = WideCentreLine(r);
    QPainterPath inner;
    inner.addRect(centre);
    FillWithBrush(p, inner);
    StrokeWideOutline(p, centre, false);
    RestoreMode(p);
    return;
  }
  if (ApplyPenMode(p)) {
    FillRectWithBrush(p, {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
    RestoreMode(p);
  }
  const TPoint corners[] = {{r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}};
  StrokeThin(corners, 4, true);
  // A rectangle one pixel high or wide has no segment long enough to reach its last pixel.
  if (r.Width() == 1 && r.Height() == 1) StrokeSegment(r.Left, r.Top, r.Left + 1, r.Top);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  const TRect r = Normalized(left, top, right, bottom);
  const bool wide = pen_.Style != psClear && WidePenWidth() > 1;
  // A wide pen still draws a dot for a figure without area, as its outline.
  if (IsRectEmpty(r) && !wide) return;
  QPainter* p = Ready();
  if (!p || !ApplyPenMode(p)) return;
  RealizeBrush();
  if (pen_.Style == psClear) {
    QPainterPath path;
    path.addEllipse(QRectF(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
    FillWithBrush(p, path);
    RestoreMode(p);
    return;
  }
  if (wide) {
    const QRectF centre = WideCentreLine(r);
    QPainterPath path;
    path.addEllipse(centre);
    FillWithBrush(p, path);
    StrokeWideOutline(p, centre, true);
    RestoreMode(p);
    return;
  }
  const QRect box(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
  {
    QPainterPath path;
    path.addEllipse(QRectF(r.Left + 0.5, r.Top + 0.5, r.Width() - 1, r.Height() - 1));
    FillWithBrush(p, path);
  }
  const std::vector<int>& pattern = PenDashPattern(pen_.Style);
  p->setBrush(Qt::NoBrush);
  if (!pattern.empty() && bkMode_ == OPAQUE) {
    p->setPen(QPen(ToQColor(bkColor_), 0));
    p->drawEllipse(box);
  }
  QPen qpen(ToQColor(pen_.Color), 0);
  if (!pattern.empty()) {
    QList<qreal> dashes;
    for (int v : pattern) dashes << v;
    qpen.setDashPattern(dashes);
  }
  p->setPen(qpen);
  p->drawEllipse(box);
  RestoreMode(p);
}

// The line along which a wide pen runs around a figure: through the centres of the outermost
// pixels, or, for psInsideFrame, far enough inside that the pen stays within the figure.
QRectF TCanvas::WideCentreLine(const TRect& r) const {
  const int w = pen_.Width;
  const double inset = pen_.Style == psInsideFrame ? w / 2.0 - 0.5 : 0.0;
  return QRectF(r.Left + 0.5 + inset, r.Top + 0.5 + inset, std::max(0.0, r.Width() - 1 - 2 * inset),
                std::max(0.0, r.Height() - 1 - 2 * inset));
}

// Fills the band of the pen's width around the centre line, square-cornered for rectangles;
// where the figure is smaller than the pen the band closes into a solid shape.
void TCanvas::StrokeWideOutline(QPainter* p, const QRectF& centre, bool ellipse) {
  const double half = pen_.Width / 2.0;
  const QRectF outer = centre.adjusted(-half, -half, half, half);
  const QRectF inner = centre.adjusted(half, half, -half, -half);
  QPainterPath band;
  band.setFillRule(Qt::OddEvenFill);
  if (ellipse) {
    band.addEllipse(outer);
    if (inner.width() > 0 && inner.height() > 0) band.addEllipse(inner);
  } else {
    band.addRect(outer);
    if (inner.width() > 0 && inner.height() > 0) band.addRect(inner);
  }
  p->fillPath(band, ToQColor(pen_.Color));
}

void TCanvas::FillRect(const TRect& r) {
  QPainter* p = Ready();
  if (!p) return;
  FillRectWithBrush(p, Normalized(r.Left, r.Top, r.Right, r.Bottom));
}

void TCanvas::FrameRect(const TRect& rect) {
  const TRect r = Normalized(rect.Left, rect.Top, rect.Right, rect.Bottom);
  if (IsRectEmpty(r)) return;
  QPainter* p = Ready();
  if (!p) return;
  FillRectWithBrush(p, {r.Left, r.Top, r.Right, r.Top + 1});
  FillRectWithBrush(p, {r.Left, r.Bottom - 1, r.Right, r.Bottom});
  FillRectWithBrush(p, {r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1});
  FillRectWithBrush(p, {r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1});
}

TColor TCanvas::Pixel(int x, int y) const {
  const QImage* img = RasterImage();
  if (!img || !img->valid(x, y)) return clBlack;
  const QRgb c = img->pixel(x, y);
  return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  QPainter* p = Ready();
  if (!p) return;
  p->fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

// ---- text ----

// A font's Qt font, metrics and the widths of the texts measured in it. A chart paint switches
// between a few fonts many times and measures the same tick texts on every paint; building the
// Qt font and its metrics and shaping a text each time cost more than the drawing. The widths
// depend on nothing but the face, height and style (the metrics are those of the default
// resolution, whatever the device), so they are kept for as long as the font is in use.
struct TFontMeasures {
  explicit TFontMeasures(const TFont& font) : Font(font), QtFont(font.ToQFont()), Metrics(QtFont) {}

  // Whether the font measures as this one: the colour and the turn do not change a width.
  bool Measures(const TFont& font) const {
    return font.Height == Font.Height && font.Style == Font.Style && font.Name == Font.Name;
  }

  int Advance(const QString& text) {
    const auto it = Advances.constFind(text);
    if (it != Advances.cend()) return *it;
    // A bound for texts that never come back (a running read-out): start again beyond it.
    if (Advances.size() >= 4096) Advances.clear();
    const int width = Metrics.horizontalAdvance(text);
    Advances.insert(text, width);
    return width;
  }

  TFont Font;
  QFont QtFont;
  QFontMetrics Metrics;
  QHash<QString, int> Advances;
};

namespace {

// The fonts in use on this thread, the most recently asked for last. Qt fonts belong to the
// thread that made them; the main thread's are let go with the application, before Qt's font
// cache goes.
std::vector<std::shared_ptr<TFontMeasures>>& ThreadFonts() {
  thread_local std::vector<std::shared_ptr<TFontMeasures>> fonts;
  return fonts;
}

void ReleaseMainThreadFonts() { ThreadFonts().clear(); }

std::shared_ptr<TFontMeasures> FontMeasuresFor(const TFont& font) {
  auto& fonts = ThreadFonts();
  for (auto it = fonts.rbegin(); it != fonts.rend(); ++it)
    if ((*it)->Measures(font)) {
      std::shared_ptr<TFontMeasures> found = *it;
      if (it != fonts.rbegin()) {
        fonts.erase(std::next(it).base());
        fonts.push_back(found);
      }
      return found;
    }
  static std::once_flag registered;
  if (QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread())
    std::call_once(registered, [] { qAddPostRoutine(ReleaseMainThreadFonts); });
  if (fonts.size() >= 16) fonts.erase(fonts.begin());
  fonts.push_back(std::make_shared<TFontMeasures>(font));
  return fonts.back();
}

}  // namespace

TFontMeasures& TCanvas::Measures() {
  if (!fontMeasures_ || !fontMeasures_->Measures(font_)) fontMeasures_ = FontMeasuresFor(font_);
  return *fontMeasures_;
}

const QFont& TCanvas::CurrentQFont() { return Measures().QtFont; }

const QFontMetrics& TCanvas::Metrics() { return Measures().Metrics; }

int TCanvas::Advance(const QString& text) { return Measures().Advance(text); }

TSize TCanvas::TextExtent(const QString& text) { return {Advance(text), Metrics().height()}; }

void TCanvas::DrawTextLine(QPainter* p, int x, int y, const QString& text, int underlineIndex) {
  const QFontMetrics& fm = Metrics();
  const int escapement = font_.Orientation % 3600;
  if (escapement != 0) {
    // Turned about the top-left corner of the text cell, counter-clockwise as the screen shows it.
    p->save();
    p->translate(x, y);
    p->rotate(-escapement / 10.0);
    x = 0;
    y = 0;
  }
  const int w = Advance(text);
  if (bkMode_ == OPAQUE) p->fillRect(QRect(x, y, w, fm.height()), ToQColor(bkColor_));
  p->setFont(CurrentQFont());
  p->setPen(ToQColor(font_.Color));
  p->drawText(QPoint(x, y + fm.ascent()), text);
  if (underlineIndex >= 0 && underlineIndex < text.size()) {
    const int ux = x + fm.horizontalAdvance(text.left(underlineIndex));
    const int uw = fm.horizontalAdvance(text.mid(underlineIndex, 1));
    p->fillRect(QRect(ux, y + fm.ascent() + 1, uw, 1), ToQColor(font_.Color));
  }
  if (escapement != 0) p->restore();
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  QPainter* p = Ready();
  if (!p) return;
  RealizeBrush();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  DrawTextLine(p, x, y, text, -1);
  penPos_ = {x + TextWidth(text), y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text) {
  QPainter* p = Ready();
  if (!p) return;
  RealizeBrush();
  p->save();
  p->setClipRect(ToQRect(r), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  if (bkMode_ == OPAQUE) p->fillRect(ToQRect(r), ToQColor(bkColor_));
  const TBkMode mode = bkMode_;
  bkMode_ = TRANSPARENT;
  DrawTextLine(p, x, y, text, -1);
  bkMode_ = mode;
  p->restore();
}

namespace {

struct TLaidLine {
  QString text;
  int underline = -1;
};

// Removes the prefix marks: "&&" gives "&", "&x" gives x underlined.
QString StripPrefix(const QString& text, int& underline) {
  QString out;
  underline = -1;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
      ++i;
      if (text[i] != QLatin1Char('&')) underline = static_cast<int>(out.size());
    } else if (text[i] == QLatin1Char('&')) {
      continue;  // a lone ampersand at the end shows nothing
    }
    out.append(text[i]);
  }
  return out;
}

QString ExpandTabs(const QString& text, const QFontMetrics& fm, bool expand) {
  if (!text.contains(QLatin1Char('\t'))) return text;
  if (!expand) {
    QString s = text;
    s.remove(QLatin1Char('\t'));
    return s;
  }
  const int stop = 8 * std::max(1, fm.averageCharWidth());
  QString out;
  for (QChar ch : text) {
    if (ch != QLatin1Char('\t')) {
      out.append(ch);
      continue;
    }
    const int w = fm.horizontalAdvance(out);
    const int next = (w / stop + 1) * stop;
    const int space = std::max(1, fm.horizontalAdvance(QLatin1Char(' ')));
    int cur = w;
    do {
      out.append(QLatin1Char(' '));
      cur += space;
    } while (cur < next);
  }
  return out;
}

// The longest start of `text` (possibly none) that, with `after` appended, is no wider than
// width. Found by halving, as a text grows wider with every character it keeps: a long line is
// measured a few dozen times instead of once per character.
QString LongestFittingStart(const QString& text, const QString& after, const QFontMetrics& fm, int width) {
  qsizetype fits = 0, tooWide = text.size() + 1;
  while (tooWide - fits > 1) {
    const qsizetype mid = fits + (tooWide - fits) / 2;
    if (fm.horizontalAdvance(text.left(mid) + after) <= width)
      fits = mid;
    else
      tooWide = mid;
  }
  return text.left(fits);
}

QString Ellipsized(const QString& line, const QFontMetrics& fm, int width, bool path) {
  if (fm.horizontalAdvance(line) <= width) return line;
  const QString dots = QStringLiteral("...");
  if (path) {
    // Keep the last path element and as much of the start as fits.
    const int sep = static_cast<int>(std::max(line.lastIndexOf(QLatin1Char('\\')), line.lastIndexOf(QLatin1Char('/'))));
    const QString tail = sep >= 0 ? line.mid(sep) : QString();
    const QString head = sep >= 0 ? line.left(sep) : line;
    return LongestFittingStart(head, dots + tail, fm, width) + dots + tail;
  }
  return LongestFittingStart(line, dots, fm, width) + dots;
}

// Breaks one paragraph into lines no wider than width, between words; a word wider than the
// width stands alone on its line. Blanks where a line breaks are dropped.
QStringList WrapParagraph(const QString& para, const QFontMetrics& fm, int width) {
  QStringList lines;
  QString current;
  bool lineStarted = false;
  int i = 0;
  const int n = static_cast<int>(para.size());
  while (i < n) {
    int j = i;
    while (j < n && para[j] == QLatin1Char(' ')) ++j;
    int k = j;
    while (k < n && para[k] != QLatin1Char(' ')) ++k;
    const QString blanks = para.mid(i, j - i);
    const QString word = para.mid(j, k - j);
    if (!lineStarted) {
      current = lines.isEmpty() ? blanks + word : word;
      lineStarted = true;
    } else if (fm.horizontalAdvance(current + blanks + word) <= width) {
      current += blanks + word;
    } else {
      lines << current;
      current = word;
    }
    i = k;
  }
  lines << current;
  for (QString& l : lines)
    while (l.endsWith(QLatin1Char(' '))) l.chop(1);
  return lines;
}

}  // namespace

int TCanvas::DrawText(const QString& text, TRect& rect, unsigned flags) {
  const QFontMetrics& fm = Metrics();
  const int lineHeight = fm.height();
  const TRect box = Bounded(rect);
  const int width = box.Right - box.Left;
  const bool singleLine = flags & DT_SINGLELINE;
  const bool showPrefix = !(flags & DT_NOPREFIX);

  std::vector<TLaidLine> lines;
  if (!text.isEmpty()) {
    QStringList paragraphs;
    if (singleLine) {
      QString s = text;
      s.remove(QLatin1Char('\r'));
      s.remove(QLatin1Char('\n'));
      paragraphs << s;
    } else {
      QString s = text;
      s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
      s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
      paragraphs = s.split(QLatin1Char('\n'));
    }
    for (const QString& para : paragraphs) {
      QString expanded = ExpandTabs(para, fm, flags & DT_EXPANDTABS);
      QStringList pieces;
      if ((flags & DT_WORDBREAK) && !singleLine)
        pieces = WrapParagraph(expanded, fm, width);
      else
        pieces << expanded;
      for (const QString& piece : pieces) {
        TLaidLine line;
        line.text = showPrefix ? StripPrefix(piece, line.underline) : piece;
        if (flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) {
          const QString cut = Ellipsized(line.text, fm, width, flags & DT_PATH_ELLIPSIS);
          if (cut != line.text) {
            line.text = cut;
            line.underline = -1;
          }
        }
        lines.push_back(line);
      }
    }
  }

  int maxWidth = 0;
  for (const TLaidLine& l : lines) maxWidth = std::max(maxWidth, Advance(l.text));
  const int textHeight = static_cast<int>(lines.size()) * lineHeight;

  if (flags & DT_CALCRECT) {
    // Measuring only: the rectangle takes the text from its top-left corner.
    rect.Right = rect.Left + maxWidth;
    rect.Bottom = rect.Top + textHeight;
    return textHeight;
  }
  int y = box.Top;
  if (singleLine && (flags & DT_VCENTER))
    y = (box.Top + box.Bottom - textHeight) / 2;
  else if (singleLine && (flags & DT_BOTTOM))
    y = box.Bottom - textHeight;
  const int result = (flags & (DT_VCENTER | DT_BOTTOM)) ? y + textHeight - box.Top : textHeight;
  if (lines.empty()) return result;
  QPainter* p = Ready();
  if (!p) return result;
  RealizeBrush();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  const bool clip = !(flags & DT_NOCLIP);
  if (clip) {
    p->save();
    p->setClipRect(ToQRect(rect), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  }
  for (const TLaidLine& l : lines) {
    const int w = Advance(l.text);
    int x = box.Left;
    if (flags & DT_CENTER)
      x = (box.Left + box.Right - w) / 2;
    else if (flags & DT_RIGHT)
      x = box.Right - w;
    DrawTextLine(p, x, y, l.text, l.underline);
    y += lineHeight;
  }
  if (clip) p->restore();
  return result;
}

// ---- edges, focus, clip ----

void TCanvas::DrawEdge(TRect& rect, unsigned edge, unsigned flags) {
  QPainter* p = Ready();
  TRect r = Bounded(rect);
  struct Ring {
    TColor lt, rb;
  };
  std::vector<Ring> rings;
  if (edge & BDR_RAISEDOUTER)
    rings.push_back({cl3DLight, cl3DDkShadow});
  else if (edge & BDR_SUNKENOUTER)
    rings.push_back({clBtnShadow, clBtnHighlight});
  if (edge & BDR_RAISEDINNER)
    rings.push_back({clBtnHighlight, clBtnShadow});
  else if (edge & BDR_SUNKENINNER)
    rings.push_back({cl3DDkShadow, cl3DLight});
  for (const Ring& ring : rings) {
    if (IsRectEmpty(r)) break;
    if (p) {
      p->setCompositionMode(QPainter::CompositionMode_SourceOver);
      const QColor lt = ToQColor(ring.lt), rb = ToQColor(ring.rb);
      // The top-left colour first; the bottom-right colour owns the two far corners.
      if (flags & BF_LEFT) p->fillRect(QRect(r.Left, r.Top, 1, r.Height()), lt);
      if (flags & BF_TOP) p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), lt);
      if (flags & BF_RIGHT) p->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), rb);
      if (flags & BF_BOTTOM) p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), rb);
    }
    if (flags & BF_LEFT) ++r.Left;
    if (flags & BF_TOP) ++r.Top;
    if (flags & BF_RIGHT) --r.Right;
    if (flags & BF_BOTTOM) --r.Bottom;
  }
  if ((flags & BF_MIDDLE) && p && !IsRectEmpty(r)) p->fillRect(ToQRect(r), ToQColor(clBtnFace));
  if (flags & BF_ADJUST) rect = r;
}

void TCanvas::DrawFocusRect(const TRect& rect) {
  const TRect r = Normalized(rect.Left, rect.Top, rect.Right, rect.Bottom);
  if (IsRectEmpty(r)) return;
  QPainter* p = Ready();
  if (!p) return;
  const bool raster = p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Raster;
  if (!raster) {
    QPen dotted(Qt::black, 0, Qt::CustomDashLine);
    dotted.setDashPattern({1, 1});
    p->setPen(dotted);
    p->setBrush(Qt::NoBrush);
    p->drawRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
    return;
  }
  // Inverts the pixels whose coordinates add up to an even number, as the platform's
  // checkered pattern does.
  p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  auto invert = [&](int x, int y) {
    if (((x + y) & 1) == 0) p->fillRect(QRect(x, y, 1, 1), Qt::white);
  };
  // The walks stay on the device; the pattern depends on the coordinates alone.
  int fromX = r.Left, toX = r.Right, fromY = r.Top + 1, toY = r.Bottom - 1;
  if (p->combinedTransform().isIdentity() && DeviceWidth() > 0 && DeviceHeight() > 0) {
    fromX = std::max(fromX, 0);
    toX = std::min(toX, DeviceWidth());
    fromY = std::max(fromY, 0);
    toY = std::min(toY, DeviceHeight());
  }
  for (int x = fromX; x < toX; ++x) invert(x, r.Top);
  if (r.Height() > 1)
    for (int x = fromX; x < toX; ++x) invert(x, r.Bottom - 1);
  for (int y = fromY; y < toY; ++y) {
    invert(r.Left, y);
    if (r.Width() > 1) invert(r.Right - 1, y);
  }
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::IntersectClipRect(const TRect& r) {
  rowsReady_ = false;
  TRect n = Normalized(r.Left, r.Top, r.Right, r.Bottom);
  if (clip_) {
    TRect out;
    IntersectRect(out, *clip_, n);
    n = out;
  }
  clip_ = n;
  if (QPainter* p = (external_ || (own_ && own_->isActive())) ? Ready() : nullptr) p->setClipRect(ToQRect(n));
}

void TCanvas::RemoveClip() {
  rowsReady_ = false;
  clip_.reset();
  // NoClip drops the region as well: a painter with clipping merely switched off keeps it, and a
  // recording replays a later intersecting clip against that stale region.
  if (QPainter* p = (external_ || (own_ && own_->isActive())) ? Ready() : nullptr) p->setClipRect(QRect(), Qt::NoClip);
}

TRect TCanvas::ClipRect() const {
  if (clip_) return *clip_;
  return {0, 0, DeviceWidth(), DeviceHeight()};
}

// ---- pictures ----

void TCanvas::Draw(int x, int y, const QImage& image) {
  if (image.isNull()) return;
  QPainter* p = Ready();
  if (!p) return;
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->drawImage(QPoint(x, y), image);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  if (&bitmap == bitmap_) return;
  Draw(x, y, bitmap.Image());
}

void TCanvas::StretchDraw(const TRect& r, const TBitmap& bitmap) {
  if (&bitmap == bitmap_ || bitmap.Empty() || IsRectEmpty(r)) return;
  QPainter* p = Ready();
  if (!p) return;
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->drawImage(ToQRect(r), bitmap.Image());
}
