// One-pixel lines written straight into bitmap rows, held to the walk through the painter that
// drew them before; lines on recordings; pattern styles the canvas does not know.
#include <gtest/gtest.h>

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPicture>
#include <QRegion>
#include <random>
#include <set>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/CanvasLines.h"

namespace {

constexpr int kW = 61, kH = 47;

// Mismatching pixels of two images of one size, as "x,y" text for the failure message.
std::string Differences(const QImage& a, const QImage& b) {
  std::string out;
  int count = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y) && count++ < 12)
        out += std::to_string(x) + "," + std::to_string(y) + " ";
  return count == 0 ? std::string() : std::to_string(count) + " pixels differ: " + out;
}

// Segments of every kind: inside the bitmap, reaching a little or far beyond it, end points
// near the limits of int, and the axis and diagonal directions.
std::vector<TPoint> RandomPoints(std::mt19937& rng, int count, bool far = true) {
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_int_distribution<int> insideX(0, kW - 1), insideY(0, kH - 1);
  std::uniform_int_distribution<int> nearX(-2 * kW, 3 * kW), nearY(-2 * kH, 3 * kH);
  std::uniform_int_distribution<int> anywhere(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  std::uniform_int_distribution<int> step(-40, 40);
  std::vector<TPoint> pts;
  for (int i = 0; i < count; ++i) {
    const int k = kind(rng);
    TPoint p;
    if (k < 4) {
      p = {insideX(rng), insideY(rng)};
    } else if (k < 7) {
      p = {nearX(rng), nearY(rng)};
    } else if (k < 8) {
      p = far ? TPoint{anywhere(rng), anywhere(rng)} : TPoint{nearX(rng), nearY(rng)};
    } else if (!pts.empty()) {
      // Horizontal, vertical or 45 degrees from the previous point.
      const TPoint q = pts.back();
      const int d = step(rng);
      const int dir = static_cast<int>(rng() % 3);
      p = dir == 0 ? TPoint{q.X + d, q.Y} : dir == 1 ? TPoint{q.X, q.Y + d} : TPoint{q.X + d, q.Y + d};
    } else {
      p = {insideX(rng), insideY(rng)};
    }
    pts.push_back(p);
  }
  return pts;
}

QImage Blank(QImage::Format format) {
  QImage img(kW, kH, format);
  // A pattern underneath, so that raster operations show what they did to the pixels.
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) img.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) & 0xFF));
  return img;
}

struct TSettings {
  TPenStyle style;
  TPenMode mode;
  TColor pen, gap;
  bool opaque;
  bool clipped;
};

void Apply(TCanvas& c, const TSettings& s) {
  c.Pen().Style = s.style;
  c.Pen().Mode = s.mode;
  c.Pen().Color = s.pen;
  c.Brush().Style = bsClear;
  c.SetBkColor(s.gap);
  c.SetBkMode(s.opaque ? OPAQUE : TRANSPARENT);
  if (s.clipped) c.IntersectClipRect(Rect(7, 5, kW - 9, kH - 4));
}

// Every style, and ordinals no style has (a stored file can hold any number): those draw solid.
const TPenStyle kStyles[] = {psSolid, psDash,        psDot, psDashDot, psDashDotDot, psClear, psInsideFrame,
                             static_cast<TPenStyle>(42), static_cast<TPenStyle>(-3)};
const QImage::Format kFormats[] = {QImage::Format_BGR888, QImage::Format_RGB32, QImage::Format_RGB16,
                                   QImage::Format_RGB555, QImage::Format_RGB888, QImage::Format_ARGB32_Premultiplied};

TSettings RandomSettings(std::mt19937& rng, TPenStyle style, QImage::Format format) {
  TSettings s;
  s.style = style;
  const bool alpha = format == QImage::Format_ARGB32_Premultiplied;
  // Modes 16 and 17 are no mode: they copy, as pmCopy does.
  s.mode = alpha || rng() % 2 ? pmCopy : static_cast<TPenMode>(rng() % 18);
  s.pen = RGB(static_cast<int>(rng() & 0xFF), static_cast<int>(rng() & 0xFF), static_cast<int>(rng() & 0xFF));
  s.gap = RGB(static_cast<int>(rng() & 0xFF), static_cast<int>(rng() & 0xFF), static_cast<int>(rng() & 0xFF));
  s.opaque = rng() % 2;
  s.clipped = rng() % 2;
  return s;
}

}  // namespace

// The row writer on its own against the painter walk, over many random segments drawn one
// after the other (the dash position runs on from segment to segment), every pen style, pixel
// format and raster operation, with and without opaque gaps and a clip.
TEST(CanvasLines, RowWriterShowsThePixelsOfThePainterWalk) {
  std::mt19937 rng(20261210);
  for (QImage::Format format : kFormats)
    for (TPenStyle style : kStyles)
      for (int round = 0; round < 4; ++round) {
        const TSettings s = RandomSettings(rng, style, format);
        SCOPED_TRACE(testing::Message() << "format " << format << " style " << style << " mode " << s.mode
                                        << " opaque " << s.opaque << " clipped " << s.clipped);
        const std::vector<TPoint> pts = RandomPoints(rng, 250);

        QImage expected = Blank(format);
        {
          TCanvas reference(&expected);
          reference.UseReferenceLines(true);
          Apply(reference, s);
          reference.MoveTo(pts[0].X, pts[0].Y);
          for (std::size_t i = 1; i < pts.size(); ++i) reference.LineTo(pts[i].X, pts[i].Y);
        }

        QImage actual = Blank(format);
        if (style != psClear && s.mode != pmNop) {
          TScanlineLines rows;
          const TRect clip = s.clipped ? Rect(7, 5, kW - 9, kH - 4) : Rect(0, 0, kW, kH);
          ASSERT_TRUE(rows.Begin(actual, clip, qRgb(GetRValue(s.pen), GetGValue(s.pen), GetBValue(s.pen)),
                                 qRgb(GetRValue(s.gap), GetGValue(s.gap), GetBValue(s.gap)), s.opaque, s.mode));
          int phase = 0;
          for (std::size_t i = 1; i < pts.size(); ++i)
            rows.Segment(pts[i - 1].X, pts[i - 1].Y, pts[i].X, pts[i].Y, PenDashPattern(style), phase);
        }
        ASSERT_EQ(Differences(actual, expected), "");
      }
}

// The canvas as programs use it: LineTo, Polyline, Polygon and Rectangle outlines on bitmaps of
// every format, by its own painter with its clip, and by painters that others own, clip or move
// (which the canvas must ask before it writes rows).
TEST(CanvasLines, CanvasLinesShowThePixelsOfThePainterWalk) {
  enum Painter { Own, ExternalPlain, ExternalClipRect, ExternalClipRegion, LentAndMoved };
  std::mt19937 rng(7);
  for (Painter who : {Own, ExternalPlain, ExternalClipRect, ExternalClipRegion, LentAndMoved})
    for (QImage::Format format : kFormats)
      for (TPenStyle style : kStyles) {
        const TSettings s = RandomSettings(rng, style, format);
        SCOPED_TRACE(testing::Message() << "painter " << who << " format " << format << " style " << style << " mode "
                                        << s.mode << " opaque " << s.opaque << " clipped " << s.clipped);
        // A moved painter leaves the walk without the device's bounds: nothing far there.
        const std::vector<TPoint> pts = RandomPoints(rng, 40, who != LentAndMoved);
        auto draw = [&](QImage& image, bool reference) {
          QPainter external;
          std::unique_ptr<TCanvas> canvas;
          if (who == Own) {
            canvas = std::make_unique<TCanvas>(&image);
          } else {
            external.begin(&image);
            if (who == ExternalClipRect) external.setClipRect(QRect(3, 2, 40, 30));
            if (who == ExternalClipRegion)
              external.setClipRegion(QRegion(0, 0, 20, 20) + QRegion(30, 25, 31, 22));
            canvas = std::make_unique<TCanvas>(&external);
          }
          canvas->UseReferenceLines(reference);
          Apply(*canvas, s);
          if (who == LentAndMoved) canvas->Painter()->translate(5, -3);
          canvas->MoveTo(pts[0].X, pts[0].Y);
          for (std::size_t i = 1; i < 20; ++i) {
            // Clip, pen and background change between lines, each seen by the next line.
            if (i == 8) canvas->IntersectClipRect(Rect(12, 9, 50, 40));
            if (i == 10) canvas->Pen().Color = s.gap;
            if (i == 12) canvas->SetBkColor(s.pen);
            if (i == 14) canvas->SetBkMode(s.opaque ? TRANSPARENT : OPAQUE);
            if (i == 16) canvas->RemoveClip();
            canvas->LineTo(pts[i].X, pts[i].Y);
          }
          if (s.clipped) canvas->IntersectClipRect(Rect(7, 5, kW - 9, kH - 4));
          canvas->Polyline(pts.data() + 20, 10);
          canvas->Polygon(pts.data() + 30, 5);
          canvas->Rectangle(pts[35].X, pts[35].Y, pts[36].X, pts[36].Y);
          canvas->Rectangle(10, 10, 11, 11);
          canvas->LineTo(pts[37].X, pts[37].Y);
          canvas.reset();
          if (external.isActive()) external.end();
        };
        QImage expected = Blank(format), actual = Blank(format);
        draw(expected, true);
        draw(actual, false);
        ASSERT_EQ(Differences(actual, expected), "");
      }
}

// The dash position runs on from one LineTo to the next and starts again when the pen changes
// (dots: 3 pixels on, 3 off).
TEST(CanvasLines, DashPositionRunsOnAcrossLineTo) {
  TBitmap b(20, 6, pf24bit);
  TCanvas* c = b.Canvas();
  c->Brush().Style = bsClear;
  c->Pen().Style = psDot;
  c->MoveTo(0, 1);
  c->LineTo(4, 1);    // positions 0..3
  c->LineTo(12, 1);   // positions 4..11
  c->LineTo(12, 5);   // positions 12..15, downwards
  c->Pen().Color = clRed;
  c->MoveTo(0, 4);
  c->LineTo(8, 4);    // a new pen: positions 0..7
  std::set<std::pair<int, int>> black, red;
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 20; ++x) {
      if (b.Pixel(x, y) == clBlack) black.insert({x, y});
      if (b.Pixel(x, y) == clRed) red.insert({x, y});
    }
  const std::set<std::pair<int, int>> expectedBlack = {{0, 1}, {1, 1}, {2, 1}, {6, 1}, {7, 1},
                                                       {8, 1}, {12, 1}, {12, 2}, {12, 3}};
  const std::set<std::pair<int, int>> expectedRed = {{0, 4}, {1, 4}, {2, 4}, {6, 4}, {7, 4}};
  EXPECT_EQ(black, expectedBlack);
  EXPECT_EQ(red, expectedRed);
}

// Worked out by hand from the rule: step i of a segment with n steps and minor length m lies at
// the nearest of i m / n, a half going towards the start: offset(i) = floor((2 i m + n - 1) / 2n).
TEST(CanvasLines, VisibleStepsCutExactlyWhereTheBoxEnds) {
  struct Case { int x1, y1, x2, y2; TRect box; long long n, lo, hi; };
  const Case cases[] = {
      // (0,0) -> (10,4): offsets 0 0 1 1 2 2 2 3 3 4 for steps 0..9.
      {0, 0, 10, 4, Rect(3, 0, 8, 100), 10, 3, 8},  // x from 3 to 7
      {0, 0, 10, 4, Rect(0, 2, 100, 100), 10, 4, 10},  // offset 2 first at step 4
      {0, 0, 10, 4, Rect(0, 0, 100, 2), 10, 0, 4},
      // Backwards: y = 4 - offset; below 3 from step 4 on.
      {10, 4, 0, 0, Rect(0, 0, 100, 3), 10, 4, 10},
      // Steep: (2,0) -> (5,9), x = 2 + offset(i) with m = 3, n = 9: offsets 0 0 1 1 1 2 2 2 3.
      {2, 0, 5, 9, Rect(3, 0, 4, 100), 9, 2, 5},
      // Wholly inside, wholly outside, and a single point.
      {1, 1, 6, 3, Rect(0, 0, 10, 10), 5, 0, 5},
      {20, 20, 30, 25, Rect(0, 0, 10, 10), 10, 0, 0},
      {4, 4, 4, 4, Rect(0, 0, 10, 10), 0, 0, 0},
      // Across all of int: n = 2^32 - 1, m = 1. Step 2^31 is x = 0, where the offset first
      // reaches 1: (2^32 + 2^32 - 2) / (2^33 - 2) = 1 exactly.
      {std::numeric_limits<int>::min(), 0, std::numeric_limits<int>::max(), 1, Rect(0, 0, 10, 5), 4294967295LL,
       2147483648LL, 2147483658LL},
      {std::numeric_limits<int>::min(), 0, std::numeric_limits<int>::max(), 1, Rect(0, 0, 10, 1), 4294967295LL,
       2147483648LL, 2147483648LL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2);
    const TLineSteps s = VisibleSteps(c.x1, c.y1, c.x2, c.y2, c.box);
    EXPECT_EQ(s.n, c.n);
    if (c.hi > c.lo) {
      EXPECT_EQ(s.lo, c.lo);
      EXPECT_EQ(s.hi, c.hi);
    } else {
      EXPECT_LE(s.hi, s.lo);
    }
  }
  const TLineSteps s = VisibleSteps(0, 0, 10, 4, Rect(0, 0, 100, 100));
  EXPECT_EQ(StepPixel(0, 0, s, 3), Point(3, 1));
  EXPECT_EQ(StepPixel(0, 0, s, 4), Point(4, 2));
  EXPECT_EQ(StepPixel(0, 0, s, 9), Point(9, 4));
  const TLineSteps far = VisibleSteps(std::numeric_limits<int>::min(), 0, std::numeric_limits<int>::max(), 1, Rect(0, 0, 10, 5));
  EXPECT_EQ(StepPixel(std::numeric_limits<int>::min(), 0, far, far.lo), Point(0, 1));
}

// Each pen mode on a bitmap, worked out bit by bit from its definition (S the pen, D the pixel).
TEST(CanvasLines, PenModesCombinePenAndPixelAsDefined) {
  const std::uint32_t S = 0x3C5AA5, D = 0x0FF00F;  // 0xRRGGBB
  struct Case { TPenMode mode; std::uint32_t expected; };
  const Case cases[] = {
      {pmBlack, 0x000000},         {pmWhite, 0xFFFFFF},         {pmNop, D},
      {pmNot, ~D & 0xFFFFFF},      {pmCopy, S},                 {pmNotCopy, ~S & 0xFFFFFF},
      {pmMergePenNot, (S | ~D) & 0xFFFFFF}, {pmMaskPenNot, S & ~D},      {pmMergeNotPen, (~S | D) & 0xFFFFFF},
      {pmMaskNotPen, ~S & D},      {pmMerge, S | D},            {pmNotMerge, ~(S | D) & 0xFFFFFF},
      {pmMask, S & D},             {pmNotMask, ~(S & D) & 0xFFFFFF}, {pmXor, S ^ D},
      {pmNotXor, ~(S ^ D) & 0xFFFFFF},
  };
  auto color = [](std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); };
  for (TPixelFormat format : {pf24bit, pf32bit}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "format " << format << " mode " << c.mode);
      TBitmap b(12, 3, format);
      b.Canvas()->Brush().Color = color(D);
      b.Canvas()->FillRect(Rect(0, 0, 12, 3));
      b.Canvas()->Pen().Color = color(S);
      b.Canvas()->Pen().Mode = c.mode;
      b.Canvas()->MoveTo(1, 1);
      b.Canvas()->LineTo(11, 1);
      EXPECT_EQ(b.Pixel(5, 1), color(c.expected));
      EXPECT_EQ(b.Pixel(0, 1), color(D));
      EXPECT_EQ(b.Pixel(11, 1), color(D));  // the end point stays
    }
  }
}

namespace {

// A paint device that keeps what a painter asks of it, for replaying recordings.
class TCallRecorder : public QPaintEngine {
 public:
  struct Call {
    QString kind;
    int points = 0;
    QPointF first, last;
    QColor color;
    qreal dashOffset = 0;
    bool dashed = false;
  };
  std::vector<Call> calls;
  QPen pen;

  TCallRecorder() : QPaintEngine(QPaintEngine::AllFeatures) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState& state) override {
    if (state.state() & QPaintEngine::DirtyPen) pen = state.pen();
  }
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { Other("pixmap"); }
  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i) Other("rect");
  }
  void drawRects(const QRect* rects, int count) override {
    for (int i = 0; i < count; ++i) Other("rect");
  }
  void drawPath(const QPainterPath&) override { Other("path"); }
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    Add(mode == PolylineMode ? "polyline" : "polygon", points[0], points[count - 1], count);
  }
  void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
    Add(mode == PolylineMode ? "polyline" : "polygon", points[0], points[count - 1], count);
  }
  void drawLines(const QLineF* lines, int count) override {
    for (int i = 0; i < count; ++i) Add("line", lines[i].p1(), lines[i].p2(), 2);
  }
  void drawLines(const QLine* lines, int count) override {
    for (int i = 0; i < count; ++i) Add("line", lines[i].p1(), lines[i].p2(), 2);
  }
  void drawPoints(const QPointF* points, int count) override {
    for (int i = 0; i < count; ++i) Add("point", points[i], points[i], 1);
  }
  void drawPoints(const QPoint* points, int count) override {
    for (int i = 0; i < count; ++i) Add("point", points[i], points[i], 1);
  }
  Type type() const override { return QPaintEngine::User; }

 private:
  void Other(const char* kind) {
    Call c;
    c.kind = kind;
    calls.push_back(c);
  }
  void Add(const char* kind, QPointF first, QPointF last, int n) {
    calls.push_back({kind, n, first, last, pen.color(), pen.dashOffset(), pen.style() != Qt::SolidLine});
  }
};

class TRecordingDevice : public QPaintDevice {
 public:
  TCallRecorder engine;
  QPaintEngine* paintEngine() const override { return const_cast<TCallRecorder*>(&engine); }
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return 200;
      case PdmHeight: return 200;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return 96;
      case PdmDepth: return 32;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
      default: return 0;
    }
  }
};

std::vector<TCallRecorder::Call> Replay(QPicture& picture) {
  TRecordingDevice device;
  QPainter painter(&device);
  picture.play(&painter);
  painter.end();
  return device.engine.calls;
}

}  // namespace

// Recordings (and so printers) receive real lines: one polyline through the points, ending on
// the last pixel the line covers, not one rectangle for each run of pixels.
TEST(CanvasLines, RecordingsReceivePolylines) {
  const TPoint pts[] = {{10, 10}, {50, 30}, {50, 80}, {20, 80}};
  {
    QPicture picture;
    {
      TCanvas recording(&picture);
      recording.Pen().Color = clRed;
      recording.Polyline(pts, 4);
    }
    const auto calls = Replay(picture);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, "polyline");
    EXPECT_EQ(calls[0].points, 4);
    EXPECT_EQ(calls[0].first, QPointF(10.5, 10.5));
    EXPECT_EQ(calls[0].last, QPointF(21.5, 80.5));  // the last pixel before (20, 80)
    EXPECT_EQ(calls[0].color, QColor(Qt::red));
  }
  {
    // Opaque gaps: the gap colour first, then the dashes over it; a dotted pen's position runs
    // on across LineTo: 43 steps into the first line leave it 43 mod 6 = 1 pixel into the pattern.
    QPicture picture;
    {
      TCanvas recording(&picture);
      recording.Pen().Style = psDot;
      recording.Brush().Color = clYellow;  // solid brush: opaque background
      recording.MoveTo(0, 5);
      recording.LineTo(43, 5);
      recording.LineTo(43, 20);
    }
    const auto calls = Replay(picture);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].color, QColor(Qt::yellow));
    EXPECT_FALSE(calls[0].dashed);
    EXPECT_EQ(calls[1].color, QColor(Qt::black));
    EXPECT_TRUE(calls[1].dashed);
    EXPECT_EQ(calls[1].dashOffset, 0);
    EXPECT_EQ(calls[1].last, QPointF(42.5, 5.5));
    EXPECT_TRUE(calls[3].dashed);
    EXPECT_EQ(calls[3].dashOffset, 1);
    EXPECT_EQ(calls[3].first, QPointF(43.5, 5.5));
    EXPECT_EQ(calls[3].last, QPointF(43.5, 19.5));
    for (const auto& c : calls) EXPECT_NE(c.kind, "rect");
  }
  {
    // A line of one pixel is that pixel; a line cut far from the page keeps its visible part.
    QPicture picture;
    {
      TCanvas recording(&picture);
      recording.MoveTo(3, 4);
      recording.LineTo(4, 5);
      recording.MoveTo(-2000000000, 7);
      recording.LineTo(2000000000, 7);
    }
    const auto calls = Replay(picture);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].kind, "polyline");  // calls[0] fills the one pixel (see the play-back test)
    EXPECT_LE(calls[1].first.x(), -1000000);
    EXPECT_GE(calls[1].last.x(), 1000000);
  }
}

// A recording played back onto a bitmap shows the pixels the bitmap itself would show for lines
// along the axes and at 45 degrees, dashes included.
TEST(CanvasLines, RecordedLinesPlayBackWithTheBitmapsPixels) {
  const TPoint pts[] = {{2, 3}, {40, 3}, {40, 30}, {13, 30}, {5, 22}, {5, 6}};
  for (bool opaque : {false, true})
    for (TPenStyle style : {psSolid, psDot, psDash}) {
      SCOPED_TRACE(testing::Message() << "style " << style << " opaque " << opaque);
      QPicture picture;
      TBitmap direct(48, 36, pf24bit);
      for (TCanvas* c : {static_cast<TCanvas*>(nullptr), direct.Canvas()}) {
        std::unique_ptr<TCanvas> own;
        if (!c) c = (own = std::make_unique<TCanvas>(&picture)).get();
        c->Pen().Style = style;
        c->Brush().Style = opaque ? bsSolid : bsClear;
        c->Brush().Color = clYellow;
        c->Polyline(pts, 6);
        // Lines of one pixel with a new pen: (45, 34) at dash position 0, (43, 34) at 1, (0, 0)
        // at 2 and (42, 33) at 3, the first pixel of a gap between dots.
        c->Pen().Color = clRed;
        for (int x : {45, 43, 42}) {
          c->MoveTo(x, 33 + (x & 1));
          c->LineTo(x + 1, 34 + (x & 1));
          if (x == 43) {
            c->MoveTo(0, 0);
            c->LineTo(1, 0);
          }
        }
      }
      TBitmap played(48, 36, pf24bit);
      {
        QPainter painter(&played.Image());
        picture.play(&painter);
      }
      EXPECT_EQ(Differences(played.Image(), direct.Image()), "");
      if (style == psDot) {
        EXPECT_EQ(direct.Pixel(42, 33), opaque ? clYellow : clWhite);
      }
    }
}

// Pattern styles beyond the known ones (a stored file can hold any number) fill like a solid
// brush instead of reading past the pattern table.
TEST(CanvasLines, UnknownBrushStylesFillSolid) {
  for (int style : {8, 99, -1, -1000}) {
    SCOPED_TRACE(style);
    TBitmap b(10, 8, pf24bit);
    TCanvas* c = b.Canvas();
    c->Brush().Color = clBlue;
    c->Brush().Style = static_cast<TBrushStyle>(style);
    c->FillRect(Rect(1, 1, 6, 5));
    c->Rectangle(6, 5, 9, 8);
    c->Ellipse(0, 5, 4, 8);
    const TPoint tri[] = {{6, 0}, {9, 0}, {6, 3}};
    c->Polygon(tri, 3);
    EXPECT_EQ(c->BkMode(), OPAQUE);
    for (int y = 1; y < 5; ++y)
      for (int x = 1; x < 6; ++x) EXPECT_EQ(b.Pixel(x, y), clBlue) << x << "," << y;
    EXPECT_EQ(b.Pixel(7, 6), clBlue);  // inside the rectangle's frame
  }
}

// Wide solid lines written into a bitmap's rows cover the pixels the painter covers when the
// same polyline is recorded and played back (round ends and joins), but for a few on the rim.
TEST(CanvasWideLines, RowsMatchThePaintersRoundLine) {
  std::mt19937 random(2026);
  std::uniform_int_distribution<int> coordinate(-10, 130), width(2, 9), count(2, 12);
  int differ = 0, inked = 0;
  for (int round = 0; round < 200; ++round) {
    std::vector<TPoint> points(count(random));
    for (TPoint& p : points) p = {coordinate(random), coordinate(random)};
    const int w = width(random);
    TBitmap rows(120, 120);
    QPicture picture;
    {
      TCanvas recorder(&picture);
      for (TCanvas* c : {rows.Canvas(), &recorder}) {
        c->Pen() = TPen{clBlue, psSolid, w, pmCopy};
        c->Polyline(points);
      }
    }
    QImage painted(120, 120, QImage::Format_RGB32);
    painted.fill(Qt::white);
    {
      QPainter p(&painted);
      p.drawPicture(0, 0, picture);
    }
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 120; ++x) {
        const bool a = rows.Canvas()->Pixel(x, y) == clBlue, b = painted.pixel(x, y) == qRgb(0, 0, 255);
        inked += a;
        differ += a != b;
      }
  }
  ASSERT_GT(inked, 10000);
  EXPECT_LE(differ, inked / 100) << differ << " of " << inked;
}
