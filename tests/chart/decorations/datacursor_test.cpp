// Data cursors: defaults and the published names, pointer layout by style, the values and texts
// the channels read at the pointers, drawing (pointers and the hint with its flipping), the mouse
// and the keys in a real chart, "<All>", the menus and the links to channels.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "chart/axes/rUdudAxis.h"
#include "chart/decorations/rUdudDataCursor.h"
#include "chart/decorations/rUdudLegend.h"
#include "platform/Menus.h"
#include "tests/chart/core/InteractionTestSupport.h"
#include "tests/chart/decorations/DecorationTestSupport.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A paintable chart with one X axis (0 .. 10), one Y axis (0 .. 100), one channel on them and one
// data cursor bound to it, shown. The axes write two fixed decimals, so texts are known by hand.
struct TCursorChart : TPaintableChart {
  TiPlotDataCursor* cursor = nullptr;
  TiPlotChannelCustom* channel = nullptr;

  explicit TCursorChart(int width = 400, int height = 220) : TPaintableChart(width, height) {
    chart.AddXAxis();
    chart.AddYAxis();
    for (TiPlotAxis* axis : {static_cast<TiPlotAxis*>(chart.XAxis(0)), static_cast<TiPlotAxis*>(chart.YAxis(0))}) {
      axis->SetLabelsPrecisionStyle(ipsFixedDecimalPoints);
      axis->SetLabelsPrecision(2);
      axis->SetTrackingEnabled(false);
    }
    chart.XAxis(0)->SetMin(0);
    chart.XAxis(0)->SetSpan(10);
    chart.YAxis(0)->SetMin(0);
    chart.YAxis(0)->SetSpan(100);
    // No grid: the cursor is all there is in the view.
    chart.DataView(0)->SetGridShow(false);
    chart.AddChannel();
    channel = chart.Channel(0);
    channel->SetColor(clLime);
    chart.AddDataCursor();
    cursor = chart.DataCursor(0);
    cursor->SetVisible(true);
  }
  TRect View() const { return chart.DataView(0)->GetLayoutRect(); }
  // The pixel of a percentage of the data view, worked out from its rectangle.
  int PixelX(double percent) const { return View().Left + Nearest((View().Right - View().Left) * percent / 100); }
  // 0 percent is the bottom edge, 100 the top.
  int PixelY(double percent) const { return View().Top + Nearest((View().Bottom - View().Top) * (100 - percent) / 100); }
};

TEST(DataCursor, NewCursorHoldsItsDefaults) {
  TCursorChart c;
  TiPlotDataCursor fresh(&c.chart, TiPlotHandlers{[](auto*) {}, [](auto*) {}, [](auto*) {}, [](auto*) {}});
  EXPECT_FALSE(fresh.Visible());
  EXPECT_EQ(fresh.Style(), ipcsValueXY);
  EXPECT_EQ(fresh.Pointer1Position(), 50.0);
  EXPECT_EQ(fresh.Pointer2Position(), 60.0);
  EXPECT_EQ(fresh.HintPosition(), 50.0);
  EXPECT_EQ(fresh.Color(), TColor(65535));
  EXPECT_EQ(fresh.PointerPenWidth(), 1);
  EXPECT_EQ(fresh.HintOrientationSide(), iosBottomRight);
  EXPECT_TRUE(fresh.ChannelAllowAll());
  EXPECT_TRUE(fresh.ChannelShowAllInLegend());
  EXPECT_TRUE(fresh.UseChannelColor());
  EXPECT_TRUE(fresh.HintShow());
  EXPECT_FALSE(fresh.HintHideOnRelease());
  EXPECT_FALSE(fresh.SnapToDataPoint());
  EXPECT_EQ(fresh.MenuItemCaptionValueXY(), "Value X-Y");
  EXPECT_EQ(fresh.MenuItemCaptionValueX(), "Value X");
  EXPECT_EQ(fresh.MenuItemCaptionValueY(), "Value Y");
  EXPECT_EQ(fresh.MenuItemCaptionDeltaX(), "Period");
  EXPECT_EQ(fresh.MenuItemCaptionDeltaY(), "Peak-Peak");
  EXPECT_EQ(fresh.MenuItemCaptionInverseDeltaX(), "Frequency");
  // A cursor the chart makes binds to its first channel and data view.
  EXPECT_EQ(c.cursor->ChannelName(), c.channel->Name());
  EXPECT_EQ(c.cursor->DataView(), c.chart.DataView(0));
}

TEST(DataCursor, EverySettingOfTheMainWindowIsPublished) {
  const TiClassInfo& info = TiPlotDataCursor::StaticClassInfo();
  for (const char* name :
       {"Visible", "ChannelName", "ChannelAllowAll", "ChannelShowAllInLegend", "Style", "Font", "Color", "UseChannelColor",
        "HintShow", "HintHideOnRelease", "HintOrientationSide", "HintPosition", "Pointer1Position", "Pointer2Position",
        "PointerPenWidth", "SnapToDataPoint", "UseCachedInterpolatedData", "MenuUserCanChangeOptions",
        "MenuItemVisibleValueXY", "MenuItemVisibleValueX", "MenuItemVisibleValueY", "MenuItemVisibleDeltaX",
        "MenuItemVisibleDeltaY", "MenuItemVisibleInverseDeltaX", "MenuItemCaptionValueXY", "MenuItemCaptionValueX",
        "MenuItemCaptionValueY", "MenuItemCaptionDeltaX", "MenuItemCaptionDeltaY", "MenuItemCaptionInverseDeltaX"}) {
    SCOPED_TRACE(name);
    EXPECT_NE(info.Find(QString::fromLatin1(name)), nullptr);
  }
  // Stored files name the values.
  EXPECT_EQ(info.Find(QStringLiteral("Style"))->ValueNames.size(), 6);
  EXPECT_EQ(info.Find(QStringLiteral("HintOrientationSide"))->ValueNames,
            QStringList({QStringLiteral("iosBottomRight"), QStringLiteral("iosTopLeft")}));
}

TEST(DataCursor, PointerPositionsAreHeldToPercentButTheHintPositionIsNot) {
  TCursorChart c;
  struct Case { double set, stored; };
  for (const Case& k : std::initializer_list<Case>{{150, 100}, {-3, 0}, {kNaN, 0}, {42.5, 42.5}, {-0.0, 0}, {1e308, 100}}) {
    SCOPED_TRACE(k.set);
    c.cursor->SetPointer1Position(k.set);
    c.cursor->SetPointer2Position(k.set);
    EXPECT_EQ(c.cursor->Pointer1Position(), k.stored);
    EXPECT_EQ(c.cursor->Pointer2Position(), k.stored);
  }
  c.cursor->SetHintPosition(150);
  EXPECT_EQ(c.cursor->HintPosition(), 150);
  c.cursor->SetHintPosition(-3);
  EXPECT_EQ(c.cursor->HintPosition(), -3);
}

TEST(DataCursor, StyleDecidesWhichPointersShowAndHowTheyLie) {
  TCursorChart c;
  struct Case { TiPlotDataCursorStyle style; bool reverse; bool shown1, shown2, horizontal1, horizontal2, alongX; };
  for (const Case& k : std::initializer_list<Case>{
           {ipcsValueXY, false, true, true, false, true, false},
           {ipcsValueXY, true, true, true, true, false, true},
           {ipcsValueX, false, true, false, false, true /*kept*/, false},
           {ipcsValueY, false, false, true, false /*kept*/, true, true},
           {ipcsDeltaX, false, true, true, false, false, false},
           {ipcsInverseDeltaX, false, true, true, false, false, false},
           {ipcsDeltaY, false, true, true, true, true, true},
           {ipcsDeltaY, true, true, true, false, false, false},
           {ipcsDeltaX, true, true, true, true, true, true}}) {
    SCOPED_TRACE(testing::Message() << k.style << (k.reverse ? " reversed" : ""));
    c.cursor->SetStyle(ipcsValueXY);
    c.cursor->SetXYAxesReverse(false);
    c.cursor->SetStyle(k.style);
    c.cursor->SetXYAxesReverse(k.reverse);
    EXPECT_EQ(c.cursor->Pointer1Shown(), k.shown1);
    EXPECT_EQ(c.cursor->Pointer2Shown(), k.shown2);
    EXPECT_EQ(c.cursor->Pointer1Horizontal(), k.horizontal1);
    EXPECT_EQ(c.cursor->Pointer2Horizontal(), k.horizontal2);
    EXPECT_EQ(c.cursor->HintAlongX(), k.alongX);
  }
}

// Pointers at 20 and 60 percent: X 2 and 6, Y 20 and 60 on the axes 0 .. 10 and 0 .. 100.
TEST(DataCursor, EachStyleReadsItsValuesAndTexts) {
  TCursorChart c;
  c.cursor->SetPointer1Position(20);
  c.cursor->SetPointer2Position(60);
  struct Case { TiPlotDataCursorStyle style; double x, y; const char* hint; const char* xText; const char* yText; };
  for (const Case& k : std::initializer_list<Case>{
           {ipcsValueXY, 2, 60, "2.00, 60.00", "2.00", "60.00"},
           {ipcsValueX, 2, 0, "2.00", "2.00", ""},
           {ipcsValueY, 0, 60, "60.00", "", "60.00"},
           {ipcsDeltaX, 4, 0, "4.00", "4.00", ""},
           {ipcsDeltaY, 0, 40, "40.00", "", "40.00"},
           {ipcsInverseDeltaX, 0.25, 0, "0.25", "0.25", ""}}) {
    SCOPED_TRACE(k.hint);
    c.cursor->SetStyle(k.style);
    c.cursor->UpdateValues();
    EXPECT_NEAR(c.cursor->ValueX(), k.x, 1e-12);
    EXPECT_NEAR(c.cursor->ValueY(), k.y, 1e-12);
    EXPECT_EQ(c.cursor->ValueStatus(), 0);
    EXPECT_EQ(c.cursor->HintText(), QString::fromLatin1(k.hint));
    EXPECT_EQ(c.channel->CursorXText(), QString::fromLatin1(k.xText));
    EXPECT_EQ(c.channel->CursorYText(), QString::fromLatin1(k.yText));
  }
}

TEST(DataCursor, FrequencyOfEqualPointersOrAZeroScalerIsInfinite) {
  TCursorChart c;
  c.cursor->SetStyle(ipcsInverseDeltaX);
  struct Case { double p1, p2, scaler; const char* text; };
  for (const Case& k : std::initializer_list<Case>{{40, 40, 1, "Infinite"},   // X 4 and 4
                                                   {20, 40, 1, "0.50"},       // X 2 and 4: 1 / 2
                                                   {20, 40, 0, "Infinite"},
                                                   {20, 40, 0.001, "500.00"},  // a period in ms: 1 / 0.002
                                                   {40, 20, -1, "0.50"}}) {
    SCOPED_TRACE(k.text);
    c.cursor->SetPointer1Position(k.p1);
    c.cursor->SetPointer2Position(k.p2);
    c.chart.XAxis(0)->SetCursorScaler(k.scaler);
    c.cursor->UpdateValues();
    EXPECT_EQ(c.cursor->HintText(), QString::fromLatin1(k.text));
  }
}

TEST(DataCursor, MissingAxesAndChannelsAreNamed) {
  TCursorChart c;
  c.channel->SetYAxisName(QStringLiteral("nothing"));
  c.cursor->UpdateValues();
  EXPECT_EQ(c.cursor->ValueX(), 0.0);
  EXPECT_EQ(c.cursor->HintText(), "0.00, No Y-Axis");
  c.channel->SetXAxisName(QStringLiteral("nothing"));
  c.cursor->UpdateValues();
  EXPECT_EQ(c.cursor->HintText(), "No X-Axis");

  // A cursor whose channel name matches nothing draws "No Channel".
  QStringList hints;
  c.chart.OnDataCursorCustomizeHint = [&](int index, QString& text) {
    hints << text;
    if (index == 0) text += QStringLiteral("!");
  };
  c.cursor->SetChannelName(QStringLiteral("Channel 9"));
  c.Paint();
  EXPECT_EQ(hints, QStringList{QStringLiteral("No Channel")});
  EXPECT_TRUE(c.cursor->HintVisible());
}

TEST(DataCursor, ChangeEventOnlyForNewValuesAndNaNEqualsNaN) {
  TCursorChart c;
  int changes = 0, befores = 0;
  c.chart.OnDataCursorChange = [&](int index) { changes += index == 0; };
  c.chart.OnBeforeDataCursorUpdate = [&](int index) { befores += index == 0; };
  c.cursor->SetValues(0, 1, 2);
  c.cursor->SetValues(0, 1, 2);
  EXPECT_EQ(changes, 1);
  c.cursor->SetValues(1, 1, 2);
  EXPECT_EQ(changes, 2);
  c.cursor->SetValues(1, kNaN, 2);
  c.cursor->SetValues(1, kNaN, 2);
  EXPECT_EQ(changes, 3);
  // Painting twice with nothing changed raises it once at most.
  c.Paint();
  const int afterFirst = changes;
  c.Paint();
  EXPECT_EQ(changes, afterFirst);
  EXPECT_GT(befores, 0);
}

TEST(DataCursor, DrawsPointersInTheChannelColourOrItsOwn) {
  TCursorChart c;
  c.cursor->SetHintShow(false);
  c.cursor->SetPointer1Position(25);
  c.cursor->SetPointer2Position(75);
  TBitmap bitmap = c.Paint();
  bitmap.Image().save(PicturePath(QStringLiteral("lumio-datacursor-pointers.png")));
  const TRect v = c.View();
  const int x = c.PixelX(25), y = c.PixelY(75);
  EXPECT_EQ(c.cursor->Pointer1Rect(), Rect(x - 5, v.Top, x + 6, v.Bottom));
  EXPECT_EQ(c.cursor->Pointer2Rect(), Rect(v.Left, y - 5, v.Right, y + 6));
  // One column and one row of the channel's colour (the line leaves its last pixel out).
  EXPECT_EQ(BoxOf(bitmap, clLime, Rect(v.Left, v.Top + 1, v.Right, v.Top + 2)), Rect(x, v.Top + 1, x + 1, v.Top + 2));
  EXPECT_EQ(BoxOf(bitmap, clLime, Rect(v.Left + 1, v.Top, v.Left + 2, v.Bottom)), Rect(v.Left + 1, y, v.Left + 2, y + 1));
  EXPECT_EQ(BoxOf(bitmap, clLime, v), Rect(v.Left, v.Top, v.Right, v.Bottom));

  c.cursor->SetUseChannelColor(false);
  bitmap = c.Paint();
  bitmap.Image().save(PicturePath(QStringLiteral("lumio-datacursor-yellow.png")));
  // (The layout of the first paint measured the axes afresh: positions are taken again.)
  const TRect v2 = c.View();
  const int x2 = c.PixelX(25);
  EXPECT_EQ(BoxOf(bitmap, clLime, v2), TRect{});
  EXPECT_EQ(BoxOf(bitmap, clYellow, Rect(x2, v2.Top, x2 + 1, v2.Bottom)), Rect(x2, v2.Top, x2 + 1, v2.Bottom));

  // Nothing while invisible, and nothing to grab.
  c.cursor->SetVisible(false);
  bitmap = c.Paint();
  EXPECT_EQ(CountOther(bitmap, clBlack, c.View()), 0);
  EXPECT_EQ(c.cursor->Pointer1Rect(), TRect{});
}

TEST(DataCursor, HintSitsBesidePointerOneAndFlipsAtTheRightEdgeForGood) {
  TCursorChart c;
  c.cursor->SetStyle(ipcsValueX);
  c.cursor->SetPointer1Position(30);
  c.cursor->SetHintPosition(50);
  c.Paint();
  const TFont font = c.cursor->Font()->Font();
  const QString text = c.cursor->HintText();
  const int tw = TextW(font, text), th = TextH(font, text), aw = TextW(font, QStringLiteral("A"));
  const int hh = (aw / 2 + th) / 2;
  const int x = c.PixelX(30), y = c.PixelY(50);
  EXPECT_EQ(c.cursor->HintWidth(), tw + aw);
  EXPECT_EQ(c.cursor->HintHeight(), aw / 2 + th);
  EXPECT_EQ(c.cursor->HintRect(), Rect(x + 5, y - hh, x + 5 + tw + aw, y + hh));
  EXPECT_EQ(c.cursor->HintOrientationSide(), iosBottomRight);

  int changes = 0;
  c.cursor->OnChange = [&](TiPlotPersistent*) { ++changes; };
  c.cursor->SetPointer1Position(99);
  changes = 0;
  c.Paint();
  // Flipped by the drawing itself, without asking for another paint.
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(c.cursor->HintOrientationSide(), iosTopLeft);
  const int x99 = c.PixelX(99);
  EXPECT_EQ(c.cursor->HintRect(), Rect(x99 - 5 - tw - aw, y - hh, x99 - 5, y + hh));
  // Back in the middle it stays on the left.
  c.cursor->SetPointer1Position(30);
  c.Paint();
  EXPECT_EQ(c.cursor->HintOrientationSide(), iosTopLeft);
  const int x30 = c.PixelX(30);
  EXPECT_EQ(c.cursor->HintRect(), Rect(x30 - 5 - tw - aw, y - hh, x30 - 5, y + hh));
}

TEST(DataCursor, HintStaysInsideTheDataViewWhateverItsPosition) {
  TCursorChart c;
  c.cursor->SetStyle(ipcsValueX);
  struct Case { double position; int pixelPercent; };
  // Used held to 0 .. 100 (NaN as 0); stored as given.
  for (const Case& k : std::initializer_list<Case>{{-1e308, 0}, {1e308, 100}, {kNaN, 0}, {100, 100}, {0, 0}}) {
    SCOPED_TRACE(k.position);
    c.cursor->SetHintPosition(k.position);
    c.Paint();
    const TRect h = c.cursor->HintRect();
    const TRect v = c.View();
    EXPECT_GE(h.Top, v.Top);
    EXPECT_LE(h.Bottom, v.Bottom);
    // At an edge the box is shifted in until it touches it.
    EXPECT_TRUE(k.pixelPercent == 0 ? h.Bottom == v.Bottom : h.Top == v.Top);
    if (std::isnan(k.position))
      EXPECT_TRUE(std::isnan(c.cursor->HintPosition()));
    else
      EXPECT_EQ(c.cursor->HintPosition(), k.position);
  }
}

TEST(DataCursor, DataViewOfNoSizeDrawsEverythingAtItsEdge) {
  TCursorChart c;
  c.Paint();
  // The layout of the next paint would give the view its size again: the cursor is drawn on a
  // view squeezed to nothing by hand.
  TiPlotDataView* view = c.chart.DataView(0);
  const TRect v = c.View();
  view->SetLayoutRect(Rect(v.Left, v.Top, v.Left, v.Top));
  TBitmap bitmap(c.chart.Width(), c.chart.Height());
  c.cursor->SetHintPosition(1e308);
  c.cursor->Draw(bitmap.Canvas(), clBlack);
  EXPECT_EQ(c.cursor->Pointer1Rect(), Rect(v.Left - 5, v.Top, v.Left + 6, v.Top));
  EXPECT_EQ(c.cursor->Pointer2Rect(), Rect(v.Left, v.Top - 5, v.Left, v.Top + 6));
  EXPECT_EQ(c.cursor->HintRect().Bottom, v.Top);
}

TEST(DataCursor, FollowsItsChannelsRenameFocusAndRemoval) {
  TCursorChart c;
  c.chart.AddChannel();
  TiPlotChannelCustom* second = c.chart.Channel(1);
  EXPECT_EQ(c.cursor->BoundChannel(), c.channel);
  c.channel->SetName(QStringLiteral("Trace"));
  EXPECT_EQ(c.cursor->ChannelName(), "Trace");
  EXPECT_EQ(c.cursor->BoundChannel(), c.channel);

  // Focused, the cursor binds to the channel that takes the focus; unfocused it stays.
  second->SetFocused(true);
  EXPECT_EQ(c.cursor->ChannelName(), "Trace");
  second->SetFocused(false);
  c.cursor->SetFocused(true);
  EXPECT_TRUE(c.channel->HasFocus());   // its channel comes along
  second->SetFocused(true);
  EXPECT_EQ(c.cursor->ChannelName(), second->Name());
  EXPECT_TRUE(c.cursor->HasFocus());

  c.chart.DeleteChannel(1);
  EXPECT_EQ(c.cursor->BoundChannel(), nullptr);
  c.Paint();
  EXPECT_TRUE(c.cursor->HintVisible());
}

TEST(DataCursor, DeltaStyleCentresTheHintBetweenThePointersAndJoinsThem) {
  TCursorChart c;
  c.cursor->SetStyle(ipcsDeltaX);
  c.cursor->SetPointer1Position(20);
  c.cursor->SetPointer2Position(60);
  TBitmap bitmap = c.Paint();
  const int x1 = c.PixelX(20), x2 = c.PixelX(60), y = c.PixelY(50);
  const int centre = ((x1 - 5) + (x1 + 6) + (x2 - 5) + (x2 + 6)) / 4;
  const int hw = c.cursor->HintWidth() / 2, hh = c.cursor->HintHeight() / 2;
  EXPECT_EQ(c.cursor->HintRect(), Rect(centre - hw, y - hh, centre + hw, y + hh));
  // The dotted line runs from pointer 1 to the box at the box's middle height.
  const TRect h = c.cursor->HintRect();
  const int midY = (h.Top + h.Bottom) / 2;
  const TRect between = Rect(x1 + 1, midY, h.Left, midY + 1);
  EXPECT_GT(CountOther(bitmap, clBlack, between), 0);
  EXPECT_LT(CountOther(bitmap, clBlack, between), between.Right - between.Left);
}

TEST(DataCursor, AllChannelsHidesTheHintAndFillsEveryChannelsTexts) {
  TCursorChart c;
  c.chart.AddChannel();
  TiPlotChannelCustom* second = c.chart.Channel(1);
  c.cursor->SetPointer1Position(20);
  c.cursor->SetPointer2Position(60);
  c.cursor->SetChannelName(QStringLiteral("<All>"));
  c.Paint();
  EXPECT_FALSE(c.cursor->HintVisible());
  EXPECT_EQ(c.cursor->HintRect(), TRect{});
  EXPECT_TRUE(c.chart.Legend(0)->AllChannelsCursorActive());
  for (TiPlotChannelCustom* ch : {c.channel, second}) {
    EXPECT_EQ(ch->CursorXText(), "2.00");
    EXPECT_EQ(ch->CursorYText(), "60.00");
  }
  // Pointers take the cursor's own colour: no single channel is bound.
  c.cursor->SetChannelShowAllInLegend(false);
  c.Paint();
  EXPECT_FALSE(c.chart.Legend(0)->AllChannelsCursorActive());
}

TEST(DataCursor, HintHideOnReleaseShowsTheHintOnlyWhileAPointerIsDragged) {
  TCursorChart c;
  TInput input(c.chart);
  c.cursor->SetHintHideOnRelease(true);
  c.Paint();
  EXPECT_FALSE(c.cursor->HintVisible());
  const int x = c.PixelX(50), y = c.PixelY(20);
  input.Press({x, y});
  EXPECT_TRUE(c.cursor->DraggingPointer1());
  c.Paint();
  EXPECT_TRUE(c.cursor->HintVisible());
  input.Release({x, y});
  c.Paint();
  EXPECT_FALSE(c.cursor->HintVisible());
}

TEST(DataCursor, DraggingAPointerFollowsTheMouseAlongItsFreeDirection) {
  TCursorChart c;
  TInput input(c.chart);
  int clicks = 0;
  c.chart.OnClickDataCursor = [&](int) { ++clicks; };
  c.cursor->SetHintShow(false);
  c.Paint();
  const TRect v = c.View();
  const int x = c.PixelX(50), y = c.PixelY(30);
  // Grabbed 3 pixels right of the line: the line moves by the mouse's displacement.
  input.Press({x + 3, y});
  ASSERT_TRUE(c.cursor->DraggingPointer1());
  input.Move({x + 3 + 20, y + 7});
  EXPECT_DOUBLE_EQ(c.cursor->Pointer1Position(), double(x + 20 - v.Left) / (v.Right - v.Left) * 100);
  EXPECT_NEAR(c.cursor->ValueX(), c.cursor->Pointer1Position() / 10, 1e-12);
  // Far beyond the right edge: 100.
  input.Move({x + 5000, y});
  EXPECT_EQ(c.cursor->Pointer1Position(), 100);
  input.Release({x + 5000, y});
  EXPECT_FALSE(c.cursor->DraggingPointer1());
  EXPECT_EQ(clicks, 0);  // released away from the cursor: no click
  // A press and release on the pointer is its click.
  c.Paint();
  input.Click({v.Right - 1, y});
  EXPECT_EQ(clicks, 1);

  // The horizontal pointer 2 follows vertical moves.
  c.Paint();
  const int y2 = c.PixelY(60);
  input.Press({v.Left + 10, y2});
  ASSERT_TRUE(c.cursor->DraggingPointer2());
  input.Move({v.Left + 40, y2 - 10});
  EXPECT_DOUBLE_EQ(c.cursor->Pointer2Position(), double(v.Bottom - (y2 - 10)) / (v.Bottom - v.Top) * 100);
  input.Release({v.Left + 40, y2 - 10});
}

TEST(DataCursor, PressInTheHintOverPointerOneDragsTheHint) {
  TCursorChart c;
  TInput input(c.chart);
  c.cursor->SetStyle(ipcsDeltaX);
  c.cursor->SetPointer1Position(50);
  c.cursor->SetPointer2Position(50);
  c.Paint();
  const TRect h = c.cursor->HintRect();
  const TPoint inside{c.PixelX(50), (h.Top + h.Bottom) / 2};
  ASSERT_TRUE(PtInRect(h, inside));
  ASSERT_TRUE(PtInRect(c.cursor->Pointer1Rect(), inside));
  input.Press({inside.X, inside.Y});
  EXPECT_TRUE(c.cursor->DraggingHint());
  EXPECT_FALSE(c.cursor->DraggingPointer1());
  // The hint slides vertically beside vertical pointers.
  const TRect v = c.View();
  const int pressPixel = c.PixelY(50);
  input.Move({inside.X + 30, inside.Y - 12});
  EXPECT_DOUBLE_EQ(c.cursor->HintPosition(), double(v.Bottom - (pressPixel - 12)) / (v.Bottom - v.Top) * 100);
  EXPECT_EQ(c.cursor->Pointer1Position(), 50);
  input.Release({inside.X + 30, inside.Y - 12});
  EXPECT_FALSE(c.cursor->DraggingHint());
}

TEST(DataCursor, KeysMoveThePointersOncePerPressByPixels) {
  TCursorChart c;
  TInput input(c.chart);
  c.cursor->SetHintShow(false);
  c.Paint();
  // The cursor takes the focus when pressed.
  input.Click({c.PixelX(50), c.PixelY(20)});
  ASSERT_TRUE(c.cursor->HasFocus());
  const TRect v = c.View();
  const double h = 100.0 / (v.Right - v.Left), vv = 100.0 / (v.Bottom - v.Top);
  struct Case { int key; Qt::KeyboardModifiers mods; double p1, p2; };
  for (const Case& k : std::initializer_list<Case>{{Qt::Key_Right, {}, 50 + h, 60},
                                                   {Qt::Key_Left, {}, 50 - h, 60},
                                                   {Qt::Key_Up, {}, 50, 60},   // pointer 1 is vertical
                                                   {Qt::Key_PageUp, Qt::ControlModifier, 50, 60 + 5 * vv},
                                                   {Qt::Key_PageDown, Qt::ControlModifier, 50, 60 - 5 * vv},
                                                   {Qt::Key_Up, Qt::ControlModifier, 50, 60 + vv},
                                                   {Qt::Key_Right, Qt::ControlModifier, 50, 60},
                                                   {Qt::Key_PageUp, {}, 50 + 5 * h, 60},
                                                   {Qt::Key_End, {}, 100, 60},
                                                   {Qt::Key_Home, Qt::ControlModifier, 50, 0}}) {
    SCOPED_TRACE(testing::Message() << k.key << " " << int(k.mods));
    c.cursor->SetPointer1Position(50);
    c.cursor->SetPointer2Position(60);
    input.Key(k.key, k.mods);
    EXPECT_NEAR(c.cursor->Pointer1Position(), k.p1, 1e-9);
    EXPECT_NEAR(c.cursor->Pointer2Position(), k.p2, 1e-9);
  }
  // The hint slides vertically with Up and Down when it is shown; positions stay in 0 .. 100.
  c.cursor->SetHintShow(true);
  c.cursor->SetHintPosition(100);
  input.Key(Qt::Key_Down);
  EXPECT_NEAR(c.cursor->HintPosition(), 100 - vv, 1e-9);
  c.cursor->SetPointer1Position(100);
  input.Key(Qt::Key_PageUp);
  EXPECT_EQ(c.cursor->Pointer1Position(), 100);
  // A key that moves nothing still holds the positions and repaints.
  c.cursor->SetHintPosition(150);
  ASSERT_EQ(c.cursor->HintPosition(), 150);
  c.Paint();
  const int repaints = c.chart.RepaintRequests();
  input.Key(Qt::Key_A);
  EXPECT_EQ(c.cursor->HintPosition(), 100);
  EXPECT_GT(c.chart.RepaintRequests(), repaints);
}

TEST(DataCursor, MenuOffersChannelsStylesAndOptions) {
  TCursorChart c;
  c.chart.AddChannel();
  c.chart.Channel(1)->SetTitleText(QStringLiteral("Two\r\nlines"));
  c.chart.AddChannel();
  c.chart.Channel(2)->SetVisible(false);
  TPopupMenu menu;
  c.cursor->AddMenuItems(&menu);
  QStringList top;
  for (int i = 0; i < menu.Items().Count(); ++i) top << menu.Items().Items(i)->Caption;
  EXPECT_EQ(top, QStringList({"Channel", "Style", "Options", "Edit..."}));

  TMenuItem* channels = menu.Items().Find(QStringLiteral("Channel"));
  ASSERT_EQ(channels->Count(), 3);
  EXPECT_EQ(channels->Items(0)->Caption, "<All>");
  EXPECT_FALSE(channels->Items(0)->Checked);
  EXPECT_EQ(channels->Items(1)->Caption, c.channel->TitleText());
  EXPECT_TRUE(channels->Items(1)->Checked);
  EXPECT_EQ(channels->Items(2)->Caption, "Twolines");

  TMenuItem* styles = menu.Items().Find(QStringLiteral("Style"));
  QStringList captions;
  for (int i = 0; i < styles->Count(); ++i) captions << styles->Items(i)->Caption;
  EXPECT_EQ(captions, QStringList({"Value X-Y", "Value X", "Value Y", "Period", "Peak-Peak", "Frequency"}));
  EXPECT_TRUE(styles->Items(0)->Checked);
  styles->Items(4)->Click();
  EXPECT_EQ(c.cursor->Style(), ipcsDeltaY);

  // Flip Alignment only for the value styles of a single channel.
  struct Case { TiPlotDataCursorStyle style; const char* channel; bool enabled; };
  for (const Case& k : std::initializer_list<Case>{{ipcsValueXY, "Channel 1", true},
                                                   {ipcsValueY, "Channel 1", true},
                                                   {ipcsDeltaX, "Channel 1", false},
                                                   {ipcsDeltaY, "Channel 1", false},
                                                   {ipcsInverseDeltaX, "Channel 1", false},
                                                   {ipcsValueX, "<all>", false}}) {
    SCOPED_TRACE(k.style);
    c.cursor->SetStyle(k.style);
    c.cursor->SetChannelName(QString::fromLatin1(k.channel));
    c.cursor->AddMenuItems(&menu);
    TMenuItem* flip = menu.Items().Find(QStringLiteral("Options"))->Find(QStringLiteral("Flip Alignment"));
    ASSERT_NE(flip, nullptr);
    EXPECT_EQ(flip->Enabled, k.enabled);
  }
  c.cursor->SetStyle(ipcsValueXY);
  c.cursor->SetChannelName(c.channel->Name());
  c.cursor->AddMenuItems(&menu);
  menu.Items().Find(QStringLiteral("Options"))->Find(QStringLiteral("Flip Alignment"))->Click();
  EXPECT_EQ(c.cursor->HintOrientationSide(), iosTopLeft);
  c.cursor->AddMenuItems(&menu);
  menu.Items().Find(QStringLiteral("Options"))->Find(QStringLiteral("Use Channel Color"))->Click();
  EXPECT_FALSE(c.cursor->UseChannelColor());

  // Choosing "<All>", then a channel, which takes the focus.
  c.cursor->AddMenuItems(&menu);
  menu.Items().Find(QStringLiteral("Channel"))->Items(0)->Click();
  EXPECT_EQ(c.cursor->ChannelName(), "<All>");
  c.cursor->AddMenuItems(&menu);
  menu.Items().Find(QStringLiteral("Channel"))->Items(2)->Click();
  EXPECT_EQ(c.cursor->ChannelName(), c.chart.Channel(1)->Name());
  EXPECT_TRUE(c.chart.Channel(1)->HasFocus());

  // Without "<All>" and without options.
  c.cursor->SetChannelAllowAll(false);
  c.cursor->SetMenuUserCanChangeOptions(false);
  c.cursor->SetMenuItemVisibleDeltaX(false);
  c.cursor->AddMenuItems(&menu);
  top.clear();
  for (int i = 0; i < menu.Items().Count(); ++i) top << menu.Items().Items(i)->Caption;
  EXPECT_EQ(top, QStringList({"Channel", "Style", "Edit..."}));
  EXPECT_EQ(menu.Items().Find(QStringLiteral("Channel"))->Items(0)->Caption, c.channel->TitleText());
  EXPECT_FALSE(menu.Items().Find(QStringLiteral("Style"))->Items(3)->Visible);
}

}  // namespace

namespace {

TEST(DataCursor, HintBoxIsFramedInTheChannelColourOnTheTooltipBackground) {
  TCursorChart c(480, 300);
  for (int i = 0; i <= 20; ++i) c.channel->AddXY(i * 0.5, 50 + 40 * std::sin(i * 0.6));
  c.cursor->SetPointer1Position(35);
  c.cursor->SetPointer2Position(70);
  c.cursor->SetHintPosition(40);
  c.cursor->SetFocused(true);
  TBitmap bitmap = c.Paint();
  bitmap.Image().save(PicturePath(QStringLiteral("lumio-datacursor-hint.png")));
  const TRect h = c.cursor->HintRect();
  ASSERT_FALSE(IsRectEmpty(h));
  EXPECT_EQ(c.cursor->HintText(), "3.50, 70.00");
  // The frame in the channel's colour, the inside on the tooltip background.
  EXPECT_EQ(bitmap.Canvas()->Pixel(h.Left, (h.Top + h.Bottom) / 2), clLime);
  EXPECT_EQ(bitmap.Canvas()->Pixel(h.Right - 1, (h.Top + h.Bottom) / 2), clLime);
  EXPECT_EQ(bitmap.Canvas()->Pixel(h.Left + 1, h.Bottom - 2), ColorToRGB(clInfoBk));
  // Text in the tooltip text colour somewhere inside.
  EXPECT_FALSE(IsRectEmpty(BoxOf(bitmap, ColorToRGB(clInfoText), Rect(h.Left + 1, h.Top + 1, h.Right - 1, h.Bottom - 1))));
}

}  // namespace

namespace {

// An X axis over part of the view reads the pointer at the pixel it is drawn at: the value there
// by the axis's drawn ends, whichever part of the view it covers.
TEST(DataCursor, AnAxisOverPartOfTheViewReadsThePointersPixel) {
  TCursorChart c;
  c.cursor->SetStyle(ipcsValueX);
  c.cursor->SetPointer1Position(10);
  struct Case { double start, stop; };
  for (const Case& k : std::initializer_list<Case>{{25, 75}, {0, 50}, {50, 100}}) {
    SCOPED_TRACE(testing::Message() << k.start << " .. " << k.stop);
    c.chart.XAxis(0)->SetStartPercent(k.start);
    c.chart.XAxis(0)->SetStopPercent(k.stop);
    c.Paint();
    const TiPlotXAxis* axis = c.chart.XAxis(0);
    const int x = c.PixelX(10);
    const double left = axis->PositionOfMin(), right = axis->PositionOfMax();
    const double expected = (x - left) / (right - left) * 10;
    EXPECT_NEAR(c.cursor->ValueX(), expected, 1e-9);
  }
}

}  // namespace

namespace {

// Channels on different axes read different values; with "<All>" a paint that changes nothing
// raises no change, and a change is told once.
TEST(DataCursor, AllChannelsOnOtherAxesRaiseNoChangeWhenNothingChanged) {
  TCursorChart c;
  c.chart.AddYAxis();
  c.chart.YAxis(1)->SetTrackingEnabled(false);
  c.chart.YAxis(1)->SetSpan(50);
  c.chart.AddChannel();
  c.chart.Channel(1)->SetYAxisName(c.chart.YAxis(1)->Name());
  c.cursor->SetChannelName(QStringLiteral("<All>"));
  int changes = 0;
  c.chart.OnDataCursorChange = [&](int) { ++changes; };
  c.Paint();
  c.Paint();
  changes = 0;
  c.Paint();
  EXPECT_EQ(changes, 0);
  // The values are the last channel's: Y 60 percent of 0 .. 50.
  EXPECT_DOUBLE_EQ(c.cursor->ValueY(), 30);
  EXPECT_EQ(c.channel->CursorYText(), "60.00");
  c.cursor->SetPointer2Position(80);
  c.cursor->UpdateValues();
  EXPECT_EQ(changes, 1);
  EXPECT_DOUBLE_EQ(c.cursor->ValueY(), 40);
}

}  // namespace

namespace {

TEST(DataCursor, ShowingItReadsTheValuesAtOnce) {
  TCursorChart c;
  c.cursor->SetVisible(false);
  c.cursor->SetPointer1Position(30);
  EXPECT_DOUBLE_EQ(c.cursor->ValueX(), 5);   // read when it was shown, at 50 percent
  c.cursor->SetVisible(true);
  EXPECT_DOUBLE_EQ(c.cursor->ValueX(), 3);
}

TEST(DataCursor, HandShapeOverItThroughTheChartsEvent) {
  TCursorChart c;
  TInput input(c.chart);
  c.Paint();
  const TPoint on{c.PixelX(50), c.PixelY(20)};
  input.Move({on.X, on.Y});
  EXPECT_EQ(c.chart.MouseCursor(), crHandPoint);
  c.chart.OnGetMouseCursorDataCursor = [](int index, TCursor& shape) {
    if (index == 0) shape = crCross;
  };
  input.Move({on.X + 1, on.Y});
  EXPECT_EQ(c.chart.MouseCursor(), crCross);
}

TEST(DataCursor, WithoutItsDataViewItNeitherDrawsNorReacts) {
  TCursorChart c;
  c.Paint();
  const TPoint on{c.PixelX(50), c.PixelY(20)};
  const TiPlotMouseParams params = MakeMouseParams(mbLeft, 0, on.X, on.Y, false);
  ASSERT_TRUE(c.cursor->HitTest(params));
  c.cursor->SetDataView(nullptr);
  EXPECT_FALSE(c.cursor->HitTest(params));
  c.cursor->DoMouseDownLeft(params);
  EXPECT_FALSE(c.cursor->DraggingPointer1());
  int key = VK_RIGHT;
  c.cursor->DoKeyDown(key, 0, nullptr);
  EXPECT_EQ(c.cursor->Pointer1Position(), 50);
  // The chart's data view going takes it away from the cursor as well.
  c.Paint();
  ASSERT_EQ(c.cursor->DataView(), c.chart.DataView(0));
  c.chart.DeleteDataView(0);
  EXPECT_EQ(c.cursor->DataView(), nullptr);
}

}  // namespace
