// Limits: lines, bands and polygon bands drawn on hand-placed axes, their hit areas, cursors and
// the drag protocol, and their place in a real chart's painting and mouse handling.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "chart/axes/rUdudAxis.h"
#include "tests/chart/core/InteractionTestSupport.h"
#include "tests/chart/decorations/DecorationTestSupport.h"
#include "chart/decorations/rUdudLimit.h"
#include "platform/Menus.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A chart stand-in that finds the two axes, records the limit events and the cursor hook, and
// can be put in select mode.
class TLimitOwner : public TFakeOwner, public TiPlotAxisLookup, public TiPlotLimitEvents {
 public:
  TiPlotXAxis* FindXAxis(const QString& name) const override { return x && x->Name() == name ? x : nullptr; }
  TiPlotYAxis* FindYAxis(const QString& name) const override { return y && y->Name() == name ? y : nullptr; }
  void LimitLine1PositionChange(TiPlotLimit*, double o, double n) override { Events << QStringLiteral("1: %1 -> %2").arg(o).arg(n); }
  void LimitLine2PositionChange(TiPlotLimit*, double o, double n) override { Events << QStringLiteral("2: %1 -> %2").arg(o).arg(n); }
  void ObjectGetMouseCursor(TiPlotObject*, TCursor& c) override {
    Events << QStringLiteral("cursor %1").arg(c);
    if (replaceCursor) c = *replaceCursor;
  }
  bool SelectMode() const override { return select; }

  TiPlotXAxis* x = nullptr;
  TiPlotYAxis* y = nullptr;
  QStringList Events;
  bool select = false;
  std::optional<TCursor> replaceCursor;
};

// Axes placed by hand: X from 0 to 40 over pixels 10 .. 50 (x = 10 + value), Y from 0 to 60 over
// pixels 80 .. 20 upwards (y = 80 - value). A 100 x 100 black picture to draw on.
struct LimitFixture : ::testing::Test {
  TLimitOwner owner;
  THandlerLog log;
  TiPlotXAxis xAxis{&owner, log.Handlers()};
  TiPlotYAxis yAxis{&owner, log.Handlers()};
  TiPlotLimit limit{&owner, log.Handlers()};
  TBitmap bitmap{100, 100};

  LimitFixture() {
    xAxis.SetName(QStringLiteral("X"));
    yAxis.SetName(QStringLiteral("Y"));
    xAxis.SetHorizontal(true);
    yAxis.SetHorizontal(false);
    xAxis.SetMinSpan(0, 40);
    yAxis.SetMinSpan(0, 60);
    Place(xAxis, Rect(10, 0, 50, 0));
    Place(yAxis, Rect(0, 20, 0, 80));
    owner.x = &xAxis;
    owner.y = &yAxis;
    limit.SetName(QStringLiteral("L"));
    limit.SetXAxisName(QStringLiteral("X"));
    limit.SetYAxisName(QStringLiteral("Y"));
  }
  void Place(TiPlotAxis& axis, const TRect& r) {
    axis.SetLayoutRect(r);
    axis.UpdateScaleArea(bitmap.Canvas());
  }
  TBitmap& Draw() {
    TCanvas* c = bitmap.Canvas();
    c->Brush().Style = bsSolid;
    c->Brush().Color = clBlack;
    c->FillRect(Rect(0, 0, 100, 100));
    limit.Draw(c, clBlack);
    return bitmap;
  }
  TColor At(int x, int y) { return bitmap.Canvas()->Pixel(x, y); }
  TRect RedBox() { return BoxOf(bitmap, clRed, Rect(0, 0, 100, 100)); }
  TiPlotMouseParams Mouse(int x, int y, bool reverse = false) { return MakeMouseParams(mbLeft, 0, x, y, reverse); }
};

}  // namespace

TEST_F(LimitFixture, NewLimitIsAHorizontalRedLineAtFiftyThatIgnoresTheMouse) {
  TiPlotLimit fresh(&owner, log.Handlers());
  EXPECT_EQ(fresh.Style(), iplsLineY);
  EXPECT_EQ(fresh.Line1Position(), 50.0);
  EXPECT_EQ(fresh.Line2Position(), 50.0);
  EXPECT_EQ(fresh.Color(), TColor(255));
  EXPECT_EQ(fresh.LineWidth(), 0);
  EXPECT_EQ(fresh.LineStyle(), psSolid);
  EXPECT_EQ(fresh.FillStyle(), bsSolid);
  EXPECT_FALSE(fresh.UserCanMove());
  EXPECT_TRUE(fresh.SelectModeOnlyInteraction());
  EXPECT_FALSE(fresh.ClipToAxes());
  EXPECT_EQ(fresh.BandData().Count(), 0);
  EXPECT_TRUE(fresh.IsYStyle());
  EXPECT_FALSE(fresh.IsFilledBand());
}

TEST_F(LimitFixture, LineXIsDrawnOnlyInsideTheAxisRangeEndsIncluded) {
  limit.SetStyle(iplsLineX);
  struct Case { double at; bool drawn; int x; };
  for (const Case& c : std::initializer_list<Case>{{50, false, 0}, {40, true, 50}, {0, true, 10}, {-0.5, false, 0}, {20, true, 30}}) {
    SCOPED_TRACE(c.at);
    limit.SetLine1Position(c.at);
    Draw();
    EXPECT_EQ(limit.Line1Drawn(), c.drawn);
    EXPECT_FALSE(limit.Line2Drawn());
    if (!c.drawn) {
      EXPECT_EQ(RedBox(), Rect(0, 0, 0, 0));
      continue;
    }
    // From the Y minimum's pixel (80) to the maximum's (20), the end excluded.
    EXPECT_EQ(RedBox(), Rect(c.x, 21, c.x + 1, 81));
    EXPECT_EQ(limit.Line1HitRect(), Rect(c.x - 5, 20, c.x + 5, 80));
  }
}

TEST_F(LimitFixture, LineYRunsAcrossXAndIgnoresTheSecondPosition) {
  limit.SetLine1Position(30);
  limit.SetLine2Position(10);
  Draw();
  EXPECT_EQ(RedBox(), Rect(10, 50, 50, 51));
  EXPECT_TRUE(limit.Line1Drawn());
  EXPECT_FALSE(limit.Line2Drawn());
  EXPECT_EQ(limit.Line1HitRect(), Rect(10, 45, 50, 55));
}

TEST_F(LimitFixture, WideDashedLineUsesTheLimitPen) {
  limit.SetStyle(iplsLineX);
  limit.SetLine1Position(20);
  limit.SetLineWidth(3);
  Draw();
  // Three pixels wide around x = 30.
  EXPECT_EQ(At(29, 50), clRed);
  EXPECT_EQ(At(31, 50), clRed);
  EXPECT_EQ(At(27, 50), clBlack);
  limit.SetLineWidth(0);
  limit.SetLineStyle(psDash);
  Draw();
  int red = 0, gaps = 0;
  for (int y = 21; y <= 80; ++y) (At(30, y) == clRed ? red : gaps)++;
  EXPECT_GT(red, 0);
  EXPECT_GT(gaps, 0);
}

TEST_F(LimitFixture, SolidBandIsAnOutlinedFilledRectangleDrawnUnderTheGrid) {
  limit.SetStyle(iplsBandX);
  limit.SetLine1Position(30);   // x = 40
  limit.SetLine2Position(10);   // x = 20
  EXPECT_TRUE(limit.IsFilledBand());
  Draw();
  EXPECT_EQ(RedBox(), Rect(20, 20, 40, 80));
  EXPECT_EQ(CountOther(bitmap, clRed, Rect(20, 20, 40, 80)), 0);
  EXPECT_TRUE(limit.Line1Drawn());
  EXPECT_TRUE(limit.Line2Drawn());
  EXPECT_EQ(limit.Line1HitRect(), Rect(35, 20, 45, 80));
  EXPECT_EQ(limit.Line2HitRect(), Rect(15, 20, 25, 80));
}

TEST_F(LimitFixture, ClearBandDrawsOnlyItsEdgesWithTheLineWidthOverTheGrid) {
  limit.SetStyle(iplsBandY);
  limit.SetFillStyle(bsClear);
  limit.SetLineWidth(3);
  limit.SetLine1Position(10);   // y = 70
  limit.SetLine2Position(40);   // y = 40
  EXPECT_FALSE(limit.IsFilledBand());
  Draw();
  for (int y : {69, 70, 71, 39, 40, 41}) EXPECT_EQ(At(30, y), clRed) << y;
  for (int y : {67, 55, 43, 37}) EXPECT_EQ(At(30, y), clBlack) << y;
  EXPECT_EQ(limit.Line1HitRect(), Rect(10, 65, 50, 75));
  EXPECT_EQ(limit.Line2HitRect(), Rect(10, 35, 50, 45));
}

TEST_F(LimitFixture, HatchedBandFillsWithThePatternAndDrawsThinEdges) {
  limit.SetStyle(iplsBandX);
  limit.SetFillStyle(bsCross);
  limit.SetLineWidth(5);   // edges of a hatched band are one pixel wide
  limit.SetLine1Position(10);
  limit.SetLine2Position(30);
  EXPECT_TRUE(limit.IsFilledBand());
  Draw();
  for (int y : {30, 50, 70}) {
    EXPECT_EQ(At(20, y), clRed);
    EXPECT_EQ(At(40, y), clRed);
    EXPECT_EQ(At(18, y), clBlack);
    EXPECT_EQ(At(42, y), clBlack);
  }
  const int inside = 18 * 58;
  const int other = CountOther(bitmap, clRed, Rect(22, 21, 40, 79));
  EXPECT_GT(other, 0);        // gaps of the hatch
  EXPECT_LT(other, inside);   // and lines of it
}

TEST_F(LimitFixture, BandsWithoutRangeTestAreDrawnBeyondTheAxis) {
  limit.SetStyle(iplsBandX);
  limit.SetLine1Position(45);   // x = 55, past the X axis end
  limit.SetLine2Position(35);   // x = 45
  Draw();
  EXPECT_EQ(RedBox(), Rect(45, 20, 55, 80));
}

TEST_F(LimitFixture, ClipToAxesKeepsTheBandInsideTheAxesRectangle) {
  limit.SetStyle(iplsBandX);
  limit.SetLine1Position(45);
  limit.SetLine2Position(35);
  limit.SetClipToAxes(true);
  Draw();
  // Clipped to x 10 .. 50, y 20 .. 80.
  EXPECT_EQ(RedBox(), Rect(45, 20, 50, 80));
}

TEST_F(LimitFixture, PolyBandYFillsBetweenItsBoundsAlongX) {
  limit.SetStyle(iplsPolyBandY);
  EXPECT_TRUE(limit.IsFilledBand());
  limit.BandData().Add(10, 10, 30);   // x 20, y 70 .. 50
  Draw();
  EXPECT_EQ(RedBox(), Rect(0, 0, 0, 0));   // one element: nothing
  limit.BandData().Add(30, 10, 30);   // x 40
  Draw();
  EXPECT_EQ(At(30, 60), clRed);
  EXPECT_EQ(At(21, 69), clRed);
  EXPECT_EQ(At(39, 51), clRed);
  EXPECT_EQ(At(30, 45), clBlack);
  EXPECT_EQ(At(30, 75), clBlack);
  EXPECT_EQ(At(15, 60), clBlack);
  EXPECT_EQ(At(45, 60), clBlack);
  EXPECT_FALSE(limit.Line1Drawn());   // cannot be grabbed
  EXPECT_FALSE(limit.Line2Drawn());
}

TEST_F(LimitFixture, PolyBandStopsAtThePairThatStartsPastTheAxisEnd) {
  limit.SetStyle(iplsPolyBandY);
  limit.BandData().Add(30, 10, 30);   // x 40
  limit.BandData().Add(45, 10, 30);   // x 55: this pair starts inside and is drawn
  limit.BandData().Add(60, 10, 30);   // x 70: starts past 40, not drawn
  Draw();
  EXPECT_EQ(At(50, 60), clRed);
  EXPECT_EQ(At(65, 60), clBlack);
}

TEST_F(LimitFixture, PolyBandXWithHatchDrawsItsBoundLines) {
  limit.SetStyle(iplsPolyBandX);
  limit.SetFillStyle(bsClear);
  // Positions on Y, bounds on X: y 70 .. 50, x 20 .. 40.
  limit.BandData().Add(10, 10, 30);
  limit.BandData().Add(30, 10, 30);
  Draw();
  EXPECT_EQ(At(20, 60), clRed);   // bound 1 line
  EXPECT_EQ(At(40, 60), clRed);   // bound 2 line
  EXPECT_EQ(At(30, 60), clBlack);   // no fill
}

TEST_F(LimitFixture, NonFinitePositionsAreIgnoredBySettersAndBandData) {
  limit.SetLine1Position(20);
  owner.Events.clear();
  for (double v : {kNaN, kInf, -kInf}) {
    limit.SetLine1Position(v);
    limit.SetLine2Position(v);
    EXPECT_EQ(limit.BandData().Add(v, 1, 2), -1);
    EXPECT_EQ(limit.BandData().Add(1, v, 2), -1);
    EXPECT_EQ(limit.BandData().Add(1, 2, v), -1);
  }
  EXPECT_EQ(limit.Line1Position(), 20);
  EXPECT_EQ(limit.Line2Position(), 50);
  EXPECT_EQ(limit.BandData().Count(), 0);
  EXPECT_TRUE(owner.Events.isEmpty());
}

TEST(LimitDataList, AddsInAscendingPositionStableForEqualPositions) {
  TiLimitDataList list;
  EXPECT_EQ(list.Add(5, 1, 1), 0);
  EXPECT_EQ(list.Add(2, 2, 2), 0);
  EXPECT_EQ(list.Add(5, 3, 3), 2);
  EXPECT_EQ(list.Add(3, 4, 4), 1);
  EXPECT_EQ(list.Add(5, 5, 5), 4);
  ASSERT_EQ(list.Count(), 5);
  const double positions[] = {2, 3, 5, 5, 5};
  const double bounds[] = {2, 4, 1, 3, 5};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(list.GetPosition(i), positions[i]);
    EXPECT_EQ(list.GetBound1(i), bounds[i]);
    EXPECT_EQ(list.GetBound2(i), bounds[i]);
  }
  for (int bad : {-1, 5}) {
    try {
      list.GetPosition(bad);
      ADD_FAILURE() << bad;
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, QStringLiteral("Index out of Bounds"));
    }
  }
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.GetBound1(0), EiError);
}

TEST_F(LimitFixture, BandDataIsNotAPublishedProperty) {
  for (const TiPropertyInfo& p : TiPlotLimit::StaticClassInfo().Properties()) EXPECT_NE(p.Name, QStringLiteral("BandData"));
}

TEST_F(LimitFixture, PositionSettersRaiseTheChangeEventsWithOldAndNewValues) {
  limit.SetLine1Position(12.5);
  limit.SetLine1Position(12.5);
  limit.SetLine2Position(-3);
  EXPECT_EQ(owner.Events, QStringList({QStringLiteral("1: 50 -> 12.5"), QStringLiteral("2: 50 -> -3")}));
}

TEST_F(LimitFixture, UnresolvedAxesDrawNothingAndCannotBeHit) {
  limit.SetSelectModeOnlyInteraction(false);
  limit.SetStyle(iplsBandX);
  limit.SetLine1Position(10);
  limit.SetLine2Position(30);
  Draw();
  ASSERT_TRUE(limit.HitTest(Mouse(20, 50)));
  limit.SetXAxisName(QStringLiteral("nothing"));
  Draw();
  EXPECT_EQ(RedBox(), Rect(0, 0, 0, 0));
  EXPECT_FALSE(limit.HitTest(Mouse(20, 50)));
}

TEST_F(LimitFixture, AxisRemovedOrRenamedIsFollowed) {
  EXPECT_EQ(limit.XAxis(), &xAxis);
  xAxis.SetName(QStringLiteral("X2"));
  limit.NotifyRenamed(&xAxis);
  EXPECT_EQ(limit.XAxisName(), QStringLiteral("X2"));
  EXPECT_EQ(limit.XAxis(), &xAxis);
  limit.NotifyRemoving(&xAxis);
  owner.x = nullptr;
  EXPECT_EQ(limit.XAxis(), nullptr);
}

TEST_F(LimitFixture, HitAreaRunsFromFiveBeforeToFourAfterTheLineOnlyInSelectMode) {
  limit.SetStyle(iplsLineX);
  limit.SetLine1Position(20);   // x = 30
  Draw();
  EXPECT_FALSE(limit.HitTest(Mouse(30, 50)));   // not in select mode
  owner.select = true;
  for (int x = 20; x <= 40; ++x) EXPECT_EQ(limit.HitTest(Mouse(x, 50)), x >= 25 && x <= 34) << x;
  EXPECT_FALSE(limit.HitTest(Mouse(30, 19)));
  EXPECT_FALSE(limit.HitTest(Mouse(30, 80)));
  owner.select = false;
  limit.SetSelectModeOnlyInteraction(false);
  EXPECT_TRUE(limit.HitTest(Mouse(30, 50)));
}

TEST_F(LimitFixture, CursorIsHandOverALineAndSizingOverBandEdges) {
  EXPECT_EQ(limit.GetMouseCursor(Mouse(0, 0)), crDefault);
  EXPECT_TRUE(owner.Events.isEmpty());   // no event without UserCanMove
  limit.SetUserCanMove(true);
  limit.SetLine1Position(30);
  Draw();
  EXPECT_EQ(limit.GetMouseCursor(Mouse(0, 0)), crHandPoint);
  struct Case { TiPlotLimitStyle style; bool reverse; TCursor cursor; };
  for (const Case& c : std::initializer_list<Case>{{iplsBandX, false, crSizeWE}, {iplsBandY, false, crSizeNS},
                                                   {iplsBandX, true, crSizeNS}, {iplsBandY, true, crSizeWE}}) {
    SCOPED_TRACE(int(c.style) * 10 + c.reverse);
    limit.SetStyle(c.style);
    limit.SetXYAxesReverse(c.reverse);
    xAxis.SetHorizontal(!c.reverse);
    yAxis.SetHorizontal(c.reverse);
    Draw();
    EXPECT_EQ(limit.GetMouseCursor(Mouse(0, 0)), c.cursor);
  }
  owner.replaceCursor = crCross;
  EXPECT_EQ(limit.GetMouseCursor(Mouse(0, 0)), crCross);
}

TEST_F(LimitFixture, DraggingMovesTheGrabbedLineAndRaisesEventsAtEachStep) {
  owner.select = true;
  limit.SetUserCanMove(true);
  limit.SetStyle(iplsBandX);
  limit.SetLine1Position(10);   // x = 20
  limit.SetLine2Position(30);   // x = 40
  Draw();
  owner.Events.clear();
  int focusCalls = 0;
  limit.OnFocusChange = [&](TiPlotObject*) { ++focusCalls; };
  limit.MouseDown(Mouse(44, 50));   // line 2's area
  EXPECT_FALSE(limit.Line1Grabbed());
  EXPECT_TRUE(limit.Line2Grabbed());
  EXPECT_EQ(focusCalls, 1);
  limit.MouseMove(Mouse(46, 50));   // value 36
  limit.MouseMove(Mouse(58, 50));   // value 48: beyond the axis, not clamped
  EXPECT_EQ(owner.Events, QStringList({QStringLiteral("2: 30 -> 36"), QStringLiteral("2: 36 -> 48")}));
  EXPECT_EQ(limit.Line1Position(), 10);
  owner.Log.clear();
  limit.MouseUp(Mouse(58, 50));   // over the moved line: a click
  EXPECT_FALSE(limit.Line2Grabbed());
  EXPECT_EQ(owner.Log, QStringList({QStringLiteral("up L 0 0 58 50")}));
}

TEST_F(LimitFixture, ReleaseAwayFromTheLinesIsNoClick) {
  owner.select = true;
  limit.SetUserCanMove(true);
  limit.SetStyle(iplsLineY);
  limit.SetLine1Position(30);   // y = 50
  Draw();
  limit.MouseDown(Mouse(30, 52));
  ASSERT_TRUE(limit.Line1Grabbed());
  limit.MouseMove(Mouse(30, 40));   // value 40, line now at y = 40
  owner.Log.clear();
  limit.MouseUp(Mouse(30, 60));
  EXPECT_FALSE(limit.Line1Grabbed());
  // The chart hears the release (its mouse-up event) but takes it as a click only over a line.
  EXPECT_EQ(owner.Log.filter(QStringLiteral("up")).size(), 1);
  EXPECT_FALSE(limit.ReleaseIsClick(30, 60));
  EXPECT_TRUE(limit.ReleaseIsClick(30, 40));
  EXPECT_EQ(limit.Line1Position(), 40);
}

TEST_F(LimitFixture, ImmovableLimitIsNotGrabbed) {
  owner.select = true;
  limit.SetLine1Position(30);
  Draw();
  limit.MouseDown(Mouse(30, 50));
  EXPECT_FALSE(limit.Line1Grabbed());
  limit.MouseMove(Mouse(30, 40));
  EXPECT_EQ(limit.Line1Position(), 30);
  owner.Log.clear();
  limit.MouseUp(Mouse(30, 50));   // released on the line: still a click
  EXPECT_EQ(owner.Log, QStringList({QStringLiteral("up L 0 0 30 50")}));
}

TEST_F(LimitFixture, ReversedDragReadsTheExchangedPosition) {
  // X vertical over pixels 60 .. 20 upwards (y = 60 - value), Y horizontal over 10 .. 70.
  limit.SetXYAxesReverse(true);
  xAxis.SetHorizontal(false);
  yAxis.SetHorizontal(true);
  Place(xAxis, Rect(0, 20, 0, 60));
  Place(yAxis, Rect(10, 0, 70, 0));
  limit.SetSelectModeOnlyInteraction(false);
  limit.SetUserCanMove(true);
  limit.SetStyle(iplsLineX);
  limit.SetLine1Position(20);   // y = 40
  Draw();
  EXPECT_EQ(RedBox(), Rect(10, 40, 70, 41));   // from Y min (x 10) to Y max (x 70), end excluded
  EXPECT_EQ(limit.Line1HitRect(), Rect(10, 35, 70, 45));
  limit.MouseDown(Mouse(30, 43, true));
  ASSERT_TRUE(limit.Line1Grabbed());
  limit.MouseMove(Mouse(30, 30, true));   // value 30
  EXPECT_EQ(limit.Line1Position(), 30);
}

TEST_F(LimitFixture, DragWhoseAxisWentEndsTheGrab) {
  limit.SetSelectModeOnlyInteraction(false);
  limit.SetUserCanMove(true);
  limit.SetStyle(iplsLineX);
  limit.SetLine1Position(20);
  Draw();
  limit.MouseDown(Mouse(30, 50));
  ASSERT_TRUE(limit.Line1Grabbed());
  // A handler moves the limit to an axis that does not exist.
  limit.SetXAxisName(QStringLiteral("gone"));
  limit.MouseMove(Mouse(35, 50));
  EXPECT_FALSE(limit.Line1Grabbed());
  EXPECT_EQ(limit.Line1Position(), 20);
}

TEST_F(LimitFixture, GivesUpTheFocusToAnotherFocusedObject) {
  TiPlotLimit other(&owner, log.Handlers());
  limit.SetFocused(true);
  limit.NotifyFocus(&limit);
  EXPECT_TRUE(limit.HasFocus());
  limit.NotifyFocus(&other);   // the other has no focus
  EXPECT_TRUE(limit.HasFocus());
  other.SetFocused(true);
  limit.NotifyFocus(&other);
  EXPECT_FALSE(limit.HasFocus());
}

TEST_F(LimitFixture, MenuHoldsOnlyEdit) {
  TPopupMenu menu;
  menu.Items().Add(QStringLiteral("stale"));
  limit.AddMenuItems(&menu);
  ASSERT_EQ(menu.Items().Count(), 1);
  EXPECT_EQ(menu.Items().Items(0)->Caption, QStringLiteral("Edit..."));
}

// ---------------------------------------------------------------------------------------------
// Limits in a real chart

namespace {

// A data view whose grid is a solid green cover of the whole view, so that what is drawn under
// the grid is hidden and what is drawn over it shows.
class TCoveringView : public TiPlotDataView {
 public:
  using TiPlotDataView::TiPlotDataView;
  void Draw(TCanvas* canvas, TColor) override {
    canvas->Brush().Style = bsSolid;
    canvas->Brush().Color = clLime;
    canvas->FillRect(GetLayoutRect());
  }
};

// A chart with two axes and one limit on them, painted on a black background.
struct TLimitChart {
  TPaintableChart paintable{300, 200};
  TiPlotComponent& chart = paintable.chart;
  TiPlotLimit* limit = nullptr;
  TRect view;

  TLimitChart() {
    chart.AddXAxis();
    chart.AddYAxis();
    chart.AddLimit();
    limit = chart.Limit(0);
  }
  TBitmap Paint() {
    TBitmap b = paintable.Paint();
    view = chart.DataView(0)->GetLayoutRect();
    return b;
  }
  // The columns of the view that hold red in its middle row.
  std::vector<int> RedColumns(TBitmap& b) {
    std::vector<int> xs;
    const int y = (view.Top + view.Bottom) / 2;
    for (int x = view.Left; x < view.Right; ++x)
      if (b.Canvas()->Pixel(x, y) == clRed) xs.push_back(x);
    return xs;
  }
};

}  // namespace

TEST(LimitInChart, NewLimitTakesTheFirstAxesAndTheBaseName) {
  TLimitChart c;
  EXPECT_EQ(c.limit->Name(), QStringLiteral("Limit 1"));
  EXPECT_EQ(c.limit->XAxis(), c.chart.XAxis(0));
  EXPECT_EQ(c.limit->YAxis(), c.chart.YAxis(0));
}

TEST(LimitInChart, FilledBandsGoUnderTheGridAndEdgesOverIt) {
  TLimitChart c;
  c.chart.LayoutManager()->SetLayoutEnabled(false);
  c.chart.DeleteDataView(0);
  InsertInto<TCoveringView>(c.chart);
  c.chart.LayoutManager()->SetLayoutEnabled(true);
  c.limit->SetStyle(iplsBandX);
  c.limit->SetLine1Position(30);
  c.limit->SetLine2Position(70);
  TBitmap solid = c.Paint();
  ASSERT_GT(c.view.Right - c.view.Left, 20);
  EXPECT_TRUE(c.RedColumns(solid).empty());   // covered by the grid
  EXPECT_GT(CountOther(solid, clRed, c.view), 0);
  c.limit->SetFillStyle(bsClear);
  TBitmap clear = c.Paint();
  EXPECT_EQ(c.RedColumns(clear).size(), 2u);   // its two edges, over the grid
  c.limit->SetFillStyle(bsSolid);
  c.limit->SetStyle(iplsLineX);
  TBitmap line = c.Paint();
  EXPECT_EQ(c.RedColumns(line).size(), 1u);
}

TEST(LimitInChart, DraggingWithTheMouseRaisesPositionEventsAndTheClick) {
  TLimitChart c;
  TInput input(c.chart);
  QStringList events;
  c.chart.OnLimitLine1PositionChange = [&](int index, double o, double n) {
    events << QStringLiteral("%1: %2 -> %3").arg(index).arg(o).arg(n);
  };
  int clicks = 0;
  c.chart.OnClickLimit = [&](int index) { clicks += index == 0; };
  c.limit->SetStyle(iplsLineX);
  c.limit->SetUserCanMove(true);
  TBitmap before = c.Paint();
  const std::vector<int> at = c.RedColumns(before);
  ASSERT_EQ(at.size(), 1u);
  const int x = at[0];
  const int y = (c.view.Top + c.view.Bottom) / 2;

  // Not in select mode: the limit ignores the mouse.
  input.Press({x, y});
  EXPECT_FALSE(c.limit->Line1Grabbed());
  input.Release({x, y});
  EXPECT_EQ(clicks, 0);

  // The toolbar's Select button down.
  c.chart.DeleteToolBar(0);
  InsertInto<TProbeToolBar>(c.chart, [](TProbeToolBar* t) {
    t->SelectDown = true;
    t->SetVisible(false);
  });
  ASSERT_TRUE(c.chart.SelectMode());
  struct Case { int dx; bool grabs; };
  for (const Case& k : std::initializer_list<Case>{{-6, false}, {-5, true}, {4, true}, {5, false}}) {
    SCOPED_TRACE(k.dx);
    input.Press({x + k.dx, y});
    EXPECT_EQ(c.limit->Line1Grabbed(), k.grabs);
    const int before = clicks;
    input.Release({x + k.dx, y});
    EXPECT_FALSE(c.limit->Line1Grabbed());
    EXPECT_EQ(clicks - before, k.grabs ? 1 : 0);
  }
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(events.isEmpty());

  input.Press({x, y});
  input.Move({x + 4, y});
  input.Move({x + 10, y});
  ASSERT_EQ(events.size(), 2);
  const double moved = c.limit->Line1Position();
  EXPECT_GT(moved, 50.0);
  EXPECT_TRUE(events[0].startsWith(QStringLiteral("0: 50 -> ")));
  EXPECT_EQ(events[1], QStringLiteral("0: %1 -> %2").arg(events[0].section(QStringLiteral(" -> "), 1)).arg(moved));
  input.Release({x + 10, y});
  EXPECT_EQ(clicks, 3);
  TBitmap after = c.Paint();
  EXPECT_EQ(c.RedColumns(after), std::vector<int>({x + 10}));
}

TEST(LimitInChart, HandlerThatRemovesTheAxisEndsTheDrag) {
  TLimitChart c;
  TInput input(c.chart);
  c.limit->SetStyle(iplsLineX);
  c.limit->SetUserCanMove(true);
  c.limit->SetSelectModeOnlyInteraction(false);
  TBitmap b = c.Paint();
  const int x = c.RedColumns(b).at(0);
  const int y = (c.view.Top + c.view.Bottom) / 2;
  int changes = 0;
  c.chart.OnLimitLine1PositionChange = [&](int, double, double) {
    if (++changes == 1) c.chart.DeleteXAxis(0);
  };
  input.Press({x, y});
  input.Move({x + 3, y});
  ASSERT_EQ(changes, 1);
  EXPECT_TRUE(c.limit->Line1Grabbed());
  input.Move({x + 6, y});
  EXPECT_FALSE(c.limit->Line1Grabbed());
  EXPECT_EQ(changes, 1);
  input.Release({x + 6, y});
  c.Paint();
  EXPECT_FALSE(c.limit->Line1Drawn());
}

TEST(LimitInChart, HandlerThatDeletesTheLimitDuringADragIsSafe) {
  TLimitChart c;
  TInput input(c.chart);
  c.limit->SetStyle(iplsBandX);
  c.limit->SetFillStyle(bsClear);
  c.limit->SetLine1Position(50);
  c.limit->SetLine2Position(50);   // both edges on one pixel: a press grabs line 1
  c.limit->SetUserCanMove(true);
  c.limit->SetSelectModeOnlyInteraction(false);
  TBitmap b = c.Paint();
  const int x = c.RedColumns(b).at(0);
  const int y = (c.view.Top + c.view.Bottom) / 2;
  c.chart.OnLimitLine1PositionChange = [&](int, double, double) { c.chart.DeleteLimit(0); };
  input.Press({x, y});
  input.Move({x + 3, y});
  input.Release({x + 3, y});
  EXPECT_EQ(c.chart.LimitCount(), 0);
}

TEST(LimitInChart, PictureWithBandsAndLines) {
  TLimitChart c;
  c.chart.AddLimit();
  c.chart.AddLimit();
  c.chart.AddLimit();
  c.limit->SetStyle(iplsBandX);
  c.limit->SetLine1Position(20);
  c.limit->SetLine2Position(35);
  c.limit->SetFillStyle(bsDiagCross);
  TiPlotLimit* line = c.chart.Limit(1);
  line->SetLine1Position(70);
  line->SetLineStyle(psDash);
  line->SetColor(clYellow);
  TiPlotLimit* poly = c.chart.Limit(2);
  poly->SetStyle(iplsPolyBandY);
  poly->SetColor(clBlue);
  for (const auto& [p, b1, b2] : std::initializer_list<std::tuple<double, double, double>>{{40, 10, 30}, {60, 20, 50}, {80, 15, 35}, {140, 0, 100}})
    poly->BandData().Add(p, b1, b2);
  TiPlotLimit* band = c.chart.Limit(3);
  band->SetStyle(iplsBandY);
  band->SetFillStyle(bsClear);
  band->SetColor(clLime);
  band->SetLineWidth(2);
  band->SetLine1Position(85);
  band->SetLine2Position(95);
  TBitmap b = c.Paint();
  EXPECT_TRUE(b.Image().save(PicturePath(QStringLiteral("lumio_limits.png"))));
  EXPECT_GT(CountOther(b, clBlack, c.view), 0);
  EXPECT_TRUE(line->Line1Drawn());
  EXPECT_TRUE(band->Line1Drawn() && band->Line2Drawn());
}
