// How an axis follows the values its channels report: the styles, the first value, snapping,
// the span minimum and margins, the resume values of TrackingEnabled, and the steps held while
// the chart suspends its updates.
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "chart/axes/AxisTestSupport.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/rUdudComponent.h"
#include "support/OneChannelChart.h"

namespace {

struct TrackingFixture : AxisFixture {
  void Feed(std::initializer_list<double> values) {
    for (double v : values) axis.NewTrackingData(v);
  }
  void ExpectRange(double min, double span) {
    EXPECT_DOUBLE_EQ(axis.Min(), min);
    EXPECT_DOUBLE_EQ(axis.Span(), span);
  }
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST_F(TrackingFixture, Defaults) {
  EXPECT_TRUE(axis.TrackingEnabled());
  EXPECT_EQ(axis.TrackingStyle(), iptsScaleMinMax);
  EXPECT_EQ(axis.TrackingIncrementStyle(), iptisMinimum);
  EXPECT_EQ(axis.TrackingAlignFirstStyle(), ipafsAuto);
  EXPECT_TRUE(axis.RestoreValuesOnResume());
  EXPECT_EQ(axis.ResumeMin(), 0.0);
  EXPECT_EQ(axis.ResumeSpan(), 100.0);
  TiPlotYAxis y{&owner, log.Handlers()};
  EXPECT_EQ(y.TrackingAlignFirstStyle(), ipafsNone);
}

// Each style fed the same kind of sequence on an axis 0 .. 100 (Span 10 for the scroll styles);
// the first value lies inside and only sets the first-value flag.
TEST_F(TrackingFixture, EveryStyleFollowsItsRule) {
  struct Case {
    const char* name;
    TiPlotTrackingStyle style;
    double span;
    std::vector<double> values;
    double min, expectSpan;
  };
  const std::vector<Case> cases{
      // 150 stretches the span to 150; -20 moves the window down keeping it (Max 130).
      {"ScaleMinMax", iptsScaleMinMax, 100, {5, 150, -20}, -20, 150},
      {"ExpandMinMax", iptsExpandMinMax, 100, {5, 150, -20}, -20, 170},
      // Only the upper end follows.
      {"ScaleMax", iptsScaleMax, 100, {5, 150, -20}, 0, 150},
      // Only the lower end follows, the upper end stays at 100.
      {"ScaleMin", iptsScaleMin, 100, {5, 150, -20}, -20, 120},
      // A 10-wide window ending at the newest value.
      {"ScrollSmoothUp", iptsScrollSmooth, 10, {0, 5, 11, 17, 25}, 15, 10},
      // Below: the window starts at the value.
      {"ScrollSmoothDown", iptsScrollSmooth, 10, {0, -3}, -3, 10},
      // One page on, whatever the value beyond the end.
      {"ScrollPageUp", iptsScrollPage, 10, {0, 10.5}, 10, 10},
      {"ScrollPageDown", iptsScrollPage, 10, {0, -0.5}, -10, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    axis.ResetTracking();
    axis.SetMinSpan(0, c.span);
    axis.SetTrackingStyle(c.style);
    for (double v : c.values) axis.NewTrackingData(v);
    ExpectRange(c.min, c.expectSpan);
  }
}

TEST_F(TrackingFixture, ScrollSmoothValuesFromZeroTo25KeepTheWindowAtTheNewest) {
  axis.SetTrackingStyle(iptsScrollSmooth);
  axis.SetMinSpan(0, 10);
  for (int v = 0; v <= 25; ++v) {
    axis.NewTrackingData(v);
    SCOPED_TRACE(v);
    ExpectRange(v > 10 ? v - 10 : 0, 10);
  }
}

TEST_F(TrackingFixture, ScrollCompressWidensUntilTheLimitThenScrolls) {
  axis.SetTrackingStyle(iptsScrollSmooth);
  axis.SetTrackingScrollCompressMax(20);
  axis.SetMinSpan(0, 10);
  axis.NewTrackingData(1);  // first value
  axis.NewTrackingData(12);
  ExpectRange(0, 12);
  axis.NewTrackingData(20);
  ExpectRange(0, 20);
  axis.NewTrackingData(21);  // span 20 did not exceed the limit yet
  ExpectRange(0, 21);
  axis.NewTrackingData(22);
  ExpectRange(2, 20);
}

TEST_F(TrackingFixture, ScrollPageWithCompressStartsTheNewWindowAtTheValue) {
  axis.SetTrackingStyle(iptsScrollPage);
  axis.SetTrackingScrollCompressMax(20);
  axis.SetMinSpan(0, 10);
  axis.NewTrackingData(1);
  axis.NewTrackingData(12);  // x - old Min = 12 wide, starting at 0 + 12
  ExpectRange(12, 12);
}

TEST_F(TrackingFixture, FirstValueByAlignStyle) {
  struct Case {
    TiPlotAlignFirstStyle style;
    double value, min;
  };
  for (const Case& c : std::initializer_list<Case>{{ipafsNone, 500, 0},
                                                   {ipafsAuto, 50, 0},
                                                   {ipafsAuto, 500, 500},
                                                   {ipafsAuto, -7, -7},
                                                   {ipafsMin, 50, 50},
                                                   {ipafsMax, 50, -50}}) {
    SCOPED_TRACE(testing::Message() << c.style << " " << c.value);
    axis.SetMinSpan(0, 100);
    axis.ResetTracking();
    axis.SetTrackingAlignFirstStyle(c.style);
    axis.NewTrackingData(c.value);
    EXPECT_TRUE(axis.TrackingFirstValueSeen());
    ExpectRange(c.min, 100);
  }
}

TEST_F(TrackingFixture, ResetTrackingMakesTheNextValueFirstAgain) {
  Feed({5, 150});
  ExpectRange(0, 150);
  axis.ResetTracking();
  EXPECT_FALSE(axis.TrackingFirstValueSeen());
  axis.NewTrackingData(1000);  // first again: ipafsAuto moves Min, span kept
  ExpectRange(1000, 150);
}

TEST_F(TrackingFixture, NonFiniteValuesAreIgnoredAsFirstAndLaterValues) {
  axis.SetTrackingAlignFirstStyle(ipafsMin);
  Feed({kNaN, kInf, -kInf});
  EXPECT_FALSE(axis.TrackingFirstValueSeen());
  ExpectRange(0, 100);
  axis.NewTrackingData(10);
  ExpectRange(10, 100);
  Feed({kNaN, kInf, -kInf});
  ExpectRange(10, 100);
}

TEST_F(TrackingFixture, NothingWhileDisabled) {
  axis.SetTrackingEnabled(false);
  Feed({5, 500, -500});
  EXPECT_FALSE(axis.TrackingFirstValueSeen());
  ExpectRange(0, 100);
}

TEST_F(TrackingFixture, OneMinSpanEventPerStep) {
  Feed({5});
  owner.Events.clear();
  axis.NewTrackingData(150);
  EXPECT_EQ(owner.Events, (QStringList{"span X 100 150", "minspan X 0 100 0 150"}));
}

TEST_F(TrackingFixture, SnapsOutwardToTheMajorStepAfterAChange) {
  Place(true, 0, 0, 500, 20);
  axis.SetDesiredIncrement(20);
  axis.SetMinSpan(3, 94);
  axis.CalculateTicks(&canvas);
  ASSERT_EQ(axis.MajorStep(), 20.0);
  axis.SetTrackingIncrementStyle(iptisMajor);
  axis.AlignToIncrement();
  ExpectRange(0, 100);
  // Through tracking: 150 makes 0 .. 150, snapped to 0 .. 160.
  Feed({50, 150});
  ExpectRange(0, 160);
  // Negative ends snap downwards (trunc goes toward zero, then one step lower).
  axis.SetMinSpan(-33, 40);
  axis.AlignToIncrement();
  ExpectRange(-40, 60);
}

// Ends that already sit on a multiple of the step, within rounding, stay where they are.
TEST_F(TrackingFixture, AlignedEndsStayPutThoughTheirValuesCarryRoundingNoise) {
  Place(true, 0, 0, 500, 20);
  axis.SetTrackingIncrementStyle(iptisMajor);
  for (const double step : {0.1, 0.02}) {
    axis.SetDesiredIncrement(step);
    for (int k = -30; k <= 30; ++k) {
      SCOPED_TRACE(testing::Message() << "step " << step << ", k " << k);
      const double min = k * step, max = (k + 4) * step;
      axis.SetMinSpan(min, max - min);
      axis.CalculateTicks(&canvas);
      ASSERT_DOUBLE_EQ(axis.MajorStep(), step);
      axis.AlignToIncrement();
      EXPECT_NEAR(axis.Min(), min, step * 1e-6);
      EXPECT_NEAR(axis.Max(), max, step * 1e-6);
    }
  }
}

TEST_F(TrackingFixture, SnapUsesTheMinorStepAndNeedsAKnownStep) {
  axis.SetTrackingIncrementStyle(iptisMajor);
  axis.SetMinSpan(3, 94);
  axis.AlignToIncrement();  // before the first tick list: no step known
  ExpectRange(3, 94);
  Place(true, 0, 0, 500, 20);
  axis.SetDesiredIncrement(20);
  axis.SetMinorCount(1);
  axis.CalculateTicks(&canvas);
  ASSERT_EQ(axis.MinorStep(), 10.0);
  axis.SetTrackingIncrementStyle(iptisMinor);
  axis.AlignToIncrement();
  ExpectRange(0, 100);
  // Inside values change nothing, so the user's range is not snapped by them.
  axis.SetMinSpan(3, 94);
  Feed({50, 60});
  ExpectRange(3, 94);
}

TEST_F(TrackingFixture, SpanMinimumAndMarginsAfterTheStyle) {
  axis.SetTrackingStyle(iptsScrollSmooth);
  axis.SetMinSpan(0, 10);
  axis.SetTrackingSpanMinimum(20);
  Feed({5, 6});  // 6 is inside; the span minimum widens about the middle 5
  ExpectRange(-5, 20);

  axis.SetTrackingSpanMinimum(0);
  axis.SetTrackingStyle(iptsScaleMinMax);
  axis.SetMinSpan(0, 100);
  axis.SetTrackingMinMargin(5);
  axis.SetTrackingMaxMargin(10);
  axis.NewTrackingData(2);  // 3 short of the lower margin: Min 0 -> -3
  ExpectRange(-3, 100);
  axis.NewTrackingData(95);  // 8 into the upper margin (87 .. 97): span grows by 8
  ExpectRange(-3, 108);
  axis.NewTrackingData(150);  // style: span 153 (Max 150), then the margin adds 10
  ExpectRange(-3, 163);
}

TEST_F(TrackingFixture, PauseStoresAndResumeRestoresTheRange) {
  axis.SetMinSpan(10, 50);
  axis.SetDesiredIncrement(5);
  axis.SetTrackingEnabled(false);
  EXPECT_EQ(axis.ResumeMin(), 10.0);
  EXPECT_EQ(axis.ResumeSpan(), 50.0);
  EXPECT_EQ(axis.ResumeDesiredIncrement(), 5.0);
  axis.SetMinSpan(-400, 2);
  axis.SetDesiredIncrement(1);
  owner.Events.clear();
  axis.SetTrackingEnabled(true);
  ExpectRange(10, 50);
  EXPECT_EQ(axis.DesiredIncrement(), 5.0);
  EXPECT_EQ(owner.Events.count(), 3);  // min, span, minspan: one step

  // Without RestoreValuesOnResume the range stays as the user left it.
  axis.SetRestoreValuesOnResume(false);
  axis.SetTrackingEnabled(false);
  axis.SetMinSpan(7, 3);
  axis.SetTrackingEnabled(true);
  ExpectRange(7, 3);
}

TEST_F(TrackingFixture, SettersIgnoreNonFiniteAmounts) {
  axis.SetTrackingSpanMinimum(4);
  axis.SetTrackingSpanMinimum(kNaN);
  axis.SetTrackingMinMargin(kInf);
  axis.SetTrackingMaxMargin(-kInf);
  axis.SetTrackingScrollCompressMax(kNaN);
  EXPECT_EQ(axis.TrackingSpanMinimum(), 4.0);
  EXPECT_EQ(axis.TrackingMinMargin(), 0.0);
  EXPECT_EQ(axis.TrackingMaxMargin(), 0.0);
  EXPECT_EQ(axis.TrackingScrollCompressMax(), 0.0);
}

// ---- Held tracking: while the chart suspends its updates each step moves the range (and its
// pixels) at once, but the change and the range events come once per axis, from the range
// before the first step to the last, when the suspension ends or before any other change of
// the range. ----

namespace {

// An X axis 0 .. 100 along 500 pixels whose owner holds range changes.
struct HeldFixture : TrackingFixture {
  HeldFixture() {
    Place(true, 0, 0, 500, 20);
    owner.Held = true;
    owner.Events.clear();
    log.Calls.clear();
  }
};

}  // namespace

TEST_F(HeldFixture, StepsMoveTheRangeAndItsPixelsButCallNobody) {
  Feed({5, 150, -20});  // 5 is the first value; then Span 150, then Min -20
  ExpectRange(-20, 150);
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

// A held step under the plain style (ScaleMinMax, no snapping, span minimum or margins) is taken
// on a short path; a setting changed between two values applies to the very next one.
TEST_F(HeldFixture, ASettingChangedBetweenValuesAppliesToTheNextOne) {
  struct Case {
    const char* name;
    void (*change)(TiPlotAxis&);
    double value;
    double min, span;
  };
  const std::vector<Case> cases{
      // 155 widens the span to 155, then the margin adds 155 - (155 - 10).
      {"MaxMargin", [](TiPlotAxis& a) { a.SetTrackingMaxMargin(10); }, 155, 0, 165},
      // 5 lies inside, but within 10 of Min: Min moves down by 10 - 5.
      {"MinMargin", [](TiPlotAxis& a) { a.SetTrackingMinMargin(10); }, 5, -5, 150},
      // 10 lies inside; the span grows to 400 around the middle 75.
      {"SpanMinimum", [](TiPlotAxis& a) { a.SetTrackingSpanMinimum(400); }, 10, -125, 400},
      // ScaleMax does not follow a value below Min.
      {"Style", [](TiPlotAxis& a) { a.SetTrackingStyle(iptsScaleMax); }, -20, 0, 150},
      {"Disabled", [](TiPlotAxis& a) { a.SetTrackingEnabled(false); }, 300, 0, 150},
      // The next value is a first value again: outside the range, it moves Min there (ipafsAuto).
      {"Reset", [](TiPlotAxis& a) { a.ResetTracking(); }, 300, 300, 150},
      // A margin switched off again leaves the plain widening.
      {"MarginOnAndOff", [](TiPlotAxis& a) { a.SetTrackingMaxMargin(10); a.SetTrackingMaxMargin(0); }, 200, 0, 200},
      {"Infinite", [](TiPlotAxis&) {}, kInf, 0, 150},
      {"MinusInfinite", [](TiPlotAxis&) {}, -kInf, 0, 150},
      {"NaN", [](TiPlotAxis&) {}, kNaN, 0, 150},
      // The span stops at its bound of 1e300.
      {"Huge", [](TiPlotAxis&) {}, 1.7e308, 0, 1e300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TAxisOwner heldOwner;
    heldOwner.Held = true;
    THandlerLog heldLog;
    TiPlotXAxis a{&heldOwner, heldLog.Handlers()};
    a.NewTrackingData(5);    // the first value, inside 0 .. 100
    a.NewTrackingData(150);  // widens to 0 .. 150
    ASSERT_EQ(a.Span(), 150.0);
    c.change(a);
    a.NewTrackingData(c.value);
    EXPECT_DOUBLE_EQ(a.Min(), c.min);
    EXPECT_DOUBLE_EQ(a.Span(), c.span);
    EXPECT_TRUE(heldOwner.Events.filter(QStringLiteral("minspan")).isEmpty());
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
  // The last two need bounding: the span and Min reach beyond 1e300.
  const std::vector<double> values{-50, 5, 150, -20, 30, 400, -300, 401, 2e300, -2e300};
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
      // By hand for the logarithmic case: the first value's Min is kept as given.
      if (c.log && v == values.front()) {
        EXPECT_EQ(held.Min(), -50.0);
      }
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
  }
}

// ---- In a chart: resume values while loading, and the fitting styles. ----

TEST(TrackingInChart, ReadingAStoredChartNeitherStoresNorRestoresResumeValues) {
  TiPlotComponent chart;
  chart.AddXAxis();
  TiPlotXAxis* x = chart.XAxis(0);
  x->SetMinSpan(10, 20);
  chart.BeginLoading();
  x->SetTrackingEnabled(false);
  x->SetMinSpan(30, 40);
  x->SetTrackingEnabled(true);
  chart.EndLoading();
  EXPECT_EQ(x->ResumeMin(), 0.0);
  EXPECT_EQ(x->ResumeSpan(), 100.0);
  EXPECT_EQ(x->Min(), 30.0);
  EXPECT_EQ(x->Span(), 40.0);
}

struct FitFixture : ::testing::Test, TOneChannelChart {
  TiPlotChannelCustom* a = channel;
  TiPlotChannelCustom* b = nullptr;
  FitFixture() {
    chart.AddChannel();
    b = chart.Channel(1);
    for (TiPlotChannelCustom* c : {a, b}) {
      c->SetXAxisName(QStringLiteral("x-axis 1"));  // names match ignoring case
      c->SetYAxisName(QStringLiteral("Y-AXIS 1"));
    }
  }
};

TEST_F(FitFixture, ExpandCollapseFitsTheValidPointsOfVisibleChannels) {
  y->SetTrackingStyle(iptsExpandCollapse);
  a->AddXY(0, 5);
  a->AddXY(1, 7);
  EXPECT_EQ(y->Min(), 5.0);
  EXPECT_EQ(y->Span(), 2.0);
  b->AddDataPoint(true, false, 2, -50);  // null: no extent
  b->AddXY(3, 20);
  EXPECT_EQ(y->Min(), 5.0);
  EXPECT_EQ(y->Span(), 15.0);
  // A hidden channel contributes nothing; a changed point is seen.
  b->SetVisible(false);
  a->SetY(0, 6);
  y->FitToData();
  EXPECT_EQ(y->Min(), 6.0);
  EXPECT_EQ(y->Span(), 1.0);
  // Margins and the span minimum.
  y->SetTrackingMinMargin(1);
  y->SetTrackingMaxMargin(2);
  y->SetTrackingSpanMinimum(10);
  y->FitToData();
  EXPECT_EQ(y->Min(), 5.0);
  EXPECT_EQ(y->Span(), 13.0);
}

TEST_F(FitFixture, ExpandCollapseFastUsesTheRunningExtremesOfEveryChannel) {
  y->SetTrackingStyle(iptsExpandCollapseFast);
  b->SetVisible(false);
  a->AddXY(0, 5);
  b->AddXY(0, 9);
  EXPECT_EQ(y->Min(), 5.0);
  EXPECT_EQ(y->Span(), 4.0);
  // The running extremes still hold a point that was changed since.
  a->SetY(0, 6);
  y->FitToDataFast();
  EXPECT_EQ(y->Min(), 5.0);
}

TEST_F(FitFixture, FittingKeepsTheRangeWithoutDataOrWithOneValue) {
  y->SetMinSpan(0, 100);
  y->FitToData();
  EXPECT_EQ(y->Min(), 0.0);
  a->SetYAxisTrackingEnabled(false);
  a->AddXY(0, 5);
  y->FitToData();  // hi == lo: no range of no width
  EXPECT_EQ(y->Span(), 100.0);
}

TEST_F(FitFixture, RingOverwriteOfAnExtremeIsNoticed) {
  a->SetRingBufferSize(2);
  a->SetYAxisTrackingEnabled(false);
  for (double v : {100.0, 1.0, 2.0}) a->AddXY(0, v);  // 100 is overwritten by 2
  EXPECT_EQ(a->GetYMaxExtent(), 2.0);
  EXPECT_EQ(a->GetYMinExtent(), 1.0);
  a->DeleteFirst(1);
  EXPECT_EQ(a->GetYMinExtent(), 2.0);
}

// ---- Held tracking in a chart: the suspension holds, EndUpdate reports. ----

namespace {

// The fit fixture's chart with every range event recorded.
struct HeldChartFixture : FitFixture {
  QStringList events;

  HeldChartFixture() {
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

// A suspended chart is asked for its repaint by the first point; a handler of the program's own
// in the channel's OnChange still hears every point.
TEST_F(HeldChartFixture, PointsMarkTheRepaintPendingAndReachAProgramsChangeHandler) {
  chart.InvalidateNow();
  chart.BeginUpdate();
  ASSERT_FALSE(chart.ChangePending());
  channel->AddXY(1, 2);
  EXPECT_TRUE(chart.ChangePending());
  channel->AddXY(2, 3);
  EXPECT_TRUE(chart.ChangePending());
  chart.EndUpdate();
  EXPECT_FALSE(chart.Updating());

  int changes = 0;
  channel->OnChange = [&](TiPlotPersistent* item) {
    EXPECT_EQ(item, channel);
    ++changes;
  };
  chart.BeginUpdate();
  chart.InvalidateChange();  // a repaint already pending
  ASSERT_TRUE(chart.ChangePending());
  for (int i = 0; i < 3; ++i) channel->AddXY(i, i);
  channel->AddDataPoint(true, false, 4, 0);
  EXPECT_EQ(changes, 4);
  chart.EndUpdate();
  channel->AddXY(5, 5);
  EXPECT_EQ(changes, 5);
}

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
  ASSERT_EQ(chart.ChannelCount(), 1);
  EXPECT_EQ(chart.Channel(0), b);
}

// AddXY in a suspended chart ends where the same points end when the channel's change handler is
// a program's own (which hears every point, so each point takes the whole way): the same points,
// statistics, extents and ranges after every point, and the same events at EndUpdate. The values
// take every turn: first values, steps inside, widening at both ends, NaN and infinities, a range
// beyond the bounds, a non-positive value on a logarithmic axis, markers, a ring, another style.
TEST(HeldTracking, AddXYEndsWhereAProgramHandledChannelEnds) {
  struct Side : TOneChannelChart {
    QStringList events;
    int changes = 0;
    Side(bool programHandler, TiPlotDataStyle style) {
      channel->SetDataStyle(style);
      y->SetScaleType(ipstLog10);
      chart.OnXAxisMinSpanChange = [this](int, double om, double os, double nm, double ns) {
        events << QStringLiteral("x %1 %2 %3 %4").arg(om).arg(os).arg(nm).arg(ns);
      };
      chart.OnYAxisMinSpanChange = [this](int, double om, double os, double nm, double ns) {
        events << QStringLiteral("y %1 %2 %3 %4").arg(om).arg(os).arg(nm).arg(ns);
      };
      // Both count the calls; only the first keeps the chart's handler as its origin.
      const TiPlotNotifyEvent own = channel->OnChange;
      auto counting = [this, own](TiPlotPersistent* item) {
        ++changes;
        own(item);
      };
      if (programHandler)
        channel->OnChange = counting;
      else
        channel->OnChange = TiPlotNotifyEvent(counting, chart.Master());
    }
  };
  const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
  for (TiPlotDataStyle style : {ipdsStandard, ipdsCompactInterval}) {
    SCOPED_TRACE(int(style));
    Side quick(false, style), full(true, style);
    std::vector<std::pair<double, double>> points{{5, 2}, {6, 3}, {5.5, 2.5}, {10, 40}, {-3, 0.5}, {kNaN, 7},
                                                  {11, kInf}, {12, -kInf}, {1e301, 8}, {13, -4}, {14, 0},
                                                  {-1e301, 9}, {15, 1e-320}};
    for (int i = 0; i < 300; ++i) points.emplace_back(16 + (i * 37 % 101) - 50, 1 + (i * 53 % 97));
    int step = 0;
    for (Side* s : {&quick, &full}) s->chart.BeginUpdate();
    for (const auto& [px, py] : points) {
      SCOPED_TRACE(step);
      for (Side* s : {&quick, &full}) {
        if (step == 100) s->channel->SetMarkersVisible(true);
        if (step == 140) s->channel->SetMarkersVisible(false);
        if (step == 180) s->channel->SetRingBufferSize(50);
        if (step == 230) s->channel->SetRingBufferSize(0);
        if (step == 260) s->x->SetTrackingStyle(iptsScrollSmooth);
      }
      EXPECT_EQ(quick.channel->AddXY(px, py), full.channel->AddXY(px, py));
      const TiPlotChannelCustom& q = *quick.channel;
      const TiPlotChannelCustom& f = *full.channel;
      ASSERT_EQ(q.Count(), f.Count());
      EXPECT_TRUE(same(q.GetX(q.Count() - 1), f.GetX(f.Count() - 1)));
      EXPECT_TRUE(same(q.GetY(q.Count() - 1), f.GetY(f.Count() - 1)));
      EXPECT_EQ(q.DataStatCount(), f.DataStatCount());
      for (auto get : {&TiPlotChannelCustom::DataXMin, &TiPlotChannelCustom::DataXMax, &TiPlotChannelCustom::DataYMin,
                       &TiPlotChannelCustom::DataYMax, &TiPlotChannelCustom::DataXMean, &TiPlotChannelCustom::DataYMean})
        EXPECT_TRUE(same((q.*get)(), (f.*get)()));
      EXPECT_EQ(quick.channel->GetXMaxExtent(), full.channel->GetXMaxExtent());
      EXPECT_EQ(quick.channel->GetYMinExtent(), full.channel->GetYMinExtent());
      EXPECT_EQ(quick.x->Min(), full.x->Min());
      EXPECT_EQ(quick.x->Span(), full.x->Span());
      EXPECT_EQ(quick.y->Min(), full.y->Min());
      EXPECT_EQ(quick.y->Span(), full.y->Span());
      ++step;
    }
    EXPECT_TRUE(quick.events.isEmpty());
    EXPECT_EQ(quick.events, full.events);
    for (Side* s : {&quick, &full}) s->chart.EndUpdate();
    EXPECT_FALSE(quick.events.isEmpty());
    EXPECT_EQ(quick.events, full.events);
    // The program's handler heard every point; the chart's own was not called again once its
    // repaint was pending.
    EXPECT_GE(full.changes, int(points.size()));
    EXPECT_LT(quick.changes, 10);
  }
}
