// The user's control of an axis: zoom and scroll operations with their limits, drags, wheel
// turns and keys through an offscreen chart, the finished event, the repetition on the other
// axes, the cursor shape and the popup menu.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <memory>

#include "chart/axes/AxisTestSupport.h"
#include "chart/core/InteractionTestSupport.h"
#include "chart/core/rUdudComponent.h"
#include "chart/core/rUdudTranslation.h"
#include "platform/Canvas.h"
#include "platform/Menus.h"

namespace {

// Expected ranges are worked out by hand in each test; sums of powers of ten need a tolerance.
void ExpectRange(const TiPlotAxis& axis, double min, double span) {
  EXPECT_NEAR(axis.Min(), min, 1e-9 * std::max(1.0, std::fabs(min)));
  EXPECT_NEAR(axis.Span(), span, 1e-9 * std::max(1.0, std::fabs(span)));
}

// One X axis along x = 100 .. 600 below the data view and one Y axis along y = 20 .. 220 left of
// it, in a chart of its own driven through Qt's events. Both show 0 .. 100.
struct AxisInput : ::testing::Test {
  TiPlotComponent chart;
  TInput input{chart};
  TMenuRecorder menus;
  QImage image{8, 8, QImage::Format_RGB32};
  TCanvas canvas{&image};
  TiPlotXAxis* x = nullptr;
  TiPlotYAxis* y = nullptr;
  QStringList finished;

  static constexpr QPoint kOnX{300, 165};
  static constexpr QPoint kOnY{80, 120};

  AxisInput() {
    chart.resize(700, 300);
    x = chart.XAxis(chart.AddXAxis());
    y = chart.YAxis(chart.AddYAxis());
    Place(x, true, Rect(100, 150, 600, 180));
    Place(y, false, Rect(60, 20, 100, 220));
    chart.OnXAxisMinSpanChangeFinished = [this](int i, double om, double os, double nm, double ns) {
      finished << QStringLiteral("x%1 %2 %3 -> %4 %5").arg(i).arg(om).arg(os).arg(nm).arg(ns);
    };
    chart.OnYAxisMinSpanChangeFinished = [this](int i, double om, double os, double nm, double ns) {
      finished << QStringLiteral("y%1 %2 %3 -> %4 %5").arg(i).arg(om).arg(os).arg(nm).arg(ns);
    };
  }

  void Place(TiPlotAxis* axis, bool horizontal, const TRect& rect) {
    axis->SetHorizontal(horizontal);
    axis->SetLayoutRect(rect);
    axis->UpdateScaleArea(&canvas);
  }
  // Press, move with the button held, release. The keys are held during the move only: a
  // press with Ctrl or Shift on an axis selects it among several instead of dragging it.
  void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers m = {}) {
    input.Press(from);
    input.Move(to, m);
    input.Release(to);
  }
  // A click without a move focuses the axis and leaves its range.
  void Focus(QPoint on) { input.Click(on); }
};

// ---------------------------------------------------------------------------------------------
// Zoom and scroll operations

struct RangeCase {
  const char* name;
  bool log;
  double min, span;       // before
  double argument;
  double wantMin, wantSpan;
};

// Runs one operation on a fresh axis per case; afterwards NaN and infinity change nothing.
template <class Operation>
void ExpectRanges(std::initializer_list<RangeCase> cases, Operation operation) {
  TAxisOwner owner;
  THandlerLog log;
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    TiPlotXAxis axis(&owner, log.Handlers());
    if (c.log) axis.SetScaleType(ipstLog10);
    axis.SetMinSpan(c.min, c.span);
    operation(axis, c.argument);
    ExpectRange(axis, c.wantMin, c.wantSpan);
    operation(axis, INFINITY);
    if (c.log) operation(axis, std::nan(""));   // a linear Zoom fails on NaN (tested on its own)
    ExpectRange(axis, c.wantMin, c.wantSpan);
  }
}

TEST(AxisZoom, LinearAboutTheMiddleLogarithmicInPowersOfTen) {
  ExpectRanges(
      {
          {"halve", false, 0, 100, 0.5, 25, 50},
          {"double", false, 0, 100, 2, -50, 200},
          {"off-centre", false, 10, 20, 3, -10, 60},
          // log: Min / 10^F, Span * 10^F
          {"log one decade", true, 1, 99, 1, 0.1, 990},
          {"log back", true, 10, 90, -1, 100, 9},
      },
      [](TiPlotAxis& axis, double f) { axis.Zoom(f); });
}

TEST(AxisZoom, ALinearFactorNotAboveZeroFailsAndLeavesTheRange) {
  TAxisOwner owner;
  THandlerLog log;
  TiPlotXAxis axis(&owner, log.Handlers());
  axis.SetMinSpan(10, 30);
  for (double f : {0.0, -2.0, std::nan("")}) {
    SCOPED_TRACE(f);
    try {
      axis.Zoom(f);
      ADD_FAILURE() << "no failure";
    } catch (const EiError& e) {
      EXPECT_EQ(e.Message, "Linear Scale Zoom Factor must be Greater than Zero");
    }
    ExpectRange(axis, 10, 30);
  }
  // Infinity is above zero but no factor: ignored, as on a logarithmic axis NaN is.
  axis.Zoom(INFINITY);
  ExpectRange(axis, 10, 30);
  axis.SetScaleType(ipstLog10);
  axis.Zoom(std::nan(""));
  axis.Zoom(-INFINITY);
  ExpectRange(axis, 10, 30);
}

TEST(AxisZoom, ByPower) {
  ExpectRanges(
      {
          {"in one power", false, 0, 100, 1, 45, 10},
          {"out one power", false, 0, 100, -1, -450, 1000},
          {"none", false, 5, 10, 0, 5, 10},
          // log: Min * 10^P, Span / 10^P
          {"log in", true, 1, 99, 1, 10, 9.9},
          {"log out", true, 10, 90, -1, 1, 900},
      },
      [](TiPlotAxis& axis, double p) {
        axis.ZoomByPower(p);
        axis.ZoomByPower(std::nan(""));
      });
}

struct ScrollCase {
  const char* name;
  bool log;
  bool limits;
  double scrollMin, scrollMax;
  double min, span;
  double fraction;
  double wantMin, wantSpan;
};

TEST(AxisScroll, ByFractionWithinTheLimits) {
  TAxisOwner owner;
  THandlerLog log;
  for (const ScrollCase& c : std::initializer_list<ScrollCase>{
           {"quarter up", false, false, 0, 100, 0, 100, 0.25, 25, 100},
           {"free beyond the limits", false, false, 0, 100, 0, 100, 1, 100, 100},
           {"stops at ScrollMax", false, true, 0, 150, 0, 100, 1, 50, 100},
           {"stops at ScrollMin", false, true, 0, 150, 20, 100, -0.5, 0, 100},
           {"inside", false, true, 0, 150, 20, 100, 0.1, 30, 100},
           // 200 wide in limits 150 wide: the window starts at ScrollMin, whichever way it goes.
           {"wider than the limits up", false, true, 0, 150, 0, 200, 0.1, 0, 200},
           {"wider than the limits down", false, true, 0, 150, 0, 200, -0.1, 0, 200},
           // 1 .. 10, one decade: a fraction of 1 moves a decade.
           {"log decade up", true, false, 0, 100, 1, 9, 1, 10, 90},
           {"log half decade down", true, false, 0, 100, 10, 90, -0.5, std::sqrt(10.0), 10 * std::sqrt(10.0) - std::sqrt(10.0)},
           // 10 .. 100 would pass 50: the upper end stops there, one decade wide.
           {"log stops at ScrollMax", true, true, 0.5, 50, 1, 9, 1, 5, 45},
           {"log stops at ScrollMin", true, true, 0.5, 50, 1, 9, -1, 0.5, 4.5},
       }) {
    SCOPED_TRACE(c.name);
    TiPlotXAxis axis(&owner, log.Handlers());
    if (c.log) axis.SetScaleType(ipstLog10);
    axis.SetScrollMin(c.scrollMin);
    axis.SetScrollMax(c.scrollMax);
    axis.SetScrollMinMaxEnabled(c.limits);
    axis.SetMinSpan(c.min, c.span);
    axis.ScrollByFraction(c.fraction);
    ExpectRange(axis, c.wantMin, c.wantSpan);
    axis.ScrollByFraction(std::nan(""));
    axis.ScrollByFraction(-INFINITY);
    ExpectRange(axis, c.wantMin, c.wantSpan);
  }
}

TEST(AxisScroll, OneStepRaisesEachEventOnce) {
  TAxisOwner owner;
  THandlerLog log;
  TiPlotXAxis axis(&owner, log.Handlers());
  axis.SetName(QStringLiteral("X"));
  axis.ScrollByFraction(0.5);
  EXPECT_EQ(owner.Events, (QStringList{"min X 0 50", "minspan X 0 100 50 100"}));
  owner.Events.clear();
  axis.ZoomByPower(1);
  EXPECT_EQ(owner.Events, (QStringList{"min X 50 95", "span X 100 10", "minspan X 50 100 95 10"}));
}

TEST_F(AxisInput, ScrollPropertiesAndTheirDefaults) {
  EXPECT_FALSE(x->ScrollMinMaxEnabled());
  EXPECT_EQ(x->ScrollMin(), 0.0);
  EXPECT_EQ(x->ScrollMax(), 100.0);
  EXPECT_FALSE(x->MasterUIInput());
  EXPECT_EQ(x->ControlMode(), TiPlotAxis::ipcmScroll);
  x->SetScrollMin(-5);
  x->SetScrollMax(55);
  x->SetScrollMin(std::nan(""));
  x->SetScrollMax(INFINITY);
  EXPECT_EQ(x->ScrollMin(), -5.0);
  EXPECT_EQ(x->ScrollMax(), 55.0);
  // Published: they are in the axis's property table.
  for (const char* name : {"ScrollMinMaxEnabled", "ScrollMin", "ScrollMax", "MasterUIInput"})
    EXPECT_NE(TiPlotAxis::StaticClassInfo().Find(QString::fromLatin1(name)), nullptr) << name;
}

// ---------------------------------------------------------------------------------------------
// Zoom rectangles

TEST_F(AxisInput, ZoomToPixelRectTakesTheValuesUnderTheRectangle) {
  // x: 500 pixels for 0 .. 100, 5 pixels a unit from x = 100.
  x->ZoomToPixelRect(Rect(200, 0, 350, 10));
  ExpectRange(*x, 20, 30);
  // Reversed: x = 350 shows 50, x = 200 shows 80.
  x->SetMinSpan(0, 100);
  x->SetReverseScale(true);
  x->ZoomToPixelRect(Rect(200, 0, 350, 10));
  ExpectRange(*x, 50, 30);
  // y: 200 pixels for 0 .. 100 upward from y = 220; 170 shows 25 and 70 shows 75.
  y->ZoomToPixelRect(Rect(0, 70, 10, 170));
  ExpectRange(*y, 25, 50);
}

TEST_F(AxisInput, ZoomToPixelRectIgnoresAnAxisOrARectangleWithoutLength) {
  x->ZoomToPixelRect(Rect(200, 0, 200, 10));   // no width
  x->ZoomToPixelRect(Rect(350, 0, 200, 10));   // turned inside out
  ExpectRange(*x, 0, 100);
  // A Cartesian child without its reference lies on a point.
  Place(x, true, Rect(300, 165, 300, 165));
  x->ZoomToPixelRect(Rect(200, 0, 350, 10));
  ExpectRange(*x, 0, 100);
}

// ---------------------------------------------------------------------------------------------
// Dragging

TEST_F(AxisInput, DragScrollsTheScaleWithTheMouse) {
  // 50 pixels to the right on 500: a tenth of the span.
  Drag(kOnX, kOnX + QPoint(50, 0));
  ExpectRange(*x, -10, 100);
  EXPECT_FALSE(x->TrackingEnabled());
  EXPECT_FALSE(x->Dragging());
  EXPECT_EQ(finished, (QStringList{"x0 0 100 -> -10 100"}));
  // Upward on the Y axis (20 of 200 pixels) moves its values up with the mouse.
  finished.clear();
  Drag(kOnY, kOnY - QPoint(0, 20));
  ExpectRange(*y, -10, 100);
  EXPECT_EQ(finished, (QStringList{"y0 0 100 -> -10 100"}));
}

TEST_F(AxisInput, DragStepsAddUpFromTheLastPoint) {
  input.Press(kOnX);
  input.Move(kOnX + QPoint(25, 0));
  input.Move(kOnX + QPoint(50, 0));
  input.Move(kOnX + QPoint(150, 0));
  ExpectRange(*x, -30, 100);
  EXPECT_TRUE(finished.isEmpty());   // only the release finishes
  input.Release(kOnX + QPoint(150, 0));
  EXPECT_EQ(finished, (QStringList{"x0 0 100 -> -30 100"}));
}

TEST_F(AxisInput, DragOnAReversedScaleGoesTheOtherWay) {
  x->SetReverseScale(true);
  Drag(kOnX, kOnX + QPoint(50, 0));
  ExpectRange(*x, 10, 100);
}

TEST_F(AxisInput, DragZoomsInZoomModeOrWithCtrl) {
  // Span / 10^(0.1 / 4) about the middle (50).
  const double span = 100 / std::pow(10.0, 0.025);
  x->SetControlMode(TiPlotAxis::ipcmZoom);
  Drag(kOnX, kOnX + QPoint(50, 0));
  ExpectRange(*x, 50 - span / 2, span);
  // Ctrl swaps: a scroll in zoom mode.
  x->SetMinSpan(0, 100);
  Drag(kOnX, kOnX + QPoint(50, 0), Qt::ControlModifier);
  ExpectRange(*x, -10, 100);
  // ...and a zoom in scroll mode.
  x->SetControlMode(TiPlotAxis::ipcmScroll);
  x->SetMinSpan(0, 100);
  Drag(kOnX, kOnX + QPoint(50, 0), Qt::ControlModifier);
  ExpectRange(*x, 50 - span / 2, span);
}

TEST_F(AxisInput, DragZoomOnALogarithmicAxisTwoPowersPerLength) {
  // 1 .. 100; a tenth of the length zooms by 10^0.2: Min * 10^0.2, Span / 10^0.2.
  x->SetScaleType(ipstLog10);
  x->SetMinSpan(1, 99);
  x->SetControlMode(TiPlotAxis::ipcmZoom);
  Drag(kOnX, kOnX + QPoint(50, 0));
  const double k = std::pow(10.0, 0.2);
  ExpectRange(*x, k, 99 / k);
}

TEST_F(AxisInput, AnAxisWithoutLengthIgnoresDrags) {
  Place(x, true, Rect(100, 150, 100, 180));
  x->SetLayoutRect(Rect(100, 150, 600, 180));   // still hit where it was
  Drag(kOnX, kOnX + QPoint(50, 0));
  ExpectRange(*x, 0, 100);
  EXPECT_TRUE(x->TrackingEnabled());
  EXPECT_TRUE(finished.isEmpty());
}

TEST_F(AxisInput, AMoveDuringADoubleClickIsIgnored) {
  const TiPlotMouseParams press = MakeMouseParams(mbLeft, 0, 300, 165, false);
  x->DoMouseDownLeft(press);
  TiPlotMouseParams move = MakeMouseParams(mbLeft, 0, 350, 165, false);
  move.DblClickActive = true;
  x->DoMouseDrag(move);
  ExpectRange(*x, 0, 100);
  EXPECT_TRUE(x->TrackingEnabled());
  // The next ordinary move counts from the press.
  move.DblClickActive = false;
  x->DoMouseDrag(move);
  ExpectRange(*x, -10, 100);
}

TEST_F(AxisInput, AClickWithoutAMoveFinishesNothing) {
  int clicks = 0;
  chart.OnClickXAxis = [&](int) { ++clicks; };
  input.Click(kOnX);
  EXPECT_TRUE(finished.isEmpty());
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(x->TrackingEnabled());
}

// ---------------------------------------------------------------------------------------------
// Wheel

TEST_F(AxisInput, WheelScrollsAtwentiethOrZooms) {
  Focus(kOnX);
  EXPECT_TRUE(input.Wheel(kOnX, 120));
  ExpectRange(*x, 5, 100);
  EXPECT_FALSE(x->TrackingEnabled());
  EXPECT_TRUE(input.Wheel(kOnX, -240));   // only the sign counts
  ExpectRange(*x, 0, 100);
  // Zoom: 10^0.025 per turn on a linear axis, about the middle.
  x->SetControlMode(TiPlotAxis::ipcmZoom);
  input.Wheel(kOnX, 120);
  const double span = 100 / std::pow(10.0, 0.025);
  ExpectRange(*x, 50 - span / 2, span);
  // Ctrl swaps back to scrolling.
  input.Wheel(kOnX, 120, Qt::ControlModifier);
  ExpectRange(*x, 50 - span / 2 + 0.05 * span, span);
}

TEST_F(AxisInput, WheelZoomOnALogarithmicAxis) {
  x->SetScaleType(ipstLog10);
  x->SetMinSpan(1, 99);
  x->SetControlMode(TiPlotAxis::ipcmZoom);
  EXPECT_TRUE(x->DoMouseWheel(-120, 0, {300, 165}));
  const double k = std::pow(10.0, -0.05);
  ExpectRange(*x, k, 99 / k);
}

TEST_F(AxisInput, ANullWheelTurnIsHandledAndChangesNothing) {
  EXPECT_TRUE(x->DoMouseWheel(0, 0, {300, 165}));
  ExpectRange(*x, 0, 100);
  EXPECT_TRUE(x->TrackingEnabled());
}

TEST_F(AxisInput, PauseThenWheelMovesTheRangeAndTrackingStaysOff) {
  x->SetTrackingEnabled(false);   // the toolbar's Pause
  Focus(kOnX);
  input.Wheel(kOnX, 120);
  input.Wheel(kOnX, 120);
  ExpectRange(*x, 10, 100);
  EXPECT_FALSE(x->TrackingEnabled());
}

TEST_F(AxisInput, PauseWheelResumeRestoresTheRangeAndTheMenuOffersToKeepIt) {
  x->SetTrackingEnabled(false);   // the toolbar's Pause keeps 0 .. 100 for the resume
  Focus(kOnX);
  input.Wheel(kOnX, 120);
  ExpectRange(*x, 5, 100);
  // Paused and moved: "Update Resume Values" is offered.
  input.Click(kOnX, Qt::RightButton);
  ASSERT_FALSE(menus.Shown.empty());
  EXPECT_TRUE(menus.LastMenu->Items().Items(1)->Enabled);
  x->SetTrackingEnabled(true);    // Resume
  ExpectRange(*x, 0, 100);

  // Keeping the moved range makes the resume come back to it instead.
  x->SetTrackingEnabled(false);
  input.Wheel(kOnX, 120);
  input.Click(kOnX, Qt::RightButton);
  menus.LastMenu->Items().Items(1)->Click();
  input.Click(kOnX, Qt::RightButton);
  EXPECT_FALSE(menus.LastMenu->Items().Items(1)->Enabled);   // nothing differs any more
  input.Wheel(kOnX, 120);
  x->SetTrackingEnabled(true);
  ExpectRange(*x, 5, 100);
}

// ---------------------------------------------------------------------------------------------
// Keys

struct KeyCase {
  const char* name;
  int qtKey;
  double wantMin, wantSpan;
};

TEST_F(AxisInput, KeysScrollOnceAPress) {
  for (const KeyCase& c : std::initializer_list<KeyCase>{
           {"page up", Qt::Key_PageUp, 100, 100},
           {"end", Qt::Key_End, 100, 100},
           {"page down", Qt::Key_PageDown, -100, 100},
           {"home", Qt::Key_Home, -100, 100},
           {"up", Qt::Key_Up, 1, 100},
           {"right", Qt::Key_Right, 1, 100},
           {"left", Qt::Key_Left, -1, 100},
           {"down", Qt::Key_Down, -1, 100},
       }) {
    SCOPED_TRACE(c.name);
    x->SetMinSpan(0, 100);
    x->SetTrackingEnabled(true);
    finished.clear();
    Focus(kOnX);
    input.Key(c.qtKey);
    ExpectRange(*x, c.wantMin, c.wantSpan);
    EXPECT_FALSE(x->TrackingEnabled());
    EXPECT_EQ(finished, (QStringList{QStringLiteral("x0 0 100 -> %1 %2").arg(c.wantMin).arg(c.wantSpan)}));
  }
}

TEST_F(AxisInput, KeysZoomInZoomModeAndCtrlDoesNotSwap) {
  x->SetControlMode(TiPlotAxis::ipcmZoom);
  Focus(kOnX);
  input.Key(Qt::Key_PageUp);            // span / 10 about 50
  ExpectRange(*x, 45, 10);
  input.Key(Qt::Key_PageDown, Qt::ControlModifier);   // span * 10, still a zoom
  ExpectRange(*x, 0, 100);
}

TEST_F(AxisInput, OtherKeysLeaveRangeAndTracking) {
  Focus(kOnX);
  input.Key(Qt::Key_A);
  input.Key(Qt::Key_Shift);
  ExpectRange(*x, 0, 100);
  EXPECT_TRUE(x->TrackingEnabled());
  EXPECT_TRUE(finished.isEmpty());
}

TEST_F(AxisInput, AKeyCalledDirectlyActsEachTime) {
  // Outside a key press of the control (a repeat, a program's call) every call counts.
  int key = VK_PRIOR;
  x->DoKeyDown(key, 0, nullptr);
  x->DoKeyDown(key, 0, nullptr);
  ExpectRange(*x, 200, 100);
}

// ---------------------------------------------------------------------------------------------
// Repetition on the other axes

struct ThreeXAxes : AxisInput {
  TiPlotXAxis* x2 = nullptr;
  TiPlotXAxis* x3 = nullptr;
  ThreeXAxes() {
    x2 = chart.XAxis(chart.AddXAxis());
    x3 = chart.XAxis(chart.AddXAxis());
    Place(x2, true, Rect(100, 180, 600, 210));
    Place(x3, true, Rect(100, 210, 350, 240));   // half as long
    x2->SetMinSpan(10, 50);
    x3->SetMinSpan(0, 100);
    x->SetMasterUIInput(true);
  }
};

TEST_F(ThreeXAxes, DraggingTheMasterMovesAllOfItsKind) {
  Drag(kOnX, kOnX + QPoint(50, 0));
  ExpectRange(*x, -10, 100);
  ExpectRange(*x2, 5, 50);      // a tenth of its own length
  ExpectRange(*x3, -20, 100);   // 50 of 250 pixels: a fifth
  ExpectRange(*y, 0, 100);      // not its kind
  EXPECT_FALSE(x2->TrackingEnabled());
  EXPECT_EQ(finished.size(), 3);
  EXPECT_TRUE(finished.contains("x1 10 50 -> 5 50"));
}

TEST_F(ThreeXAxes, WheelAndKeysAreRepeatedOnce) {
  Focus(kOnX);
  input.Wheel(kOnX, 120);
  ExpectRange(*x, 5, 100);
  ExpectRange(*x2, 12.5, 50);
  ExpectRange(*x3, 5, 100);
  input.Key(Qt::Key_PageUp);
  ExpectRange(*x, 105, 100);
  ExpectRange(*x2, 62.5, 50);
  ExpectRange(*x3, 105, 100);
}

TEST_F(ThreeXAxes, AKeyOrAWheelTurnMovesAFocusedAxisOnceThoughItIsAlsoRepeatedOnIt) {
  Focus(kOnX);
  input.Click(QPoint(300, 195), Qt::LeftButton, Qt::ShiftModifier);   // x2 joins the selection
  ASSERT_TRUE(x->HasFocus());
  ASSERT_TRUE(x2->HasFocus());
  input.Key(Qt::Key_PageUp);
  ExpectRange(*x, 100, 100);
  ExpectRange(*x2, 60, 50);
  ExpectRange(*x3, 100, 100);
  input.Wheel(kOnX, 120);
  ExpectRange(*x, 105, 100);
  ExpectRange(*x2, 62.5, 50);
  ExpectRange(*x3, 105, 100);
  // Both masters: each repeats on the other, and still every axis moves once.
  x2->SetMasterUIInput(true);
  input.Wheel(kOnX, 120);
  ExpectRange(*x, 110, 100);
  ExpectRange(*x2, 65, 50);
  ExpectRange(*x3, 110, 100);
}

TEST_F(ThreeXAxes, AnotherAxisDoesNotRepeat) {
  Drag(QPoint(300, 195), QPoint(350, 195));
  ExpectRange(*x2, 5, 50);
  ExpectRange(*x, 0, 100);
  ExpectRange(*x3, 0, 100);
}

// ---------------------------------------------------------------------------------------------
// Cursor and popup menu

TEST_F(AxisInput, CursorShapeByControlModeAndTheChartsEvent) {
  const TiPlotMouseParams p = MakeMouseParams(mbLeft, ssCtrl, 300, 165, false);
  EXPECT_EQ(x->GetMouseCursor(p), crHandPoint);
  x->SetControlMode(TiPlotAxis::ipcmZoom);
  y->SetControlMode(TiPlotAxis::ipcmZoom);
  EXPECT_EQ(x->GetMouseCursor(p), crSizeWE);   // Ctrl does not swap the shape
  EXPECT_EQ(y->GetMouseCursor(p), crSizeNS);
  chart.OnGetMouseCursorYAxis = [](int, TCursor& c) { c = crCross; };
  EXPECT_EQ(y->GetMouseCursor(p), crCross);
  EXPECT_EQ(x->GetMouseCursor(p), crSizeWE);
}

TEST_F(AxisInput, PopupMenuOffersTheTrackingItemsFirst) {
  input.Click(kOnX, Qt::RightButton);
  ASSERT_EQ(menus.Shown.size(), 1u);
  EXPECT_EQ(menus.Shown[0].Captions, (QStringList{"Tracking Enabled", "Update Resume Values", "Zoom to Fit", "Edit..."}));
  TMenuItem& items = menus.LastMenu->Items();
  EXPECT_TRUE(items.Items(0)->Checked);
  EXPECT_FALSE(items.Items(1)->Enabled);   // tracking is on
  // Choosing "Tracking Enabled" toggles it.
  items.Items(0)->Click();
  EXPECT_FALSE(x->TrackingEnabled());
  input.Click(kOnX, Qt::RightButton);
  EXPECT_FALSE(menus.LastMenu->Items().Items(0)->Checked);
  menus.LastMenu->Items().Items(0)->Click();
  EXPECT_TRUE(x->TrackingEnabled());
}

TEST_F(AxisInput, PopupMenuCaptionsAreTranslated) {
  TiPlotTranslationObject* entry =
      TiPlotTranslationObject::Create(chart.Master()->Handlers().OnRemove, chart.Master()->Handlers().OnInsert);
  ASSERT_NE(entry, nullptr);
  entry->SetOriginalString(QStringLiteral("Zoom to Fit"));
  entry->SetReplacementString(QStringLiteral("Alles zeigen"));
  input.Click(kOnX, Qt::RightButton);
  ASSERT_EQ(menus.Shown.size(), 1u);
  EXPECT_EQ(menus.Shown[0].Captions.value(2), "Alles zeigen");
}

// An axis whose resume values are known, to see the menu follow them.
class TResumeAxis : public TiPlotXAxis {
 public:
  using TiPlotXAxis::TiPlotXAxis;
  double ResumeMin = 0, ResumeSpan = 100;
  int Fits = 0;

 protected:
  bool MenuResumeValuesDiffer() const override { return Min() != ResumeMin || Span() != ResumeSpan; }
  void MenuUpdateResumeValues() override {
    ResumeMin = Min();
    ResumeSpan = Span();
  }
  void MenuZoomToFit() override {
    ++Fits;
    if (FailFit) throw EiError(QStringLiteral("no data"));
  }

 public:
  bool FailFit = false;
};

TEST(AxisPopupMenu, UpdateResumeValuesOnlyWhilePausedAndMoved) {
  TAxisOwner owner;
  THandlerLog log;
  TResumeAxis axis(&owner, log.Handlers());
  TPopupMenu menu;
  auto item = [&](int i) { return menu.Items().Items(i); };
  axis.SetTrackingEnabled(false);
  axis.AddMenuItems(&menu);
  EXPECT_FALSE(item(1)->Enabled);   // paused, not moved
  axis.ScrollByFraction(0.5);
  axis.AddMenuItems(&menu);
  ASSERT_TRUE(item(1)->Enabled);
  item(1)->Click();
  EXPECT_EQ(axis.ResumeMin, 50.0);
  axis.SetTrackingEnabled(true);
  axis.ScrollByFraction(0.5);
  axis.AddMenuItems(&menu);
  EXPECT_FALSE(item(1)->Enabled);   // tracking on
  item(2)->Click();
  EXPECT_EQ(axis.Fits, 1);
}

TEST(AxisPopupMenu, ACommandNeverFailsIntoTheEventLoopNorOutlivesTheAxis) {
  TAxisOwner owner;
  THandlerLog log;
  TPopupMenu menu;
  TiPlotPtr<TResumeAxis> axis(new TResumeAxis(&owner, log.Handlers()));
  axis->AddMenuItems(&menu);
  axis->FailFit = true;
  EXPECT_NO_THROW(menu.Items().Items(2)->Click());
  EXPECT_EQ(axis->Fits, 1);
  // Chosen after the axis went: nothing happens (the sanitizer watches the memory).
  const std::function<void()> toggle = menu.Items().Items(0)->OnClick;
  axis.reset();
  EXPECT_NO_THROW(toggle());
}

}  // namespace
