// The time chart and its channel on small offscreen charts: defaults and value names, the order
// of X, the visible range by search and by scan, every drawing mode on pixels (the collapsed
// ones against drawing every point one by one), interpolated values against hand-computed ones,
// the cursor, hit tests and the clock-driven X.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>
#include <random>

#include "chart/channels/rUdud.h"
#include "chart/core/iErrors.h"
#include "chart/core/rUdudMasterManager.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Menus.h"
#include "tests/chart/decorations/DecorationTestSupport.h"

namespace {

constexpr TColor kTrace = RGB(255, 0, 0);
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

QString ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EiError& e) {
    return e.Message;
  }
  return QString();
}

// A time chart whose select mode a test sets.
class TSelectablePlot : public TiPlot {
 public:
  bool Select = false;
  bool SelectMode() const override { return Select; }
};

// A 200 x 160 time chart with one X and one Y axis (both 0 .. 10, no tracking), no grid, and one
// red channel on them.
struct TimeChart : ::testing::Test {
  TSelectablePlot chart;
  TiPlotXAxis* x = nullptr;
  TiPlotYAxis* y = nullptr;
  TiPlotChannel* ch = nullptr;
  TRect R;

  TimeChart() {
    chart.resize(200, 160);
    chart.RemoveAll(ipokChannel);
    chart.RemoveAll(ipokDataCursor);
    chart.ToolBar(0)->SetVisible(false);
    chart.Legend(0)->SetVisible(false);
    chart.Labels(0)->SetVisible(false);
    chart.SetBorderStyle(ibsNone);
    chart.DataView(0)->SetGridShow(false);
    x = chart.XAxis(0);
    y = chart.YAxis(0);
    x->SetTrackingEnabled(false);
    y->SetTrackingEnabled(false);
    x->SetMin(0);
    x->SetSpan(10);
    y->SetMin(0);
    y->SetSpan(10);
    ch = chart.Channel(chart.AddChannel());
    ch->SetXAxisName(x->Name());
    ch->SetYAxisName(y->Name());
    ch->SetXAxisTrackingEnabled(false);
    ch->SetYAxisTrackingEnabled(false);
    ch->SetColor(kTrace);
    Paint();
  }

  TBitmap Paint() {
    TBitmap bitmap(chart.Width(), chart.Height());
    chart.DoPaint(*bitmap.Canvas());
    R = chart.DataView(0)->GetLayoutRect();
    return bitmap;
  }
  // The data view emptied to its background, clipped as the chart clips a channel.
  TBitmap Background() {
    TBitmap b = Paint();
    TCanvas* c = b.Canvas();
    c->Brush().Color = clBlack;
    c->Brush().Style = bsSolid;
    c->FillRect(Rect(R.Left, R.Top, R.Right + 1, R.Bottom + 1));
    c->IntersectClipRect(Rect(R.Left, R.Top, R.Right + 1, R.Bottom + 1));
    return b;
  }
  int PX(double v) const { return R.Left + Nearest(v * (R.Right - R.Left) / 10.0); }
  int PY(double v) const { return R.Bottom - Nearest(v * (R.Bottom - R.Top) / 10.0); }
  TRect View() const { return Rect(R.Left, R.Top, R.Right + 1, R.Bottom + 1); }
  static int Count(TBitmap& b, TColor c, const TRect& within) {
    int n = 0;
    for (int py = within.Top; py < within.Bottom; ++py)
      for (int px = within.Left; px < within.Right; ++px)
        if (b.Canvas()->Pixel(px, py) == c) ++n;
    return n;
  }
  static bool SamePixels(TBitmap& a, TBitmap& b) { return a.Image() == b.Image(); }
  void AddPoints(std::initializer_list<std::pair<double, double>> points) {
    for (auto [px, py] : points) ch->AddXY(px, py);
  }
};

// ---------------------------------------------------------------------------------------------
// The chart and the channel's properties

TEST(TimePlot, MakesTimeChannelsAndScrollingXAxes) {
  TiPlot chart;
  EXPECT_FALSE(chart.Updating());
  EXPECT_EQ(chart.Master()->ChannelClass(), &CreateChannelOf<TiPlotChannel>);
  ASSERT_EQ(chart.ChannelCount(), 1);
  EXPECT_NE(chart.Channel(0), nullptr);
  EXPECT_EQ(chart.XAxis(0)->TrackingStyle(), iptsScrollSmooth);
  EXPECT_EQ(chart.YAxis(0)->TrackingStyle(), iptsScaleMinMax);
  // Axes added later scroll as well.
  EXPECT_EQ(chart.XAxis(chart.AddXAxis())->TrackingStyle(), iptsScrollSmooth);
  // The XY chart's axes keep theirs.
  TiPlotComponent plain;
  plain.AddXAxis();
  EXPECT_EQ(plain.XAxis(0)->TrackingStyle(), iptsScaleMinMax);
}

TEST(TimePlot, TypedChannelOfAnotherClassIsAnError) {
  TiPlot chart;
  chart.Master()->SetChannelClass(&CreateChannelOf<TiPlotChannelCustom>);
  const int i = chart.AddChannel();
  EXPECT_EQ(ErrorOf([&] { chart.Channel(i); }), QStringLiteral("Invalid class typecast"));
}

TEST(TimeChannelProperties, StartAtTheirDeclaredDefaultsWithValueNames) {
  TiPlot chart;
  TiPlotChannel* ch = chart.Channel(0);
  const TiClassInfo& info = ch->ClassInfo();
  const TiClassInfo& base = TiPlotChannelCustom::StaticClassInfo();
  int own = 0;
  for (const TiPropertyInfo& p : info.Properties()) {
    if (base.Find(p.Name)) continue;
    ++own;
    SCOPED_TRACE(p.Name.toStdString());
    if (p.HasDefault()) EXPECT_TRUE(p.AtDefault(*ch));
    if (p.Kind == TiPropertyKind::Enumeration) EXPECT_FALSE(p.ValueNames.isEmpty());
  }
  EXPECT_GE(own, 40);
  EXPECT_EQ(ch->HighLowBarColor(), TColor(16776960));
  EXPECT_EQ(ch->HighLowOpenColor(), TColor(65280));
  EXPECT_EQ(ch->BarWidth(), 5.0);
  EXPECT_EQ(ch->BarPenColor(), TColor(255));
  EXPECT_EQ(ch->DigitalReferenceHigh(), 90.0);
  EXPECT_EQ(InterpolationStyleNames().indexOf(QStringLiteral("ipistDifferentialTerminated")), int(ipistDifferentialTerminated));
  EXPECT_EQ(HighLowStyleNames().indexOf(QStringLiteral("iphlsCandleStick")), int(iphlsCandleStick));
  EXPECT_EQ(DigitalReferenceStyleNames().indexOf(QStringLiteral("ipdrPercent")), int(ipdrPercent));
}

TEST(TimeChannelProperties, ColoursRoundTripThroughTheStoredText) {
  TiPlot a;
  TiPlotChannel* from = a.Channel(0);
  // Blue and green were the colours another declaration would not have written.
  from->SetHighLowBarColor(16711680);
  from->SetHighLowOpenColor(32768);
  from->SetInterpolationStyle(ipistRational);
  from->SetBarWidth(2.5);
  QStringList lines;
  WriteProperties(*from, QStringLiteral("Channel"), lines);
  TiPlot b;
  TiPlotChannel* to = b.Channel(0);
  ReadProperties(*to, QStringLiteral("Channel"), lines);
  EXPECT_EQ(to->HighLowBarColor(), TColor(16711680));
  EXPECT_EQ(to->HighLowOpenColor(), TColor(32768));
  EXPECT_EQ(to->InterpolationStyle(), ipistRational);
  EXPECT_EQ(to->BarWidth(), 2.5);
  // A channel left at aqua and lime writes nothing for them and reads back the same.
  QStringList plain;
  WriteProperties(*a.Channel(0), QStringLiteral("Channel"), plain);
  TiPlot c;
  from->SetHighLowBarColor(16776960);
  QStringList again;
  WriteProperties(*from, QStringLiteral("Channel"), again);
  ReadProperties(*c.Channel(0), QStringLiteral("Channel"), again);
  EXPECT_EQ(c.Channel(0)->HighLowBarColor(), TColor(16776960));
}

// ---------------------------------------------------------------------------------------------
// Order of X

TEST_F(TimeChart, CheckXOrderRefusesValuesAgainstTheDirection) {
  struct Case {
    const char* name;
    std::vector<double> xs;
    double next;
    const char* message;   // nullptr: accepted
  };
  const QString asc = QStringLiteral("New Data-Point X-Value is out of order");
  for (const Case& c : std::initializer_list<Case>{
           {"ascending, backward", {1, 2, 3}, 2.5, "New Data-Point X-Value is out of order"},
           {"ascending, equal", {1, 2, 3}, 3, nullptr},
           {"ascending, forward", {1, 2, 3}, 4, nullptr},
           {"descending, backward", {3, 2, 1}, 1.5, "New Data-Point X-Value is out of order."},
           {"descending, equal", {3, 2, 1}, 1, nullptr},
           {"one point, anything", {5}, -7, nullptr},
           {"NaN", {1, 2}, kNaN, "New Data-Point X-Value is out of order"},
           {"NaN as the first point", {}, kNaN, "New Data-Point X-Value is out of order"}}) {
    SCOPED_TRACE(c.name);
    ch->Clear();
    ch->SetAllowOutOfOrderXValues(false);
    for (double v : c.xs) ch->AddXY(v, 1);
    const int before = ch->Count();
    const QString error = ErrorOf([&] { ch->AddXY(c.next, 1); });
    EXPECT_EQ(error, c.message ? QString::fromLatin1(c.message) : QString());
    EXPECT_EQ(ch->Count(), before + (c.message ? 0 : 1));
    // Allowed (the default): every value goes in.
    ch->SetAllowOutOfOrderXValues(true);
    EXPECT_EQ(ErrorOf([&] { ch->AddXY(c.next, 1); }), QString());
  }
}

TEST_F(TimeChart, DirectionComesFromTheFirstTwoPoints) {
  ch->AddXY(5, 0);
  ch->AddXY(4, 0);
  y->SetMin(0);
  Paint();
  EXPECT_FALSE(ch->XAscending());
  ch->Clear();
  ch->AddXY(4, 0);
  ch->AddXY(5, 0);
  Paint();
  EXPECT_TRUE(ch->XAscending());
}

TEST_F(TimeChart, VisibleRangeTakesOnePointBeyondEachEdge) {
  x->SetMin(10);
  x->SetSpan(10);
  struct Case {
    const char* name;
    std::vector<double> xs;
    int first, last;
  };
  for (const Case& c : std::initializer_list<Case>{{"ascending", {0, 5, 12, 15, 25, 30}, 1, 4},
                                                   {"descending", {30, 25, 15, 12, 5, 0}, 1, 4},
                                                   {"exact edges", {0, 10, 15, 20, 30}, 1, 3}}) {
    SCOPED_TRACE(c.name);
    ch->Clear();
    for (double v : c.xs) ch->AddXY(v, 1);
    ch->UpdateFirstVisibleIndex();
    ch->UpdateLastVisibleIndex();
    EXPECT_EQ(ch->FirstVisibleIndex(), c.first);
    EXPECT_EQ(ch->LastVisibleIndex(), c.last);
  }
}

// Data added out of order with the default settings: a halving search over it would miss the
// points in view; the range is scanned instead, and the line is drawn.
TEST_F(TimeChart, UnorderedDataIsScannedNotSearched) {
  AddPoints({{0, 1}, {30, 1}, {-5, 1}, {2, 5}, {8, 5}, {40, 1}, {-9, 1}});
  ch->UpdateFirstVisibleIndex();
  ch->UpdateLastVisibleIndex();
  EXPECT_EQ(ch->FirstVisibleIndex(), 0);
  EXPECT_EQ(ch->LastVisibleIndex(), 5);
  TBitmap b = Paint();
  EXPECT_EQ(b.Canvas()->Pixel(PX(5), PY(5)), kTrace);
  // SetX puts a channel in order out of order too.
  ch->Clear();
  AddPoints({{1, 5}, {2, 5}, {3, 5}, {4, 5}});
  EXPECT_TRUE(ch->XInOrder());
  ch->SetX(3, -100);
  EXPECT_FALSE(ch->XInOrder());
  TBitmap changed = Paint();
  EXPECT_EQ(changed.Canvas()->Pixel(PX(2.5), PY(5)), kTrace);
  // Descending data whose first two X are equal: the direction taken from them (ascending) is
  // not the data's, so the range is scanned as well.
  ch->Clear();
  ch->AddXY(9, 5);
  for (int v = 9; v >= 1; --v) ch->AddXY(v, 5);
  x->SetMin(3);
  x->SetSpan(2);
  TBitmap descending = Paint();
  EXPECT_EQ(descending.Canvas()->Pixel((R.Left + R.Right) / 2, PY(5)), kTrace);
  EXPECT_GT(ch->GetXMaxExtent(), 8.9);
  EXPECT_LT(ch->GetXMinExtent(), 1.1);
}

// ---------------------------------------------------------------------------------------------
// Straight lines

TEST_F(TimeChart, AThousandPointsInOneColumnDrawOneVerticalLine) {
  for (int i = 0; i < 1000; ++i) ch->AddXY(5 + i * 1e-6, 2 + 6 * ((i * 37) % 1000) / 999.0);
  TBitmap b = Paint();
  const TRect box = BoxOf(b, kTrace, View());
  EXPECT_EQ(box, Rect(PX(5), PY(8), PX(5) + 1, PY(2) + 1));
  EXPECT_EQ(Count(b, kTrace, View()), PY(2) - PY(8) + 1);
}

// The decimated line against the same points drawn segment by segment, for solid one-pixel pens
// (exact) over ordered random data with gaps, on both orientations of the axes.
TEST_F(TimeChart, DecimatedLineHasThePixelsOfEverySegment) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-1, 11);
  double vx = -1;
  for (int i = 0; i < 20000; ++i) {
    vx += 12.0 / 20000;
    if (i % 997 == 0) ch->AddDataPoint(true, false, vx, 0);
    else if (i % 991 == 0) ch->AddDataPoint(false, true, vx, 0);
    else ch->AddXY(vx, value(random));
  }
  for (bool reversed : {false, true}) {
    SCOPED_TRACE(reversed);
    chart.SetXYAxesReverse(reversed);
    ch->SetFastDrawEnabled(true);
    TBitmap fast = Paint();
    ch->SetFastDrawEnabled(false);
    TBitmap plain = Paint();
    EXPECT_TRUE(SamePixels(fast, plain));
    EXPECT_GT(Count(fast, kTrace, View()), 1000);
  }
}

// A column's extremes come from its own values: beyond +-1e301 too (extremes starting at
// +-1e301 kept the start as an extreme, a spurious line from the values to 1e301).
TEST(TimeMinMaxPoint, ExtremesStartFromTheFirstValue) {
  struct Case {
    const char* name;
    std::vector<double> ys;
    double min, max, first, last;
  };
  for (const Case& c : std::initializer_list<Case>{{"above 1e301", {2e301, 3e301}, 2e301, 3e301, 2e301, 3e301},
                                                   {"below -1e301", {-2e301, -5e301}, -5e301, -2e301, -2e301, -5e301},
                                                   {"one value", {4}, 4, 4, 4, 4},
                                                   {"up and down", {1, 7, -3, 2}, -3, 7, 1, 2}}) {
    SCOPED_TRACE(c.name);
    TiPlotMinMaxPoint p;
    p.Reset();
    for (double v : c.ys) p.Add(3, v, 1.5);
    EXPECT_FALSE(p.Empty);
    EXPECT_EQ(p.Pixel, 3);
    EXPECT_EQ(p.X, 1.5);
    EXPECT_EQ(p.Min, c.min);
    EXPECT_EQ(p.Max, c.max);
    EXPECT_EQ(p.First, c.first);
    EXPECT_EQ(p.Last, c.last);
    TiPlotMinMaxPoint q;
    q.Assign(p);
    EXPECT_EQ(q.Min, p.Min);
    q.Reset();
    EXPECT_TRUE(q.Empty);
  }
}

TEST_F(TimeChart, WidePenColumnsBreakAtNullAndNonFinitePoints) {
  ch->SetTraceLineWidth(3);
  for (double gap : {kNaN, std::numeric_limits<double>::infinity()}) {
    ch->Clear();
    AddPoints({{1, 5}, {2, 5}, {3, 5}});
    ch->AddXY(4, gap);
    AddPoints({{5, 5}, {6, 5}});
    TBitmap b = Paint();
    // The columns before the gap are drawn whole, the gap stays empty.
    EXPECT_EQ(b.Canvas()->Pixel(PX(2.5), PY(5)), kTrace);
    EXPECT_EQ(Count(b, kTrace, Rect(PX(3) + 3, R.Top, PX(5) - 3, R.Bottom)), 0);
    EXPECT_EQ(b.Canvas()->Pixel(PX(5.5), PY(5)), kTrace);
  }
}

// ---------------------------------------------------------------------------------------------
// Steps and digital

TEST_F(TimeChart, StepsHoldEachLevelUntilTheNextPoint) {
  AddPoints({{0, 1}, {1, 3}});
  ch->SetInterpolationStyle(ipistDifferential);
  TBitmap b = Paint();
  EXPECT_EQ(b.Canvas()->Pixel(PX(0.5), PY(1)), kTrace);
  EXPECT_EQ(b.Canvas()->Pixel(PX(1), PY(2)), kTrace);
  EXPECT_EQ(b.Canvas()->Pixel(PX(9.5), PY(3)), kTrace);
  EXPECT_NE(b.Canvas()->Pixel(PX(0.5), PY(3)), kTrace);
  ch->SetInterpolationStyle(ipistDifferentialTerminated);
  TBitmap t = Paint();
  EXPECT_EQ(t.Canvas()->Pixel(PX(0.5), PY(1)), kTrace);
  EXPECT_EQ(Count(t, kTrace, Rect(PX(1) + 1, R.Top, R.Right + 1, R.Bottom)), 0);
}

// The last level is drawn across the view also when every point lies before Min, and toward Min
// for descending data.
TEST_F(TimeChart, StepExtensionReachesIntoTheViewFromBehindIt) {
  ch->SetInterpolationStyle(ipistDifferential);
  AddPoints({{-5, 2}, {-3, 4}});
  TBitmap b = Paint();
  EXPECT_EQ(b.Canvas()->Pixel(PX(5), PY(4)), kTrace);
  EXPECT_EQ(b.Canvas()->Pixel(PX(0), PY(4)), kTrace);
  ch->Clear();
  AddPoints({{15, 2}, {13, 6}});
  TBitmap d = Paint();
  EXPECT_EQ(d.Canvas()->Pixel(PX(5), PY(6)), kTrace);
  EXPECT_EQ(d.Canvas()->Pixel(PX(0.5), PY(6)), kTrace);
  // The same data terminated: nothing in view.
  ch->SetInterpolationStyle(ipistDifferentialTerminated);
  TBitmap t = Paint();
  EXPECT_EQ(Count(t, kTrace, View()), 0);
}

TEST_F(TimeChart, DigitalTraceRunsOnTwoLevelsWithMarkersOnThem) {
  ch->SetDigitalEnabled(true);
  ch->SetDigitalReferenceLow(2);
  ch->SetDigitalReferenceHigh(8);
  AddPoints({{1, 0}, {3, 0}, {5, 5}, {7, 0}});
  TBitmap b = Paint();
  EXPECT_EQ(b.Canvas()->Pixel(PX(2), PY(2)), kTrace);   // low from the first to the third X
  EXPECT_EQ(b.Canvas()->Pixel(PX(5), PY(5)), kTrace);   // the rise
  EXPECT_EQ(b.Canvas()->Pixel(PX(6), PY(8)), kTrace);   // high to the fourth X
  EXPECT_EQ(b.Canvas()->Pixel(PX(7), PY(5)), kTrace);   // the fall
  EXPECT_NE(b.Canvas()->Pixel(PX(8), PY(2)), kTrace);   // the last point alone draws no run
  EXPECT_NE(b.Canvas()->Pixel(PX(2), PY(8)), kTrace);
  // Percent levels and markers use the same rows: percent of the Y axis.
  ch->SetDigitalReferenceStyle(ipdrPercent);
  ch->SetDigitalReferenceLow(30);
  ch->SetDigitalReferenceHigh(70);
  ch->SetMarkersVisible(true);
  ch->SetMarkersStyle(ipmsSquare);
  TBitmap p = Paint();
  EXPECT_EQ(ch->DigitalHighPixel(), PY(7));
  EXPECT_EQ(ch->DigitalLowPixel(), PY(3));
  EXPECT_EQ(p.Canvas()->Pixel(PX(6), PY(7)), kTrace);
  EXPECT_EQ(BoxOf(p, kTrace, Rect(PX(1) - 4, R.Top, PX(1) + 1, R.Bottom)).Top, PY(3) - 3);
}

// ---------------------------------------------------------------------------------------------
// Collapsed drawings against every point drawn one by one

TEST_F(TimeChart, FillOfManyPointsPerColumnMatchesEveryQuadrilateral) {
  ch->SetTraceVisible(false);
  ch->SetFillEnabled(true);
  ch->SetFillReference(2);
  std::mt19937 random(3);
  std::uniform_real_distribution<double> value(0, 10);
  for (int i = 0; i < 3000; ++i) ch->AddXY(i / 300.0, value(random));
  TBitmap drawn = Paint();
  TBitmap expected = Background();
  TCanvas* c = expected.Canvas();
  c->Brush().Color = kTrace;
  c->Brush().Style = bsSolid;
  c->Pen().Color = kTrace;
  c->Pen().Style = psClear;
  for (int i = 0; i + 1 < ch->Count(); ++i) {
    const TPoint q[] = {{x->ValueToPosition(ch->GetX(i)), y->ValueToPosition(2)},
                        {x->ValueToPosition(ch->GetX(i)), y->ValueToPosition(ch->GetY(i))},
                        {x->ValueToPosition(ch->GetX(i + 1)), y->ValueToPosition(ch->GetY(i + 1))},
                        {x->ValueToPosition(ch->GetX(i + 1)), y->ValueToPosition(2)}};
    c->Polygon(q, 4);
  }
  EXPECT_TRUE(SamePixels(drawn, expected));
  EXPECT_GT(Count(drawn, kTrace, View()), 2000);
}

TEST_F(TimeChart, BarsOfManyPointsPerColumnMatchEveryBar) {
  ch->SetTraceVisible(false);
  ch->SetBarEnabled(true);
  ch->SetBarWidth(0.2);
  for (int i = 0; i < 2000; ++i) ch->AddXY(i / 200.0, 2 + (i / 7 % 5));
  TBitmap drawn = Paint();
  TBitmap expected = Background();
  TCanvas* c = expected.Canvas();
  for (int i = 0; i < ch->Count(); ++i) {
    c->Pen() = TPen{kTrace, psSolid, 0, pmCopy};
    c->Brush().Color = kTrace;
    c->Brush().Style = bsSolid;
    c->Rectangle(ch->GetBarRect(i));
  }
  EXPECT_TRUE(SamePixels(drawn, expected));
  // A bar is there.
  EXPECT_EQ(drawn.Canvas()->Pixel(PX(5), PY(3)), kTrace);
}

TEST_F(TimeChart, BarsAreHitLikeMarkers) {
  chart.Select = true;
  ch->SetBarEnabled(true);
  ch->SetBarWidth(1);
  AddPoints({{2, 6}, {5, 4}});
  Paint();
  EXPECT_TRUE(ch->HitTest(MakeMouseParams(mbLeft, 0, PX(5), PY(2), false)));
  EXPECT_EQ(ch->HitIndex(), 1);
  EXPECT_FALSE(ch->HitTest(MakeMouseParams(mbLeft, 0, PX(5), PY(5), false)));
}

TEST_F(TimeChart, OpenCloseSymbolsAndCandlesticks) {
  ch->SetTraceVisible(false);
  ch->SetDataStyle(ipdsFullFeature);
  ch->SetHighLowEnabled(true);
  ch->SetHighLowBarWidth(0.5);
  ch->AddXY(5, 5);
  auto& list = const_cast<TiPlotDataCustomList&>(ch->DataList());
  list.SetHighLow1(0, 8);
  list.SetHighLow2(0, 2);
  list.SetOpen(0, 3);
  list.SetClose(0, 7);
  TBitmap b = Paint();
  EXPECT_EQ(b.Canvas()->Pixel(PX(5), PY(5)), ch->HighLowBarColor());
  EXPECT_EQ(b.Canvas()->Pixel(PX(4.5), PY(3)), ch->HighLowOpenColor());
  EXPECT_EQ(b.Canvas()->Pixel(PX(5.5), PY(7)), ch->HighLowCloseColor());
  EXPECT_NE(b.Canvas()->Pixel(PX(5), PY(9)), ch->HighLowBarColor());
  ch->SetHighLowStyle(iphlsCandleStick);
  TBitmap c = Paint();
  // Open below close: bullish body; the shadow above it.
  EXPECT_EQ(c.Canvas()->Pixel(PX(5) + 1, PY(5)), ch->HighLowBullishColor());
  EXPECT_EQ(c.Canvas()->Pixel(PX(5), PY(7.5)), ch->HighLowShadowColor());
  list.SetOpen(0, 7);
  list.SetClose(0, 3);
  TBitmap d = Paint();
  EXPECT_EQ(d.Canvas()->Pixel(PX(5) + 1, PY(5)), ch->HighLowBearishColor());
}

// Many symbols on the same pixels (points a little apart in one column) draw what one of them
// draws, open-close and candlestick alike; symbols that differ are all drawn.
TEST_F(TimeChart, HighLowSymbolsOnTheSamePixelsMatchOneSymbol) {
  ch->SetTraceVisible(false);
  ch->SetDataStyle(ipdsFullFeature);
  ch->SetHighLowEnabled(true);
  auto& list = const_cast<TiPlotDataCustomList&>(ch->DataList());
  auto symbols = [&](int count) {
    ch->Clear();
    for (int i = 0; i < count; ++i) {
      const int k = ch->AddXY(5 + i * 1e-7, 5);
      list.SetHighLow1(k, 8);
      list.SetHighLow2(k, 2);
      list.SetOpen(k, 3);
      list.SetClose(k, 7);
    }
    // One symbol elsewhere that differs.
    const int k = ch->AddXY(8, 5);
    list.SetHighLow1(k, 9);
    list.SetHighLow2(k, 1);
    list.SetOpen(k, 6);
    list.SetClose(k, 4);
  };
  for (TiPlotHighLowStyle style : {iphlsOpenClose, iphlsCandleStick}) {
    SCOPED_TRACE(int(style));
    ch->SetHighLowStyle(style);
    symbols(1);
    TBitmap one = Paint();
    symbols(500);
    TBitmap many = Paint();
    EXPECT_TRUE(SamePixels(one, many));
    EXPECT_GT(CountOther(one, clBlack, View()), 20);
    EXPECT_NE(one.Canvas()->Pixel(PX(8), PY(8.5)), clBlack);
  }
}

// ---------------------------------------------------------------------------------------------
// Interpolated curves

// The natural spline through (0, 0), (1, 1), (2, 0): second derivative -3 at the middle, so
// 0.5 + 0.375 * 3 / 6 = 0.6875 halfway between the first two points.
TEST_F(TimeChart, SplineValuesFromItsDefinitionInEitherDirection) {
  ch->SetInterpolationStyle(ipistCubicSpline);
  for (bool descending : {false, true}) {
    SCOPED_TRACE(descending);
    ch->Clear();
    if (descending) AddPoints({{2, 0}, {1, 1}, {0, 0}});
    else AddPoints({{0, 0}, {1, 1}, {2, 0}});
    double v = 0;
    EXPECT_EQ(ch->GetYAtX(0.5, v), 0);
    EXPECT_NEAR(v, 0.6875, 1e-12);
    EXPECT_EQ(ch->GetYAtX(1.5, v), 0);
    EXPECT_NEAR(v, 0.6875, 1e-12);
    TBitmap b = Paint();
    EXPECT_EQ(b.Canvas()->Pixel(PX(1), PY(1)), kTrace);
    EXPECT_GT(Count(b, kTrace, View()), 20);
  }
}

// A run is split where X turns, and the curve follows the points appended on the fast path
// (inside an update) at once: the cached coefficients belong to a revision of the data.
TEST_F(TimeChart, SplineFollowsEveryAppendAndSplitsWhereXTurns) {
  ch->SetInterpolationStyle(ipistCubicSpline);
  AddPoints({{0, 0}, {1, 1}, {2, 0}});
  double v = 0;
  ASSERT_EQ(ch->GetYAtX(1.5, v), 0);
  const double before = v;
  chart.BeginUpdate();
  ch->AddXY(3, 5);
  ASSERT_EQ(ch->GetYAtX(1.5, v), 0);
  EXPECT_NE(v, before);
  const double held = v;
  // With a repaint pending this append takes the held path.
  ch->AddXY(4, -5);
  ASSERT_EQ(ch->GetYAtX(1.5, v), 0);
  EXPECT_NE(v, held);
  chart.EndUpdate();
  // X turns back at 4: the points after it make a run of their own.
  ch->AddXY(3.5, 0);
  ch->AddXY(2.5, 1);
  EXPECT_EQ(ch->GetYAtX(1.5, v), 0);
  EXPECT_NO_THROW(Paint());
}

TEST_F(TimeChart, SplineWithEqualXRaisesItsErrorAndSkipsTheChannel) {
  ch->SetInterpolationStyle(ipistCubicSpline);
  AddPoints({{1, 1}, {2, 2}, {2, 3}, {4, 1}});
  TBitmap b = Paint();
  EXPECT_EQ(Count(b, kTrace, View()), 0);
  double v;
  EXPECT_NE(ch->GetYAtX(3, v), 0);
}

TEST_F(TimeChart, PolynomialAndRationalValuesFromTheirDefinitions) {
  struct Case {
    TiPlotInterpolationStyle style;
    std::vector<std::pair<double, double>> points;
    double at, expected;
  };
  for (const Case& c : std::initializer_list<Case>{
           // y = x^2 through three points.
           {ipistPolynomial, {{0, 0}, {1, 1}, {2, 4}}, 1.5, 2.25},
           // y = 2 - x + x^3 through four points.
           {ipistPolynomial, {{0, 2}, {1, 2}, {2, 8}, {3, 26}}, 0.5, 1.625},
           // y = 1 / (1 + x): a rational function the interpolant reproduces.
           {ipistRational, {{0, 1}, {1, 0.5}, {2, 1.0 / 3}}, 1.5, 0.4},
           {ipistRational, {{0, 1}, {1, 0.5}, {3, 0.25}, {4, 0.2}}, 2, 1.0 / 3}}) {
    SCOPED_TRACE(InterpolationStyleNames()[c.style].toStdString());
    ch->Clear();
    ch->SetInterpolationStyle(c.style);
    for (auto [px, py] : c.points) ch->AddXY(px, py);
    // A null, an empty and a NaN point take no part.
    ch->AddDataPoint(true, false, 0.25, 0);
    ch->AddDataPoint(false, true, 0.75, 0);
    ch->AddXY(1.25, kNaN);
    double v = 0;
    EXPECT_EQ(ch->GetYAtX(c.at, v), 0);
    EXPECT_NEAR(v, c.expected, 1e-9);
  }
}

// On a reversed X axis the columns are still walked from the smaller pixel to the larger.
TEST_F(TimeChart, CurvesAreDrawnOnReversedAxes) {
  for (TiPlotInterpolationStyle style : {ipistCubicSpline, ipistPolynomial, ipistRational}) {
    SCOPED_TRACE(int(style));
    ch->Clear();
    ch->SetInterpolationStyle(style);
    AddPoints({{1, 2}, {3, 4}, {5, 5}, {8, 6}});
    for (bool reverse : {false, true}) {
      x->SetReverseScale(reverse);
      TBitmap b = Paint();
      EXPECT_GT(Count(b, kTrace, View()), 50) << reverse;
      // The cache holds the curve's columns.
      int filled = 0;
      for (const TiPlotPixelPoint& p : ch->PixelCache()) filled += p.Empty ? 0 : 1;
      EXPECT_GT(filled, 50);
    }
    x->SetReverseScale(false);
  }
  // Outside the X axis's pixels the cache takes nothing.
  EXPECT_EQ(ErrorOf([&] { ch->SetPixelValue(ch->PixelRight() + 1, 0); }), QStringLiteral("Pixel List XPixel out of Range"));
  EXPECT_EQ(ErrorOf([&] { ch->SetPixelValue(ch->PixelLeft() - 1, 0); }), QStringLiteral("Pixel List XPixel out of Range"));
  EXPECT_EQ(ErrorOf([&] { ch->SetPixelValue(ch->PixelLeft(), 0); }), QString());
}

// Many points in view: the polynomial and rational curves are refused at once (their work per
// column grows with the square of the points), never worked through.
TEST_F(TimeChart, PolynomialOverTooManyPointsIsRefused) {
  // The line y = 5 + 1000 (x - 5).
  for (int i = 0; i < 200000; ++i) ch->AddXY(i / 20000.0, 5 + 1000 * (i / 20000.0 - 5));
  for (TiPlotInterpolationStyle style : {ipistPolynomial, ipistRational}) {
    ch->SetInterpolationStyle(style);
    TBitmap b = Paint();
    EXPECT_EQ(Count(b, kTrace, View()), 0);
    double v;
    EXPECT_EQ(ch->GetYAtX(5.00001, v), 2);
  }
  // Few points in view of the same channel are drawn.
  x->SetMin(5);
  x->SetSpan(0.001);
  for (TiPlotInterpolationStyle style : {ipistPolynomial, ipistRational}) {
    ch->SetInterpolationStyle(style);
    TBitmap few = Paint();
    // (The rational interpolant of points on a line has poles between them; it draws up to one.)
    if (style == ipistPolynomial) EXPECT_GT(Count(few, kTrace, View()), 50);
    double v;
    EXPECT_EQ(ch->GetYAtX(5.0005, v), 0);
    EXPECT_NEAR(v, 5.5, 1e-6);
  }
}

// ---------------------------------------------------------------------------------------------
// Values at the pointer's X, the cursor and hit tests

TEST_F(TimeChart, LinearValuesWithDescendingDataGapsAndEnds) {
  struct Case {
    const char* name;
    double at;
    bool found;
    double expected;
  };
  // Descending 8, 6, 4 (empty), 2.
  ch->AddXY(8, 8);
  ch->AddXY(6, 6);
  ch->AddDataPoint(false, true, 4, 0);
  ch->AddXY(2, 2);
  Paint();
  for (const Case& c : std::initializer_list<Case>{{"the first point", 8, true, 8},
                                                   {"between the first two", 7, true, 7},
                                                   {"on a point", 6, true, 6},
                                                   {"across the empty point", 3, true, 3},
                                                   {"on the empty point", 4, true, 4},
                                                   {"the last point", 2, true, 2},
                                                   {"beyond", 1, false, 0},
                                                   {"before", 9, false, 0}}) {
    SCOPED_TRACE(c.name);
    double v = -1;
    EXPECT_EQ(ch->GetYAtXLinear(c.at, v), c.found);
    if (c.found) EXPECT_NEAR(v, c.expected, 0.1);
  }
}

TEST_F(TimeChart, LinearValueNextToANullIsNotFound) {
  AddPoints({{1, 1}});
  ch->AddDataPoint(true, false, 2, 0);
  AddPoints({{3, 3}});
  double v;
  EXPECT_FALSE(ch->GetYAtXLinear(1.5, v));
  EXPECT_FALSE(ch->GetYAtXLinear(2.5, v));
}

TEST_F(TimeChart, CursorReadsTheLineAtThePointersColumn) {
  AddPoints({{2, 2}, {6, 6}});
  const int c = chart.AddDataCursor();
  TiPlotDataCursor* cursor = chart.DataCursor(c);
  cursor->SetChannelName(ch->Name());
  cursor->SetStyle(ipcsValueX);
  cursor->SetPointer1Position(40);
  cursor->SetVisible(true);
  Paint();
  EXPECT_EQ(cursor->ValueStatus(), 0);
  EXPECT_NEAR(cursor->ValueY(), 4, 0.1);
  EXPECT_NEAR(cursor->ValueX(), 4, 1e-9);
  // Beyond the data: "Empty".
  cursor->SetPointer1Position(90);
  Paint();
  EXPECT_EQ(cursor->ValueStatus(), 2);
  cursor->SetStyle(ipcsValueXY);
  Paint();
  EXPECT_TRUE(ch->CursorYText().contains(QStringLiteral("Empty")));
}

TEST_F(TimeChart, RightButtonOnTheTraceHitsTheChannel) {
  AddPoints({{0, 5}, {10, 5}});
  Paint();
  const int mx = PX(4), my = PY(5) - 5;
  EXPECT_TRUE(ch->HitTest(MakeMouseParams(mbRight, 0, mx, my, false)));
  EXPECT_FALSE(ch->HitTest(MakeMouseParams(mbLeft, 0, mx, my, false)));
  EXPECT_FALSE(ch->HitTest(MakeMouseParams(mbRight, 0, mx, PY(5) - 12, false)));
  // Ten pixels below is outside, nine is inside.
  EXPECT_TRUE(ch->HitTest(MakeMouseParams(mbRight, 0, mx, PY(5) + 9, false)));
  EXPECT_FALSE(ch->HitTest(MakeMouseParams(mbRight, 0, mx, PY(5) + 11, false)));
  // With the axes exchanged the trace runs down the view; the test follows it.
  chart.SetXYAxesReverse(true);
  Paint();
  const int along = x->ValueToPosition(4), across = y->ValueToPosition(5);
  EXPECT_TRUE(ch->HitTest(MakeMouseParams(mbRight, 0, across - 5, along, true)));
  EXPECT_FALSE(ch->HitTest(MakeMouseParams(mbRight, 0, across - 15, along, true)));
}

// ---------------------------------------------------------------------------------------------
// X from the clock

TEST_F(TimeChart, ElapsedXFollowsTheSteadyClockNotTheWallClock) {
  TManualClock clock(46000.5);
  ch->ResetStartTime();
  clock.AdvanceMs(1500);
  ch->AddYElapsedSeconds(1);
  EXPECT_NEAR(ch->GetX(0), 1.5, 1e-6);
  // The clock is set back an hour (a daylight-saving change): X goes on forward.
  clock.SetWall(clock.Value() - 1.0 / 24);
  clock.AdvanceMs(500);
  ch->AddYElapsedSeconds(2);
  EXPECT_NEAR(ch->GetX(1), 2.0, 1e-6);
  ch->AddYElapsedTime(3);
  EXPECT_NEAR(ch->GetX(2), 2.0 / 86400, 1e-9);
  // A start time set in the past counts from it.
  ch->SetStartTime(clock.Value() - 1);
  ch->AddYElapsedTime(4);
  EXPECT_NEAR(ch->GetX(3), 1.0, 1e-9);
}

TEST_F(TimeChart, StartTimeResetsOnTheFirstPointWhenAsked) {
  TManualClock clock(46000.0);
  ch->SetResetStartTimeOnFirstDataPoint(true);
  clock.AdvanceMs(10000);
  ch->AddYElapsedSeconds(1);
  EXPECT_NEAR(ch->GetX(0), 0.0, 1e-6);
  EXPECT_NEAR(ch->StartTime(), clock.Value(), 1e-9);
}

}  // namespace

namespace {

// ---------------------------------------------------------------------------------------------
// The data cursor in the time chart: one vertical pointer for values, and snapping to points

struct TimeCursor : TimeChart {
  TiPlotDataCursor* cursor = nullptr;
  TimeCursor() {
    cursor = chart.DataCursor(chart.AddDataCursor());
    cursor->SetChannelName(ch->Name());
    cursor->SetVisible(true);
  }
  TMenuItem* MenuItem(TPopupMenu& menu, const QString& caption) {
    for (int i = 0; i < menu.Items().Count(); ++i)
      if (menu.Items().Items(i)->Caption == caption) return menu.Items().Items(i);
    return nullptr;
  }
};

TEST_F(TimeCursor, ValueStylesShowOneVerticalPointer) {
  for (TiPlotDataCursorStyle style : {ipcsValueXY, ipcsValueX, ipcsValueY}) {
    SCOPED_TRACE(int(style));
    cursor->SetStyle(style);
    EXPECT_TRUE(cursor->Pointer1Shown());
    EXPECT_FALSE(cursor->Pointer1Horizontal());
    EXPECT_FALSE(cursor->Pointer2Shown());
    EXPECT_FALSE(cursor->HintAlongX());
  }
  cursor->SetStyle(ipcsDeltaY);
  EXPECT_TRUE(cursor->Pointer2Shown());
  EXPECT_TRUE(cursor->Pointer2Horizontal());
}

TEST_F(TimeCursor, FindNearestPointKeepsTheFoundIndexOnTiesAndSkipsNonFiniteX) {
  AddPoints({{1, 1}, {2, 1}, {3.2, 1}, {7, 1}});
  struct Case {
    double target;
    int index;
    double distance;
  };
  for (const Case& c : std::initializer_list<Case>{{0, 0, 1}, {9, 3, 2}, {2.6, 2, 0.6}, {2.4, 1, 0.4}, {5.5, 3, 1.5}}) {
    SCOPED_TRACE(c.target);
    double distance;
    EXPECT_EQ(TiPlotDataCursor::FindNearestPoint(ch, c.target, distance), c.index);
    EXPECT_NEAR(distance, c.distance, 1e-12);
  }
  // A NaN X among the points is passed over.
  ch->Clear();
  AddPoints({{1, 1}, {kNaN, 1}, {4, 1}});
  double distance;
  EXPECT_EQ(TiPlotDataCursor::FindNearestPoint(ch, 2, distance), 0);
  EXPECT_EQ(TiPlotDataCursor::FindNearestPoint(ch, 3.5, distance), 2);
  // An empty channel: nowhere.
  ch->Clear();
  EXPECT_EQ(TiPlotDataCursor::FindNearestPoint(ch, 2, distance), -1);
  EXPECT_EQ(distance, 1e300);
}

TEST_F(TimeCursor, PointersSnapAndKeysMoveThemByPoints) {
  AddPoints({{1, 1}, {2, 1}, {3.2, 1}, {7, 1}, {8, 1}, {8.5, 1}, {9, 1}});
  cursor->SetPointer1Position(35);
  cursor->SetSnapToDataPoint(true);
  cursor->SnapPointer(1);
  EXPECT_EQ(cursor->SnapChannelIndex(), 0);
  EXPECT_EQ(cursor->SnapPointIndex(), 2);
  EXPECT_NEAR(cursor->Pointer1Position(), 32, 1e-9);
  int key = VK_RIGHT;
  cursor->DoKeyDown(key, 0, nullptr);
  EXPECT_NEAR(cursor->Pointer1Position(), 70, 1e-9);
  key = VK_END;
  cursor->DoKeyDown(key, 0, nullptr);
  EXPECT_NEAR(cursor->Pointer1Position(), 90, 1e-9);
  key = VK_NEXT;   // five points back from the last
  cursor->DoKeyDown(key, 0, nullptr);
  EXPECT_NEAR(cursor->Pointer1Position(), 20, 1e-9);
  key = VK_HOME;
  cursor->DoKeyDown(key, 0, nullptr);
  EXPECT_NEAR(cursor->Pointer1Position(), 10, 1e-9);
  // A point beyond the axis scrolls it.
  ch->AddXY(14, 1);
  key = VK_END;
  cursor->DoKeyDown(key, 0, nullptr);
  EXPECT_NEAR(x->Min(), 14 - 10 + 0.25, 1e-9);
  EXPECT_NEAR(cursor->Pointer1Position(), 97.5, 1e-9);
}

TEST_F(TimeCursor, EmptyChannelSnapsNowhere) {
  cursor->SetPointer1Position(35);
  cursor->SetSnapToDataPoint(true);
  cursor->SnapPointers();
  EXPECT_EQ(cursor->SnapPointIndex(), -1);
  EXPECT_EQ(cursor->Pointer1Position(), 35);
  int key = VK_RIGHT;
  EXPECT_NO_THROW(cursor->DoKeyDown(key, 0, nullptr));
  EXPECT_EQ(cursor->Pointer1Position(), 35);
}

TEST_F(TimeCursor, MenuOffersSnappingWhichSnapsBothPointers) {
  AddPoints({{1, 1}, {4, 1}});
  cursor->SetPointer1Position(35);
  TPopupMenu menu;
  cursor->AddMenuItems(&menu);
  TMenuItem* snap = MenuItem(menu, QStringLiteral("Snap to Data-Point"));
  ASSERT_NE(snap, nullptr);
  EXPECT_FALSE(snap->Checked);
  snap->Click();
  EXPECT_TRUE(cursor->SnapToDataPoint());
  EXPECT_NEAR(cursor->Pointer1Position(), 40, 1e-9);
  // The XY chart has no such item.
  TiPlotComponent xy;
  TiPlotDataCursor* other = xy.DataCursor(xy.AddDataCursor());
  TPopupMenu plain;
  other->AddMenuItems(&plain);
  EXPECT_EQ(MenuItem(plain, QStringLiteral("Snap to Data-Point")), nullptr);
}

}  // namespace
