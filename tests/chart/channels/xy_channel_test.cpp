// The XY channel on small offscreen charts: its trace with null and empty points, clipping and
// far-off values, markers of every style and their turn-off limit, hit tests, hints, dragging a
// point with its events, the fit extents, the popup, and the XY chart's typed channels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPicture>
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "chart/channels/iTracePolyline.h"
#include "chart/channels/rUdudChannel.h"
#include "chart/core/iErrors.h"
#include "chart/core/iXYPlot.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Menus.h"
#include "tests/chart/channels/XYChartSupport.h"
#include "tests/chart/decorations/DecorationTestSupport.h"

namespace {

// A bitmap filled black.
TBitmap BlackBitmap(int width, int height) {
  TBitmap b(width, height);
  b.Canvas()->Brush().Color = clBlack;
  b.Canvas()->FillRect(Rect(0, 0, width, height));
  return b;
}

// An XY chart whose select mode a test sets (the toolbar's Select button stands for it).
class TSelectableXYPlot : public TiXYPlot {
 public:
  bool Select = false;
  bool SelectMode() const override { return Select; }
};

constexpr TColor kTrace = RGB(255, 0, 0);

// A 200 x 160 chart with one X and one Y axis (both 0 .. 10, no tracking), no grid, and one
// red channel on them; the paint's black background shows only what the channel draws.
struct XYChart : ::testing::Test {
  TSelectableXYPlot chart;
  TiPlotXAxis* x = nullptr;
  TiPlotYAxis* y = nullptr;
  TiXYPlotChannel* ch = nullptr;
  TRect R;

  XYChart() {
    PrepareXYChart(chart, 200, 160, 0, 10, 0, 10);
    chart.SetBorderStyle(ibsNone);
    chart.DataView(0)->SetGridShow(false);
    x = chart.XAxis(0);
    y = chart.YAxis(0);
    ch = AddXYChannel(chart);
    ch->SetColor(kTrace);
    Paint();
  }

  TBitmap Paint() {
    TBitmap bitmap(chart.Width(), chart.Height());
    chart.DoPaint(*bitmap.Canvas());
    R = chart.DataView(0)->GetLayoutRect();
    return bitmap;
  }
  // The channel's points drawn as plain segments, each from its left to its right end and cut to
  // the X range by the straight line, over the view's background: what a solid one-pixel trace
  // must look like however it is reduced.
  TBitmap PaintSegmentBySegment(int width = 1) {
    TBitmap expected = Paint();
    // Over the drawn trace: the view's background, then the segments one by one.
    TCanvas* c = expected.Canvas();
    c->Brush().Color = clBlack;
    c->FillRect(Rect(R.Left, R.Top, R.Right + 1, R.Bottom + 1));
    c->IntersectClipRect(Rect(R.Left, R.Top, R.Right + 1, R.Bottom + 1));
    c->Pen() = TPen{kTrace, psSolid, width == 1 ? 0 : width, pmCopy};
    const bool rev = chart.XYAxesReverse();
    auto pixel = [&](double vx, double vy) {
      const int a = x->ValueToPosition(vx), b = y->ValueToPosition(vy);
      return rev ? TPoint{b, a} : TPoint{a, b};
    };
    bool started = false;
    double lx = 0, ly = 0;
    for (int i = 0; i < ch->Count(); ++i) {
      if (ch->GetEmpty(i)) continue;
      const double cx = ch->GetX(i), cy = ch->GetY(i);
      // A null point and a point without a finite position break the line.
      if (ch->GetNull(i) || !std::isfinite(cx) || !std::isfinite(cy)) {
        started = false;
        continue;
      }
      if (started) {
        double ax = lx, ay = ly, bx = cx, by = cy;
        if (ax > bx) std::swap(ax, bx), std::swap(ay, by);
        // Cut to the X range by the straight line, as the definition says.
        if (bx >= 0 && ax <= 10) {
          const double ox = ax, oy = ay, slope = (by - ay) / (bx - ax);
          if (ax < 0) ay = oy + slope * (0 - ox), ax = 0;
          if (bx > 10) by = oy + slope * (10 - ox), bx = 10;
          const TPoint from = pixel(ax, ay), to = pixel(bx, by);
          c->MoveTo(from.X, from.Y);
          c->LineTo(to.X, to.Y);
        }
      }
      started = true;
      lx = cx;
      ly = cy;
    }
    c->RemoveClip();
    return expected;
  }

  // Pixels of values, from the definition of a linear scale over the data view.
  int PX(double v) const { return R.Left + Nearest(v * (R.Right - R.Left) / 10.0); }
  int PY(double v) const { return R.Bottom - Nearest(v * (R.Bottom - R.Top) / 10.0); }
  static int Count(TBitmap& b, TColor c, const TRect& within) {
    int n = 0;
    for (int py = within.Top; py < within.Bottom; ++py)
      for (int px = within.Left; px < within.Right; ++px)
        if (b.Canvas()->Pixel(px, py) == c) ++n;
    return n;
  }
};

TEST_F(XYChart, TheScaleAreasAreTheDataView) {
  ASSERT_GT(R.Right - R.Left, 100);
  ASSERT_GT(R.Bottom - R.Top, 80);
  EXPECT_EQ(x->ScaleArea().Left, R.Left);
  EXPECT_EQ(x->ScaleArea().Right, R.Right);
  EXPECT_EQ(y->ScaleArea().Top, R.Top);
  EXPECT_EQ(y->ScaleArea().Bottom, R.Bottom);
}

TEST_F(XYChart, OnePointDrawsNoLineOnlyItsMarker) {
  ch->AddXY(5, 5);
  TBitmap plain = Paint();
  EXPECT_EQ(Count(plain, kTrace, R), 0);
  ch->SetMarkersVisible(true);
  ch->SetMarkersStyle(ipmsSquare);
  TBitmap marked = Paint();
  // A square of half-size 3 spans 6 pixels each way (right and bottom edges excluded).
  EXPECT_EQ(BoxOf(marked, kTrace, R), Rect(PX(5) - 3, PY(5) - 3, PX(5) + 3, PY(5) + 3));
  EXPECT_EQ(Count(marked, kTrace, R), 36);
}

// The trace of (0, 0), (1, gap), (2, 1), (3, 2): a null point breaks the line, an empty one is
// passed over; a point without a finite position breaks it as a null does.
TEST_F(XYChart, NullPointsBreakTheLineEmptyPointsArePassedOver) {
  struct Case {
    const char* name;
    bool null, empty;
    double y1;
    bool firstSegment;
  };
  for (const Case& c : std::initializer_list<Case>{{"null", true, false, 0, false},
                                                   {"empty", false, true, 0, true},
                                                   {"infinite", false, false, std::numeric_limits<double>::infinity(), false},
                                                   {"NaN", false, false, std::numeric_limits<double>::quiet_NaN(), false}}) {
    SCOPED_TRACE(c.name);
    ch->Clear();
    ch->AddXY(0, 0);
    ch->AddDataPoint(c.null, c.empty, 1, c.y1);
    ch->AddXY(2, 1);
    ch->AddXY(3, 2);
    TBitmap b = Paint();
    // Between X 0 and 2 the line is there only when the gap is passed over.
    const TRect left = Rect(PX(0) + 1, R.Top, PX(2) - 1, R.Bottom + 1);
    EXPECT_EQ(Count(b, kTrace, left) > 0, c.firstSegment);
    // From (2, 1) to (3, 2) always: its first pixel, and nothing beyond its excluded end.
    EXPECT_EQ(b.Canvas()->Pixel(PX(2), PY(1)), kTrace);
    EXPECT_EQ(BoxOf(b, kTrace, Rect(PX(2), R.Top, R.Right + 1, R.Bottom + 1)).Right, PX(3));
  }
}

TEST_F(XYChart, SegmentsAreCutToTheXRangeAndDroppedBesideIt) {
  // From (-10, 0) to (10, 10): drawn from (0, 5) to (10, 10).
  ch->AddXY(-10, 0);
  ch->AddXY(10, 10);
  TBitmap b = Paint();
  const TRect all = Rect(0, 0, chart.Width(), chart.Height());
  const TRect box = BoxOf(b, kTrace, all);
  EXPECT_EQ(box.Left, PX(0));
  EXPECT_EQ(b.Canvas()->Pixel(PX(0), PY(5)), kTrace);
  EXPECT_EQ(box.Right, PX(10));   // the end point itself is not drawn
  // From (20, 0) to (30, 5), wholly beside the X range: nothing, whatever ClipToAxes says.
  for (bool clip : {false, true}) {
    ch->SetClipToAxes(clip);
    ch->Clear();
    ch->AddXY(20, 0);
    ch->AddXY(30, 5);
    TBitmap beside = Paint();
    EXPECT_EQ(Count(beside, kTrace, all), 0) << clip;
  }
}

TEST_F(XYChart, ClipToAxesStopsASegmentAtTheYRangeOtherwiseTheViewCutsIt) {
  ch->AddXY(1, 5);
  ch->AddXY(2, 50);
  TBitmap free = Paint();
  // It runs up to the data view's edge (the chart clips to the view, one pixel beyond it).
  EXPECT_EQ(BoxOf(free, kTrace, Rect(0, 0, chart.Width(), chart.Height())).Top, R.Top);
  ch->SetClipToAxes(true);
  TBitmap clipped = Paint();
  const TRect box = BoxOf(clipped, kTrace, Rect(0, 0, chart.Width(), chart.Height()));
  // It stops at Y 10, at X 1 + 5/45; the end there is not drawn, the line before it is.
  EXPECT_EQ(box.Top, PY(10) + 1);
  EXPECT_NEAR(box.Right - 1, PX(1 + 5.0 / 45), 1);
  EXPECT_EQ(box.Left, PX(1));
}

TEST_F(XYChart, FarOffPointsAreClampedAndDrawnTowardTheirSide) {
  for (double far : {1e9, 1e200, std::numeric_limits<double>::max(), -1e300}) {
    SCOPED_TRACE(far);
    ch->Clear();
    ch->AddXY(5, 5);
    ch->AddXY(5, far);
    TBitmap b = Paint();
    const TRect box = BoxOf(b, kTrace, Rect(0, 0, chart.Width(), chart.Height()));
    EXPECT_EQ(box.Left, PX(5));
    EXPECT_EQ(box.Right, PX(5) + 1);
    if (far > 0) {
      EXPECT_EQ(box.Top, R.Top);
      EXPECT_EQ(box.Bottom, PY(5) + 1);
    } else {
      EXPECT_EQ(box.Top, PY(5));
      EXPECT_EQ(box.Bottom, R.Bottom + 1);
    }
  }
}

TEST_F(XYChart, MarkersGoAboveTheTurnOffLimit) {
  ch->SetTraceVisible(false);
  ch->SetMarkersVisible(true);
  ch->SetMarkersTurnOffLimit(10);
  for (int i = 0; i < 11; ++i) ch->AddXY(0.5 + 0.8 * i, 5);
  TBitmap eleven = Paint();
  EXPECT_GT(Count(eleven, kTrace, R), 11 * 20);
  ch->AddXY(9.5, 5);
  TBitmap twelve = Paint();
  EXPECT_EQ(Count(twelve, kTrace, R), 0);
  // Without a limit every point has its marker.
  ch->SetMarkersTurnOffLimit(0);
  TBitmap all = Paint();
  EXPECT_GT(Count(all, kTrace, R), Count(eleven, kTrace, R));
}

TEST_F(XYChart, MarkersOutsideTheAxesOrOnGapsAreNotDrawn) {
  ch->SetMarkersVisible(true);
  ch->AddXY(5, 5);
  ch->AddXY(11, 5);
  ch->AddDataPoint(true, false, 3, 3);
  EXPECT_TRUE(ch->MarkerDrawable(0));
  EXPECT_FALSE(ch->MarkerDrawable(1));
  EXPECT_FALSE(ch->MarkerDrawable(2));
  ch->SetMarkersVisible(false);
  EXPECT_FALSE(ch->MarkerDrawable(0));
}

// Every marker style, drawn by the channel (stamped where it can be), against the shapes of its
// definition drawn straight onto the canvas.
TEST(XYMarkers, EveryStyleDrawsItsShapeAtThePoint) {
  TiXYPlot chart;
  TiXYPlotChannel* ch = chart.Channel(chart.AddChannel());
  ch->SetMarkersVisible(true);
  ch->SetColor(RGB(0, 200, 0));
  ch->SetMarkersBrushUseChannelColor(false);
  ch->SetMarkersBrushColor(RGB(40, 80, 250));
  struct Look {
    int size, penWidth;
    TPenStyle pen;
    TBrushStyle brush;
  };
  const Look looks[] = {{3, 0, psSolid, bsSolid}, {5, 1, psSolid, bsClear}, {4, 3, psSolid, bsSolid}, {6, 0, psClear, bsSolid},
                        {4, 0, psDot, bsSolid},   {7, 0, psSolid, bsCross}, {0, 0, psSolid, bsSolid},
                        // Even pen widths put the line's centre between pixels.
                        {4, 2, psSolid, bsSolid}, {5, 2, psSolid, bsClear}, {3, 4, psSolid, bsSolid}, {6, 6, psSolid, bsClear}};
  for (int style = ipmsCircle; style <= ipmsHorizontalLine; ++style)
    for (const Look& look : looks) {
      SCOPED_TRACE(testing::Message() << "style " << style << " size " << look.size << " pen " << look.penWidth << "/"
                                      << look.pen << " brush " << look.brush);
      ch->SetMarkersStyle(TiPlotMarkerStyle(style));
      ch->SetMarkersSize(look.size);
      ch->SetMarkersPenWidth(look.penWidth);
      ch->SetMarkersPenStyle(look.pen);
      ch->SetMarkersBrushStyle(look.brush);
      TBitmap drawn = BlackBitmap(60, 60), expected = BlackBitmap(60, 60);
      // Twice on the same canvas: a stamp made once serves the second point too.
      ch->DrawMarker(drawn.Canvas(), 0, clBlack, {20, 21});
      const int s = look.size;
      TCanvas* c = expected.Canvas();
      auto shape = [&](int px, int py) {
        c->Pen() = TPen{RGB(0, 200, 0), look.pen, look.penWidth, pmCopy};
        c->Brush() = TBrush{RGB(40, 80, 250), look.brush};
        auto line = [&](int x1, int y1, int x2, int y2) {
          c->MoveTo(x1, y1);
          c->LineTo(x2, y2);
        };
        switch (style) {
          case ipmsCircle: c->Ellipse(px - s, py - s, px + s, py + s); break;
          case ipmsSquare: c->Rectangle(px - s, py - s, px + s, py + s); break;
          case ipmsDiamond: c->Polygon({{px + s, py}, {px, py + s}, {px - s, py}, {px, py - s}}); break;
          case ipmsCross:
            line(px + s, py + s, px - s, py - s);
            line(px + s, py - s, px - s, py + s);
            break;
          case ipmsPlus:
            line(px, py + s, px, py - s);
            line(px + s, py, px - s, py);
            break;
          case ipmsTriangleUp: c->Polygon({{px - s, py + s}, {px, py}, {px + s, py + s}}); break;
          case ipmsTriangleDown: c->Polygon({{px - s, py - s}, {px, py}, {px + s, py - s}}); break;
          case ipmsTriangleLeft: c->Polygon({{px + s, py - s}, {px, py}, {px + s, py + s}}); break;
          case ipmsTriangleRight: c->Polygon({{px - s, py - s}, {px, py}, {px - s, py + s}}); break;
          case ipmsVerticalLine: line(px, py - s, px, py + s); break;
          case ipmsHorizontalLine: line(px - s, py, px + s, py); break;
        }
      };
      shape(20, 21);
      ch->DrawMarker(drawn.Canvas(), 0, clBlack, {41, 37});
      shape(41, 37);
      EXPECT_TRUE(drawn.Image() == expected.Image());
    }
}

TEST(XYMarkers, TriangleUpOfHalfSizeThreeAndTheLegendSampleCap) {
  TiXYPlot chart;
  TiXYPlotChannel* ch = chart.Channel(chart.AddChannel());
  ch->SetColor(clRed);  // a second channel takes the next colour of the channel palette
  ch->SetMarkersVisible(true);
  ch->SetMarkersStyle(ipmsTriangleUp);
  TBitmap b = BlackBitmap(100, 100);
  ch->DrawMarker(b.Canvas(), -1, clBlack, {50, 50});
  // Apex on the point, base three pixels below from X 47 to 53 (a closed outline draws every
  // corner).
  EXPECT_EQ(BoxOf(b, clRed, Rect(0, 0, 100, 100)), Rect(47, 50, 54, 54));
  EXPECT_EQ(b.Canvas()->Pixel(50, 50), clRed);
  EXPECT_EQ(b.Canvas()->Pixel(49, 50), clBlack);
  // The legend's sample of a channel with MarkersSize 10 has half-size 6.
  ch->SetMarkersStyle(ipmsSquare);
  ch->SetMarkersSize(10);
  TBitmap sample(100, 100);
  ch->DrawMarker(sample.Canvas(), -1, clBlack, {50, 50});
  EXPECT_EQ(BoxOf(sample, clRed, Rect(0, 0, 100, 100)), Rect(44, 44, 56, 56));
  // A hostile negative size draws no more than a dot's worth.
  ch->SetMarkersSize(-5000);
  TBitmap hostile(100, 100);
  ch->DrawMarker(hostile.Canvas(), -1, clBlack, {50, 50});
  EXPECT_LE(CountOther(hostile, clWhite, Rect(0, 0, 100, 100)), 1);
  // Nothing at all while markers are hidden.
  ch->SetMarkersSize(4);
  ch->SetMarkersVisible(false);
  TBitmap hidden(100, 100);
  ch->DrawMarker(hidden.Canvas(), -1, clBlack, {50, 50});
  EXPECT_EQ(CountOther(hidden, clWhite, Rect(0, 0, 100, 100)), 0);
}

TEST(XYMarkers, ACharacterMarkerIsTheCharacterCentredOnThePoint) {
  TiXYPlot chart;
  TiXYPlotChannel* ch = chart.Channel(chart.AddChannel());
  ch->SetMarkersVisible(true);
  ch->SetMarkersStyle(ipmsCharacter);
  TBitmap none(80, 80);
  ch->DrawMarker(none.Canvas(), -1, clBlack, {40, 40});
  EXPECT_EQ(CountOther(none, clWhite, Rect(0, 0, 80, 80)), 0);   // character #0 draws nothing
}

// ---------------------------------------------------------------------------------------------
// Hit tests, hints, dragging

struct XYPoints : XYChart {
  XYPoints() {
    ch->SetMarkersVisible(true);
    ch->SetMarkersSize(4);
    ch->AddXY(5, 5);
    ch->AddXY(5.2, 5);   // overlaps the first marker
    ch->AddXY(6, 2);
    Paint();
    chart.Select = true;
  }
  bool Hit(int px, int py) { return ch->HitTest(MakeMouseParams(mbLeft, 0, px, py, false)); }
};

TEST_F(XYPoints, MarkersAreHitOnlyInSelectModeAndTheLowerIndexWinsTheOverlap) {
  const int overlap = (PX(5) + PX(5.2)) / 2;
  ASSERT_TRUE(Hit(overlap, PY(5)));
  EXPECT_EQ(ch->HitIndex(), 0);
  EXPECT_EQ(ch->HitRect(), Rect(PX(5) - 4, PY(5) - 4, PX(5) + 4, PY(5) + 4));
  ASSERT_TRUE(Hit(PX(5.2) + 3, PY(5)));
  EXPECT_EQ(ch->HitIndex(), 1);
  // The marker square includes its left and top edges and excludes the right and bottom ones.
  EXPECT_TRUE(Hit(PX(6) - 4, PY(2) - 4));
  EXPECT_EQ(ch->HitIndex(), 2);
  EXPECT_FALSE(Hit(PX(6) + 4, PY(2)));
  EXPECT_EQ(ch->HitIndex(), -1);
  chart.Select = false;
  EXPECT_FALSE(Hit(PX(6), PY(2)));
  // The legend row answers in any mode, and leaves no point behind.
  ch->SetLegendRect(Rect(0, 0, 30, 10));
  EXPECT_TRUE(Hit(5, 5));
  EXPECT_EQ(ch->HitIndex(), -1);
}

TEST_F(XYPoints, TheHintNamesThePointAndStaysInsideTheView) {
  ch->SetShowDataPointHints(true);
  chart.OnDataPointCustomizeHint = [](int channel, int index, QString& text) { text += QStringLiteral(" #%1.%2").arg(channel).arg(index); };
  TBitmap scratch(1, 1);
  scratch.Canvas()->Font() = chart.HintsFont()->Font();
  auto hover = [&](int px, int py) {
    TiPlotHintData hint;
    TiPlotMouseParams p = MakeMouseParams(mbLeft, 0, px, py, false);
    p.Hint = &hint;
    EXPECT_TRUE(ch->HitTest(p));
    ch->DoMouseHover(p);
    return hint;
  };
  // A point in the middle: the box above the mouse, centred on it.
  const TiPlotHintData middle = hover(PX(6), PY(2));
  EXPECT_EQ(middle.Text, x->LabelText(6) + QStringLiteral(", ") + y->LabelText(2) + QStringLiteral(" #0.2"));
  const TSize text = scratch.Canvas()->TextExtent(middle.Text);
  const int W = text.cx + 4, H = text.cy + 4, h = 2;
  EXPECT_EQ(middle.X, PX(6) - W / 2);
  EXPECT_EQ(middle.Y, PY(2) - (h + H + 4));
  // Near the top of the view: below the mouse; near the left: to its right, centred on it.
  ch->SetY(2, 9.9);
  ch->SetX(2, 0.1);
  const TiPlotHintData corner = hover(PX(0.1), PY(9.9));
  const TSize cornerText = scratch.Canvas()->TextExtent(corner.Text);
  EXPECT_EQ(corner.X, PX(0.1) + h + 8);
  EXPECT_EQ(corner.Y, std::max<int>(R.Top, PY(9.9) - (cornerText.cy + 4) / 2));
  ch->SetX(2, 5);
  const TiPlotHintData top = hover(PX(5), PY(9.9));
  EXPECT_EQ(top.Y, PY(9.9) + (h + cornerText.cy + 4 + 4));
  // Without ShowDataPointHints, no hint.
  ch->SetShowDataPointHints(false);
  EXPECT_TRUE(hover(PX(5), PY(9.9)).Text.isEmpty());
}

TEST_F(XYPoints, DraggingAHeldPointMovesItByTheValueUnderTheMouseAndReportsIt) {
  ch->SetUserCanMoveDataPoints(true);
  QStringList events;
  chart.OnMouseDownDataPoint = [&](int c, int i, TMouseButton, TShiftState, int, int) { events << QStringLiteral("down %1 %2").arg(c).arg(i); };
  chart.OnMouseUpDataPoint = [&](int c, int i, TMouseButton, TShiftState, int, int) { events << QStringLiteral("up %1 %2").arg(c).arg(i); };
  chart.OnClickDataPoint = [&](int c, int i) { events << QStringLiteral("click %1 %2").arg(c).arg(i); };
  chart.OnClickChannel = [&](int c) { events << QStringLiteral("channel click %1").arg(c); };
  double oldX = 0, oldY = 0, newX = 0, newY = 0;
  chart.OnDataPointMoved = [&](int c, int i, double ox, double oy, double nx, double ny) {
    events << QStringLiteral("moved %1 %2").arg(c).arg(i);
    oldX = ox, oldY = oy, newX = nx, newY = ny;
  };
  auto at = [](int px, int py) { return MakeMouseParams(mbLeft, ssLeft, px, py, false); };
  // Grabbed two pixels off the marker's centre, moved 10 pixels right and 5 up.
  const int gx = PX(6) + 2, gy = PY(2) - 1;
  ASSERT_TRUE(ch->HitTest(at(gx, gy)));
  ch->MouseDown(at(gx, gy));
  EXPECT_EQ(ch->HeldIndex(), 2);
  ch->MouseMove(at(gx + 10, gy - 5));
  const double perX = 10.0 / (R.Right - R.Left), perY = 10.0 / (R.Bottom - R.Top);
  EXPECT_NEAR(ch->GetX(2), 6 + 10 * perX, 1e-12);
  EXPECT_NEAR(ch->GetY(2), 2 + 5 * perY, 1e-12);
  // Released away from where it was held: no click, but the move is reported.
  ch->MouseUp(at(gx + 10, gy - 5));
  EXPECT_EQ(events, (QStringList{"down 0 2", "up 0 2", "moved 0 2"}));
  EXPECT_EQ(ch->HeldIndex(), -1);
  EXPECT_DOUBLE_EQ(oldX, 6);
  EXPECT_DOUBLE_EQ(oldY, 2);
  EXPECT_DOUBLE_EQ(newX, ch->GetX(2));
  EXPECT_DOUBLE_EQ(newY, ch->GetY(2));

  // X only; released where held: the point's click, and no move reported when it did not move.
  events.clear();
  ch->SetUserCanMoveDataPointsStyle(ipcdpmsXOnly);
  const int hx = PX(5) - 3, hy = PY(5);
  ASSERT_TRUE(ch->HitTest(at(hx, hy)));
  ch->MouseDown(at(hx, hy));
  ch->MouseMove(at(hx, hy - 20));
  EXPECT_DOUBLE_EQ(ch->GetY(0), 5);
  EXPECT_DOUBLE_EQ(ch->GetX(0), 5);
  ch->MouseUp(at(hx, hy));
  EXPECT_EQ(events, (QStringList{"down 0 0", "up 0 0", "click 0 0"}));

  // Without UserCanMoveDataPoints the point stays.
  ch->SetUserCanMoveDataPoints(false);
  ASSERT_TRUE(ch->HitTest(at(hx, hy)));
  ch->MouseDown(at(hx, hy));
  ch->MouseMove(at(hx + 30, hy + 30));
  ch->MouseUp(at(hx + 30, hy + 30));
  EXPECT_DOUBLE_EQ(ch->GetX(0), 5);
}

TEST_F(XYPoints, APressInTheLegendRowIsTheChannelsClickOnlyWhenReleasedThere) {
  int clicks = 0;
  chart.OnClickChannel = [&](int) { ++clicks; };
  ch->SetLegendRect(Rect(0, 0, 40, 12));
  auto at = [](int px, int py) { return MakeMouseParams(mbLeft, ssLeft, px, py, false); };
  ch->MouseDown(at(5, 5));
  ch->MouseUp(at(6, 6));
  EXPECT_EQ(clicks, 1);
  ch->MouseDown(at(5, 5));
  ch->MouseUp(at(100, 100));
  EXPECT_EQ(clicks, 1);
}

TEST_F(XYChart, ThePopupHoldsTheSingleEditItem) {
  TPopupMenu menu;
  ch->AddMenuItems(&menu);
  ASSERT_EQ(menu.Items().Count(), 1);
  EXPECT_EQ(menu.Items().Items(0)->Caption, QStringLiteral("Edit..."));
}

// The data view's click needs the release inside its rectangle; the release itself is reported
// wherever it happens.
TEST_F(XYChart, TheDataViewIsClickedOnlyByAReleaseInsideIt) {
  TiPlotDataView* view = chart.DataView(0);
  int clicks = 0, releases = 0;
  chart.OnClickDataView = [&](int) { ++clicks; };
  chart.OnMouseUpDataView = [&](int, TMouseButton, TShiftState, int, int) { ++releases; };
  auto at = [](int px, int py) { return MakeMouseParams(mbLeft, ssLeft, px, py, false); };
  const TPoint inside{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  view->MouseDown(at(inside.X, inside.Y));
  view->MouseUp(at(R.Right + 5, inside.Y));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(releases, 1);
  view->MouseDown(at(inside.X, inside.Y));
  view->MouseUp(at(R.Right - 1, R.Bottom - 1));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(releases, 2);
}

// ---------------------------------------------------------------------------------------------
// Fit extents

TEST_F(XYChart, FitExtentsSpanTheValidPointsAndTheirMarkers) {
  EXPECT_EQ(ch->GetXMaxExtent(), -1e300);
  EXPECT_EQ(ch->GetYMinExtent(), 1e300);
  ch->AddDataPoint(true, false, 100, 100);
  ch->AddDataPoint(false, true, -100, -100);
  EXPECT_EQ(ch->GetXMaxExtent(), -1e300);   // null and empty points only
  ch->AddXY(2, 3);
  ch->AddXY(7, -1);
  EXPECT_EQ(ch->GetXMinExtent(), 2);
  EXPECT_EQ(ch->GetXMaxExtent(), 7);
  EXPECT_EQ(ch->GetYMinExtent(), -1);
  EXPECT_EQ(ch->GetYMaxExtent(), 3);
  // With markers: room for half a marker (3 pixels) in each axis's units.
  ch->SetMarkersVisible(true);
  EXPECT_NEAR(ch->GetXMaxExtent(), 7 + 3 * 10.0 / (R.Right - R.Left), 1e-12);
  EXPECT_NEAR(ch->GetYMinExtent(), -1 - 3 * 10.0 / (R.Bottom - R.Top), 1e-12);
  // A hidden channel, or one without its axes, has nothing to fit.
  ch->SetVisible(false);
  EXPECT_EQ(ch->GetXMaxExtent(), -1e300);
  ch->SetVisible(true);
  ch->SetYAxisName(QStringLiteral("none"));
  EXPECT_EQ(ch->GetYMinExtent(), 1e300);
}

// ---------------------------------------------------------------------------------------------
// The XY chart

TEST(XYPlot, ChannelsAreXYChannelsAndTheTypedAccessChecksIndexAndClass) {
  TiXYPlot chart;
  const int i = chart.AddChannel();
  TiXYPlotChannel* typed = chart.Channel(i);
  EXPECT_EQ(static_cast<TiPlotChannelCustom*>(typed), chart.TiPlotComponent::Channel(i));
  EXPECT_EQ(typed->OPCUpdateRate(), 500);
  EXPECT_TRUE(typed->OPCAutoConnect());
  try {
    chart.Channel(i + 1);
    FAIL() << "no error";
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, QStringLiteral("Index out of Bounds"));
  }
  // A channel of another class at that position is refused with the framework's error.
  chart.Master()->SetChannelClass(&CreateChannelOf<TiPlotChannel>);
  const int other = chart.AddChannel();
  EXPECT_THROW(chart.Channel(other), EiError);
}

// ---------------------------------------------------------------------------------------------
// The reduced polyline

// Random walks with many points per pixel column, drawn segment by segment and through the
// reducing polyline: the same pixels, in both orientations and across breaks.
TEST(TracePolyline, ReducingColumnsLeavesSolidOnePixelLinesPixelIdentical) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    const bool rows = round % 2 == 1;
    std::uniform_int_distribution<int> step(-3, 3), jump(0, 40), count(2, 400);
    std::vector<std::pair<TPoint, TPoint>> segments;
    int along = 10, across = 50;
    TPoint last{rows ? along : across, rows ? across : along};
    const int n = count(random);
    for (int i = 0; i < n; ++i) {
      // Mostly within a column; now and then the next column, a far jump or a break.
      const int kind = jump(random);
      if (kind == 0) along += 1;
      if (kind == 1) across = std::uniform_int_distribution<int>(-20, 120)(random);
      across += step(random);
      const TPoint next = rows ? TPoint{across, along} : TPoint{along, across};
      if (kind != 2) segments.push_back({last, next});
      last = next;
      if (along > 90) along = 5;
    }
    TBitmap plain = BlackBitmap(100, 100), reduced = BlackBitmap(100, 100);
    for (TBitmap* b : {&plain, &reduced}) b->Canvas()->Pen() = TPen{clYellow, psSolid, 0, pmCopy};
    for (const auto& [a, b] : segments) {
      plain.Canvas()->MoveTo(a.X, a.Y);
      plain.Canvas()->LineTo(b.X, b.Y);
    }
    TiTracePolyline polyline(reduced.Canvas(), true, rows);
    for (const auto& [a, b] : segments) polyline.Segment(a, b);
    polyline.Flush();
    ASSERT_TRUE(plain.Image() == reduced.Image());
  }
}

// A channel's solid one-pixel trace against the same points drawn segment by segment, each
// segment from its left to its right end: dense random walks (hundreds of points per pixel
// column), X now and then going back or leaving the axis, null points and gaps, both
// orientations.
TEST_F(XYChart, ADenseTraceDrawsTheSamePixelsAsItsSegmentsOneByOne) {
  std::mt19937 random(4303);
  std::normal_distribution<double> step(0.0, 0.3);
  std::uniform_int_distribution<int> event(0, 999);
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    chart.SetXYAxesReverse(round % 3 == 2);
    ch->Clear();
    double vx = -0.5, vy = 5;
    for (int i = 0; i < 20000; ++i) {
      const int e = event(random);
      if (e < 3) vx -= 0.3;                        // back
      else if (e < 5) ch->AddDataPoint(true, false, vx, 0);
      else if (e < 7) ch->AddDataPoint(false, true, vx, 0);
      vx += 0.0006 * (1 + round % 4);
      vy += step(random);
      if (vy > 12 || vy < -2) vy = 5;
      ch->AddXY(vx, e < 10 ? vy * 3 : vy);           // now and then a long jump
    }
    TBitmap drawn = Paint();
    TBitmap expected = PaintSegmentBySegment();
    ASSERT_TRUE(drawn.Image() == expected.Image());
  }
}

// Long runs of one column whose last points stand on the very edge of the column, a few units in
// the last place either side of where the next pixel starts (or on it, which rounding gives to
// one side or the other), with values on the edges of Y pixels as well: the reduction follows
// each point to its own pixel, on an ascending and a descending X scale and both orientations.
TEST_F(XYChart, RunsEndingOnTheEdgeOfTheirColumnDrawTheirSegments) {
  std::mt19937 random(3141);
  std::uniform_int_distribution<int> pick(0, 7);
  // Values a few units in the last place around where one Y pixel ends and the next begins
  // (a column's last point there asks whether an earlier point had its pixel).
  auto value = [&](std::mt19937& r) {
    const int pixel = y->ValueToPosition(1.0) - 4 * pick(r);
    double v = (y->PositionToValue(pixel) + y->PositionToValue(pixel - 1)) / 2;
    for (int k = pick(r) - 4; k != 0; k += k < 0 ? 1 : -1) v = std::nextafter(v, k < 0 ? -1e300 : 1e300);
    return v;
  };
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    const bool descending = round & 1;
    x->SetReverseScale(descending);
    chart.SetXYAxesReverse(round & 2);
    Paint();
    ch->Clear();
    for (int column = std::min(x->PositionOfMin(), x->PositionOfMax()) + 1;
         column < std::max(x->PositionOfMin(), x->PositionOfMax()) - 1; ++column) {
      // The values of this column and of the one after it in value.
      const double here = x->PositionToValue(column), next = x->PositionToValue(descending ? column - 1 : column + 1);
      const double edge = (here + next) / 2;
      for (int k = 0; k < 24; ++k) ch->AddXY(here + (edge - here) * k / 24.0, value(random));
      // Just short of the edge by a little more than a rounding error of the mapping.
      ch->AddXY(edge - (edge - here) * 1e-7, value(random));
      double v = edge;
      for (int k = 0; k < 4; ++k) v = std::nextafter(v, -1e300);
      for (int k = 0; k < 9; ++k, v = std::nextafter(v, 1e300)) ch->AddXY(v, value(random));
      // Every second run ends the line, so that nothing after it draws its last pixel.
      if (column % 2 == 0) ch->AddDataPoint(true, false, v, 0);
    }
    TBitmap drawn = Paint();
    TBitmap expected = PaintSegmentBySegment();
    ASSERT_TRUE(drawn.Image() == expected.Image());
  }
  x->SetReverseScale(false);
}

// The trace's last run ends on the extreme pixel of its column, with nothing after it that would
// draw that pixel: drawn when an earlier point of the run had it and the run left it before it
// came back, not drawn (the end of the last segment) when the run reaches it only at its end.
TEST_F(XYChart, TheLastRunOfTheTraceEndsOnItsExtremeAsItsSegmentsDo) {
  for (int round = 0; round < 4; ++round) {
    const bool covered = round & 1, reversed = round & 2;
    SCOPED_TRACE(testing::Message() << (covered ? "covered" : "not covered") << (reversed ? ", reversed" : ""));
    chart.SetXYAxesReverse(reversed);
    Paint();
    ch->Clear();
    for (int k = 0; k < 8; ++k) ch->AddXY(1 + k * 0.5, 5 + (k % 3) * 0.4);
    // Five points within one pixel column, at the middles of Y pixels.
    const int column = x->ValueToPosition(8.0), row = y->ValueToPosition(5.0);
    const double middle = x->PositionToValue(column), width = std::abs(x->PositionToValue(column + 1) - middle);
    const std::vector<int> rows = covered ? std::vector<int>{0, -6, 4, 1, -6} : std::vector<int>{0, 4, 1, -2, -6};
    for (size_t k = 0; k < rows.size(); ++k) ch->AddXY(middle + width * 0.05 * k, y->PositionToValue(row + rows[k]));
    TBitmap drawn = Paint();
    TBitmap expected = PaintSegmentBySegment();
    // The end pixel itself tells the two cases apart.
    const TPoint end = reversed ? TPoint{row - 6, column} : TPoint{column, row - 6};
    EXPECT_EQ(expected.Canvas()->Pixel(end.X, end.Y) == kTrace, covered);
    ASSERT_TRUE(drawn.Image() == expected.Image());
  }
}

// Long runs of one pixel column (48 points each) with one point that does not simply continue the
// run, at another place of each run: a null or an empty point, a Y that is NaN or infinite either
// way, an X that is NaN or goes back. Such runs are taken several points at a time where nothing
// of that kind is among them; every kind at every place against the segments drawn one by one.
TEST_F(XYChart, EveryKindOfGapAtEveryPlaceOfALongRunDrawsItsSegments) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  enum Kind { kNull, kEmpty, kNaNY, kUpY, kDownY, kNaNX, kBack };
  std::mt19937 random(31);
  std::uniform_int_distribution<int> step(-2, 2);
  for (int kind = kNull; kind <= kBack; ++kind) {
    for (const bool reversed : {false, true}) {
      SCOPED_TRACE(testing::Message() << "kind " << kind << (reversed ? ", reversed" : ""));
      chart.SetXYAxesReverse(reversed);
      Paint();
      ch->Clear();
      const int first = std::min(x->PositionOfMin(), x->PositionOfMax()) + 2;
      double vy = 5;
      for (int run = 0; run < 16; ++run) {
        const int column = first + 3 * run;
        const double middle = x->PositionToValue(column), width = std::abs(x->PositionToValue(column + 1) - middle);
        const double start = std::min(middle, x->PositionToValue(column + 1)) - width * 0.4;
        for (int k = 0; k < 48; ++k) {
          const double vx = start + width * 0.8 * k / 48;
          vy = std::clamp(vy + 0.15 * step(random), 1.0, 9.0);
          if (k == 4 + run) {
            switch (kind) {
              case kNull: ch->AddDataPoint(true, false, vx, vy); break;
              case kEmpty: ch->AddDataPoint(false, true, vx, -100); break;
              case kNaNY: ch->AddDataPoint(false, false, vx, nan); break;
              case kUpY: ch->AddDataPoint(false, false, vx, inf); break;
              case kDownY: ch->AddDataPoint(false, false, vx, -inf); break;
              case kNaNX: ch->AddDataPoint(false, false, nan, vy); break;
              case kBack: ch->AddDataPoint(false, false, vx - 2 * width, vy + 2); break;
            }
          }
          ch->AddXY(vx, vy);
        }
      }
      TBitmap drawn = Paint();
      TBitmap expected = PaintSegmentBySegment();
      ASSERT_TRUE(drawn.Image() == expected.Image());
    }
  }
}

// The same in every layout and in ring buffers whose storage has wrapped, so that runs of one
// pixel column go on across the end of the storage (and, in the standard layout, over empty
// points placed there).
TEST_F(XYChart, ADenseTraceInEveryLayoutAndAWrappedRingDrawsItsSegments) {
  struct Case {
    TiPlotDataStyle style;
    int ring, added;
    bool reversed;
  };
  std::mt19937 random(1210);
  std::normal_distribution<double> step(0.0, 0.4);
  for (const Case& c : std::initializer_list<Case>{{ipdsStandard, 7000, 11333, false},
                                                   {ipdsStandard, 6000, 9001, true},
                                                   {ipdsCompact, 5000, 8123, false},
                                                   {ipdsCompactInterval, 6000, 9999, false},
                                                   {ipdsCompactInterval, 0, 5000, true}}) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << ", ring " << c.ring);
    chart.SetXYAxesReverse(c.reversed);
    ch->Clear();
    ch->SetDataStyle(c.style);
    ch->SetRingBufferSize(c.ring);
    const int kept = c.ring > 0 ? c.ring : c.added;
    // The kept points reach a little beyond both ends of the X range.
    const double dx = 10.4 / (kept - 1), x0 = -0.2 - (c.added - kept) * dx;
    double vy = 5;
    for (int i = 0; i < c.added; ++i) {
      vy += step(random);
      if (vy > 11 || vy < -1) vy = 5;
      if (c.style == ipdsStandard && i % 997 == 996) ch->AddDataPoint(false, true, x0 + i * dx, 0);
      ch->AddXY(x0 + i * dx, vy);
    }
    ASSERT_EQ(ch->Count(), c.style == ipdsStandard && c.ring == 0 ? c.added + c.added / 997 : kept);
    TBitmap drawn = Paint();
    TBitmap expected = PaintSegmentBySegment();
    ASSERT_TRUE(drawn.Image() == expected.Image());
  }
}

// A wide trace is reduced per pixel column as a thin one is: against the same points drawn
// segment by segment with the same pen, pixels differ only where segments meet inside a column,
// and few of them.
TEST_F(XYChart, ADenseWideTraceDiffersFromItsSegmentsOnlyInAFewJoins) {
  std::mt19937 random(1211);
  std::normal_distribution<double> step(0.0, 0.3);
  for (const int width : {2, 3, 5}) {
    for (const bool reversed : {false, true}) {
      SCOPED_TRACE(testing::Message() << "width " << width << (reversed ? ", reversed" : ""));
      chart.SetXYAxesReverse(reversed);
      ch->Clear();
      ch->SetTraceLineWidth(width);
      double vy = 5;
      for (int i = 0; i < 20000; ++i) {
        vy += step(random);
        if (vy > 11 || vy < -1) vy = 5;
        if (i % 4999 == 4998) ch->AddDataPoint(true, false, 0, 0);
        ch->AddXY(-0.2 + i * (10.4 / 19999), vy);
      }
      TBitmap drawn = Paint();
      TBitmap expected = PaintSegmentBySegment(width);
      int differ = 0;
      const int inked = Count(expected, kTrace, R);
      for (int py = 0; py < chart.Height(); ++py)
        for (int px = 0; px < chart.Width(); ++px)
          if (drawn.Canvas()->Pixel(px, py) != expected.Canvas()->Pixel(px, py)) ++differ;
      ASSERT_GT(inked, 1000);
      EXPECT_LE(differ, inked / 1000) << differ << " of " << inked;
      // And it is reduced: a recording holds far fewer points than the 20000 of the channel.
      QPicture picture;
      {
        TCanvas canvas(&picture);
        chart.DoPaint(canvas);
      }
      EXPECT_LT(picture.size(), 20000u * sizeof(QPointF) / 4);
    }
  }
}

// The last point of a run is drawn only when an earlier point of the run reached it.
TEST(TracePolyline, TheEndOfARunIsCoveredExactlyAsTheRunCoversIt) {
  struct Case {
    std::vector<int> ys;
    std::vector<int> column;   // the pixels of the column 10 set afterwards
  };
  for (const Case& c : std::initializer_list<Case>{{{3, 8, 5, 8}, {3, 4, 5, 6, 7, 8}},
                                                   {{5, 3, 8}, {3, 4, 5, 6, 7}},
                                                   {{5, 9, 2, 6}, {2, 3, 4, 5, 6, 7, 8, 9}}}) {
    TBitmap b = BlackBitmap(20, 20);
    b.Canvas()->Pen() = TPen{clWhite, psSolid, 0, pmCopy};
    TiTracePolyline polyline(b.Canvas(), true, false);
    for (size_t i = 1; i < c.ys.size(); ++i) polyline.Segment({10, c.ys[i - 1]}, {10, c.ys[i]});
    polyline.Flush();
    std::vector<int> column;
    for (int py = 0; py < 20; ++py)
      if (b.Canvas()->Pixel(10, py) == clWhite) column.push_back(py);
    EXPECT_EQ(column, c.column);
  }
}

// ---------------------------------------------------------------------------------------------
// A picture to look at

TEST(XYPicture, SeveralChannelsWithMarkersGapsAndClipping) {
  TiXYPlot chart;
  PrepareXYChart(chart, 420, 300, 0, 20, -1.5, 3);
  chart.DataView(0)->SetGridXAxisName(QStringLiteral("<ALL>"));
  chart.DataView(0)->SetGridYAxisName(QStringLiteral("<ALL>"));
  const TiPlotMarkerStyle styles[] = {ipmsCircle, ipmsSquare, ipmsTriangleUp, ipmsDiamond};
  for (int c = 0; c < 4; ++c) {
    TiXYPlotChannel* ch = AddXYChannel(chart);
    ch->SetMarkersVisible(c % 2 == 0);
    ch->SetMarkersStyle(styles[c]);
    ch->SetClipToAxes(c == 3);
    ch->SetTraceLineStyle(c == 1 ? iplsDash : iplsSolid);
    ch->SetTraceLineWidth(c == 2 ? 5 : c == 0 ? 2 : 1);
    for (int i = 0; i <= 44; ++i) {
      const double px = -1 + 0.5 * i;
      if (i == 20 + c) ch->AddDataPoint(true, false, px, 0);
      else ch->AddXY(px, (1.0 + 0.6 * c) * std::sin(px * (0.4 + 0.1 * c)) - 0.1 * c);
    }
  }
  TBitmap b(chart.Width(), chart.Height());
  chart.DoPaint(*b.Canvas());
  const QString path = PicturePath(QStringLiteral("lumio-xy-channels.png"));
  ASSERT_TRUE(b.Image().save(path));
  const TRect R = chart.DataView(0)->GetLayoutRect();
  // Every channel shows its colour inside the view, and nothing of a trace lies outside it.
  for (int c = 0; c < 4; ++c) EXPECT_GT(BoxOf(b, chart.Channel(c)->Color(), R).Right, R.Left) << c;
  EXPECT_EQ(BoxOf(b, chart.Channel(0)->Color(), Rect(0, 0, R.Left - 3, chart.Height())), TRect{});
}

}  // namespace
