// Tracking while the chart suspends its updates: each step moves the range (and its pixels) at
// once, but the change and the range events come once per axis, from the range before the
// first step to the last, when the suspension ends or before any other change of the range.
#include <stdexcept>
#include <vector>

#include "chart/axes/AxisTestSupport.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/rUdudComponent.h"

namespace {

// An X axis 0 .. 100 along 500 pixels whose owner holds range changes.
struct HeldFixture : AxisFixture {
  HeldFixture() {
    Place(true, 0, 0, 500, 20);
    owner.Held = true;
    owner.Events.clear();
    log.Calls.clear();
  }
  void Feed(std::initializer_list<double> values) {
    for (double v : values) axis.NewTrackingData(v);
  }
};

}  // namespace

TEST_F(HeldFixture, StepsMoveTheRangeAndItsPixelsButCallNobody) {
  Feed({5, 150, -20});  // 5 is the first value; then Span 150, then Min -20
  EXPECT_EQ(axis.Min(), -20.0);
  EXPECT_EQ(axis.Span(), 150.0);
  // 55 lies halfway along -20 .. 130.
  ASSERT_EQ(axis.ScaleArea().Left, 0);
  ASSERT_EQ(axis.ScaleArea().Right, 500);
  EXPECT_EQ(axis.ValueToPosition(55), 250);
  EXPECT_EQ(axis.ValueToPosition(-20), 0);
  EXPECT_EQ(axis.ValueToPosition(130), 500);
  EXPECT_TRUE(owner.Events.isEmpty());
  EXPECT_EQ(log.Count(QStringLiteral("change")), 0);
  EXPECT_TRUE(axis.RangeChangeHeld());

  owner.Held = false;
  axis.ReleaseHeldRange();
  EXPECT_EQ(owner.Events, (QStringList{"min X 0 -20", "span X 100 150", "minspan X 0 100 -20 150"}));
  EXPECT_EQ(log.Count(QStringLiteral("change")), 1);
  EXPECT_FALSE(axis.RangeChangeHeld());
  axis.ReleaseHeldRange();  // nothing is left to report
  EXPECT_EQ(owner.Events.size(), 3);
  EXPECT_EQ(log.Count(QStringLiteral("change")), 1);
}

TEST_F(HeldFixture, ARangeBackAtItsStartReportsNothing) {
  axis.SetTrackingStyle(iptsScrollPage);
  log.Calls.clear();
  Feed({0, 150, -10});  // one page up (100 .. 200), one page down (0 .. 100)
  EXPECT_TRUE(axis.RangeChangeHeld());
  axis.ReleaseHeldRange();
  EXPECT_TRUE(owner.Events.isEmpty());
  EXPECT_EQ(log.Count(QStringLiteral("change")), 0);
}

// Any other change of the range first reports the held steps, so that every event's old values
// are the new values of the one before.
TEST_F(HeldFixture, AnotherRangeChangeReportsTheHeldStepsFirst) {
  struct Case {
    const char* name;
    void (*change)(TiPlotAxis&);
    QStringList after;
  };
  const std::vector<Case> cases{
      {"SetMin", [](TiPlotAxis& a) { a.SetMin(10); }, {"min X 0 10", "minspan X 0 150 10 150"}},
      {"SetSpan", [](TiPlotAxis& a) { a.SetSpan(20); }, {"span X 150 20", "minspan X 0 150 0 20"}},
      {"SetMinSpan", [](TiPlotAxis& a) { a.SetMinSpan(1, 2); }, {"min X 0 1", "span X 150 2", "minspan X 0 150 1 2"}},
      {"Zoom", [](TiPlotAxis& a) { a.Zoom(2); }, {"min X 0 -75", "span X 150 300", "minspan X 0 150 -75 300"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    axis.SetMinSpan(0, 100);
    axis.ResetTracking();
    owner.Events.clear();
    Feed({5, 150});
    ASSERT_TRUE(owner.Events.isEmpty());
    c.change(axis);
    EXPECT_EQ(owner.Events, QStringList({"span X 100 150", "minspan X 0 100 0 150"}) + c.after);
    EXPECT_FALSE(axis.RangeChangeHeld());
  }
}

// A held step ends where the same step taken at once ends, for every style, the first-value
// styles, snapping, the span minimum and the margins.
TEST(HeldTracking, EndsWhereStepsTakenAtOnceEnd) {
  struct Case {
    const char* name;
    TiPlotTrackingStyle style;
    TiPlotAlignFirstStyle first;
    double spanMinimum, minMargin, maxMargin;
    bool log;
  };
  const std::vector<Case> cases{
      {"ScaleMinMax", iptsScaleMinMax, ipafsAuto, 0, 0, 0, false},
      {"ScaleMax", iptsScaleMax, ipafsMin, 0, 0, 0, false},
      {"ScaleMin", iptsScaleMin, ipafsMax, 0, 0, 0, false},
      {"ScrollSmooth", iptsScrollSmooth, ipafsNone, 0, 0, 0, false},
      {"ScrollPage", iptsScrollPage, ipafsAuto, 0, 0, 0, false},
      {"ExpandMinMax", iptsExpandMinMax, ipafsAuto, 0, 0, 0, false},
      {"Limits", iptsScaleMinMax, ipafsAuto, 700, 3, 4, false},
      // The first value moves Min to -50 as SetMin does, without the logarithmic substitute.
      {"LogFirst", iptsScaleMinMax, ipafsMin, 0, 0, 0, true},
  };
  const std::vector<double> values{-50, 5, 150, -20, 30, 400, -300, 401};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TAxisOwner heldOwner, directOwner;
    heldOwner.Held = true;
    THandlerLog heldLog, directLog;
    TiPlotXAxis held{&heldOwner, heldLog.Handlers()}, direct{&directOwner, directLog.Handlers()};
    for (TiPlotXAxis* a : {&held, &direct}) {
      a->SetName(QStringLiteral("X"));
      a->SetTrackingStyle(c.style);
      a->SetTrackingAlignFirstStyle(c.first);
      a->SetTrackingSpanMinimum(c.spanMinimum);
      a->SetTrackingMinMargin(c.minMargin);
      a->SetTrackingMaxMargin(c.maxMargin);
      if (c.log) a->SetScaleType(ipstLog10);
    }
    heldOwner.Events.clear();
    directOwner.Events.clear();
    for (double v : values) {
      held.NewTrackingData(v);
      direct.NewTrackingData(v);
      EXPECT_EQ(held.Min(), direct.Min()) << v;
      EXPECT_EQ(held.Span(), direct.Span()) << v;
    }
    ASSERT_FALSE(directOwner.Events.isEmpty());
    EXPECT_TRUE(heldOwner.Events.isEmpty());
    heldOwner.Held = false;
    held.ReleaseHeldRange();
    // One min-span event from the start to where the direct axis's last event ended.
    const QString last = directOwner.Events.last();
    ASSERT_FALSE(heldOwner.Events.isEmpty());
    EXPECT_EQ(heldOwner.Events.last().section(' ', 4), last.section(' ', 4));
    EXPECT_EQ(heldOwner.Events.filter(QStringLiteral("minspan")).size(), 1);
    // By hand for the logarithmic case: the first value's Min is kept as given.
    if (c.log) EXPECT_EQ(heldOwner.Events.first(), QStringLiteral("min X 0 -50"));
  }
}

// ---- In a chart: the suspension holds, EndUpdate reports. ----

namespace {

struct HeldChartFixture : ::testing::Test {
  TiPlotComponent chart;
  TiPlotXAxis* x = nullptr;
  TiPlotYAxis* y = nullptr;
  TiPlotChannelCustom* channel = nullptr;
  QStringList events;

  HeldChartFixture() {
    chart.AddXAxis();
    chart.AddYAxis();
    chart.AddChannel();
    x = chart.XAxis(0);
    y = chart.YAxis(0);
    channel = chart.Channel(0);
    channel->SetXAxisName(x->Name());
    channel->SetYAxisName(y->Name());
    auto value = [this](const char* what) {
      return [this, what](int index, double o, double n) { events << QStringLiteral("%1 %2 %3 %4").arg(what).arg(index).arg(o).arg(n); };
    };
    auto range = [this](const char* what) {
      return [this, what](int index, double om, double os, double nm, double ns) {
        events << QStringLiteral("%1 %2 %3 %4 %5 %6").arg(what).arg(index).arg(om).arg(os).arg(nm).arg(ns);
      };
    };
    chart.OnXAxisMinChange = value("xmin");
    chart.OnXAxisSpanChange = value("xspan");
    chart.OnXAxisMinSpanChange = range("xminspan");
    chart.OnYAxisMinChange = value("ymin");
    chart.OnYAxisSpanChange = value("yspan");
    chart.OnYAxisMinSpanChange = range("yminspan");
  }
};

}  // namespace

TEST_F(HeldChartFixture, EndUpdateRaisesEachAxisEventsOnceWithTheWholeChange) {
  chart.BeginUpdate();
  for (int i = 0; i < 1000; ++i) channel->AddXY(i, i * 0.5);
  EXPECT_TRUE(events.isEmpty());
  EXPECT_EQ(x->Min(), 0.0);
  EXPECT_EQ(x->Span(), 999.0);
  EXPECT_EQ(y->Span(), 499.5);
  chart.EndUpdate();
  EXPECT_EQ(events, (QStringList{"xspan 0 100 999", "xminspan 0 0 100 0 999", "yspan 0 100 499.5",
                                 "yminspan 0 0 100 0 499.5"}));
  EXPECT_FALSE(chart.Updating());
  EXPECT_FALSE(x->RangeChangeHeld());
  EXPECT_FALSE(y->RangeChangeHeld());
  // Outside the suspension every step reports again.
  events.clear();
  channel->AddXY(1000, 1);
  EXPECT_EQ(events, (QStringList{"xspan 0 999 1000", "xminspan 0 0 999 0 1000"}));
}

TEST_F(HeldChartFixture, ReadingAStoredChartHoldsNothing) {
  chart.BeginLoading();
  channel->AddXY(0, 0);
  channel->AddXY(500, 0);
  EXPECT_FALSE(x->RangeChangeHeld());
  EXPECT_EQ(x->Span(), 500.0);
  chart.EndLoading();
  EXPECT_TRUE(events.isEmpty());  // events are silent while loading, as before
}

// Handlers of the released events may remove axes and channels and add points: the release
// ends, the suspension ends, nothing stays held.
TEST_F(HeldChartFixture, HandlersMayRemoveAxesAndAddPointsDuringTheRelease) {
  bool ran = false;
  chart.OnXAxisSpanChange = [&](int, double o, double n) {
    events << QStringLiteral("xspan %1 %2").arg(o).arg(n);
    if (ran) return;
    ran = true;
    chart.DeleteYAxis(0);
    channel->AddXY(5000, 3);
  };
  chart.BeginUpdate();
  channel->AddXY(0, 0);
  channel->AddXY(200, 300);
  chart.EndUpdate();
  EXPECT_FALSE(chart.Updating());
  EXPECT_EQ(chart.YAxisCount(), 0);
  EXPECT_FALSE(x->RangeChangeHeld());
  // The handler's point is tracked at once with its own events; the released min-span event
  // then tells the range as it is by then, as a step taken at once would.
  EXPECT_EQ(x->Span(), 5000.0);
  EXPECT_EQ(events, (QStringList{"xspan 100 200", "xspan 200 5000", "xminspan 0 0 200 0 5000", "xminspan 0 0 100 0 5000"}));
}

TEST_F(HeldChartFixture, AFailingHandlerStillEndsTheSuspensionAndReleasesTheOtherAxes) {
  chart.OnXAxisMinSpanChange = [](int, double, double, double, double) { throw std::runtime_error("handler failed"); };
  chart.BeginUpdate();
  channel->AddXY(0, 0);
  channel->AddXY(200, 300);
  EXPECT_THROW(chart.EndUpdate(), std::runtime_error);
  EXPECT_FALSE(chart.Updating());
  EXPECT_FALSE(x->RangeChangeHeld());
  EXPECT_FALSE(y->RangeChangeHeld());
  EXPECT_EQ(events.filter(QStringLiteral("yminspan")), QStringList{"yminspan 0 0 100 0 300"});
}

// A handler that removes the channel while it reports a point: AddXY touches nothing of it after.
TEST_F(HeldChartFixture, AChannelRemovedByARangeHandlerDuringAddXYIsLeftAlone) {
  chart.OnXAxisSpanChange = [this](int, double, double) { chart.DeleteChannel(0); };
  channel->AddXY(0, 0);
  channel->AddXY(200, 1);
  EXPECT_EQ(chart.ChannelCount(), 0);
}
