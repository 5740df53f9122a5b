// Axis drawing and placement: the pixels of drawn axes on a small bitmap, the measurements the
// layout asks for, and stacking, Cartesian and aligned axes through the chart's layout pass.
#include <QImage>
#include <cmath>
#include <limits>
#include <set>
#include <utility>

#include "chart/axes/AxisTestSupport.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudDataView.h"
#include "platform/Canvas.h"

namespace {

using TPixelSet = std::set<std::pair<int, int>>;

TPixelSet PixelsOf(const QImage& image, TColor color) {
  const QRgb want = qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
  TPixelSet out;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF)) out.insert({x, y});
  return out;
}

// The smallest rectangle (right and bottom exclusive) holding every pixel of the set.
TRect Bounds(const TPixelSet& pixels) {
  TRect r{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
  for (const auto& [x, y] : pixels) {
    r.Left = std::min(r.Left, x);
    r.Top = std::min(r.Top, y);
    r.Right = std::max(r.Right, x + 1);
    r.Bottom = std::max(r.Bottom, y + 1);
  }
  return r;
}

void ExpectWithin(const TRect& inner, const TRect& outer) {
  EXPECT_GE(inner.Left, outer.Left);
  EXPECT_LE(inner.Right, outer.Right);
  EXPECT_GE(inner.Top, outer.Top);
  EXPECT_LE(inner.Bottom, outer.Bottom);
}

int CountInside(const TPixelSet& pixels, const TRect& r) {
  int n = 0;
  for (const auto& [x, y] : pixels) n += PtInRect(r, Point(x, y));
  return n;
}

void AddLine(TPixelSet& set, int x1, int y1, int x2, int y2) {
  // Straight lines only; the end point is not part of the line.
  const int dx = (x2 > x1) - (x2 < x1), dy = (y2 > y1) - (y2 < y1);
  for (int x = x1, y = y1; x != x2 || y != y2; x += dx, y += dy) set.insert({x, y});
}

// One X and one Y axis on their own, drawn onto a black bitmap.
struct AxisDraw : ::testing::Test {
  TAxisOwner owner;
  THandlerLog log;
  TiPlotXAxis x{&owner, log.Handlers()};
  TiPlotYAxis y{&owner, log.Handlers()};
  QImage image{200, 130, QImage::Format_RGB32};
  TCanvas canvas{&image};

  AxisDraw() {
    image.fill(Qt::black);
    x.SetName(QStringLiteral("X"));
    y.SetName(QStringLiteral("Y"));
    owner.XAxes = {&x};
    owner.YAxes = {&y};
    x.SetHorizontal(true);
    y.SetHorizontal(false);
    for (TiPlotAxis* a : {static_cast<TiPlotAxis*>(&x), static_cast<TiPlotAxis*>(&y)}) {
      a->SetDesiredIncrement(50);
      a->SetScaleLinesColor(clRed);
      a->LabelsFont()->SetColor(clLime);
      a->TitleFont()->SetColor(clBlue);
    }
  }
  void Layout(TiPlotAxis& a, const TRect& r) {
    a.SetLayoutRect(r);
    a.CalculateTicks(&canvas);
  }
  // The axis with its title shown and its labels hidden, drawn.
  void DrawTitleAlone(TiPlotAxis& a, const QString& title, const TRect& r) {
    a.SetLabelsVisible(false);
    a.SetTitle(title);
    a.SetTitleShow(true);
    Layout(a, r);
    a.Draw(&canvas, clBlack);
  }
  int TextHeight(const TFont& font, const QString& text) {
    canvas.Font() = font;
    return canvas.TextHeight(text);
  }
  int TextWidth(const TFont& font, const QString& text) {
    canvas.Font() = font;
    return canvas.TextWidth(text);
  }
};

TEST_F(AxisDraw, ScaleLineAndTicksOnEachSide) {
  // Majors 0, 50, 100 and minors 25, 75. Horizontal: 160 pixels for 100 units from 20, so
  // majors at 20, 100, 180 and minors at 60, 140. Vertical: one pixel per unit upward from 110,
  // so majors at 110, 60, 10 and minors at 85, 35. The line lies InnerMargin (5) from the edge
  // that faces the data view and covers both ends; a major mark (7) runs outward from the line,
  // a minor one (3) from outside up to the line.
  struct Case {
    const char* name;
    bool horizontal, farSide;
    TRect rect;
    TiPlotAxis::TSide side;
    int lineAcross, lineFrom, lineTo;   // the line's fixed coordinate and its run along the axis
    int majorFrom, majorTo, minorFrom, minorTo;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"bottom", true, false, Rect(20, 50, 180, 90), TiPlotAxis::sideBottom, 55, 20, 181, 55, 62, 58, 55},
           {"top", true, true, Rect(20, 10, 180, 40), TiPlotAxis::sideTop, 35, 20, 181, 35, 28, 32, 35},
           {"left", false, false, Rect(10, 10, 60, 110), TiPlotAxis::sideLeft, 55, 10, 111, 55, 48, 52, 55},
           {"right", false, true, Rect(100, 10, 150, 110), TiPlotAxis::sideRight, 105, 10, 111, 105, 112, 108, 105}}) {
    SCOPED_TRACE(c.name);
    image.fill(Qt::black);
    TiPlotAxis& a = c.horizontal ? static_cast<TiPlotAxis&>(x) : static_cast<TiPlotAxis&>(y);
    a.SetLabelsVisible(false);
    a.SetFarSide(c.farSide);
    Layout(a, c.rect);
    EXPECT_EQ(a.Side(), c.side);
    a.Draw(&canvas, clBlack);
    // Lines as (along, across) pairs, turned into (x, y) by the axis's direction.
    TPixelSet expected;
    auto add = [&](int along1, int across1, int along2, int across2) {
      if (c.horizontal)
        AddLine(expected, along1, across1, along2, across2);
      else
        AddLine(expected, across1, along1, across2, along2);
    };
    add(c.lineFrom, c.lineAcross, c.lineTo, c.lineAcross);
    const std::vector<int> majors = c.horizontal ? std::vector<int>{20, 100, 180} : std::vector<int>{110, 60, 10};
    const std::vector<int> minors = c.horizontal ? std::vector<int>{60, 140} : std::vector<int>{85, 35};
    for (int p : majors) add(p, c.majorFrom, p, c.majorTo);
    for (int p : minors) add(p, c.minorFrom, p, c.minorTo);
    EXPECT_EQ(PixelsOf(image, clRed), expected);
  }
}

TEST_F(AxisDraw, LinesOffOrScaleLineOff) {
  x.SetLabelsVisible(false);
  x.SetScaleLineShow(false);
  Layout(x, Rect(20, 50, 180, 90));
  x.Draw(&canvas, clBlack);
  TPixelSet marks;
  for (int p : {20, 100, 180}) AddLine(marks, p, 55, p, 62);
  for (int p : {60, 140}) AddLine(marks, p, 58, p, 55);
  EXPECT_EQ(PixelsOf(image, clRed), marks);
  image.fill(Qt::black);
  x.SetScaleLinesShow(false);
  x.Draw(&canvas, clBlack);
  EXPECT_TRUE(PixelsOf(image, clRed).empty());
}

TEST_F(AxisDraw, BottomLabelsSitInTheirBoxes) {
  Layout(x, Rect(20, 50, 180, 100));
  x.Draw(&canvas, clBlack);
  const TFont font = x.LabelsFont()->Font();
  // Distance from the top: inner margin 5 + major length 7 + a quarter of the height of "A".
  const int f = 5 + 7 + static_cast<int>(std::nearbyint(TextHeight(font, QStringLiteral("A")) * 0.25));
  const TPixelSet ink = PixelsOf(image, clLime);
  int total = 0;
  for (const auto& [p, text] : std::initializer_list<std::pair<int, const char*>>{{20, "0"}, {100, "50"}, {180, "100"}}) {
    SCOPED_TRACE(text);
    const int tw = TextWidth(font, QString::fromLatin1(text)), th = TextHeight(font, QString::fromLatin1(text));
    // One pixel of slack for odd widths and glyph overhang.
    const TRect box = Rect(p - tw / 2 - 1, 50 + f, p + tw / 2 + 1, 50 + f + th);
    const int inside = CountInside(ink, box);
    EXPECT_GT(inside, 0);
    total += inside;
  }
  EXPECT_EQ(total, static_cast<int>(ink.size()));   // no ink outside the three boxes
}

TEST_F(AxisDraw, RotatedLabelsOnABottomAxis) {
  x.SetLabelsRotation(ira090);
  Layout(x, Rect(20, 20, 180, 120));
  x.Draw(&canvas, clBlack);
  const TFont font = x.LabelsFont()->Font();
  const int f = 5 + 7 + static_cast<int>(std::nearbyint(TextHeight(font, QStringLiteral("A")) * 0.25));
  const int tw = TextWidth(font, QStringLiteral("100")), th = TextHeight(font, QStringLiteral("100"));
  // Turned: as tall as the text is wide, as wide as it is high, centred on the tick at 180.
  const TRect box = Rect(180 - th / 2 - 1, 20 + f - 1, 180 + th / 2 + 1, 20 + f + tw + 1);
  const TPixelSet ink = PixelsOf(image, clLime);
  const TRect r = Bounds([&] {
    TPixelSet s;
    for (const auto& pt : ink)
      if (pt.first > 160) s.insert(pt);
    return s;
  }());
  ExpectWithin(r, box);
  EXPECT_GT(r.Height(), r.Width());
}

TEST_F(AxisDraw, LeftTitleIsTurnedAndCentred) {
  DrawTitleAlone(y, QStringLiteral("Volts"), Rect(10, 10, 80, 120));
  const TFont font = y.TitleFont()->Font();
  const int w = TextWidth(font, QStringLiteral("Volts")), h = TextHeight(font, QStringLiteral("Volts"));
  // Outer margin 5 from the left edge, centred on the middle (65) of the scale.
  const TRect box = Rect(15 - 1, 65 - w / 2 - 1, 15 + h + 1, 65 + w / 2 + 1);
  const TRect ink = Bounds(PixelsOf(image, clBlue));
  ExpectWithin(ink, box);
  EXPECT_GT(ink.Height(), ink.Width());
  EXPECT_LE(std::abs((ink.Top + ink.Bottom) / 2 - 65), 2);
}

TEST_F(AxisDraw, BottomTitleUprightOrTurned) {
  DrawTitleAlone(x, QStringLiteral("Time"), Rect(20, 40, 180, 110));
  const TFont font = x.TitleFont()->Font();
  const int h = TextHeight(font, QStringLiteral("Time"));
  TRect ink = Bounds(PixelsOf(image, clBlue));
  // Upright, its bottom OuterMargin (5) above the rectangle's bottom, centred on the scale.
  EXPECT_GE(ink.Top, 105 - h);
  EXPECT_LE(ink.Bottom, 105);
  EXPECT_GT(ink.Width(), ink.Height());
  EXPECT_LE(std::abs((ink.Left + ink.Right) / 2 - 100), 2);

  image.fill(Qt::black);
  x.SetTitleRotated(true);
  x.Draw(&canvas, clBlack);
  ink = Bounds(PixelsOf(image, clBlue));
  EXPECT_GT(ink.Height(), ink.Width());
  EXPECT_LE(ink.Bottom, 105);

  // A blank title is not drawn.
  image.fill(Qt::black);
  x.SetTitle(QStringLiteral("   "));
  x.Draw(&canvas, clBlack);
  EXPECT_TRUE(PixelsOf(image, clBlue).empty());
}

TEST_F(AxisDraw, GridLinesAcrossTheRectangleAtTheTicks) {
  Layout(x, Rect(20, 50, 180, 90));
  x.Draw(&canvas, clBlack);   // the paint decides which ticks are on the scale
  image.fill(Qt::black);
  const TiPlotGridLineSettings minor{1, clLime, ipglsSolid, true};
  const TiPlotGridLineSettings major{1, clRed, ipglsSolid, true};
  x.DrawGridLines(&canvas, Rect(20, 0, 180, 40), minor, major);
  TPixelSet majors, minors;
  for (int p : {20, 100, 180}) AddLine(majors, p, 0, p, 40);
  for (int p : {60, 140}) AddLine(minors, p, 0, p, 40);
  EXPECT_EQ(PixelsOf(image, clRed), majors);
  EXPECT_EQ(PixelsOf(image, clLime), minors);
  // Each kind has its show flag; the axis its own switch.
  image.fill(Qt::black);
  x.DrawGridLines(&canvas, Rect(20, 0, 180, 40), TiPlotGridLineSettings{1, clLime, ipglsSolid, false}, major);
  EXPECT_TRUE(PixelsOf(image, clLime).empty());
  EXPECT_EQ(PixelsOf(image, clRed), majors);
  image.fill(Qt::black);
  x.SetGridLinesVisible(false);
  x.DrawGridLines(&canvas, Rect(20, 0, 180, 40), minor, major);
  EXPECT_TRUE(PixelsOf(image, clRed).empty());
  // A vertical axis draws across from left to right; a dotted line leaves gaps.
  Layout(y, Rect(10, 10, 60, 110));
  y.Draw(&canvas, clBlack);
  image.fill(Qt::black);
  y.DrawGridLines(&canvas, Rect(60, 10, 160, 111), minor, TiPlotGridLineSettings{1, clRed, ipglsDot, true});
  const TPixelSet dotted = PixelsOf(image, clRed);
  TPixelSet rows;
  for (int p : {110, 60, 10}) AddLine(rows, 60, p, 160, p);
  EXPECT_FALSE(dotted.empty());
  EXPECT_LT(dotted.size(), rows.size());
  for (const auto& pt : dotted) EXPECT_TRUE(rows.count(pt));
  TPixelSet minorRows;
  for (int p : {85, 35}) AddLine(minorRows, 60, p, 160, p);
  EXPECT_EQ(PixelsOf(image, clLime), minorRows);
}

TEST_F(AxisDraw, HiddenAxisDrawsNothing) {
  Layout(x, Rect(20, 50, 180, 100));
  x.SetVisible(false);
  const QImage before = image.copy();
  x.Draw(&canvas, clBlack);
  EXPECT_EQ(image, before);
}

TEST_F(AxisDraw, RequiredSizeSumsItsParts) {
  x.SetDesiredIncrement(0);
  Layout(x, Rect(0, 0, 180, 40));
  const TFont labels = x.LabelsFont()->Font();
  const int hA = TextHeight(labels, QStringLiteral("A"));
  const int hLabel = TextHeight(labels, QStringLiteral("0"));
  const int gap = static_cast<int>(std::nearbyint(hA * 0.25));
  // Inner and outer margin, the longer tick, the gap and the label height.
  EXPECT_EQ(x.RequiredSize(&canvas), 5 + 5 + 7 + gap + hLabel);
  EXPECT_EQ(x.LabelsOffset(), 7 + 5 + gap + hLabel);

  // A shown title adds its height and a quarter of it.
  x.SetTitleShow(true);
  const int hTitle = TextHeight(x.TitleFont()->Font(), x.Title());
  EXPECT_EQ(x.RequiredSize(&canvas), 5 + 5 + 7 + gap + hLabel + static_cast<int>(std::nearbyint(hTitle * 1.25)));
  // Turned labels count with their width: five widths of "0" exceed "100".
  x.SetTitleShow(false);
  x.SetLabelsRotation(ira090);
  const int minWidth = static_cast<int>(std::nearbyint(5 * TextWidth(labels, QStringLiteral("0"))));
  ASSERT_GT(minWidth, TextWidth(labels, QStringLiteral("100")));
  EXPECT_EQ(x.RequiredSize(&canvas), 5 + 5 + 7 + gap + minWidth);
  // Without lines and labels only the margins stay; a negative major length counts as 0.
  x.SetLabelsVisible(false);
  x.SetMajorLength(-4);
  EXPECT_EQ(x.RequiredSize(&canvas), 5 + 5 + 3);
  x.SetScaleLinesShow(false);
  EXPECT_EQ(x.RequiredSize(&canvas), 10);
}

TEST_F(AxisDraw, LengthsAreHeldToTheDrawableRange) {
  x.SetInnerMargin(std::numeric_limits<int>::min());
  x.SetOuterMargin(std::numeric_limits<int>::max());
  x.SetMajorLength(-40000);
  x.SetMinorLength(40000);
  EXPECT_EQ(x.InnerMargin(), -32000);
  EXPECT_EQ(x.OuterMargin(), 32000);
  EXPECT_EQ(x.MajorLength(), -32000);
  EXPECT_EQ(x.MinorLength(), 32000);
  Layout(x, Rect(20, 50, 180, 90));
  x.Draw(&canvas, clBlack);   // nothing overflows on the way
  EXPECT_EQ(x.RequiredSize(&canvas), 32000);
}

TEST_F(AxisDraw, RequiredEndMarginIsHalfTheExtentAlong) {
  Layout(x, Rect(0, 0, 180, 40));
  const TFont labels = x.LabelsFont()->Font();
  const int minWidth = static_cast<int>(std::nearbyint(5 * TextWidth(labels, QStringLiteral("0"))));
  EXPECT_EQ(x.RequiredEndMargin(&canvas), minWidth / 2);
  x.SetLabelsRotation(ira270);
  EXPECT_EQ(x.RequiredEndMargin(&canvas), TextHeight(labels, QStringLiteral("XYZ")) / 2);
  Layout(y, Rect(0, 0, 40, 100));
  EXPECT_EQ(y.RequiredEndMargin(&canvas), TextHeight(labels, QStringLiteral("XYZ")) / 2);
  y.SetLabelsVisible(false);
  EXPECT_EQ(y.RequiredEndMargin(&canvas), 0);
}

TEST_F(AxisDraw, ScaleAreaAndFocusFrameWithStackedEnds) {
  const TFont labels = x.LabelsFont()->Font();
  const int w0 = TextWidth(labels, QStringLiteral("0"));
  const int h0 = TextHeight(labels, QStringLiteral("0"));
  // Horizontal: half the widest label plus half a "0".
  const int dx = static_cast<int>(std::nearbyint(std::nearbyint(5.0 * w0) / 2)) + static_cast<int>(std::nearbyint(w0 * 0.5));
  x.SetForceStacking(true);
  x.SetStackedAtStart(true);
  x.SetStackedAtEnd(true);
  Layout(x, Rect(20, 50, 180, 90));
  EXPECT_EQ(x.ScaleArea(), Rect(20 + dx, 50, 180 - dx, 90));
  EXPECT_EQ(x.FocusRect(), Rect(20, 52, 180, 88));
  x.SetStackedAtEnd(false);
  x.UpdateScaleArea(&canvas);
  EXPECT_EQ(x.ScaleArea(), Rect(20 + dx, 50, 180, 90));
  EXPECT_EQ(x.FocusRect(), Rect(20, 52, 180 + dx, 88));
  // Vertical: label height and half a "0" height, halved together.
  const int dy = (h0 + static_cast<int>(std::nearbyint(h0 * 0.5))) / 2;
  y.SetStackedAtStart(true);
  Layout(y, Rect(10, 10, 60, 110));
  EXPECT_EQ(y.ScaleArea(), Rect(10, 10, 60, 110 - dy));
  EXPECT_EQ(y.FocusRect(), Rect(12, 10 - dy, 58, 110));
  // The vertical inset counts the labels also while they are hidden.
  y.SetLabelsVisible(false);
  y.UpdateScaleArea(&canvas);
  EXPECT_EQ(y.ScaleArea(), Rect(10, 10, 60, 110 - dy));
}

TEST_F(AxisDraw, InsetsLargerThanTheRectangleCollapseToTheMiddle) {
  x.SetStackedAtStart(true);
  x.SetStackedAtEnd(true);
  Layout(x, Rect(50, 10, 60, 40));
  EXPECT_EQ(x.ScaleArea().Left, 55);
  EXPECT_EQ(x.ScaleArea().Right, 55);
  // Every value maps to the middle; nothing is turned round.
  EXPECT_EQ(x.ValueToPosition(0), 55);
  EXPECT_EQ(x.ValueToPosition(100), 55);
}

TEST_F(AxisDraw, HitTestUsesTheFocusFrame) {
  Layout(x, Rect(20, 50, 180, 90));
  auto at = [](int px, int py) { return MakeMouseParams(mbLeft, 0, px, py, false); };
  const TRect f = x.FocusRect();
  EXPECT_TRUE(x.HitTest(at(f.Left, f.Top)));
  EXPECT_TRUE(x.HitTest(at(100, 87)));
  EXPECT_FALSE(x.HitTest(at(100, 51)));   // the two pixels next to the data view are not the axis
  EXPECT_FALSE(x.HitTest(at(100, 88)));
}

TEST_F(AxisDraw, FocusFrameIsDrawnOnePixelLarger) {
  x.SetLabelsVisible(false);
  x.SetScaleLinesShow(false);
  Layout(x, Rect(20, 50, 180, 90));
  x.SetFocused(true);
  x.Draw(&canvas, clBlack);
  const TRect f = x.FocusRect();
  int top = 0, right = 0, outside = 0;
  for (int px = 0; px < image.width(); ++px)
    for (int py = 0; py < image.height(); ++py) {
      const bool lit = (image.pixel(px, py) & 0xFFFFFF) != 0;
      if (!lit) continue;
      if (py == f.Top) ++top;
      if (px == f.Right) ++right;
      if (px < f.Left || px > f.Right || py < f.Top || py > f.Bottom) ++outside;
    }
  EXPECT_GT(top, 0);
  EXPECT_GT(right, 0);   // the frame's right column is FocusRect.Right itself
  EXPECT_EQ(outside, 0);
}

TEST_F(AxisDraw, AxisOfNoLengthIsNeitherDrawnNorHit) {
  Layout(x, Rect(0, 0, 0, 0));
  const QImage before = image.copy();
  x.SetFocused(true);
  x.Draw(&canvas, clBlack);
  EXPECT_EQ(image, before);
  EXPECT_FALSE(x.HitTest(MakeMouseParams(mbLeft, 0, 0, 0, false)));
}

TEST_F(AxisDraw, FocusGoesUnlessShiftOrCtrlOnAnotherAxis) {
  TiPlotXAxis other{&owner, log.Handlers()};
  TiPlotObject plain{&owner, log.Handlers()};
  for (TShiftState shift : {TShiftState(ssShift), TShiftState(ssCtrl)}) {
    x.SetFocused(true);
    x.SetShiftState(shift);
    x.NotifyFocus(&other);
    EXPECT_TRUE(x.HasFocus());
    x.NotifyFocus(&plain);
    EXPECT_FALSE(x.HasFocus());
  }
  x.SetFocused(true);
  x.SetShiftState(0);
  x.NotifyFocus(&x);
  EXPECT_TRUE(x.HasFocus());
  x.NotifyFocus(&other);
  EXPECT_FALSE(x.HasFocus());
}

TEST_F(AxisDraw, HintOffersTheTitleWhileItIsHidden) {
  x.SetTitle(QStringLiteral("Wavelength"));
  TiPlotHintData hint;
  TiPlotMouseParams params = MakeMouseParams(mbLeft, 0, 40, 70, false);
  params.Hint = &hint;
  x.DoMouseHover(params);
  EXPECT_EQ(hint.Text, "Wavelength");
  EXPECT_EQ(hint.X, 40);
  EXPECT_EQ(hint.Y, 50);
  hint = TiPlotHintData();
  x.SetTitleShow(true);
  x.DoMouseHover(params);
  EXPECT_TRUE(hint.Text.isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Through the chart's layout pass

struct AxisLayout : ::testing::Test {
  TiPlotComponent chart;
  QImage image{400, 300, QImage::Format_RGB32};
  TCanvas canvas{&image};

  AxisLayout() {
    chart.AddXAxis();
    chart.AddYAxis();
    chart.AddDataView();
    chart.AddToolBar();
    chart.AddLegend();
    // Needed for a paint, kept out of the pictures (its glyphs have colours the tests look for).
    chart.ToolBar(0)->SetVisible(false);
    chart.SetWidth(400);
    chart.SetHeight(300);
  }
  void Paint() {
    image.fill(Qt::black);
    chart.DoPaint(canvas);
  }
  TRect DataViewRect() { return chart.DataView(0)->GetLayoutRect(); }
  TFont LabelsFont(TiPlotAxis* a) { return a->LabelsFont()->Font(); }
};

TEST_F(AxisLayout, TheChartMayChangeTheHintOfAnAxisOfItsKind) {
  chart.AddYAxis();
  chart.OnYAxisCustomizeHint = [](int index, QString& text) { text = QStringLiteral("%1 #%2").arg(text).arg(index); };
  bool xRaised = false;
  chart.OnXAxisCustomizeHint = [&](int, QString&) { xRaised = true; };
  TiPlotHintData hint;
  TiPlotMouseParams params = MakeMouseParams(mbLeft, 0, 10, 30, false);
  params.Hint = &hint;
  chart.YAxis(1)->DoMouseHover(params);
  EXPECT_EQ(hint.Text, "Y-Axis 2 #1");
  EXPECT_EQ(hint.Y, 10);
  EXPECT_FALSE(xRaised);
}

TEST_F(AxisLayout, TwoStackedYAxesKeepTheirEndLabelsApart) {
  chart.AddYAxis();
  TiPlotYAxis* lower = chart.YAxis(0);
  TiPlotYAxis* upper = chart.YAxis(1);
  // One level, the lower half and the upper half (spans first, so that they do not collide).
  lower->SetStopPercent(50);
  upper->SetStartPercent(50);
  upper->SetZOrder(lower->ZOrder());
  ASSERT_EQ(upper->ZOrder(), lower->ZOrder());
  Paint();
  ASSERT_TRUE(lower->StackedAtEnd());
  ASSERT_TRUE(upper->StackedAtStart());
  EXPECT_FALSE(lower->StackedAtStart());
  EXPECT_FALSE(upper->StackedAtEnd());
  canvas.Font() = LabelsFont(lower);
  const int h0 = canvas.TextHeight(QStringLiteral("0"));
  const int d = (h0 + static_cast<int>(std::nearbyint(h0 * 0.5))) / 2;
  EXPECT_EQ(lower->ScaleArea().Top, lower->GetLayoutRect().Top + d);
  EXPECT_EQ(lower->ScaleArea().Bottom, lower->GetLayoutRect().Bottom);
  EXPECT_EQ(upper->ScaleArea().Bottom, upper->GetLayoutRect().Bottom - d);
  EXPECT_EQ(upper->ScaleArea().Top, upper->GetLayoutRect().Top);
  EXPECT_GT(lower->ScaleArea().Top - upper->ScaleArea().Bottom, 2 * (h0 / 2));
}

TEST_F(AxisLayout, ForceStackingInsetsBothEndsOfALoneAxis) {
  TiPlotXAxis* x = chart.XAxis(0);
  x->SetForceStacking(true);
  Paint();
  canvas.Font() = LabelsFont(x);
  const int w0 = canvas.TextWidth(QStringLiteral("0"));
  const int d = static_cast<int>(std::nearbyint(std::nearbyint(5.0 * w0) / 2)) + static_cast<int>(std::nearbyint(w0 * 0.5));
  const TRect r = x->GetLayoutRect();
  EXPECT_EQ(x->ScaleArea().Left, r.Left + d);
  EXPECT_EQ(x->ScaleArea().Right, r.Right - d);
  // The data view follows the scale.
  EXPECT_EQ(DataViewRect().Left, r.Left + d);
  EXPECT_EQ(DataViewRect().Right, r.Right - d);
}

TEST_F(AxisLayout, CartesianChildRunsThroughTheZeroOfItsReference) {
  TiPlotXAxis* x = chart.XAxis(0);
  TiPlotYAxis* y = chart.YAxis(0);
  y->SetCartesianStyle(ipcsMaster);
  y->SetMinSpan(-50, 100);
  x->SetCartesianStyle(ipcsChild);
  x->SetCartesianChildRefAxisName(QStringLiteral("Y-Axis 1"));
  x->SetScaleLinesColor(clRed);
  x->LabelsFont()->SetColor(clLime);
  y->SetScaleLinesColor(clYellow);
  y->LabelsFont()->SetColor(clYellow);
  Paint();
  const TRect dv = DataViewRect();
  const TRect ys = y->ScaleArea();
  // Zero lies half-way up the Y scale.
  const int p = ys.Bottom - static_cast<int>(std::nearbyint(50.0 * (ys.Bottom - ys.Top) / 100));
  EXPECT_EQ(x->GetLayoutRect(), Rect(dv.Left, p, dv.Right, p));
  EXPECT_EQ(x->Side(), TiPlotAxis::sideBottom);
  // The Y master runs through the middle of the data view.
  const int m = (dv.Left + dv.Right) / 2;
  EXPECT_EQ(y->GetLayoutRect(), Rect(m, dv.Top, m, dv.Bottom));
  // The X line is on row p; its labels lie below it and inside the data view.
  const TPixelSet line = PixelsOf(image, clRed);
  EXPECT_GT(CountInside(line, Rect(dv.Left + 1, p, dv.Right, p + 1)), (dv.Right - dv.Left) / 2);
  const TPixelSet labels = PixelsOf(image, clLime);
  ASSERT_FALSE(labels.empty());
  const TRect ink = Bounds(labels);
  EXPECT_GT(ink.Top, p);
  EXPECT_GE(ink.Left, dv.Left);
  EXPECT_LE(ink.Right, dv.Right + 1);
  // No X label over the Y line, none at the left end (it would leave the data view).
  EXPECT_EQ(CountInside(labels, Rect(m - 1, p, m + 2, dv.Bottom)), 0);
  EXPECT_EQ(CountInside(labels, Rect(dv.Left, p, dv.Left + 4, dv.Bottom)), 0);
  // Rectangles were reserved: the two scale lines first.
  ASSERT_GE(chart.ReservedRects().size(), 2u);
}

TEST_F(AxisLayout, ChildWithoutReferenceIsNowhere) {
  TiPlotXAxis* x = chart.XAxis(0);
  x->SetCartesianStyle(ipcsChild);
  x->SetCartesianChildRefAxisName(QStringLiteral("No such axis"));
  x->SetScaleLinesColor(clRed);
  x->LabelsFont()->SetColor(clLime);
  Paint();
  EXPECT_EQ(x->GetLayoutRect(), TRect());
  EXPECT_TRUE(PixelsOf(image, clRed).empty());
  EXPECT_TRUE(PixelsOf(image, clLime).empty());
  EXPECT_FALSE(x->HitTest(MakeMouseParams(mbLeft, 0, 0, 0, false)));
}

TEST_F(AxisLayout, AlignedAxisCopiesTheScaleEndsOfItsReference) {
  chart.AddXAxis();
  TiPlotXAxis* first = chart.XAxis(0);
  TiPlotXAxis* second = chart.XAxis(1);
  // A new axis takes a row of its own.
  ASSERT_NE(second->ZOrder(), first->ZOrder());
  second->SetStartPercent(20);
  second->SetStopPercent(60);
  second->SetAlignRefAxisName(QStringLiteral("X-Axis 1"));
  Paint();
  EXPECT_NE(second->GetLayoutRect().Top, first->GetLayoutRect().Top);
  EXPECT_EQ(second->ScaleArea().Left, first->ScaleArea().Left);
  EXPECT_EQ(second->ScaleArea().Right, first->ScaleArea().Right);

  // The name follows a rename of the reference, so that saving keeps the alignment.
  first->SetName(QStringLiteral("Time"));
  EXPECT_EQ(second->AlignRefAxisName(), "Time");
  Paint();
  EXPECT_EQ(second->ScaleArea().Left, first->ScaleArea().Left);
}

TEST_F(AxisLayout, RenameIsFollowedBeforeTheReferenceWasLookedUp) {
  chart.AddXAxis();
  chart.XAxis(1)->SetAlignRefAxisName(QStringLiteral("x-axis 1"));
  chart.YAxis(0)->SetCartesianChildRefAxisName(QStringLiteral("X-Axis 1"));
  chart.XAxis(0)->SetName(QStringLiteral("Time"));
  EXPECT_EQ(chart.XAxis(1)->AlignRefAxisName(), "Time");
  EXPECT_EQ(chart.YAxis(0)->CartesianChildRefAxisName(), "Time");
  // An axis of the other kind is never an align reference, whatever its old name.
  chart.XAxis(1)->SetAlignRefAxisName(QStringLiteral("Y-Axis 1"));
  chart.YAxis(0)->SetName(QStringLiteral("Depth"));
  EXPECT_EQ(chart.XAxis(1)->AlignRefAxisName(), "Y-Axis 1");
}

TEST_F(AxisLayout, AlignmentCyclesAreIgnoredAndChainsEndAtTheirRoot) {
  chart.AddXAxis();
  chart.AddXAxis();
  TiPlotXAxis* a = chart.XAxis(0);
  TiPlotXAxis* b = chart.XAxis(1);
  TiPlotXAxis* c = chart.XAxis(2);
  a->SetStopPercent(50);
  b->SetStartPercent(50);
  a->SetAlignRefAxisName(QStringLiteral("X-Axis 2"));
  b->SetAlignRefAxisName(QStringLiteral("X-Axis 1"));
  Paint();
  EXPECT_EQ(a->AlignRefAxisInLayout(), nullptr);
  EXPECT_EQ(b->AlignRefAxisInLayout(), nullptr);
  // Each keeps its own share of the data view.
  const TRect dv = DataViewRect();
  EXPECT_EQ(a->GetLayoutRect().Left, dv.Left);
  EXPECT_EQ(b->GetLayoutRect().Right, dv.Right);
  EXPECT_EQ(a->GetLayoutRect().Right, b->GetLayoutRect().Left);
  // An axis aligned into the loop still takes its reference.
  c->SetAlignRefAxisName(QStringLiteral("X-Axis 1"));
  EXPECT_EQ(c->AlignRefAxisInLayout(), a);
  // A chain c -> b -> a, placed in collection order, ends at a's extent.
  a->SetAlignRefAxisName(QStringLiteral("<None>"));
  c->SetAlignRefAxisName(QStringLiteral("X-Axis 2"));
  c->SetStartPercent(70);
  Paint();
  EXPECT_EQ(c->ScaleArea().Left, a->ScaleArea().Left);
  EXPECT_EQ(c->ScaleArea().Right, a->ScaleArea().Right);
}

}  // namespace
