// The chart's interaction, driven through Qt's own mouse, wheel and key events: the object
// under the mouse, the user focus, where presses, drags, releases, wheel turns and keys go, the
// cursor shape, popup menus, click events, hints on the control's timer, the mouse capture, the
// select mode and the repetition of an axis's actions on the other axes.
#include "InteractionTestSupport.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QDir>
#include <QImage>

#include "platform/Canvas.h"
#include "platform/Menus.h"

namespace {

const QPoint kChannel(200, 80);
const QPoint kView(120, 130);
const QPoint kLegend(450, 80);
const QPoint kXAxis(250, 165);
const QPoint kYAxis(80, 80);
const QPoint kLimit(310, 100);
const QPoint kAnnotation(350, 40);
const QPoint kToolBar(300, 10);
const QPoint kButton(10, 10);
const QPoint kEmpty(30, 185);

// A chart with one object of every kind the interaction treats apart, at fixed places:
//   toolbar across the top with a button at its left end, data view in the middle with a
//   channel, a limit and an annotation inside it, the legend on the right, the X axis below and
//   the Y axis left of the data view.
struct TChart {
  TiPlotComponent chart;
  TInput input{chart};
  TTimerClock clock{chart};
  TMenuRecorder menus;
  TProbeToolBar* toolBar = nullptr;
  TProbeDataView* view = nullptr;
  TProbeLegend* legend = nullptr;
  TProbeXAxis* xAxis = nullptr;
  TProbeYAxis* yAxis = nullptr;
  TProbeChannel* channel = nullptr;
  TProbeLimit* limit = nullptr;
  TProbeAnnotation* annotation = nullptr;

  TChart() {
    g_inputLog.clear();
    toolBar = InsertInto<TProbeToolBar>(chart, [](TProbeToolBar* t) { t->SetHorizontal(true); });
    view = InsertInto<TProbeDataView>(chart);
    legend = InsertInto<TProbeLegend>(chart);
    xAxis = InsertInto<TProbeXAxis>(chart, [](TProbeXAxis* a) { a->SetHorizontal(true); });
    yAxis = InsertInto<TProbeYAxis>(chart);
    channel = InsertInto<TProbeChannel>(chart);
    limit = InsertInto<TProbeLimit>(chart);
    annotation = InsertInto<TProbeAnnotation>(chart, [](TProbeAnnotation* a) { a->SetName(QStringLiteral("Annotation 1")); });
    toolBar->SetLayoutRect(Rect(0, 0, 500, 18));
    toolBar->Button()->SetButtonRect(Rect(2, 2, 20, 16));
    view->SetLayoutRect(Rect(100, 20, 400, 150));
    legend->SetLayoutRect(Rect(410, 20, 490, 150));
    xAxis->SetLayoutRect(Rect(100, 150, 400, 180));
    yAxis->SetLayoutRect(Rect(60, 20, 100, 150));
    // The axes are hit inside the focus frames they work out from their rectangles.
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    xAxis->UpdateScaleArea(&canvas);
    yAxis->UpdateScaleArea(&canvas);
    channel->Hit = Rect(150, 60, 250, 100);
    // A channel is clicked in its legend row: the probe's row is where it is hit.
    channel->SetLegendRect(Rect(150, 60, 250, 100));
    limit->Hit = Rect(300, 60, 320, 140);
    annotation->Hit = Rect(330, 30, 380, 50);
    g_inputLog.clear();
  }

  // The objects that hold the focus, by name.
  QStringList Focused() const {
    QStringList names;
    TiPlotObjectManager* all = chart.Master()->AllObjects();
    for (int i = 0; i < all->Count(); ++i)
      if (all->Items(i)->HasFocus()) names << all->Items(i)->Name();
    return names;
  }
};

QStringList Take() {
  QStringList log = g_inputLog;
  g_inputLog.clear();
  return log;
}

// Lines of the log that concern one object.
QStringList Of(const QStringList& log, const QString& name) {
  QStringList out;
  for (const QString& line : log)
    if (line.startsWith(name + QStringLiteral(": "))) out << line.mid(name.size() + 2);
  return out;
}

}  // namespace

// ---- the object under the mouse ----

TEST(HitTestChart, FocusedObjectsFirstThenOthersThenContainers) {
  TChart t;
  TiPlotComponent& c = t.chart;
  EXPECT_EQ(c.HitTestChart(kChannel.x(), kChannel.y()), t.channel);
  EXPECT_EQ(c.HitTestChart(kView.x(), kView.y()), t.view);
  EXPECT_EQ(c.HitTestChart(kLegend.x(), kLegend.y()), t.legend);
  EXPECT_EQ(c.HitTestChart(kXAxis.x(), kXAxis.y()), t.xAxis);
  EXPECT_EQ(c.HitTestChart(kEmpty.x(), kEmpty.y()), nullptr);
  // A composite object answers with its part under the point.
  EXPECT_EQ(c.HitTestChart(kButton.x(), kButton.y()), t.toolBar->Button());
  EXPECT_EQ(c.HitTestChart(kToolBar.x(), kToolBar.y()), t.toolBar);

  // The limit now overlaps the channel; the channel came first into the chart and wins ...
  t.limit->Hit = Rect(150, 60, 320, 140);
  EXPECT_EQ(c.HitTestChart(kChannel.x(), kChannel.y()), t.channel);
  // ... until the limit holds the focus.
  t.limit->SetFocused(true);
  EXPECT_EQ(c.HitTestChart(kChannel.x(), kChannel.y()), t.limit);
  // A focused data view does not come before the objects inside it.
  t.limit->SetFocused(false);
  t.view->SetFocused(true);
  EXPECT_EQ(c.HitTestChart(kChannel.x(), kChannel.y()), t.channel);

  // Hidden and disabled objects are not found; what lies under them is.
  t.channel->SetVisible(false);
  t.limit->SetEnabled(false);
  EXPECT_EQ(c.HitTestChart(kChannel.x(), kChannel.y()), t.view);
}

TEST(HitTestChart, PlaceholdersAreNeverFound) {
  TChart t;
  t.chart.LayoutManager()->DataViewHorz()->SetLayoutRect(Rect(0, 0, 500, 200));
  t.chart.LayoutManager()->DataViewVert()->SetLayoutRect(Rect(0, 0, 500, 200));
  EXPECT_EQ(t.chart.HitTestChart(kEmpty.x(), kEmpty.y()), nullptr);
  EXPECT_EQ(t.chart.HitTestChart(kView.x(), kView.y()), t.view);
}

TEST(HitTestChart, APressHandsItsButtonAndReversedAxesExchangeTheCoordinates) {
  TChart t;
  t.input.Press(kChannel, Qt::RightButton);
  t.input.Release(kChannel, Qt::RightButton);
  ASSERT_FALSE(t.channel->HitButtons.empty());
  EXPECT_EQ(t.channel->HitButtons.front(), mbRight);
  t.chart.SetXYAxesReverse(true);
  t.chart.HitTestChart(kChannel.x(), kChannel.y());
  EXPECT_EQ(t.channel->LastReversed, (TPoint{kChannel.y(), kChannel.x()}));
}

// ---- focus ----

TEST(Focus, ClickingEmptyChartAreaRemovesTheFocusFromEveryObject) {
  TChart t;
  t.channel->SetFocused(true);
  t.xAxis->SetFocused(true);
  t.view->SetFocused(true);
  t.input.Click(kEmpty);
  EXPECT_TRUE(t.Focused().isEmpty());
  EXPECT_EQ(t.chart.PressedObject(), nullptr);
}

TEST(Focus, ARightClickOnAnAxisFocusesItAloneCapturesTheMouseAndPressesItAlone) {
  TChart t;
  t.channel->SetFocused(true);
  t.view->SetFocused(true);
  t.input.Press(kXAxis, Qt::RightButton);
  EXPECT_EQ(t.Focused(), QStringList{QStringLiteral("X-Axis 1")});
  EXPECT_TRUE(t.chart.MouseCapture());
  EXPECT_EQ(Take(), QStringList{QStringLiteral("X-Axis 1: down right")});
  EXPECT_EQ(t.chart.PressedObject(), t.xAxis);
  t.input.Release(kXAxis, Qt::RightButton);
  // The release shows the axis's menu at the screen point of the release.
  ASSERT_EQ(t.menus.Shown.size(), 1u);
  // The axis's own items, then what the probe appends.
  EXPECT_EQ(t.menus.Shown[0].Captions,
            (QStringList{QStringLiteral("Tracking Enabled"), QStringLiteral("Update Resume Values"), QStringLiteral("Zoom to Fit"),
                         QStringLiteral("Edit..."), QStringLiteral("About X-Axis 1"), QStringLiteral("Edit...")}));
  const QPoint screen = t.chart.mapToGlobal(kXAxis);
  EXPECT_EQ(t.menus.Shown[0].X, screen.x());
  EXPECT_EQ(t.menus.Shown[0].Y, screen.y());
  EXPECT_EQ(t.chart.ReleasedObject(), t.xAxis);
  EXPECT_EQ(t.chart.ReleasedButton(), mbRight);
  EXPECT_EQ(t.chart.ReleasedPosition(), (TPoint{kXAxis.x(), kXAxis.y()}));
  EXPECT_EQ(t.chart.ReleasedScreenPosition(), (TPoint{screen.x(), screen.y()}));
  EXPECT_EQ(t.chart.PressedObject(), nullptr);
  t.chart.SetMouseCapture(false);
}

TEST(Focus, ShiftClickKeepsAxesFocusedAndMovesWaitForTheRelease) {
  TChart t;
  t.xAxis->GiveUpFocus = true;
  t.yAxis->GiveUpFocus = true;
  t.channel->GiveUpFocus = true;
  t.input.Click(kXAxis);
  EXPECT_EQ(t.Focused(), QStringList{QStringLiteral("X-Axis 1")});
  t.input.Press(kYAxis, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(t.Focused(), (QStringList{QStringLiteral("X-Axis 1"), QStringLiteral("Y-Axis 1")}));
  EXPECT_TRUE(t.chart.AxisMultiSelect());
  Take();
  t.input.Move(kChannel, Qt::ShiftModifier);
  t.input.Move(kYAxis, Qt::ShiftModifier);
  EXPECT_TRUE(Take().isEmpty());
  EXPECT_EQ(t.chart.HoverObject(), nullptr);
  t.input.Release(kYAxis, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_FALSE(t.chart.AxisMultiSelect());
  // Both axes took the press and the release.
  const QStringList log = Take();
  EXPECT_EQ(Of(log, QStringLiteral("X-Axis 1")), QStringList{QStringLiteral("up")});
  EXPECT_EQ(Of(log, QStringLiteral("Y-Axis 1")), QStringList{QStringLiteral("up")});
  t.input.Move(kChannel);
  EXPECT_EQ(t.chart.HoverObject(), t.channel);
  // A plain click elsewhere takes the focus from both.
  t.input.Click(kChannel);
  EXPECT_EQ(t.Focused(), QStringList{QStringLiteral("Channel 1")});
}

TEST(Focus, CtrlTogglesAnAxisAndFocusesOtherObjects) {
  TChart t;
  t.input.Click(kXAxis, Qt::LeftButton, Qt::ControlModifier);
  EXPECT_TRUE(t.xAxis->HasFocus());
  t.input.Click(kXAxis, Qt::LeftButton, Qt::ControlModifier);
  EXPECT_FALSE(t.xAxis->HasFocus());
  t.input.Press(kChannel, Qt::LeftButton, Qt::ControlModifier);
  EXPECT_TRUE(t.channel->HasFocus());
  EXPECT_FALSE(t.chart.AxisMultiSelect());
  t.input.Release(kChannel, Qt::LeftButton, Qt::ControlModifier);
}

TEST(Focus, ToolbarsAndObjectsThatCannotFocusKeepNone) {
  TChart t;
  t.input.Click(kToolBar);
  EXPECT_FALSE(t.toolBar->HasFocus());
  t.channel->SetCanFocus(false);
  t.input.Click(kChannel);
  EXPECT_FALSE(t.channel->HasFocus());
  // It still takes its own press and release.
  EXPECT_EQ(Of(Take(), QStringLiteral("Channel 1")), (QStringList{QStringLiteral("down left"), QStringLiteral("up")}));
}

// ---- where presses, drags and releases go ----

TEST(Press, GoesToEveryFocusedObjectOrToTheObjectAlone) {
  struct Case {
    const char* what;
    QPoint at;
    QString receiver;
    bool broadcast;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"channel", kChannel, QStringLiteral("Channel 1"), true},
           {"data view", kView, QStringLiteral("Data View 1"), true},
           {"annotation", kAnnotation, QStringLiteral("Annotation 1"), false},
           {"limit", kLimit, QStringLiteral("Limit 1"), false},
           {"toolbar button", kButton, QStringLiteral("Button"), false},
       }) {
    SCOPED_TRACE(c.what);
    TChart t;
    t.xAxis->SetFocused(true);  // the axis keeps its focus: its probe has no rule against it
    t.input.Press(c.at);
    const QStringList log = Take();
    EXPECT_EQ(Of(log, c.receiver), QStringList{QStringLiteral("down left")});
    EXPECT_EQ(Of(log, QStringLiteral("X-Axis 1")), c.broadcast ? QStringList{QStringLiteral("down left")} : QStringList{});
    t.input.Release(c.at);
  }
}

TEST(Drag, GoesToTheFocusedObjectsOrThePressedOneAloneWithTheDefaultCursor) {
  TChart t;
  t.channel->Cursor = crHandPoint;
  t.input.Move(kChannel);
  EXPECT_EQ(t.chart.MouseCursor(), crHandPoint);
  t.xAxis->SetFocused(true);
  t.input.Press(kChannel);
  Take();
  t.input.Move(QPoint(210, 85));
  QStringList log = Take();
  EXPECT_EQ(Of(log, QStringLiteral("Channel 1")), QStringList{QStringLiteral("drag")});
  EXPECT_EQ(Of(log, QStringLiteral("X-Axis 1")), QStringList{QStringLiteral("drag")});
  EXPECT_EQ(t.chart.MouseCursor(), crDefault);
  EXPECT_EQ(t.chart.cursor().shape(), Qt::ArrowCursor);
  t.input.Release(QPoint(210, 85));

  t.input.Press(kAnnotation);
  Take();
  t.input.Move(QPoint(360, 45));
  log = Take();
  EXPECT_EQ(Of(log, QStringLiteral("Annotation 1")), QStringList{QStringLiteral("drag")});
  EXPECT_TRUE(Of(log, QStringLiteral("X-Axis 1")).isEmpty());
  t.input.Release(QPoint(360, 45));
}

TEST(Release, ReachesEachObjectOnceAndIsRemembered) {
  TChart t;
  int clicks = 0;
  t.chart.OnClickChannel = [&](int) { ++clicks; };
  t.input.Press(kChannel);
  t.input.Release(kChannel);
  EXPECT_EQ(Of(Take(), QStringLiteral("Channel 1")), (QStringList{QStringLiteral("down left"), QStringLiteral("up")}));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(t.chart.ReleasedObject(), t.channel);
  EXPECT_EQ(t.chart.ReleasedButton(), mbLeft);
  EXPECT_FALSE(t.chart.MouseButtonDown());
  EXPECT_EQ(t.chart.PressedObject(), nullptr);
}

TEST(Move, AButtonlessMoveEndsAReleaseTheControlNeverSaw) {
  TChart t;
  int clicks = 0;
  t.chart.OnClickChannel = [&](int) { ++clicks; };
  t.input.Press(kChannel);
  t.input.ForgetButtons();  // released elsewhere
  Take();
  t.input.Move(QPoint(210, 85));
  EXPECT_EQ(Of(Take(), QStringLiteral("Channel 1")), (QStringList{QStringLiteral("up"), QStringLiteral("cursor"), QStringLiteral("hover")}));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(t.chart.PressedObject(), nullptr);
  EXPECT_FALSE(t.chart.MouseButtonDown());
  // Only once.
  t.input.Move(QPoint(212, 85));
  EXPECT_EQ(Of(Take(), QStringLiteral("Channel 1")), (QStringList{QStringLiteral("cursor"), QStringLiteral("hover")}));
  EXPECT_EQ(clicks, 1);
}

TEST(Move, LeavingAnObjectTellsItAndTheCursorFollows) {
  TChart t;
  t.channel->Cursor = crHandPoint;
  t.view->Cursor = crCross;
  t.input.Move(kChannel);
  EXPECT_EQ(t.chart.HoverObject(), t.channel);
  EXPECT_EQ(t.chart.cursor().shape(), Qt::PointingHandCursor);
  Take();
  t.input.Move(kView);
  EXPECT_EQ(Take(), (QStringList{QStringLiteral("Channel 1: leave"), QStringLiteral("Data View 1: cursor"),
                                 QStringLiteral("Data View 1: hover")}));
  EXPECT_EQ(t.chart.HoverObject(), t.view);
  EXPECT_EQ(t.chart.MouseCursor(), crCross);
  t.input.Move(kEmpty);
  EXPECT_EQ(Take(), QStringList{QStringLiteral("Data View 1: leave")});
  EXPECT_EQ(t.chart.HoverObject(), nullptr);
  EXPECT_EQ(t.chart.MouseCursor(), crDefault);
}

// ---- cursor events ----

TEST(Cursor, TheEventOfTheObjectsKindMayChangeTheShape) {
  TChart t;
  auto* table = InsertInto<TProbeTable>(t.chart);
  table->SetLayoutRect(Rect(410, 160, 490, 195));
  t.channel->Cursor = crHandPoint;
  std::vector<int> indexes;
  t.chart.OnGetMouseCursorChannel = [&](int index, TCursor& cursor) {
    indexes.push_back(index);
    cursor = crSizeWE;
  };
  t.chart.OnGetMouseCursorTable = [&](int index, TCursor& cursor) { cursor = crSizeNS; };
  t.input.Move(kChannel);
  EXPECT_EQ(t.chart.MouseCursor(), crSizeWE);
  EXPECT_EQ(t.chart.cursor().shape(), Qt::SizeHorCursor);
  EXPECT_EQ(indexes, std::vector<int>{0});
  t.input.Move(QPoint(450, 180));
  EXPECT_EQ(t.chart.MouseCursor(), crSizeNS);
  // Other kinds keep their own shape.
  t.xAxis->Cursor = crSizeAll;
  t.input.Move(kXAxis);
  EXPECT_EQ(t.chart.MouseCursor(), crSizeAll);
}

// ---- click events ----

TEST(Clicks, EachKindRaisesItsOwnClickEventWithItsIndex) {
  struct Case {
    const char* what;
    QPoint at;
    TiPlotObjectEvent TiPlotComponent::*event;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"channel", kChannel, &TiPlotComponent::OnClickChannel},
           {"x axis", kXAxis, &TiPlotComponent::OnClickXAxis},
           {"y axis", kYAxis, &TiPlotComponent::OnClickYAxis},
           {"data view", kView, &TiPlotComponent::OnClickDataView},
           {"legend", kLegend, &TiPlotComponent::OnClickLegend},
           {"limit", kLimit, &TiPlotComponent::OnClickLimit},
           {"annotation", kAnnotation, &TiPlotComponent::OnClickAnnotation},
       }) {
    SCOPED_TRACE(c.what);
    TChart t;
    std::vector<int> raised;
    QStringList all;
    for (TiPlotObjectEvent TiPlotComponent::*e : {&TiPlotComponent::OnClickChannel, &TiPlotComponent::OnClickXAxis, &TiPlotComponent::OnClickYAxis,
                    &TiPlotComponent::OnClickDataView, &TiPlotComponent::OnClickLegend, &TiPlotComponent::OnClickLimit,
                    &TiPlotComponent::OnClickAnnotation, &TiPlotComponent::OnClickDataCursor})
      t.chart.*e = [&all](int) { all << QStringLiteral("click"); };
    t.chart.*(c.event) = [&raised](int index) { raised.push_back(index); };
    t.input.Click(c.at);
    EXPECT_EQ(raised, std::vector<int>{0});
    EXPECT_TRUE(all.isEmpty());
  }
}

// A press on an object released away from it is no click of it (nor of anything else), but the
// object's mouse-up event still tells of the release.
TEST(Clicks, AReleaseAwayFromThePressedObjectIsNoClick) {
  const QPoint away(20, 190);
  struct Case {
    const char* what;
    QPoint at;
    TiPlotObjectEvent TiPlotComponent::*click;
    TiPlotObjectMouseEvent TiPlotComponent::*up;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"channel", kChannel, &TiPlotComponent::OnClickChannel, &TiPlotComponent::OnMouseUpChannel},
           {"x axis", kXAxis, &TiPlotComponent::OnClickXAxis, &TiPlotComponent::OnMouseUpXAxis},
           {"y axis", kYAxis, &TiPlotComponent::OnClickYAxis, &TiPlotComponent::OnMouseUpYAxis},
           {"data view", kView, &TiPlotComponent::OnClickDataView, &TiPlotComponent::OnMouseUpDataView},
           {"legend", kLegend, &TiPlotComponent::OnClickLegend, &TiPlotComponent::OnMouseUpLegend},
           {"limit", kLimit, &TiPlotComponent::OnClickLimit, &TiPlotComponent::OnMouseUpLimit},
           {"annotation", kAnnotation, &TiPlotComponent::OnClickAnnotation, &TiPlotComponent::OnMouseUpAnnotation},
       }) {
    SCOPED_TRACE(c.what);
    TChart t;
    int clicks = 0;
    std::vector<QPoint> ups;
    for (TiPlotObjectEvent TiPlotComponent::*e : {&TiPlotComponent::OnClickChannel, &TiPlotComponent::OnClickXAxis, &TiPlotComponent::OnClickYAxis,
                    &TiPlotComponent::OnClickDataView, &TiPlotComponent::OnClickLegend, &TiPlotComponent::OnClickLimit,
                    &TiPlotComponent::OnClickAnnotation, &TiPlotComponent::OnClickDataCursor})
      t.chart.*e = [&clicks](int) { ++clicks; };
    t.chart.*(c.up) = [&ups](int, TMouseButton, TShiftState, int x, int y) { ups.emplace_back(x, y); };
    t.input.Press(c.at);
    t.input.Move(away);
    t.input.Release(away);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(ups, std::vector<QPoint>{away});
    // The same press released where it began is a click.
    t.input.Click(c.at);
    EXPECT_EQ(clicks, 1);
  }
}

TEST(Clicks, ADataCursorOnASecondPlaceRaisesItsIndex) {
  TChart t;
  InsertInto<TProbeDataCursor>(t.chart);
  // Data cursors start hidden.
  auto* second = InsertInto<TProbeDataCursor>(t.chart, [](TProbeDataCursor* c) { c->SetVisible(true); });
  second->Hit = Rect(260, 60, 280, 140);
  std::vector<int> clicks, doubles;
  t.chart.OnClickDataCursor = [&](int index) { clicks.push_back(index); };
  t.chart.OnDblClickDataCursor = [&](int index) { doubles.push_back(index); };
  t.input.DoubleClick(QPoint(270, 100));
  EXPECT_EQ(clicks, std::vector<int>{1});
  EXPECT_EQ(doubles, std::vector<int>{1});
}

TEST(Clicks, ADoubleClickRaisesOneClickThenOneDoubleClick) {
  TChart t;
  QStringList events;
  t.chart.OnClickChannel = [&](int i) { events << QStringLiteral("click %1").arg(i); };
  t.chart.OnDblClickChannel = [&](int i) { events << QStringLiteral("double %1").arg(i); };
  t.input.DoubleClick(kChannel);
  EXPECT_EQ(events, (QStringList{QStringLiteral("click 0"), QStringLiteral("double 0")}));
  EXPECT_FALSE(t.chart.DoubleClickPending());
  // The next single click is a click again.
  t.input.Click(kChannel);
  EXPECT_EQ(events.size(), 3);
  EXPECT_EQ(events.last(), QStringLiteral("click 0"));
}

TEST(Clicks, AMoveDuringADoubleClickIsMarkedAndNoEventWhileLoading) {
  TChart t;
  t.input.Click(kChannel);
  Take();
  // Second press of a double click, then a drag before its release.
  t.chart.DoDblClick();
  t.input.Press(kChannel);
  t.input.Move(QPoint(205, 80));
  EXPECT_TRUE(Of(Take(), QStringLiteral("Channel 1")).contains(QStringLiteral("drag (double)")));
  int events = 0;
  t.chart.OnDblClickChannel = [&](int) { ++events; };
  t.chart.OnClickChannel = [&](int) { ++events; };
  t.chart.SetLoading(true);
  t.input.Release(QPoint(205, 80));
  t.chart.SetLoading(false);
  EXPECT_EQ(events, 0);
  EXPECT_FALSE(t.chart.DoubleClickPending());
}

// ---- popup menus ----

TEST(Popup, ARightClickShowsTheObjectsMenuUnlessItsEventCancels) {
  TChart t;
  std::vector<int> asked;
  bool cancel = false;
  QPoint at;
  t.chart.OnPopupMenuChannel = [&](int index, bool& c, int x, int y) {
    asked.push_back(index);
    at = QPoint(x, y);
    c = cancel;
  };
  t.input.Click(kChannel, Qt::RightButton);
  ASSERT_EQ(t.menus.Shown.size(), 1u);
  // The channel's own item, then what the probe appends.
  EXPECT_EQ(t.menus.Shown[0].Captions,
            (QStringList{QStringLiteral("Edit..."), QStringLiteral("About Channel 1"), QStringLiteral("Edit...")}));
  EXPECT_EQ(at, t.chart.mapToGlobal(kChannel));
  EXPECT_EQ(t.menus.LastMenu, t.chart.ChartPopupMenu());

  cancel = true;
  t.input.Click(kChannel, Qt::RightButton);
  EXPECT_EQ(asked, (std::vector<int>{0, 0}));
  EXPECT_EQ(t.menus.Shown.size(), 1u);
  t.chart.SetMouseCapture(false);
}

TEST(Popup, TheMenuKeyOpensTheMenuOfTheFocusedObjectAtItsCentre) {
  TChart t;
  t.xAxis->SetFocused(true);
  t.input.Key(Qt::Key_Menu);
  // The key arrives twice (pre-processing and delivery), the menu opens once.
  ASSERT_EQ(t.menus.Shown.size(), 1u);
  const QPoint centre = t.chart.mapToGlobal(QPoint((100 + 400) / 2, (150 + 180) / 2));
  EXPECT_EQ(t.menus.Shown[0].X, centre.x());
  EXPECT_EQ(t.menus.Shown[0].Y, centre.y());
  EXPECT_EQ(t.xAxis->LastKeyMenu, t.chart.ChartPopupMenu());
  t.chart.OnPopupMenuXAxis = [](int, bool& cancel, int, int) { cancel = true; };
  t.input.Key(Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(t.menus.Shown.size(), 1u);
  t.chart.OnPopupMenuXAxis = nullptr;
  t.input.Key(Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(t.menus.Shown.size(), 2u);
  // Other keys still arrive twice.
  Take();
  t.input.Key(Qt::Key_Right);
  EXPECT_EQ(Take(), (QStringList{QStringLiteral("X-Axis 1: key 39 0"), QStringLiteral("X-Axis 1: key 39 0")}));
  // A menu key handed to the hook directly (not inside a key press) is not held back.
  int key = VK_APPS;
  t.chart.DoKeyDown(key, 0);
  t.chart.DoKeyDown(key, 0);
  EXPECT_EQ(t.menus.Shown.size(), 4u);
}

// ---- wheel and keys ----

TEST(Wheel, ReachesTheFocusedObjectsAndCountsAsHandledWithoutAny) {
  TChart t;
  EXPECT_TRUE(t.input.Wheel(kChannel, 120));
  EXPECT_TRUE(Take().isEmpty());
  t.xAxis->SetFocused(true);
  t.yAxis->SetFocused(true);
  std::vector<int> deltas;
  t.chart.OnMouseWheelYAxis = [&](int index, int delta, TShiftState, int, int) { deltas.push_back(delta); };
  EXPECT_TRUE(t.input.Wheel(kChannel, -120));
  EXPECT_EQ(Take(), (QStringList{QStringLiteral("X-Axis 1: wheel -120"), QStringLiteral("Y-Axis 1: wheel -120")}));
  EXPECT_EQ(deltas, std::vector<int>{-120});
}

TEST(Keys, OnlyTheArrowsAreWantedAndAKeyReachesTheFocusedObjectsTwice) {
  TChart t;
  EXPECT_TRUE(t.input.Wants(Qt::Key_Left));
  EXPECT_TRUE(t.input.Wants(Qt::Key_Up));
  EXPECT_TRUE(t.input.Wants(Qt::Key_Right));
  EXPECT_TRUE(t.input.Wants(Qt::Key_Down));
  EXPECT_FALSE(t.input.Wants(Qt::Key_Tab));
  EXPECT_FALSE(t.input.Wants(Qt::Key_Escape));
  EXPECT_FALSE(t.input.Wants(Qt::Key_Return));
  int key = VK_HOME;
  bool result = true;
  t.chart.DoWantSpecialKey(key, result);
  EXPECT_FALSE(result);

  t.yAxis->SetFocused(true);
  t.input.Key(Qt::Key_PageUp, Qt::ShiftModifier);
  EXPECT_EQ(Take(), (QStringList{QStringLiteral("Y-Axis 1: key 33 0"), QStringLiteral("Y-Axis 1: key 33 1")}));
}

// ---- select mode ----

TEST(SelectMode, FollowsTheSelectButtonOfToolbarZero) {
  TChart t;
  EXPECT_FALSE(t.chart.SelectMode());
  t.chart.SetSelectMode(true);
  EXPECT_EQ(t.toolBar->SelectCommands, 1);
  EXPECT_TRUE(t.chart.SelectMode());
  // Already so: no command.
  t.chart.SetSelectMode(true);
  EXPECT_EQ(t.toolBar->SelectCommands, 1);
  t.chart.SetSelectMode(false);
  EXPECT_EQ(t.toolBar->SelectCommands, 2);
  EXPECT_FALSE(t.chart.SelectMode());
  // Objects ask their owner.
  t.toolBar->SelectDown = true;
  EXPECT_TRUE(t.channel->Owner()->SelectMode());

  t.chart.RemoveAllToolBars();
  EXPECT_FALSE(t.chart.SelectMode());
  t.chart.SetSelectMode(true);
  EXPECT_FALSE(t.chart.SelectMode());
}

// ---- repeating an axis's action ----

TEST(RepeatToOtherAxes, RepeatsOnTheOtherAxesOfTheKindOnceInCollectionOrder) {
  TChart t;
  auto* x2 = InsertInto<TProbeXAxis>(t.chart, [](TProbeXAxis* a) { a->SetHorizontal(true); });
  auto* x3 = InsertInto<TProbeXAxis>(t.chart, [](TProbeXAxis* a) { a->SetHorizontal(true); });
  x2->SetLayoutRect(Rect(100, 180, 400, 195));
  QImage scratch(1, 1, QImage::Format_RGB32);
  TCanvas canvas(&scratch);
  x2->UpdateScaleArea(&canvas);
  for (TProbeXAxis* a : {t.xAxis, x2, x3}) a->MasterUIInput = true;
  t.yAxis->MasterUIInput = true;
  t.input.Press(QPoint(250, 185));
  EXPECT_EQ(Take(), (QStringList{QStringLiteral("X-Axis 2: down left"), QStringLiteral("X-Axis 1: down left"),
                                 QStringLiteral("X-Axis 3: down left")}));
  EXPECT_FALSE(t.chart.RepeatingToOtherAxes());
  t.input.Move(QPoint(260, 185));
  EXPECT_EQ(Take(), (QStringList{QStringLiteral("X-Axis 2: drag"), QStringLiteral("X-Axis 1: drag"),
                                 QStringLiteral("X-Axis 3: drag")}));
  t.input.Release(QPoint(260, 185));
  EXPECT_EQ(Take(), (QStringList{QStringLiteral("X-Axis 2: up"), QStringLiteral("X-Axis 1: up"), QStringLiteral("X-Axis 3: up")}));

  // A key carries the control's own popup menu to the other axes.
  TPopupMenu ownMenu;
  t.chart.SetPopupMenu(&ownMenu);
  t.chart.Master()->DeselectAll();
  t.yAxis->SetFocused(true);
  auto* y2 = InsertInto<TProbeYAxis>(t.chart);
  Take();
  int key = VK_PRIOR;
  t.chart.DoKeyDown(key, 0);
  EXPECT_EQ(Take(), (QStringList{QStringLiteral("Y-Axis 1: key 33 0"), QStringLiteral("Y-Axis 2: key 33 0")}));
  EXPECT_EQ(t.yAxis->LastKeyMenu, t.chart.ChartPopupMenu());
  EXPECT_EQ(y2->LastKeyMenu, &ownMenu);
  t.chart.SetPopupMenu(nullptr);
}

TEST(RepeatToOtherAxes, TheFlagIsClearedWhenAnAxisFails) {
  TChart t;
  auto* x2 = InsertInto<TProbeXAxis>(t.chart);
  x2->FailIn = QStringLiteral("wheel 120");
  TiPlotAxisUserAction a;
  a.Action = ipaaMouseWheel;
  a.WheelDelta = 120;
  EXPECT_THROW(t.chart.RepeatToOtherAxes(t.xAxis, a), EiError);
  EXPECT_FALSE(t.chart.RepeatingToOtherAxes());
  x2->FailIn.clear();
  Take();
  t.chart.RepeatToOtherAxes(t.xAxis, a);
  EXPECT_EQ(Take(), QStringList{QStringLiteral("X-Axis 2: wheel 120")});
  // The Y axes are not X axes.
  t.chart.RepeatToOtherAxes(t.yAxis, a);
  EXPECT_TRUE(Take().isEmpty());
}

// ---- hints ----

namespace {
void WithChannelHint(TChart& t) {
  t.channel->Hint = QStringLiteral("Channel 1: 12.5");
  t.channel->HintAt = {190, 105};
}
}  // namespace

TEST(Hints, ShownAfterThePauseAndTakenAwayAfterTheHidePause) {
  TChart t;
  WithChannelHint(t);
  t.input.Move(kChannel);
  EXPECT_TRUE(t.chart.TimerRunning());
  EXPECT_EQ(t.chart.HintObject(), t.channel);
  EXPECT_EQ(t.chart.HintStartPoint(), (TPoint{kChannel.x(), kChannel.y()}));
  t.clock.AdvanceMs(499);
  EXPECT_FALSE(t.chart.HintShowing());
  const int repaints = t.chart.RepaintRequests();
  t.clock.AdvanceMs(1);
  EXPECT_TRUE(t.chart.HintShowing());
  EXPECT_GT(t.chart.RepaintRequests(), repaints);
  EXPECT_EQ(t.chart.HintText(), QStringLiteral("Channel 1: 12.5"));
  EXPECT_EQ(t.chart.HintPosition(), (TPoint{190, 105}));
  EXPECT_EQ(t.chart.HintKeepRect(), Rect(197, 77, 203, 83));
  EXPECT_TRUE(t.chart.MouseCapture());
  t.clock.AdvanceMs(2499);
  EXPECT_TRUE(t.chart.HintShowing());
  t.clock.AdvanceMs(1);
  EXPECT_FALSE(t.chart.HintShowing());
  EXPECT_FALSE(t.chart.TimerRunning());
  EXPECT_FALSE(t.chart.MouseCapture());
  // Resting on the same channel brings no second hint.
  t.input.Move(QPoint(kChannel.x() + 1, kChannel.y()));
  t.clock.AdvanceMs(3000);
  EXPECT_FALSE(t.chart.HintShowing());
}

TEST(Hints, KeptWhileTheMouseMovesOverTheSameChannel) {
  TChart t;
  WithChannelHint(t);
  t.input.Move(kChannel);
  t.clock.AdvanceMs(500);
  ASSERT_TRUE(t.chart.HintShowing());
  // Moving over the channel every 2 s keeps the box; its place stays, its text follows.
  for (int i = 1; i <= 3; ++i) {
    t.clock.AdvanceMs(2000);
    t.channel->Hint = QStringLiteral("Channel 1: %1").arg(i);
    t.input.Move(QPoint(kChannel.x() + 10 * i, kChannel.y()));
    EXPECT_TRUE(t.chart.HintShowing());
  }
  EXPECT_EQ(t.chart.HintText(), QStringLiteral("Channel 1: 3"));
  EXPECT_EQ(t.chart.HintPosition(), (TPoint{190, 105}));
  t.clock.AdvanceMs(2499);
  EXPECT_TRUE(t.chart.HintShowing());
  t.clock.AdvanceMs(1);
  EXPECT_FALSE(t.chart.HintShowing());
}

TEST(Hints, ThePauseStartsAgainWhileTheMouseMoves) {
  TChart t;
  WithChannelHint(t);
  t.input.Move(kChannel);
  t.clock.AdvanceMs(300);
  t.input.Move(QPoint(205, 80));
  t.clock.AdvanceMs(300);
  t.input.Move(QPoint(210, 80));
  t.clock.AdvanceMs(499);
  EXPECT_FALSE(t.chart.HintShowing());
  t.clock.AdvanceMs(1);
  EXPECT_TRUE(t.chart.HintShowing());
  // The pause began where the mouse first stopped over the channel.
  EXPECT_EQ(t.chart.HintStartPoint(), (TPoint{kChannel.x(), kChannel.y()}));
}

TEST(Hints, AnotherObjectAnEmptyTextOrAPressTakesTheHintAway) {
  TChart t;
  WithChannelHint(t);
  t.xAxis->Hint = QStringLiteral("X-Axis 1");
  // Another object with a hint: the shown one goes at once.
  t.input.Move(kChannel);
  t.clock.AdvanceMs(500);
  ASSERT_TRUE(t.chart.HintShowing());
  t.input.Move(kXAxis);
  EXPECT_FALSE(t.chart.HintShowing());
  EXPECT_EQ(t.chart.HintObject(), nullptr);
  // ... and the next move there starts its own pause.
  t.input.Move(QPoint(kXAxis.x() + 5, kXAxis.y()));
  EXPECT_EQ(t.chart.HintObject(), t.xAxis);
  t.clock.AdvanceMs(500);
  EXPECT_TRUE(t.chart.HintShowing());
  EXPECT_EQ(t.chart.HintText(), QStringLiteral("X-Axis 1"));
  // A move over an object that offers no text.
  t.input.Move(kView);
  EXPECT_FALSE(t.chart.HintShowing());
  EXPECT_FALSE(t.chart.TimerRunning());
  EXPECT_EQ(t.chart.HintKeepRect(), TRect());
  // A press.
  t.input.Move(kChannel);
  t.clock.AdvanceMs(500);
  ASSERT_TRUE(t.chart.HintShowing());
  t.input.Press(kChannel);
  EXPECT_FALSE(t.chart.HintShowing());
  EXPECT_FALSE(t.chart.TimerRunning());
  // Moves with the button held start no hint.
  t.input.Move(QPoint(220, 80));
  t.clock.AdvanceMs(1000);
  EXPECT_FALSE(t.chart.HintShowing());
  t.input.Release(QPoint(220, 80));
}

TEST(Hints, ANonChannelHintGoesAsSoonAsTheMouseMovesOverIt) {
  TChart t;
  t.xAxis->Hint = QStringLiteral("X-Axis 1");
  t.input.Move(kXAxis);
  t.clock.AdvanceMs(500);
  ASSERT_TRUE(t.chart.HintShowing());
  t.input.Move(QPoint(kXAxis.x() + 20, kXAxis.y()));
  EXPECT_FALSE(t.chart.HintShowing());
}

TEST(Hints, WithHintsShowOffNoTimerEverStarts) {
  TChart t;
  WithChannelHint(t);
  t.chart.SetHintsShow(false);
  t.input.Move(kChannel);
  EXPECT_FALSE(t.chart.TimerRunning());
  t.clock.AdvanceMs(5000);
  EXPECT_FALSE(t.chart.HintShowing());
  EXPECT_FALSE(t.chart.TimerRunning());
}

TEST(Hints, OtherPausesAreHonoured) {
  TChart t;
  WithChannelHint(t);
  t.chart.SetHintsPause(100);
  t.chart.SetHintsHidePause(0);
  t.input.Move(kChannel);
  t.clock.AdvanceMs(99);
  EXPECT_FALSE(t.chart.HintShowing());
  t.clock.AdvanceMs(1);
  EXPECT_TRUE(t.chart.HintShowing());
  // A hide pause of 0 still goes through the timer.
  t.clock.AdvanceMs(1);
  EXPECT_FALSE(t.chart.HintShowing());
}

// ---- mouse capture ----

TEST(Capture, AMoveOutsideTheControlReleasesACaptureNoPressHolds) {
  TChart t;
  t.input.Click(kXAxis, Qt::RightButton);
  ASSERT_TRUE(t.chart.MouseCapture());
  t.input.Move(kChannel);
  EXPECT_TRUE(t.chart.MouseCapture());
  t.input.Move(QPoint(-5, 50));
  EXPECT_FALSE(t.chart.MouseCapture());
  // While a press is held the capture stays.
  t.input.Press(kXAxis, Qt::RightButton);
  t.input.Move(QPoint(600, 50));
  EXPECT_TRUE(t.chart.MouseCapture());
  t.input.Release(QPoint(600, 50), Qt::RightButton);
  t.chart.SetMouseCapture(false);
}

TEST(Capture, TakenByAnotherWindowTheHintGoesAndTheHoveredObjectIsLeft) {
  TChart t;
  WithChannelHint(t);
  t.input.Move(kChannel);
  t.clock.AdvanceMs(500);
  ASSERT_TRUE(t.chart.HintShowing());
  ASSERT_TRUE(t.chart.MouseCapture());
  Take();
  QWidget other;
  other.grabMouse();
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&t.chart, &leave);
  EXPECT_FALSE(t.chart.HintShowing());
  EXPECT_EQ(t.chart.HoverObject(), nullptr);
  EXPECT_EQ(Take(), QStringList{QStringLiteral("Channel 1: leave")});
  other.releaseMouse();
}

// ---- failures and removals ----

TEST(Failures, AFailingMoveIsIgnoredAndTheChartGoesOn) {
  TChart t;
  t.channel->FailIn = QStringLiteral("hover");
  WithChannelHint(t);
  t.input.Move(kChannel);
  EXPECT_EQ(t.chart.HoverObject(), nullptr);
  EXPECT_FALSE(t.chart.TimerRunning());
  t.channel->FailIn.clear();
  t.input.Move(kChannel);
  EXPECT_EQ(t.chart.HoverObject(), t.channel);
  EXPECT_TRUE(t.chart.TimerRunning());
}

TEST(Failures, FailingHandlersOfPressReleaseWheelAndKeysAreSwallowed) {
  TChart t;
  t.chart.OnClickChannel = [](int) { throw EiError(QStringLiteral("click handler")); };
  t.chart.OnMouseDownXAxis = [](int, TMouseButton, TShiftState, int, int) { throw std::runtime_error("press handler"); };
  t.input.Click(kChannel);
  EXPECT_EQ(t.chart.PressedObject(), nullptr);
  EXPECT_FALSE(t.chart.MouseButtonDown());
  t.input.Click(kXAxis);
  EXPECT_TRUE(t.xAxis->HasFocus());
  EXPECT_FALSE(t.chart.MouseButtonDown());
  t.xAxis->FailIn = QStringLiteral("wheel 120");
  EXPECT_TRUE(t.input.Wheel(kXAxis, 120));
  t.xAxis->FailIn = QStringLiteral("key 36 0");
  t.input.Key(Qt::Key_Home);
  // The chart still answers.
  t.chart.OnClickChannel = nullptr;
  Take();
  t.input.Click(kChannel);
  EXPECT_EQ(Of(Take(), QStringLiteral("Channel 1")), (QStringList{QStringLiteral("down left"), QStringLiteral("up")}));
}

TEST(Removal, HandlersThatRemoveTheObjectLeaveNoReferenceBehind) {
  TChart t;
  t.chart.OnGotFocusChannel = [&](int index) { t.chart.DeleteChannel(index); };
  t.input.Press(kChannel);
  EXPECT_EQ(t.chart.ChannelCount(), 0);
  EXPECT_EQ(t.chart.PressedObject(), nullptr);
  t.input.Release(kChannel);
  EXPECT_EQ(t.chart.ReleasedObject(), nullptr);

  // A limit removed by its own click.
  t.chart.OnClickLimit = [&](int index) { t.chart.DeleteLimit(index); };
  t.input.Click(kLimit);
  EXPECT_EQ(t.chart.LimitCount(), 0);
  EXPECT_EQ(t.chart.ReleasedObject(), nullptr);

  // A toolbar button (a part no collection lists) removed by its own click while hovered.
  t.toolBar->Button()->OnClick = [&](TiPlotObject*) { t.toolBar->DropButton(); };
  t.input.Move(kButton);
  EXPECT_NE(t.chart.HoverObject(), nullptr);
  t.input.Click(kButton);
  EXPECT_EQ(t.chart.HoverObject(), nullptr);
  EXPECT_EQ(t.chart.ReleasedObject(), nullptr);
  t.input.Move(kToolBar);
  EXPECT_EQ(t.chart.HoverObject(), t.toolBar);
}

// ---- the hint box in the picture ----

TEST(Hints, TheBoxIsDrawnOnTheChartAndGoesWithTheHint) {
  TSmallChart s;
  TiPlotComponent& chart = s.chart;
  chart.resize(420, 260);
  chart.HintsFont()->Assign(TFont{QStringLiteral("Tahoma"), 11, clBlack, 0});
  auto* channel = InsertInto<TProbeChannel>(chart);
  channel->Hint = QStringLiteral("Channel 1 x: 12.50 y: 3.25");
  channel->Hit = Rect(150, 120, 250, 160);
  channel->HintAt = {160, 170};
  TInput input(chart);
  TTimerClock clock(chart);
  chart.PaintToImage();  // lays the chart out
  input.Move(QPoint(200, 140));
  clock.AdvanceMs(500);
  ASSERT_TRUE(chart.HintShowing());
  const QImage shown = chart.PaintToImage();
  EXPECT_TRUE(chart.HintDrawn());
  const QString dir = QDir::tempPath() + QStringLiteral("/lumio-interaction");
  QDir().mkpath(dir);
  shown.save(dir + QStringLiteral("/hint.png"));

  // The box: info background around dark text, at the hint position.
  const TColor infoBk = ColorToRGB(clInfoBk);
  EXPECT_EQ(FromQColor(shown.pixelColor(161, 171)), infoBk);
  int infoPixels = 0, textPixels = 0;
  for (int y = 170; y < 190; ++y)
    for (int x = 160; x < 330; ++x) {
      const TColor c = FromQColor(shown.pixelColor(x, y));
      if (c == infoBk) ++infoPixels;
      if (c == ColorToRGB(clInfoText)) ++textPixels;
    }
  EXPECT_GT(infoPixels, 500);
  EXPECT_GT(textPixels, 30);

  clock.AdvanceMs(2500);
  ASSERT_FALSE(chart.HintShowing());
  const QImage hidden = chart.PaintToImage();
  EXPECT_FALSE(chart.HintDrawn());
  EXPECT_NE(FromQColor(hidden.pixelColor(161, 171)), infoBk);
}
