// Annotations: which reference each coordinate takes, shapes and text placed on pixels worked
// out by hand, clipping, hit areas and handles, moving and resizing by mouse with their events,
// pictures from the chart's lists, and a picture of every style to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/decorations/rUdudAnnotation.h"
#include "chart/decorations/rUdudDataView.h"
#include "chart/core/rUdudManagers.h"
#include "chart/decorations/rUdudToolBar.h"
#include "platform/ImageList.h"
#include "tests/chart/decorations/DecorationTestSupport.h"

namespace {

// A toolbar whose Select button is a plain flag: select mode without the toolbar's drawing.
class TSelectToolBar : public TiPlotToolBar {
 public:
  using TiPlotToolBar::TiPlotToolBar;
  bool Down = false;
  bool SelectButtonDown() const override { return Down; }
  void SelectCommand() override { Down = !Down; }
};

// Axes placed by hand: the scale runs along the rectangle given.
template <class Base>
class TPlacedAxis : public Base {
 public:
  using Base::Base;
  void Place(const TRect& r) { this->SetScaleArea(r); }
};

// The data view spans x 20 .. 220 (200 pixels) and y 10 .. 110 (100 pixels).
const TRect kView = Rect(20, 10, 220, 110);

struct AnnotationFixture : ::testing::Test {
  TiPlotComponent chart;
  TiPlotAnnotation* a = nullptr;
  TBitmap bitmap{240, 130};
  QStringList events;

  void SetUp() override {
    InsertInto<TSelectToolBar>(chart);   // select mode is the toolbar's Select button
    chart.AddDataView();
    chart.DataView(0)->SetLayoutRect(kView);
    a = chart.Annotation(chart.AddAnnotation());
    a->SetDataView(chart.DataView(0));
    chart.OnAnnotationCoordinatesChange = [this](int i) { events << QStringLiteral("change %1").arg(i); };
    chart.OnAnnotationMoveUser = [this](int i) { events << QStringLiteral("move %1").arg(i); };
    chart.OnAnnotationResizeUser = [this](int i) { events << QStringLiteral("resize %1").arg(i); };
    chart.OnAnnotationCoordinatesChangeFinished = [this](int i) { events << QStringLiteral("finished %1").arg(i); };
  }
  void Draw() {
    bitmap.Canvas()->Brush() = TBrush{clBlack, bsSolid};
    bitmap.Canvas()->FillRect(Rect(0, 0, 240, 130));
    a->Draw(bitmap.Canvas(), clBlack);
  }
  TiPlotMouseParams At(int x, int y) { return MakeMouseParams(mbLeft, 0, x, y, false); }
  TFont Font() const { return a->Font()->Font(); }
};

TEST(AnnotationNames, OrdinalsFollowTheListedOrder) {
  EXPECT_EQ(AnnotationStyleNames(),
            QStringList({"ipasText", "ipasLine", "ipasRectangle", "ipasLineX", "ipasLineY", "ipasImage", "ipasTextRectangle",
                         "ipasEllipse", "ipasTextBox", "ipasEllipse2", "ipasPolygon", "ipasRectangle2"}));
  EXPECT_EQ(ipasRectangle2, 11);
  EXPECT_EQ(AlignmentVerticalNames(), QStringList({"iavCenter", "iavTop", "iavBottom"}));
  TiPlotAnnotation fresh(nullptr, {});
  EXPECT_EQ(fresh.Style(), ipasText);
  EXPECT_EQ(fresh.TextHorzMargin(), 1.0);
  EXPECT_TRUE(fresh.SelectModeOnlyInteraction());
  EXPECT_TRUE(fresh.ShowFocusRect());
}

// Data view references, corners given directly: percent 0 is the left and the bottom edge.
TEST_F(AnnotationFixture, DataViewPercentagesMapOntoTheView) {
  a->SetStyle(ipasRectangle2);
  a->SetX(25);    // 20 + 200 * 0.25 = 70
  a->SetY(80);    // 10 + 100 * 0.20 = 30
  a->SetX2(50.25);  // 20 + 100.5 = 120.5, half to even: 120
  a->SetY2(10);   // 10 + 90 = 100
  Draw();
  EXPECT_TRUE(a->Drawn());
  EXPECT_EQ(a->ShapeRect(), Rect(70, 30, 120, 100));
  // Outline in the pen colour (white); the right and bottom edge are left out.
  EXPECT_EQ(BoxOf(bitmap, clWhite, Rect(0, 0, 240, 130)), Rect(70, 30, 120, 100));
}

// Under XYAxesReverse X runs up the view (0 at the bottom) and Y across it.
TEST_F(AnnotationFixture, SwappedAxesMeasureXUpAndYAcross) {
  a->SetStyle(ipasRectangle2);
  a->SetXYAxesReverse(true);
  a->SetX(20);   // y = 10 + 100 * 0.8 = 90
  a->SetY(10);   // x = 20 + 20 = 40
  a->SetX2(70);  // y = 10 + 30 = 40
  a->SetY2(60);  // x = 20 + 120 = 140
  Draw();
  EXPECT_EQ(a->ShapeRect(), Rect(40, 40, 140, 90));
}

TEST_F(AnnotationFixture, SizesOfCentredShapesInPercentOfTheView) {
  a->SetStyle(ipasEllipse2);
  a->SetX(50);       // 120
  a->SetY(50);       // 60
  a->SetWidth(20);   // 40 pixels
  a->SetHeight(30);  // 30 pixels
  Draw();
  EXPECT_EQ(a->ShapeRect(), Rect(100, 45, 140, 75));
}

// A chart with one channel on an X axis of 0 .. 50 and a Y axis of 0 .. 10 over a data view; the
// mapping of the axes is read off the painted chart's axis ends.
struct ChannelChart {
  TPaintableChart p{400, 300};
  TiPlotAnnotation* a = nullptr;
  ChannelChart() {
    p.chart.AddXAxis();
    p.chart.AddYAxis();
    p.chart.AddChannel();
    p.chart.XAxis(0)->SetMinSpan(0, 50);
    p.chart.YAxis(0)->SetMinSpan(0, 10);
    p.chart.Channel(0)->SetName(QStringLiteral("Sample"));
    p.chart.Channel(0)->SetXAxisName(p.chart.XAxis(0)->Name());
    p.chart.Channel(0)->SetYAxisName(p.chart.YAxis(0)->Name());
    a = p.chart.Annotation(p.chart.AddAnnotation());
    a->SetChannelName(QStringLiteral("Sample"));
    a->SetStyle(ipasRectangle2);
    p.chart.SetClipAnnotationsToAxes(false);
  }
};

TEST(AnnotationReferences, AutoTakesTheChannelPerCoordinateFromReference) {
  struct Case {
    const char* name;
    TiPlotReferenceType reference;
    TiPlotReferenceIndividual posX, posY;
    bool channelX, channelY;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"data view", iprtDataView, ipriAuto, ipriAuto, false, false},
           {"channel", iprtChannel, ipriAuto, ipriAuto, true, true},
           {"X channel, Y data view", iprtXChannelYDataView, ipriAuto, ipriAuto, true, false},
           {"X data view, Y channel", iprtXDataViewYChannel, ipriAuto, ipriAuto, false, true},
           {"explicit channel over a data view default", iprtDataView, ipriChannel, ipriAuto, true, false},
           {"explicit data view over a channel default", iprtChannel, ipriAuto, ipriDataView, true, false},
       }) {
    SCOPED_TRACE(c.name);
    ChannelChart t;
    t.a->SetReference(c.reference);
    t.a->SetReferencePositionX(c.posX);
    t.a->SetReferencePositionY(c.posY);
    // 10 on the X axis is a fifth of the way (20 %); 5 on the Y axis is half way (50 %). As
    // percentages of the view the same numbers are 10 % and 5 %.
    t.a->SetX(10);
    t.a->SetY(5);
    t.a->SetX2(10);
    t.a->SetY2(5);
    t.p.Paint();
    const TRect v = t.p.chart.DataView(0)->GetLayoutRect();
    const int w = v.Right - v.Left, h = v.Bottom - v.Top;
    const int x = c.channelX ? Nearest(v.Left + w * 0.2) : Nearest(v.Left + w * 0.1);
    const int y = c.channelY ? Nearest(v.Top + h * 0.5) : Nearest(v.Top + h * 0.95);
    ASSERT_TRUE(t.a->Drawn());
    EXPECT_NEAR(t.a->ShapeRect().Left, x, 1);
    EXPECT_NEAR(t.a->ShapeRect().Top, y, 1);
  }
}

TEST(AnnotationReferences, WithoutTheChannelOrItsAxesNothingIsDrawn) {
  ChannelChart t;
  t.a->SetReference(iprtChannel);
  t.a->SetX2(20);
  t.a->SetY2(8);
  t.p.Paint();
  EXPECT_TRUE(t.a->Drawn());
  t.p.chart.Channel(0)->SetXAxisName(QStringLiteral("nowhere"));
  t.p.Paint();
  EXPECT_FALSE(t.a->Drawn());
  t.p.chart.Channel(0)->SetXAxisName(t.p.chart.XAxis(0)->Name());
  t.p.chart.DeleteChannel(0);
  t.p.Paint();
  EXPECT_FALSE(t.a->Drawn());
  EXPECT_FALSE(t.a->HitTest(MakeMouseParams(mbLeft, 0, 200, 150, false)));
}

TEST(AnnotationReferences, RenamingTheChannelCarriesTheNewName) {
  ChannelChart t;
  t.p.chart.Channel(0)->SetName(QStringLiteral("Renamed"));
  EXPECT_EQ(t.a->ChannelName(), QStringLiteral("Renamed"));
}

TEST_F(AnnotationFixture, ClipToAxesKeepsTheShapeBetweenTheAxesEnds) {
  // Axes over the left half (20 .. 120) and the lower 60 pixels (50 .. 110) of the view.
  auto* x = InsertInto<TPlacedAxis<TiPlotXAxis>>(chart);
  auto* y = InsertInto<TPlacedAxis<TiPlotYAxis>>(chart);
  x->Place(Rect(20, 110, 120, 110));
  y->Place(Rect(20, 50, 20, 110));
  chart.AddChannel();
  chart.Channel(0)->SetName(QStringLiteral("Sample"));
  chart.Channel(0)->SetXAxisName(x->Name());
  chart.Channel(0)->SetYAxisName(y->Name());
  a->SetChannelName(QStringLiteral("Sample"));
  a->SetStyle(ipasRectangle2);
  a->SetBrushColor(clLime);
  a->SetPenColor(clLime);
  a->SetX(0);
  a->SetY(100);
  a->SetX2(100);
  a->SetY2(0);
  Draw();
  EXPECT_EQ(BoxOf(bitmap, clLime, Rect(0, 0, 240, 130)), kView) << "no clipping by default on a data view reference";
  a->SetClipToAxes(true);
  Draw();
  EXPECT_EQ(BoxOf(bitmap, clLime, Rect(0, 0, 240, 130)), Rect(20, 50, 120, 110));
  // A channel reference clips when the chart says so, without ClipToAxes.
  a->SetClipToAxes(false);
  a->SetReference(iprtChannel);
  a->SetX(0);
  a->SetY(0);
  a->SetX2(1000);
  a->SetY2(1000);
  chart.SetClipAnnotationsToAxes(true);
  Draw();
  EXPECT_EQ(BoxOf(bitmap, clLime, Rect(0, 0, 240, 130)), Rect(20, 50, 120, 110));
  // The canvas clip is as it was before.
  EXPECT_EQ(bitmap.Canvas()->ClipRect(), Rect(0, 0, 240, 130));
}

TEST_F(AnnotationFixture, TextAlignmentsMoveTheTextByItsMarginsInCharacters) {
  a->SetText(QStringLiteral("Peak"));
  a->SetX(50);  // 120
  a->SetY(50);  // 60
  const int tw = TextW(Font(), QStringLiteral("Peak")), th = TextH(Font(), QStringLiteral("Peak"));
  const int cw = TextW(Font(), QStringLiteral("A")), ch = TextH(Font(), QStringLiteral("A"));
  struct Case {
    const char* name;
    TiAlignmentHorizontal horz;
    TiAlignmentVertical vert;
    double hm, vm;
    TiRotationAngle rotation;
    int left, top;   // expected corner of the hit rectangle
  };
  const int l0 = 120 - tw / 2, t0 = 60 - th / 2;
  for (const Case& c : std::initializer_list<Case>{
           {"centred", iahCenter, iavCenter, 1, 1, ira000, l0, t0},
           {"left: starts one character right of the anchor", iahLeft, iavCenter, 1, 1, ira000, 120 + cw, t0},
           {"right: moved left by a character and half its width", iahRight, iavCenter, 1, 1, ira000, l0 - (cw + tw / 2), t0},
           {"top: below the anchor", iahCenter, iavTop, 1, 1, ira000, l0, 60 + ch},
           {"bottom: above it, 2.5 heights round to even", iahCenter, iavBottom, 1, 2.5, ira000, l0,
            60 - Nearest(ch * 2.5) - th},
           {"turned: width and height swap", iahLeft, iavCenter, 0, 1, ira090, 120, 60 - tw / 2},
       }) {
    SCOPED_TRACE(c.name);
    a->SetTextHorzAlignment(c.horz);
    a->SetTextVertAlignment(c.vert);
    a->SetTextHorzMargin(c.hm);
    a->SetTextVertMargin(c.vm);
    a->SetTextRotation(c.rotation);
    Draw();
    ASSERT_TRUE(a->Drawn());
    EXPECT_EQ(a->HitRect().Left, c.left);
    EXPECT_EQ(a->HitRect().Top, c.top);
    const bool turned = c.rotation == ira090;
    EXPECT_EQ(a->HitRect().Right - a->HitRect().Left, turned ? th : tw);
    // The text's own pixels lie inside its rectangle.
    const TRect ink = BoxOf(bitmap, clWhite, Rect(0, 0, 240, 130));
    EXPECT_GE(ink.Left, a->HitRect().Left);
    EXPECT_LE(ink.Right, a->HitRect().Right);
  }
}

TEST_F(AnnotationFixture, TextBoxGrowsByItsOuterMarginAndFramesTheText) {
  a->SetStyle(ipasTextBox);
  a->SetText(QStringLiteral("Box"));
  a->SetOuterMargin(4);
  a->SetX(50);
  a->SetY(50);
  a->SetBrushColor(clNavy);
  a->SetPenColor(clLime);
  a->Font()->SetColor(clYellow);
  const int tw = TextW(Font(), QStringLiteral("Box")), th = TextH(Font(), QStringLiteral("Box"));
  Draw();
  const int w = tw + 8, h = th + 8;
  EXPECT_EQ(a->HitRect(), Rect(120 - w / 2, 60 - h / 2, 120 - w / 2 + w, 60 - h / 2 + h));
  EXPECT_EQ(BoxOf(bitmap, clLime, Rect(0, 0, 240, 130)), a->HitRect());
  const TRect ink = BoxOf(bitmap, clYellow, Rect(0, 0, 240, 130));
  EXPECT_GE(ink.Left, a->HitRect().Left + 4);
  EXPECT_LE(ink.Right, a->HitRect().Right - 4);
}

TEST_F(AnnotationFixture, TextRectanglePutsTheTextInsideTheShape) {
  a->SetStyle(ipasTextRectangle);
  a->SetText(QStringLiteral("In"));
  a->SetX(50);
  a->SetY(50);
  a->SetWidth(50);   // 100 pixels: 70 .. 170
  a->SetHeight(60);  // 60 pixels: 30 .. 90
  a->SetBrushColor(clBlack);
  a->SetPenColor(clLime);
  a->Font()->SetColor(clYellow);
  a->SetTextHorzAlignment(iahLeft);
  a->SetTextVertAlignment(iavTop);
  a->SetTextHorzMargin(2);
  a->SetTextVertMargin(0.5);
  Draw();
  const int zero = TextW(Font(), QStringLiteral("0")), ch = TextH(Font(), QStringLiteral("A"));
  const int tw = TextW(Font(), QStringLiteral("In")), th = TextH(Font(), QStringLiteral("In"));
  const TRect band = Rect(70 + 2 * zero, 30 + Nearest(ch * 0.5), 70 + 2 * zero + tw, 30 + Nearest(ch * 0.5) + th);
  const TRect ink = BoxOf(bitmap, clYellow, Rect(0, 0, 240, 130));
  EXPECT_GE(ink.Left, band.Left);
  EXPECT_LE(ink.Right, band.Right);
  EXPECT_GE(ink.Top, band.Top);
  EXPECT_LE(ink.Bottom, band.Bottom);
  EXPECT_EQ(a->ShapeRect(), Rect(70, 30, 170, 90));
}

TEST_F(AnnotationFixture, HitAreasAndHandles) {
  chart.SetSelectMode(true);
  a->SetStyle(ipasRectangle);
  a->SetX(0);        // the left edge of the view: 20
  a->SetY(50);       // 60
  a->SetWidth(20);   // 40 pixels: 0 .. 40, cut at 20 by the view
  a->SetHeight(20);  // 20 pixels: 50 .. 70
  Draw();
  EXPECT_EQ(a->ShapeRect(), Rect(0, 50, 40, 70));
  EXPECT_EQ(a->HitRect(), Rect(20, 50, 40, 70));
  EXPECT_EQ(a->HandleRect(TiPlotAnnotation::ihTopLeft), TRect{}) << "outside the view";
  EXPECT_EQ(a->HandleRect(TiPlotAnnotation::ihTopRight), Rect(37, 47, 43, 53));
  EXPECT_EQ(a->HandleRect(TiPlotAnnotation::ihBottomRight), Rect(37, 67, 43, 73));
  EXPECT_TRUE(a->HitTest(At(30, 60)));
  EXPECT_FALSE(a->HitTest(At(10, 60))) << "the part outside the view";
  EXPECT_TRUE(a->HitTest(At(42, 72))) << "a handle reaches past the shape";
  EXPECT_FALSE(a->HitTest(At(44, 60)));

  a->SetStyle(ipasLineX);
  a->SetX(50);  // x = 120, band 115 .. 125
  Draw();
  EXPECT_TRUE(a->HitTest(At(115, 30)));
  EXPECT_TRUE(a->HitTest(At(125, 30)));
  EXPECT_FALSE(a->HitTest(At(126, 30)));
  EXPECT_EQ(BoxOf(bitmap, clWhite, Rect(0, 0, 240, 130)), Rect(120, 10, 121, 110));

  a->SetStyle(ipasLineY);
  a->SetY(50);  // y = 60
  Draw();
  EXPECT_TRUE(a->HitTest(At(30, 55)));
  EXPECT_FALSE(a->HitTest(At(30, 54)));
  // Drawn from the right edge to the left one, the end point left out.
  EXPECT_EQ(BoxOf(bitmap, clWhite, Rect(0, 0, 240, 130)), Rect(21, 60, 221, 61));

  a->SetStyle(ipasLine);
  a->SetX(0);
  a->SetY(0);
  a->SetX2(100);
  a->SetY2(100);
  Draw();
  EXPECT_TRUE(a->Drawn());
  EXPECT_FALSE(a->HitTest(At(120, 60))) << "lines are never hit";
}

TEST_F(AnnotationFixture, PolygonNeedsTwoPointsAndIsHitInItsBoundingBox) {
  chart.SetSelectMode(true);
  a->SetStyle(ipasPolygon);
  a->AddPoint(50, 50);
  Draw();
  EXPECT_FALSE(a->Drawn());
  EXPECT_FALSE(a->HitTest(At(120, 60)));
  EXPECT_EQ(CountOther(bitmap, clBlack, Rect(0, 0, 240, 130)), 0);
  a->AddPoint(75, 10);   // (170, 100)
  a->AddPoint(25, 10);   // (70, 100)
  a->AddPoint(std::nan(""), 1);   // refused
  EXPECT_EQ(a->PointCount(), 3);
  EXPECT_EQ(a->Point(1).X, 75);
  EXPECT_THROW(a->Point(3), EiError);
  Draw();
  EXPECT_TRUE(a->Drawn());
  EXPECT_EQ(a->ShapeRect(), Rect(70, 60, 170, 100));
  EXPECT_TRUE(a->HitTest(At(80, 65))) << "inside the box, outside the triangle";
  a->ClearPoints();
  EXPECT_EQ(a->PointCount(), 0);
}

// A five-pointed star drawn as one crossing outline is filled whole, its centre too.
TEST_F(AnnotationFixture, AStarPolygonIsFilledInItsCentre) {
  a->SetStyle(ipasPolygon);
  a->SetBrushColor(clLime);
  a->SetBrushStyle(bsSolid);
  for (int k = 0; k < 5; ++k) {
    const double angle = M_PI / 2 + k * 4 * M_PI / 5;  // every second corner of a pentagon
    a->AddPoint(50 + 40 * std::cos(angle), 50 + 40 * std::sin(angle));
  }
  Draw();
  ASSERT_TRUE(a->Drawn());
  const TRect r = a->ShapeRect();
  const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2 + 2;
  EXPECT_EQ(bitmap.Pixel(cx, cy), clLime);
  // An arm is filled too, and outside the star the background stays.
  EXPECT_EQ(bitmap.Pixel(cx, r.Top + 6), clLime);
  EXPECT_EQ(bitmap.Pixel(r.Left + 1, r.Bottom - 1), clBlack);
}

TEST_F(AnnotationFixture, WithoutSelectModeTheMouseIsIgnoredByDefault) {
  a->SetStyle(ipasRectangle);
  a->SetX(50);
  a->SetY(50);
  a->SetWidth(20);
  a->SetHeight(20);
  Draw();
  EXPECT_FALSE(a->HitTest(At(120, 60)));
  chart.SetSelectMode(true);
  EXPECT_TRUE(a->HitTest(At(120, 60)));
  chart.SetSelectMode(false);
  a->SetSelectModeOnlyInteraction(false);
  EXPECT_TRUE(a->HitTest(At(120, 60)));
  a->SetVisible(false);
  Draw();
  EXPECT_FALSE(a->HitTest(At(120, 60)));
}

TEST_F(AnnotationFixture, ImagesComeFromTheChartsListsAndAMissingOneIsNotThere) {
  chart.SetSelectMode(true);
  QImage red(24, 24, QImage::Format_RGB32);
  red.fill(QColor(255, 0, 0));
  chart.ImageList(2)->Add(red);
  a->SetStyle(ipasImage);
  a->SetImageListIndex(5);   // any index but 0 and 1 means the third list
  a->SetX(50);               // 120
  a->SetY(50);               // 60
  Draw();
  EXPECT_EQ(a->HitRect(), Rect(108, 48, 132, 72));
  EXPECT_EQ(BoxOf(bitmap, clRed, Rect(0, 0, 240, 130)), Rect(108, 48, 132, 72));
  a->SetImageIndex(1);
  Draw();
  EXPECT_FALSE(a->Drawn());
  EXPECT_FALSE(a->HitTest(At(120, 60)));
  EXPECT_EQ(CountOther(bitmap, clBlack, Rect(0, 0, 240, 130)), 0);
  a->SetImageIndex(0);
  a->SetImageListIndex(0);   // the first list is empty
  Draw();
  EXPECT_FALSE(a->Drawn());
}

struct MouseFixture : AnnotationFixture {
  void SetUp() override {
    AnnotationFixture::SetUp();
    chart.SetSelectMode(true);
    a->SetStyle(ipasRectangle);
    a->SetX(50);       // 120
    a->SetY(50);       // 60
    a->SetWidth(20);   // 40: 100 .. 140
    a->SetHeight(20);  // 20: 50 .. 70
    a->SetFocused(true);
    Draw();
    events.clear();
  }
  void Drag(TPoint from, TPoint to) {
    a->MouseDown(At(from.X, from.Y));
    a->MouseMove(At(to.X, to.Y));
    Draw();
    a->MouseUp(At(to.X, to.Y));
  }
};

TEST_F(MouseFixture, MovingChangesTheAnchorAndRaisesItsEvents) {
  a->SetUserCanMove(true);
  Drag({120, 60}, {140, 50});
  // Anchor (140, 50): (140 - 20) / 200 = 60 %; 1 - 40 / 100 = 60 %.
  EXPECT_DOUBLE_EQ(a->X(), 60);
  EXPECT_DOUBLE_EQ(a->Y(), 60);
  EXPECT_EQ(events, QStringList({"move 0", "change 0", "finished 0"}));
  EXPECT_EQ(a->Grabbed(), TiPlotAnnotation::ihNone);
}

TEST_F(MouseFixture, WithoutUserCanMoveNothingMoves) {
  Drag({120, 60}, {140, 50});
  EXPECT_EQ(a->X(), 50);
  EXPECT_TRUE(events.isEmpty());
}

TEST_F(MouseFixture, EllipseAndRectangle2KeepTheSecondPointsOffset) {
  a->SetStyle(ipasRectangle2);
  a->SetUserCanMove(true);
  a->SetX(10);
  a->SetY(90);
  a->SetX2(30);
  a->SetY2(70);
  Draw();
  events.clear();
  Drag({50, 30}, {70, 40});   // 20 right (10 %), 10 down (10 %)
  EXPECT_DOUBLE_EQ(a->X(), 20);
  EXPECT_DOUBLE_EQ(a->Y(), 80);
  EXPECT_DOUBLE_EQ(a->X2(), 40);
  EXPECT_DOUBLE_EQ(a->Y2(), 60);
}

TEST_F(MouseFixture, ResizingByTheBottomRightHandle) {
  a->SetUserCanSize(true);
  // The handle is centred on (140, 70); the mouse goes 20 right and 10 down.
  Drag({141, 71}, {161, 81});
  // Edges 100 .. 160 and 50 .. 80: centre 130 -> 55 %, 65 -> 45 %; 60 px = 30 %, 30 px = 30 %.
  EXPECT_DOUBLE_EQ(a->X(), 55);
  EXPECT_DOUBLE_EQ(a->Y(), 45);
  EXPECT_DOUBLE_EQ(a->Width(), 30);
  EXPECT_DOUBLE_EQ(a->Height(), 30);
  EXPECT_EQ(events, QStringList({"resize 0", "change 0", "finished 0"}));
  EXPECT_EQ(a->ShapeRect(), Rect(100, 50, 160, 80));
}

TEST_F(MouseFixture, ResizingACornerStyleMovesTheCornerPoints) {
  a->SetStyle(ipasEllipse);
  a->SetUserCanSize(true);
  a->SetX(40);   // 100
  a->SetY(60);   // 50
  a->SetX2(60);  // 140
  a->SetY2(40);  // 70
  Draw();
  events.clear();
  Drag({100, 50}, {80, 40});   // the top-left corner to (80, 40)
  EXPECT_DOUBLE_EQ(a->X(), 30);
  EXPECT_DOUBLE_EQ(a->Y(), 70);
  EXPECT_DOUBLE_EQ(a->X2(), 60);
  EXPECT_DOUBLE_EQ(a->Y2(), 40);
  EXPECT_EQ(events, QStringList({"resize 0", "change 0", "finished 0"}));
}

// A width in values of a logarithmic axis: 100 pixels per decade from 1 to 100 over x 20 .. 220.
TEST_F(MouseFixture, ResizingOnALogarithmicAxisInvertsTheDrawnLength) {
  auto* x = InsertInto<TPlacedAxis<TiPlotXAxis>>(chart);
  auto* y = InsertInto<TPlacedAxis<TiPlotYAxis>>(chart);
  x->SetScaleType(ipstLog10);
  x->SetMinSpan(1, 99);
  x->Place(Rect(20, 110, 220, 110));
  y->Place(Rect(20, 10, 20, 110));
  chart.AddChannel();
  chart.Channel(0)->SetName(QStringLiteral("Sample"));
  chart.Channel(0)->SetXAxisName(x->Name());
  chart.Channel(0)->SetYAxisName(y->Name());
  a->SetChannelName(QStringLiteral("Sample"));
  a->SetReferenceSizeX(ipriChannel);
  a->SetWidth(9);   // from 1 to 10: one decade, 100 pixels: 70 .. 170
  a->SetUserCanSize(true);
  Draw();
  ASSERT_EQ(a->ShapeRect(), Rect(70, 50, 170, 70));
  Drag({170, 70}, {220, 70});   // 150 pixels: one and a half decades from 1
  EXPECT_NEAR(a->Width(), std::pow(10.0, 1.5) - 1, 1e-9);
  Draw();
  EXPECT_EQ(a->ShapeRect().Right - a->ShapeRect().Left, 150);
}

TEST_F(MouseFixture, CursorsOverTheHandles) {
  a->SetUserCanSize(true);
  EXPECT_EQ(a->GetMouseCursor(At(100, 50)), crSizeNWSE);
  EXPECT_EQ(a->GetMouseCursor(At(140, 70)), crSizeNWSE);
  EXPECT_EQ(a->GetMouseCursor(At(140, 50)), crSizeNESW);
  EXPECT_EQ(a->GetMouseCursor(At(120, 60)), crHandPoint);
  a->SetUserCanSize(false);
  EXPECT_EQ(a->GetMouseCursor(At(100, 50)), crHandPoint);
}

TEST_F(MouseFixture, AViewWithoutHeightStoresNoInfinity) {
  a->SetUserCanMove(true);
  a->MouseDown(At(120, 60));
  chart.DataView(0)->SetLayoutRect(Rect(20, 10, 220, 10));
  a->MouseMove(At(130, 70));
  EXPECT_EQ(a->Y(), 50);
  EXPECT_TRUE(std::isfinite(a->X()));
  a->MouseUp(At(130, 70));
  a->SetX(std::numeric_limits<double>::infinity());
  EXPECT_EQ(a->X(), 50);
}

TEST_F(MouseFixture, ADragWhoseDataViewWentEndsTheGrab) {
  a->SetUserCanMove(true);
  a->MouseDown(At(120, 60));
  EXPECT_EQ(a->Grabbed(), TiPlotAnnotation::ihMove);
  chart.DeleteDataView(0);
  EXPECT_EQ(a->DataView(), nullptr);
  a->MouseMove(At(130, 70));
  EXPECT_EQ(a->Grabbed(), TiPlotAnnotation::ihNone);
  EXPECT_EQ(a->X(), 50);
  EXPECT_TRUE(events.isEmpty());
}

TEST_F(AnnotationFixture, SettingACoordinateRaisesTheChangeEventOnce) {
  a->SetX(3);
  a->SetX(3);
  a->SetHeight(7);
  EXPECT_EQ(events, QStringList({"change 0", "change 0"}));
}

// The whole path: the chart's mouse dispatch finds the annotation, focuses it on the press and
// hands it the drag.
TEST(AnnotationThroughTheChart, ADragWithTheMouseMovesIt) {
  TiPlotComponent chart;
  chart.resize(300, 200);
  InsertInto<TSelectToolBar>(chart)->Down = true;
  chart.AddLegend();
  chart.AddXAxis();
  chart.AddYAxis();
  chart.AddDataView();
  chart.Legend(0)->SetVisible(false);
  chart.ToolBar(0)->SetVisible(false);
  chart.SetBorderStyle(ibsNone);
  TiPlotAnnotation* a = chart.Annotation(chart.AddAnnotation());
  a->SetStyle(ipasRectangle);
  a->SetUserCanMove(true);
  a->SetX(50);
  a->SetY(50);
  a->SetWidth(20);
  a->SetHeight(20);
  QStringList events;
  chart.OnAnnotationMoveUser = [&](int i) { events << QStringLiteral("move %1").arg(i); };
  chart.OnAnnotationCoordinatesChangeFinished = [&](int i) { events << QStringLiteral("finished %1").arg(i); };
  TBitmap bitmap(300, 200);
  chart.DoPaint(*bitmap.Canvas());
  ASSERT_TRUE(a->Drawn());
  const TRect v = chart.DataView(0)->GetLayoutRect();
  const TRect shape = a->ShapeRect();
  const QPoint from((shape.Left + shape.Right) / 2, (shape.Top + shape.Bottom) / 2);
  // A quarter of the view's width to the right.
  const int dx = (v.Right - v.Left) / 4;
  auto send = [&](QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(p), chart.mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&chart, &e);
  };
  send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(a->HasFocus());
  send(QEvent::MouseMove, from + QPoint(dx, 0), Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, from + QPoint(dx, 0), Qt::LeftButton, Qt::NoButton);
  // The anchor (the shape's centre as it was drawn) moved by dx pixels; back in percent of the view.
  const int ax = shape.Left + (shape.Right - shape.Left) / 2, ay = shape.Top + (shape.Bottom - shape.Top) / 2;
  EXPECT_NEAR(a->X(), (ax + dx - v.Left) * 100.0 / (v.Right - v.Left), 1e-9);
  EXPECT_NEAR(a->Y(), (1.0 - (ay - v.Top) / double(v.Bottom - v.Top)) * 100.0, 1e-9);
  EXPECT_EQ(events, QStringList({"move 0", "finished 0"}));
}

// One annotation of each style on a chart, for the eye: /tmp/annotations.png.
TEST(AnnotationPicture, EveryStyle) {
  TPaintableChart t(480, 300);
  t.chart.AddXAxis();
  t.chart.AddYAxis();
  t.chart.SetSelectMode(true);
  QImage pic(24, 24, QImage::Format_RGB32);
  pic.fill(QColor(255, 128, 0));
  t.chart.ImageList(0)->Add(pic);
  auto add = [&](TiPlotAnnotationStyle style, double x, double y, double x2, double y2, double w, double h) {
    TiPlotAnnotation* a = t.chart.Annotation(t.chart.AddAnnotation());
    a->SetStyle(style);
    a->SetX(x), a->SetY(y), a->SetX2(x2), a->SetY2(y2), a->SetWidth(w), a->SetHeight(h);
    a->SetText(AnnotationStyleNames()[style]);
    a->SetPenColor(clLime);
    a->SetBrushColor(clNavy);
    return a;
  };
  add(ipasText, 15, 92, 0, 0, 0, 0);
  add(ipasLine, 5, 5, 30, 40, 0, 0);
  add(ipasRectangle, 45, 85, 0, 0, 12, 10);
  add(ipasLineX, 95, 0, 0, 0, 0, 0);
  add(ipasLineY, 0, 3, 0, 0, 0, 0);
  add(ipasImage, 70, 85, 0, 0, 0, 0);
  add(ipasTextRectangle, 20, 60, 0, 0, 30, 15)->SetTextHorzAlignment(iahLeft);
  add(ipasEllipse, 45, 70, 60, 50, 0, 0);
  add(ipasTextBox, 80, 60, 0, 0, 0, 0)->SetOuterMargin(3);
  add(ipasEllipse2, 20, 30, 0, 0, 15, 15)->SetFocused(true);
  TiPlotAnnotation* polygon = add(ipasPolygon, 0, 0, 0, 0, 0, 0);
  polygon->AddPoint(60, 10), polygon->AddPoint(75, 40), polygon->AddPoint(90, 10);
  add(ipasRectangle2, 40, 40, 55, 15, 0, 0)->SetTextRotation(ira090);
  TBitmap b = t.Paint();
  for (int i = 0; i < t.chart.AnnotationCount(); ++i) EXPECT_TRUE(t.chart.Annotation(i)->Drawn()) << i;
  EXPECT_TRUE(b.Image().save(PicturePath(QStringLiteral("annotations.png"))));
}

}  // namespace
