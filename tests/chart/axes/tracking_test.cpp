// How an axis follows the values its channels report: the styles, the first value, snapping,
// the span minimum and margins, and the resume values of TrackingEnabled.
#include <cmath>
#include <limits>

#include "chart/axes/AxisTestSupport.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/rUdudComponent.h"

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

struct FitFixture : ::testing::Test {
  TiPlotComponent chart;
  TiPlotXAxis* x = nullptr;
  TiPlotYAxis* y = nullptr;
  TiPlotChannelCustom* a = nullptr;
  TiPlotChannelCustom* b = nullptr;
  FitFixture() {
    chart.AddXAxis();
    chart.AddYAxis();
    chart.AddChannel();
    chart.AddChannel();
    x = chart.XAxis(0);
    y = chart.YAxis(0);
    a = chart.Channel(0);
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
