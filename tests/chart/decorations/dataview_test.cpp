// The data view: grid lines at the ticks of its axes in each style and kind, the frame and its
// sides, the focus frame, pixel-percent conversions (also of an empty rectangle), the
// interaction mode from the first toolbar, the zoom box with its event, cursors, and which axes a
// drag or the wheel goes to.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <limits>
#include <set>
#include <utility>

#include "chart/axes/rUdudAxis.h"
#include "chart/decorations/rUdudDataView.h"
#include "tests/chart/decorations/DecorationTestSupport.h"

namespace {

constexpr TColor kGreen = RGB(0, 128, 0);
constexpr TColor kBack = RGB(0, 0, 160);
using PixelSet = std::set<std::pair<int, int>>;

// A failing comparison lists only the pixels that differ.
testing::AssertionResult SamePixels(const PixelSet& got, const PixelSet& want) {
  if (got == want) return testing::AssertionSuccess();
  testing::AssertionResult r = testing::AssertionFailure();
  int shown = 0;
  for (const auto& p : got)
    if (!want.count(p) && shown++ < 20) r << " extra(" << p.first << "," << p.second << ")";
  for (const auto& p : want)
    if (!got.count(p) && shown++ < 40) r << " missing(" << p.first << "," << p.second << ")";
  return r;
}

// The data view spans x 10 .. 110 and y 10 .. 110; the X axis runs 0 .. 100 along it (one pixel
// per unit, 0 at x = 10), the Y axis 0 .. 100 upward (0 at y = 110). With an increment of 50 the
// majors fall on 0, 50 and 100 (x 10, 60, 110; y 110, 60, 10) and, with one minor between, the
// minors on 25 and 75 (x 35, 85; y 85, 35).
struct GridFixture : ::testing::Test {
  TiPlotComponent chart;
  TiPlotDataView* view = nullptr;
  TiPlotXAxis* x = nullptr;
  TiPlotYAxis* y = nullptr;
  TBitmap bitmap{130, 130};
  const TRect R = Rect(10, 10, 110, 110);

  void SetUp() override {
    view = chart.DataView(chart.AddDataView());
    x = chart.XAxis(chart.AddXAxis());
    y = chart.YAxis(chart.AddYAxis());
    view->SetLayoutRect(R);
    Prepare(x, Rect(10, 110, 110, 130));
    Prepare(y, Rect(0, 10, 10, 110));
    view->SetGridXAxisName(x->Name());
    view->SetGridYAxisName(y->Name());
  }
  void Prepare(TiPlotAxis* axis, const TRect& rect) {
    axis->SetLayoutRect(rect);
    axis->SetMin(0);
    axis->SetSpan(100);
    axis->SetDesiredIncrement(50);
    axis->SetMinorCount(1);
  }
  void Paint() {
    TCanvas* c = bitmap.Canvas();
    c->Brush() = TBrush{clBlack, bsSolid};
    c->FillRect(Rect(0, 0, 130, 130));
    for (int i = 0; i < chart.XAxisCount(); ++i) chart.XAxis(i)->CalculateTicks(c);
    for (int i = 0; i < chart.YAxisCount(); ++i) chart.YAxis(i)->CalculateTicks(c);
    view->Draw(c, kBack);
  }
  PixelSet PixelsOf(TColor color) {
    PixelSet s;
    for (int py = 0; py < 130; ++py)
      for (int px = 0; px < 130; ++px)
        if (bitmap.Canvas()->Pixel(px, py) == color) s.insert({px, py});
    return s;
  }
};

// Lines written out pixel by pixel; a line leaves out its end point.
void AddVertical(PixelSet& s, int px, int fromY, int toY) {
  for (int py = fromY; py < toY; ++py) s.insert({px, py});
}
void AddHorizontal(PixelSet& s, int py, int fromX, int toX) {
  for (int px = fromX; px < toX; ++px) s.insert({px, py});
}
PixelSet Frame() {
  PixelSet s;
  AddVertical(s, 10, 10, 110);
  AddVertical(s, 110, 10, 110);
  AddHorizontal(s, 10, 10, 110);
  AddHorizontal(s, 110, 10, 111);   // the bottom closes the corner
  return s;
}

TEST_F(GridFixture, MajorGridLinesRunAcrossTheViewAtTheTicksInsideTheFrame) {
  Paint();
  PixelSet expected = Frame();
  AddVertical(expected, 60, 10, 110);
  AddHorizontal(expected, 60, 10, 110);
  EXPECT_TRUE(SamePixels(PixelsOf(kGreen), expected));
}

TEST_F(GridFixture, EachFrameSideHasItsOwnFlag) {
  struct Case {
    const char* name;
    std::function<void(bool)> set;
    PixelSet missing;
  };
  PixelSet left, right, top, bottom;
  AddVertical(left, 10, 11, 110);      // (10, 10) stays: the top line draws it
  AddVertical(right, 110, 11, 110);    // (110, 10) is the top line's end, left out; the bottom draws (110, 110)
  right.insert({110, 10});
  AddHorizontal(top, 10, 11, 110);
  AddHorizontal(bottom, 110, 10, 111);  // (10, 110) is the left line's end, left out
  view->SetGridShow(true);
  view->SetGridLineShowXMajors(false);
  view->SetGridLineShowYMajors(false);
  for (const Case& c : std::initializer_list<Case>{{"left", [this](bool v) { view->SetGridLineShowLeft(v); }, left},
                                                   {"right", [this](bool v) { view->SetGridLineShowRight(v); }, right},
                                                   {"top", [this](bool v) { view->SetGridLineShowTop(v); }, top},
                                                   {"bottom", [this](bool v) { view->SetGridLineShowBottom(v); }, bottom}}) {
    SCOPED_TRACE(c.name);
    c.set(false);
    Paint();
    PixelSet expected = Frame();
    for (const auto& p : c.missing) expected.erase(p);
    EXPECT_TRUE(SamePixels(PixelsOf(kGreen), expected));
    c.set(true);
  }
}

TEST_F(GridFixture, WithoutGridShowNothingIsDrawn) {
  view->SetGridShow(false);
  Paint();
  EXPECT_EQ(CountOther(bitmap, clBlack, Rect(0, 0, 130, 130)), 0);
}

TEST_F(GridFixture, AnAxisNameThatMatchesNoAxisLeavesOnlyTheFrameInThatDirection) {
  view->SetGridXAxisName(QStringLiteral("no such axis"));
  Paint();
  PixelSet expected = Frame();
  AddHorizontal(expected, 60, 10, 110);
  EXPECT_TRUE(SamePixels(PixelsOf(kGreen), expected));
}

TEST_F(GridFixture, AllInAnyLetterCaseDrawsTheGridOfEveryAxisOfTheKind) {
  // A second X axis over 25 .. 125: its majors 50 and 100 fall on x = 35 and 85.
  TiPlotXAxis* second = chart.XAxis(chart.AddXAxis());
  Prepare(second, Rect(10, 110, 110, 130));
  second->SetMin(25);
  view->SetGridXAxisName(QStringLiteral("<all>"));
  view->SetGridYAxisName(QStringLiteral("<All>"));
  Paint();
  PixelSet expected = Frame();
  for (int px : {35, 60, 85}) AddVertical(expected, px, 10, 110);
  AddHorizontal(expected, 60, 10, 110);
  EXPECT_TRUE(SamePixels(PixelsOf(kGreen), expected));
  EXPECT_EQ(view->GridXAxis(), nullptr) << "<ALL> names no single axis";
}

TEST_F(GridFixture, CustomKindsTakeTheirOwnColourAndMinorsShowOnlyWhenAsked) {
  view->SetGridLineShowXMinors(true);
  view->SetGridLineXMinorCustom(true);
  view->SetGridLineXMinorColor(clRed);
  view->SetGridLineYMajorCustom(true);
  view->SetGridLineYMajorColor(clYellow);
  Paint();
  PixelSet red, yellow;
  for (int px : {35, 85}) AddVertical(red, px, 11, 110);   // the top frame line covers y = 10
  // The horizontal yellow line comes after the vertical ones and covers their crossings; the
  // frame, drawn last, covers its first pixel.
  AddHorizontal(yellow, 60, 11, 110);
  red.erase({35, 60});
  red.erase({85, 60});
  EXPECT_TRUE(SamePixels(PixelsOf(clRed), red));
  EXPECT_TRUE(SamePixels(PixelsOf(clYellow), yellow));
  // Y minors stay off by default: nothing at y = 85 and 35 between the frame's sides.
  for (int py : {85, 35}) EXPECT_EQ(bitmap.Canvas()->Pixel(55, py), clBlack) << py;
}

TEST_F(GridFixture, DashedAndDottedLinesShowTheBackgroundColourInTheirGaps) {
  for (TiPlotGridLineStyle style : {ipglsDash, ipglsDot}) {
    SCOPED_TRACE(style);
    view->SetGridLineMajorStyle(style);
    Paint();
    // Along the vertical line at x = 60, above the horizontal one.
    int green = 0, back = 0, other = 0;
    for (int py = 11; py < 59; ++py) {
      const TColor c = bitmap.Canvas()->Pixel(60, py);
      if (c == kGreen) ++green;
      else if (c == kBack) ++back;
      else ++other;
    }
    EXPECT_GT(green, 0);
    EXPECT_GT(back, 0);
    EXPECT_EQ(other, 0);
  }
}

TEST_F(GridFixture, AFocusedViewRedrawsItsFrameInTheBackgroundAndShowsTheDottedFrame) {
  view->SetGridLineShowXMajors(false);
  view->SetGridLineShowYMajors(false);
  view->SetFocused(true);
  Paint();
  EXPECT_TRUE(PixelsOf(kGreen).empty());
  // The dotted frame inverts every second pixel of (10, 10, 111, 111) over the background colour.
  int changed = 0;
  for (int px = 10; px <= 110; ++px)
    if (bitmap.Canvas()->Pixel(px, 10) != kBack) ++changed;
  EXPECT_GT(changed, 40);
  EXPECT_LT(changed, 61);
}

TEST_F(GridFixture, TheGridFollowsARenamedAxisAndForgetsARemovedOne) {
  ASSERT_EQ(view->GridXAxis(), x);
  x->SetName(QStringLiteral("Wavelength"));
  EXPECT_EQ(view->GridXAxisName(), QStringLiteral("Wavelength"));
  // The Y axis was never looked up: it is known by its previous name.
  y->SetName(QStringLiteral("Intensity"));
  EXPECT_EQ(view->GridYAxisName(), QStringLiteral("Intensity"));
  EXPECT_EQ(view->GridYAxis(), y);
  chart.DeleteXAxis(0);
  EXPECT_EQ(view->GridXAxis(), nullptr);
  Paint();   // no dangling axis is touched
  PixelSet expected = Frame();
  AddHorizontal(expected, 60, 10, 110);
  EXPECT_TRUE(SamePixels(PixelsOf(kGreen), expected));
}

TEST_F(GridFixture, TheBackgroundFillsTheRectangleOnlyWhenNotTransparent) {
  TCanvas* c = bitmap.Canvas();
  c->Brush() = TBrush{clBlack, bsSolid};
  c->FillRect(Rect(0, 0, 130, 130));
  view->DrawBackground(c);
  EXPECT_EQ(CountOther(bitmap, clBlack, Rect(0, 0, 130, 130)), 0);
  view->SetBackgroundTransparent(false);
  view->DrawBackground(c);
  EXPECT_EQ(BoxOf(bitmap, RGB(0, 128, 128), Rect(0, 0, 130, 130)), R);
}

// --- Conversions. ---

TEST(DataViewPercent, ConvertsBothWaysAndSurvivesEmptyRectanglesNaNAndFarValues) {
  TiPlotComponent chart;
  TiPlotDataView* view = chart.DataView(chart.AddDataView());
  view->SetLayoutRect(Rect(20, 40, 120, 240));   // 100 wide, 200 high
  EXPECT_DOUBLE_EQ(view->PixelToPercentX(20), 0);
  EXPECT_DOUBLE_EQ(view->PixelToPercentX(45), 25);
  EXPECT_DOUBLE_EQ(view->PixelToPercentY(240), 0);
  EXPECT_DOUBLE_EQ(view->PixelToPercentY(90), 75);
  struct Case {
    double percent;
    int x, y;
  };
  for (const Case& c : std::initializer_list<Case>{
           {0, 20, 240},
           {50, 70, 140},
           {100, 120, 40},
           {2.5, 22, 235},       // x: 2.5 + 20 = 22.5 -> 22 (even); y: 195 + 40 = 235
           {3.5, 24, 233},       // x: 23.5 -> 24; y: 193 + 40 = 233
           {0.25, 20, 240},      // y: 199.5 + 40 = 239.5 -> 240 (even)
           {std::numeric_limits<double>::quiet_NaN(), 20, 240},
           {1e12, 32000, -32000},
           {-std::numeric_limits<double>::infinity(), -32000, 32000},
       }) {
    SCOPED_TRACE(c.percent);
    EXPECT_EQ(view->PercentToPixelX(c.percent), c.x);
    EXPECT_EQ(view->PercentToPixelY(c.percent), c.y);
  }
  view->SetLayoutRect(Rect(30, 50, 30, 50));   // no width, no height
  EXPECT_EQ(view->PercentToPixelX(60), 30);
  EXPECT_EQ(view->PercentToPixelY(60), 50);
  EXPECT_EQ(view->PixelToPercentX(99), 0);
  EXPECT_EQ(view->PixelToPercentY(99), 0);
}

// --- Interaction, with a chart whose toolbar state the test sets. ---

class TViewHostOwner : public TiPlotOwner, public TiPlotDataViewHost {
 public:
  void ObjectMouseDown(TiPlotObject*, TMouseButton, TShiftState, int, int) override {}
  void ObjectMouseMove(TiPlotObject*, TShiftState, int, int) override {}
  void ObjectMouseUp(TiPlotObject*, TMouseButton, TShiftState, int, int) override { ++Clicks; }
  void ObjectMouseWheel(TiPlotObject*, int, TShiftState, int, int) override {}
  bool ObjectPopupHandled(TiPlotObject*, int, int) override {
    ++PopupsOffered;
    return true;
  }
  void ObjectGotFocus(TiPlotObject*) override {}
  void ObjectLostFocus(TiPlotObject*) override {}
  QString Translate(const QString& text) const override { return text; }
  TPoint ClientToScreen(TPoint p) const override { return p; }
  void ObjectGetMouseCursor(TiPlotObject*, TCursor& cursor) override {
    if (CursorOverride) cursor = *CursorOverride;
  }

  int DataViewAxisCount(bool) const override { return 0; }
  TiPlotAxis* DataViewAxis(bool, int) const override { return nullptr; }
  bool FirstToolBarButtons(bool& selectDown, bool& zoomBoxDown) const override {
    selectDown = SelectDown;
    zoomBoxDown = ZoomBoxDown;
    return HasToolBar;
  }
  void PauseAllTracking() override { ++Pauses; }
  void BeforeZoomBox(TRect& rect, bool& cancel) override {
    Boxes.push_back(rect);
    cancel = Cancel;
  }

  bool HasToolBar = true, SelectDown = false, ZoomBoxDown = false, Cancel = false;
  int Pauses = 0, Clicks = 0, PopupsOffered = 0;
  std::vector<TRect> Boxes;
  std::optional<TCursor> CursorOverride;
};

struct InteractionFixture : ::testing::Test {
  TViewHostOwner host;
  int changes = 0;
  std::unique_ptr<TiPlotDataView> view;
  void SetUp() override {
    TiPlotHandlers h;
    h.OnChange = [this](TiPlotPersistent*) { ++changes; };
    h.OnInsert = h.OnRemove = h.OnRename = [](TiPlotPersistent*) {};
    view = std::make_unique<TiPlotDataView>(&host, h);
    view->OnChange = [this](TiPlotPersistent*) { ++changes; };
    view->SetLayoutRect(Rect(10, 10, 210, 110));
  }
  static TiPlotMouseParams At(int px, int py, TMouseButton button = mbLeft, TShiftState shift = 0) {
    return MakeMouseParams(button, shift, px, py, false);
  }
  void Drag(TMouseButton button, TPoint from, TPoint to) {
    view->MouseDown(At(from.X, from.Y, button));
    view->MouseMove(At(to.X, to.Y, button));
    view->MouseUp(At(to.X, to.Y, button));
  }
};

TEST_F(InteractionFixture, TheModeComesFromTheFirstToolbarThenFromAxesControl) {
  struct Case {
    bool toolBar, select, zoomBox, allowInSelect, axesControl;
    TiPlotDataViewMode mode;
  };
  for (const Case& c : std::initializer_list<Case>{
           {true, false, false, false, false, ipdvmNone},
           {true, false, false, false, true, ipdvmAxesControl},
           {true, false, true, false, true, ipdvmZoomBox},
           {true, true, true, false, true, ipdvmSelect},
           {true, true, true, true, true, ipdvmZoomBox},
           {true, true, false, true, true, ipdvmAxesControl},
           {true, true, false, true, false, ipdvmNone},
           // Without a toolbar its buttons count as up.
           {false, true, true, false, true, ipdvmAxesControl},
           {false, true, true, false, false, ipdvmNone},
       }) {
    SCOPED_TRACE(testing::Message() << c.toolBar << c.select << c.zoomBox << c.allowInSelect << c.axesControl);
    host.HasToolBar = c.toolBar;
    host.SelectDown = c.select;
    host.ZoomBoxDown = c.zoomBox;
    view->SetAxesControlAllowInSelectMode(c.allowInSelect);
    view->SetAxesControlEnabled(c.axesControl);
    EXPECT_EQ(view->InteractionMode(), c.mode);
  }
}

TEST_F(InteractionFixture, TheCursorFollowsTheModeAndTheChartMayChangeIt) {
  const TiPlotMouseParams p = At(50, 50);
  EXPECT_EQ(view->GetMouseCursor(p), crDefault);
  view->SetAxesControlEnabled(true);
  EXPECT_EQ(view->GetMouseCursor(p), crHandPoint);
  host.ZoomBoxDown = true;
  EXPECT_EQ(view->GetMouseCursor(p), crDrag);
  host.CursorOverride = crCross;
  EXPECT_EQ(view->GetMouseCursor(p), crCross);
}

TEST_F(InteractionFixture, AZoomBoxDraggedDownRightRaisesTheEventWithItsRectangle) {
  host.ZoomBoxDown = true;
  view->MouseDown(At(30, 20));
  EXPECT_TRUE(view->ZoomBoxActive());
  EXPECT_EQ(host.Pauses, 1);
  view->MouseMove(At(90, 70));
  EXPECT_EQ(view->ZoomBoxEnd(), (TPoint{90, 70}));
  view->MouseUp(At(90, 70));
  ASSERT_EQ(host.Boxes.size(), 1u);
  EXPECT_EQ(host.Boxes[0], Rect(30, 20, 90, 70));
  EXPECT_FALSE(view->ZoomBoxActive());
  EXPECT_EQ(host.Clicks, 1);
}

TEST_F(InteractionFixture, AZoomBoxDraggedUpOrLeftOrOfNoWidthRaisesNothing) {
  host.ZoomBoxDown = true;
  for (const auto& [from, to] : std::initializer_list<std::pair<TPoint, TPoint>>{
           {{90, 70}, {30, 20}}, {{30, 70}, {90, 20}}, {{90, 20}, {30, 70}}, {{30, 20}, {30, 70}}}) {
    SCOPED_TRACE(testing::Message() << from.X << "," << from.Y << " -> " << to.X << "," << to.Y);
    Drag(mbLeft, from, to);
    EXPECT_TRUE(host.Boxes.empty());
    EXPECT_FALSE(view->ZoomBoxActive());
  }
}

TEST_F(InteractionFixture, EscapeAbandonsTheZoomBox) {
  host.ZoomBoxDown = true;
  view->MouseDown(At(30, 20));
  view->MouseMove(At(90, 70));
  int key = VK_ESCAPE;
  view->DoKeyDown(key, 0, nullptr);
  EXPECT_FALSE(view->ZoomBoxActive());
  view->MouseUp(At(90, 70));
  EXPECT_TRUE(host.Boxes.empty());
}

TEST_F(InteractionFixture, TheZoomBoxIsDrawnAsADottedFrameBetweenItsCorners) {
  host.ZoomBoxDown = true;
  view->MouseDown(At(60, 50));
  view->MouseMove(At(20, 30));   // dragged up and left: drawn all the same
  TBitmap picture(100, 100);
  picture.Canvas()->Brush() = TBrush{clBlack, bsSolid};
  picture.Canvas()->FillRect(Rect(0, 0, 100, 100));
  view->DrawZoomBox(picture.Canvas());
  const TRect box = BoxOf(picture, clWhite, Rect(0, 0, 100, 100));
  EXPECT_EQ(box, Rect(20, 30, 60, 50));
}

TEST_F(InteractionFixture, ARightDragBeyondFivePixelsInAxesControlStartsAZoomBoxInsteadOfTheMenu) {
  view->SetAxesControlEnabled(true);
  // 5 pixels: still the menu.
  Drag(mbRight, {40, 40}, {45, 45});
  EXPECT_EQ(host.PopupsOffered, 1);
  EXPECT_EQ(host.Pauses, 0);
  EXPECT_TRUE(host.Boxes.empty());
  // 6 pixels: a zoom box, no menu, tracking paused.
  Drag(mbRight, {40, 40}, {46, 80});
  EXPECT_EQ(host.PopupsOffered, 1);
  EXPECT_EQ(host.Pauses, 1);
  ASSERT_EQ(host.Boxes.size(), 1u);
  EXPECT_EQ(host.Boxes[0], Rect(40, 40, 46, 80));
}

TEST_F(InteractionFixture, WithoutAnyModeADragDoesNothingButTheClick) {
  Drag(mbLeft, {40, 40}, {100, 90});
  Drag(mbRight, {40, 40}, {100, 90});
  EXPECT_FALSE(view->ZoomBoxActive());
  EXPECT_TRUE(host.Boxes.empty());
  EXPECT_EQ(host.Pauses, 0);
  EXPECT_EQ(host.Clicks, 2);
}

TEST_F(InteractionFixture, AxesForADragByStyleAndShift) {
  struct Case {
    TiPlotAxesControlStyle style;
    TShiftState shift;
    bool x, y;
  };
  view->SetAxesControlEnabled(true);
  for (const Case& c : std::initializer_list<Case>{{ipacsXAxis, 0, true, false},
                                                   {ipacsXAxis, ssShift, false, true},
                                                   {ipacsYAxis, 0, false, true},
                                                   {ipacsYAxis, ssShift, true, false},
                                                   {ipacsBoth, 0, true, true},
                                                   {ipacsNone, 0, false, false},
                                                   {ipacsNone, ssShift, false, false}}) {
    SCOPED_TRACE(testing::Message() << c.style << " " << int(c.shift));
    view->SetAxesControlMouseStyle(c.style);
    view->MouseDown(At(50, 50));
    bool xAxes = !c.x, yAxes = !c.y;
    view->DragAxes(c.shift, {70, 80}, xAxes, yAxes);
    EXPECT_EQ(xAxes, c.x);
    EXPECT_EQ(yAxes, c.y);
    view->MouseUp(At(70, 80));
  }
}

TEST_F(InteractionFixture, BothWithShiftLocksToTheFirstDirectionBeyondThreePixels) {
  view->SetAxesControlEnabled(true);
  bool xAxes = false, yAxes = false;
  view->MouseDown(At(50, 50));
  view->DragAxes(ssShift, {53, 52}, xAxes, yAxes);   // 3 pixels: not yet locked
  EXPECT_TRUE(xAxes && yAxes);
  view->DragAxes(ssShift, {54, 52}, xAxes, yAxes);   // 4 across: X only
  EXPECT_TRUE(xAxes && !yAxes);
  view->DragAxes(ssShift, {54, 90}, xAxes, yAxes);   // stays locked
  EXPECT_TRUE(xAxes && !yAxes);
  view->MouseUp(At(54, 90));
  // A diagonal first step: the vertical test comes second and wins.
  view->MouseDown(At(50, 50));
  view->DragAxes(ssShift, {55, 55}, xAxes, yAxes);
  EXPECT_TRUE(!xAxes && yAxes);
  view->MouseUp(At(55, 55));
}

TEST_F(InteractionFixture, AxesForTheWheelByStyleAndShift) {
  struct Case {
    TiPlotAxesControlStyle style;
    TShiftState shift;
    bool handled, x, y;
  };
  for (const Case& c : std::initializer_list<Case>{{ipacsXAxis, 0, true, true, false},
                                                   {ipacsXAxis, ssShift, true, false, true},
                                                   {ipacsYAxis, 0, true, false, true},
                                                   {ipacsYAxis, ssShift, true, true, false},
                                                   {ipacsBoth, ssShift, true, true, true},
                                                   {ipacsNone, 0, false, false, false}}) {
    SCOPED_TRACE(testing::Message() << c.style << " " << int(c.shift));
    view->SetAxesControlWheelStyle(c.style);
    bool xAxes = !c.x, yAxes = !c.y;
    EXPECT_EQ(view->WheelAxes(c.shift, xAxes, yAxes), c.handled);
    EXPECT_EQ(xAxes, c.x);
    EXPECT_EQ(yAxes, c.y);
  }
}

TEST(DataViewProperties, DefaultsAndValueNamesOfTheStyles) {
  TiPlotComponent chart;
  TiPlotDataView* view = chart.DataView(chart.AddDataView());
  EXPECT_TRUE(view->GridShow());
  EXPECT_EQ(view->GridLineColor(), RGB(0, 128, 0));
  EXPECT_EQ(view->GridLineXMajorColor(), RGB(0, 128, 0));
  EXPECT_EQ(view->GridLineYMinorWidth(), 0);
  EXPECT_FALSE(view->GridLineShowXMinors());
  EXPECT_TRUE(view->GridLineShowYMajors());
  EXPECT_FALSE(view->AxesControlEnabled());
  EXPECT_EQ(view->AxesControlMouseStyle(), ipacsBoth);
  EXPECT_EQ(view->AxesControlWheelStyle(), ipacsXAxis);
  EXPECT_EQ(GridLineStyleNames(), (QStringList{"ipglsSolid", "ipglsDash", "ipglsDot"}));
  EXPECT_EQ(AxesControlStyleNames(), (QStringList{"ipacsXAxis", "ipacsYAxis", "ipacsBoth", "ipacsNone"}));
}

}  // namespace

namespace {

// A painted chart with one X and one Y axis around its data view.
struct DataViewInAChart : ::testing::Test {
  TPaintableChart c{320, 220};
  TiPlotDataView* view = c.chart.DataView(0);
  TiPlotXAxis* x = c.chart.XAxis(c.chart.AddXAxis());
  TiPlotYAxis* y = c.chart.YAxis(c.chart.AddYAxis());
};

// The painting cycle fills the data view and draws its grid and frame inside the chart; the
// picture is left to look at.
TEST_F(DataViewInAChart, ThePaintFillsTheViewAndDrawsGridAndFrameAtItsEdges) {
  x->SetMinorCount(4);
  y->SetMinorCount(4);
  view->SetGridXAxisName(x->Name().toUpper());   // names are found in any letter case
  view->SetGridYAxisName(QStringLiteral("<ALL>"));
  view->SetBackgroundTransparent(false);
  view->SetBackgroundColor(RGB(0, 0, 64));
  view->SetGridLineShowXMinors(true);
  view->SetGridLineShowYMinors(true);
  view->SetGridLineMinorStyle(ipglsDot);
  view->SetGridLineXMajorCustom(true);
  view->SetGridLineXMajorColor(clYellow);
  view->SetGridLineXMajorStyle(ipglsDash);
  TBitmap bitmap = c.Paint();
  bitmap.Image().save(PicturePath(QStringLiteral("lumio-dataview.png")));
  const TRect r = view->GetLayoutRect();
  ASSERT_GT(r.Right - r.Left, 50);
  ASSERT_GT(r.Bottom - r.Top, 50);
  TCanvas* canvas = bitmap.Canvas();
  // The frame's corners, the closing pixel of the bottom line, and the fill inside.
  for (const TPoint p : {TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top}, TPoint{r.Left, r.Bottom - 1},
                         TPoint{r.Right + 1 - 1, r.Bottom}})
    EXPECT_EQ(canvas->Pixel(p.X, p.Y), kGreen) << p.X << "," << p.Y;
  // Yellow X majors cross the view from top to bottom; their column holds no other colour than
  // yellow, the fill in the dash gaps, or the Y lines that cross them.
  int yellowColumn = -1;
  for (int px = r.Left + 1; px < r.Right && yellowColumn < 0; ++px)
    if (canvas->Pixel(px, r.Top + 1) == clYellow) yellowColumn = px;
  ASSERT_GE(yellowColumn, 0);
  int yellow = 0, fill = 0;
  for (int py = r.Top + 1; py < r.Bottom; ++py) {
    const TColor col = canvas->Pixel(yellowColumn, py);
    if (col == clYellow) ++yellow;
    if (col == RGB(0, 0, 64)) ++fill;
  }
  EXPECT_GT(yellow, 0);
  EXPECT_GT(fill, 0);
  // Outside the view nothing of the view is drawn: the chart's black background remains.
  EXPECT_EQ(canvas->Pixel(r.Left - 1, (r.Top + r.Bottom) / 2), clBlack);
}

// In a chart: a right drag in axes control mode pauses the tracking of every axis and hands the
// box to the chart's OnBeforeZoomBox; a handler that cancels is heard as well.
TEST_F(DataViewInAChart, ARightDragZoomBoxPausesTrackingAndRaisesOnBeforeZoomBox) {
  view->SetAxesControlEnabled(true);
  view->SetLayoutRect(Rect(20, 20, 300, 200));
  std::vector<TRect> boxes;
  c.chart.OnBeforeZoomBox = [&](TRect& rect, bool& cancel) {
    boxes.push_back(rect);
    cancel = true;
  };
  auto at = [](int px, int py) { return MakeMouseParams(mbRight, 0, px, py, false); };
  view->MouseDown(at(50, 60));
  view->MouseMove(at(120, 90));
  EXPECT_TRUE(view->ZoomBoxActive());
  EXPECT_FALSE(x->TrackingEnabled());
  EXPECT_FALSE(y->TrackingEnabled());
  view->MouseUp(at(120, 90));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], Rect(50, 60, 120, 90));
  EXPECT_FALSE(view->ZoomBoxActive());
}

// In axes control mode a left drag moves the chosen axes with the mouse (X only here: the scale
// follows the mouse, so dragging right by a fifth of the view shows values a fifth lower) and the
// wheel scrolls the chosen axes by a twentieth of their span.
TEST_F(DataViewInAChart, AxesControlDragsAndWheelTurnsMoveTheChosenAxes) {
  view->SetAxesControlEnabled(true);
  view->SetAxesControlMouseStyle(ipacsXAxis);
  view->SetAxesControlWheelStyle(ipacsYAxis);
  c.Paint();
  const TRect r = view->GetLayoutRect();
  const int width = r.Right - r.Left;
  ASSERT_GT(width, 50);
  ASSERT_EQ(x->ScaleArea().Right - x->ScaleArea().Left, width);
  auto at = [](int px, int py) { return MakeMouseParams(mbLeft, 0, px, py, false); };
  const int from = r.Left + 10;
  const int dx = width / 5;
  view->MouseDown(at(from, r.Top + 10));
  view->MouseMove(at(from + dx, r.Top + 40));   // the vertical part moves no Y axis
  view->MouseUp(at(from + dx, r.Top + 40));
  EXPECT_DOUBLE_EQ(x->Min(), -100.0 * dx / width);
  EXPECT_DOUBLE_EQ(x->Span(), 100);
  EXPECT_DOUBLE_EQ(y->Min(), 0);
  EXPECT_FALSE(x->TrackingEnabled());

  EXPECT_TRUE(view->DoMouseWheel(120, 0, {r.Left + 5, r.Top + 5}));
  EXPECT_DOUBLE_EQ(y->Min(), 5);
  EXPECT_DOUBLE_EQ(x->Min(), -100.0 * dx / width);
  // Without axes control the wheel is not the view's.
  view->SetAxesControlEnabled(false);
  EXPECT_FALSE(view->DoMouseWheel(120, 0, {r.Left + 5, r.Top + 5}));
  EXPECT_DOUBLE_EQ(y->Min(), 5);
}

// A zoom box that is not cancelled zooms every axis to what lies under it: a box over the left
// half and the lower half of the view shows 0 .. 50 on both axes of 0 .. 100 (to a pixel).
TEST_F(DataViewInAChart, AZoomBoxThatIsNotCancelledZoomsTheAxesToIt) {
  view->SetAxesControlEnabled(true);
  c.Paint();
  const TRect r = view->GetLayoutRect();
  ASSERT_GT(r.Right - r.Left, 50);
  ASSERT_GT(r.Bottom - r.Top, 50);
  int events = 0;
  c.chart.OnBeforeZoomBox = [&](TRect&, bool&) { ++events; };
  auto at = [](int px, int py) { return MakeMouseParams(mbRight, 0, px, py, false); };
  const int midX = (r.Left + r.Right) / 2;
  const int midY = (r.Top + r.Bottom) / 2;
  view->MouseDown(at(r.Left, midY));
  view->MouseMove(at(midX, r.Bottom));
  view->MouseUp(at(midX, r.Bottom));
  EXPECT_EQ(events, 1);
  const double xPixel = 100.0 / (r.Right - r.Left);
  const double yPixel = 100.0 / (r.Bottom - r.Top);
  EXPECT_NEAR(x->Min(), 0, xPixel);
  EXPECT_NEAR(x->Span(), 50, 2 * xPixel);
  EXPECT_NEAR(y->Min(), 0, yPixel);
  EXPECT_NEAR(y->Span(), 50, 2 * yPixel);
}

}  // namespace
