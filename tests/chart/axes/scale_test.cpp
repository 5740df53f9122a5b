// The scale of an axis: setters with their clamps and events, and the mappings between values,
// pixels and fractions of the data view.
#include <cmath>
#include <limits>

#include "chart/axes/AxisTestSupport.h"

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
}  // namespace

using AxisScale = AxisFixture;

TEST_F(AxisScale, DefaultsAndDerivedValues) {
  EXPECT_EQ(axis.Min(), 0.0);
  EXPECT_EQ(axis.Span(), 100.0);
  EXPECT_EQ(axis.Max(), 100.0);
  EXPECT_EQ(axis.Mid(), 50.0);
  EXPECT_FALSE(axis.ReverseScale());
  EXPECT_EQ(axis.ScaleType(), ipstLinear);
  EXPECT_EQ(axis.DesiredIncrement(), 0.0);
  EXPECT_EQ(axis.MinorCount(), 1);
  EXPECT_EQ(axis.LabelSeparation(), 2.0);
  EXPECT_EQ(axis.LabelsMinLength(), 5.0);
  EXPECT_EQ(axis.LabelsPrecision(), 3);
  EXPECT_EQ(axis.LabelsPrecisionStyle(), ipsSignificantDigits);
  EXPECT_EQ(axis.DateTimeFormat(), "hh:nn:ss");
  EXPECT_EQ(axis.CursorDateTimeFormat(), "hh:nn:ss");
  EXPECT_EQ(axis.LegendDateTimeFormat(), "hh:nn:ss");
  EXPECT_TRUE(axis.CursorUseDefaultFormat());
  EXPECT_TRUE(axis.LegendUseDefaultFormat());
  EXPECT_EQ(axis.CursorScaler(), 1.0);
  EXPECT_TRUE(axis.LabelsVisible());
  EXPECT_EQ(axis.LabelsFont()->Color(), clWhite);
}

TEST_F(AxisScale, SettersClampAndIgnoreNonFiniteValues) {
  struct Case {
    const char* what;
    std::function<void(TiPlotAxis&)> set;
    std::function<double(const TiPlotAxis&)> get;
    double expected;
  };
  const auto min = [](const TiPlotAxis& a) { return a.Min(); };
  const auto span = [](const TiPlotAxis& a) { return a.Span(); };
  const auto inc = [](const TiPlotAxis& a) { return a.DesiredIncrement(); };
  const auto childRef = [](const TiPlotAxis& a) { return a.CartesianChildRefValue(); };
  for (const Case& c : std::initializer_list<Case>{
           {"span -5", [](TiPlotAxis& a) { a.SetSpan(-5); }, span, 1e-300},
           {"span 0", [](TiPlotAxis& a) { a.SetSpan(0); }, span, 1e-300},
           {"span 1e305", [](TiPlotAxis& a) { a.SetSpan(1e305); }, span, 1e300},
           {"span NaN", [](TiPlotAxis& a) { a.SetSpan(kNaN); }, span, 100},
           {"span inf", [](TiPlotAxis& a) { a.SetSpan(kInf); }, span, 100},
           {"min 1e308", [](TiPlotAxis& a) { a.SetMin(1e308); }, min, 1e300},
           {"min -1e308", [](TiPlotAxis& a) { a.SetMin(-1e308); }, min, -1e300},
           {"min NaN", [](TiPlotAxis& a) { a.SetMin(kNaN); }, min, 0},
           {"min -inf", [](TiPlotAxis& a) { a.SetMin(-kInf); }, min, 0},
           {"minspan NaN", [](TiPlotAxis& a) { a.SetMinSpan(kNaN, 5); }, span, 100},
           {"minspan inf", [](TiPlotAxis& a) { a.SetMinSpan(3, kInf); }, min, 0},
           {"increment -3", [](TiPlotAxis& a) { a.SetDesiredIncrement(-3); }, inc, 0},
           {"increment 1e305", [](TiPlotAxis& a) { a.SetDesiredIncrement(1e305); }, inc, 1e300},
           {"increment NaN", [](TiPlotAxis& a) { a.SetDesiredIncrement(kNaN); }, inc, 0},
           {"child reference NaN", [](TiPlotAxis& a) { a.SetCartesianChildRefValue(kNaN); }, childRef, 0},
           {"child reference -inf", [](TiPlotAxis& a) { a.SetCartesianChildRefValue(-kInf); }, childRef, 0},
           {"child reference 7", [](TiPlotAxis& a) { a.SetCartesianChildRefValue(7); }, childRef, 7},
       }) {
    SCOPED_TRACE(c.what);
    TiPlotXAxis a(&owner, log.Handlers());
    c.set(a);
    EXPECT_EQ(c.get(a), c.expected);
  }
}

TEST_F(AxisScale, MinAndSpanRaiseTheirEventsThenTheMinSpanEvent) {
  const int changes = log.Count(QStringLiteral("change"));
  axis.SetMin(10);
  axis.SetMin(10);   // unchanged: nothing
  axis.SetSpan(50);
  EXPECT_EQ(owner.Events, (QStringList{"min X 0 10", "minspan X 0 100 10 100", "span X 100 50", "minspan X 10 100 10 50"}));
  EXPECT_EQ(log.Count(QStringLiteral("change")) - changes, 2);
}

TEST_F(AxisScale, SetMinSpanRaisesOneMinSpanEvent) {
  axis.SetMinSpan(5, 20);
  EXPECT_EQ(owner.Events, (QStringList{"min X 0 5", "span X 100 20", "minspan X 0 100 5 20"}));
  owner.Events.clear();
  axis.SetMinSpan(5, 30);   // only the span changes
  EXPECT_EQ(owner.Events, (QStringList{"span X 20 30", "minspan X 5 20 5 30"}));
  owner.Events.clear();
  axis.SetMinSpan(5, 30);
  axis.SetSpan(1e-300);
  owner.Events.clear();
  axis.SetMinSpan(5, -1);   // clamps to what it is: nothing changed, nothing raised
  EXPECT_TRUE(owner.Events.isEmpty());
}

TEST_F(AxisScale, LogarithmicScaleKeepsMinAndSpanPositive) {
  axis.SetMin(-5);
  owner.Events.clear();
  axis.SetScaleType(ipstLog10);
  EXPECT_EQ(axis.Min(), 1.0);
  EXPECT_TRUE(owner.Events.isEmpty());   // moved without events
  axis.SetMinSpan(-2, 0);
  EXPECT_EQ(axis.Min(), 1.0);
  EXPECT_EQ(axis.Span(), 1.0);
  axis.SetMinSpan(0.5, -3);
  EXPECT_EQ(axis.Min(), 0.5);
  EXPECT_EQ(axis.Span(), 1.0);
}

TEST_F(AxisScale, LinearHorizontalAndVerticalMappings) {
  struct Case {
    const char* what;
    bool horizontal, reversed;
    double value;
    int pixel;
  };
  // Horizontal: scale area x 100 .. 400; vertical: y 50 .. 250; Min 0, Span 100.
  for (const Case& c : std::initializer_list<Case>{
           {"h 50", true, false, 50, 250},
           {"h 0", true, false, 0, 100},
           {"h 100", true, false, 100, 400},
           {"h -10", true, false, -10, 70},
           {"h reversed 0", true, true, 0, 400},
           {"h reversed 25", true, true, 25, 325},
           {"v 25", false, false, 25, 200},
           {"v 0", false, false, 0, 250},
           {"v reversed 25", false, true, 25, 100},
           {"far above", true, false, 1e20, 32000},
           {"far below", true, false, -1e20, -32000},
           {"largest double", true, false, 1.7e308, 32000},
           {"infinity", true, false, kInf, 32000},
           {"minus infinity", false, false, -kInf, 32000},
           {"NaN maps to the middle", true, false, kNaN, 250},
           {"NaN vertical", false, false, kNaN, 150},
       }) {
    SCOPED_TRACE(c.what);
    axis.SetReverseScale(c.reversed);
    Place(c.horizontal, 100, 50, 400, 250);
    EXPECT_EQ(axis.ValueToPosition(c.value), c.pixel);
  }
}

TEST_F(AxisScale, NearestPixelRoundsHalfToEven) {
  // 10 pixels for 100 units: 25 is 2.5 pixels from the start, 35 is 3.5.
  Place(true, 0, 0, 10, 5);
  EXPECT_EQ(axis.ValueToPosition(25), 2);
  EXPECT_EQ(axis.ValueToPosition(35), 4);
  EXPECT_EQ(axis.ValueToPosition(-25), -2);
}

TEST_F(AxisScale, EveryValueMapsToTheMiddleWithoutLengthOrSpan) {
  Place(true, 10, 0, 10, 0);
  EXPECT_EQ(axis.ValueToPosition(1e9), 10);
  Place(true, -5, 0, 0, 0);
  axis.SetSpan(0);   // 1e-300
  EXPECT_EQ(axis.ValueToPosition(3), -2);   // (-5 + 0) div 2 truncates toward zero
  // Before the first layout pass the scale area is empty.
  TiPlotYAxis fresh(&owner, log.Handlers());
  EXPECT_EQ(fresh.ValueToPosition(42), 0);
}

TEST_F(AxisScale, LogarithmicMappingIsNotClampedButStaysWithin32Bits) {
  axis.SetScaleType(ipstLog10);
  axis.SetMinSpan(1, 999);   // 1 .. 1000 over 300 pixels: 100 pixels per decade
  Place(true, 0, 0, 300, 10);
  EXPECT_EQ(axis.ValueToPosition(1), 0);
  EXPECT_EQ(axis.ValueToPosition(10), 100);
  EXPECT_EQ(axis.ValueToPosition(1000), 300);
  EXPECT_EQ(axis.ValueToPosition(1e300), 30000);
  Place(true, 0, 0, 3000, 10);
  EXPECT_EQ(axis.ValueToPosition(1e300), 300000);    // beyond 32000: not clamped
  EXPECT_EQ(axis.ValueToPosition(0), 0);             // values not above zero count as 1
  EXPECT_EQ(axis.ValueToPosition(-7), 0);
  Place(true, 0, 0, 30000000, 10);
  EXPECT_EQ(axis.ValueToPosition(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(axis.ValueToPosition(1e-300), std::numeric_limits<int>::min());
}

TEST_F(AxisScale, LogarithmicMinNotAboveZeroMapsAsOne) {
  axis.SetScaleType(ipstLog10);
  axis.SetSpan(99);   // 1 .. 100
  axis.SetMin(-5);    // allowed directly; the mappings use 1 in its place
  Place(true, 0, 0, 200, 10);
  EXPECT_EQ(axis.ValueToPosition(10), 100);
  EXPECT_DOUBLE_EQ(axis.PositionToValue(100), 10.0);
  EXPECT_DOUBLE_EQ(axis.FractionToValue(0.5), 10.0);
  EXPECT_DOUBLE_EQ(axis.ValueToFraction(10), 0.5);
  EXPECT_FALSE(std::isnan(axis.PositionToValue(7)));
}

TEST_F(AxisScale, PositionToValue) {
  struct Case {
    const char* what;
    bool horizontal, reversed, log;
    int pixel;
    double value;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"h", true, false, false, 250, 50},
           {"h beyond", true, false, false, 700, 200},
           {"h reversed", true, true, false, 325, 25},
           {"v", false, false, false, 200, 25},
           {"v reversed", false, true, false, 100, 25},
           {"log h", true, false, true, 250, 10},       // 1 .. 100 over 100 .. 400
           {"log v reversed", false, true, true, 150, 10},
       }) {
    SCOPED_TRACE(c.what);
    TiPlotXAxis a(&owner, log.Handlers());
    a.SetReverseScale(c.reversed);
    if (c.log) {
      a.SetScaleType(ipstLog10);
      a.SetMinSpan(1, 99);
    }
    a.SetHorizontal(c.horizontal);
    a.SetLayoutRect(TRect{100, 50, 400, 250});
    a.UpdateScaleArea(&canvas);
    EXPECT_NEAR(a.PositionToValue(c.pixel), c.value, 1e-12);
  }
  Place(true, 30, 0, 30, 0);
  axis.SetMin(7);
  EXPECT_EQ(axis.PositionToValue(99), 7.0);
  // Far beyond a scale of the widest span: the largest value an axis holds, not infinity.
  axis.SetMinSpan(0, 1e300);
  Place(true, 0, 0, 1, 0);
  EXPECT_EQ(axis.PositionToValue(2000000000), 1e300);
  EXPECT_EQ(axis.PositionToValue(-2000000000), -1e300);
  axis.SetScaleType(ipstLog10);
  axis.SetMinSpan(1, 1e300);
  EXPECT_EQ(axis.PositionToValue(1000), 1e300);
  EXPECT_EQ(axis.PositionToValue(-1000), 0.0);
}

TEST_F(AxisScale, PositionsOfEndsLengthsAndView) {
  axis.SetMinSpan(20, 40);   // 20 .. 60 over 100 .. 300: 5 pixels per unit
  Place(true, 100, 0, 300, 10);
  EXPECT_EQ(axis.PositionOfMin(), 100);
  EXPECT_EQ(axis.PositionOfMax(), 300);
  EXPECT_EQ(axis.ValueLengthToPixels(10), 50);
  EXPECT_EQ(axis.ValueLengthToPixels(-10), 50);
  EXPECT_TRUE(axis.ValueInView(20));
  EXPECT_TRUE(axis.ValueInView(60));
  EXPECT_TRUE(axis.ValueInView(60.09));    // rounds onto the last pixel
  EXPECT_FALSE(axis.ValueInView(60.2));
  EXPECT_FALSE(axis.ValueInView(19.8));
  EXPECT_FALSE(axis.ValueInView(kNaN));
}

TEST_F(AxisScale, FractionsAndValuesAreInverses) {
  struct Case {
    const char* what;
    bool reversed, log;
    double start, stop;
    double fraction, value;
  };
  // Linear 10 .. 50; logarithmic 1 .. 1000.
  for (const Case& c : std::initializer_list<Case>{
           {"linear", false, false, 0, 100, 0.25, 20},
           {"linear reversed", true, false, 0, 100, 0.25, 40},
           {"linear stacked", false, false, 20, 60, 0.3, 20},      // a quarter into 20 .. 60 percent
           {"linear stacked reversed", true, false, 20, 60, 0.3, 40},
           {"log", false, true, 0, 100, 1.0 / 3, 10},
           {"log reversed", true, true, 0, 100, 2.0 / 3, 10},
           {"log stacked", false, true, 50, 100, 0.5 + 0.5 / 3, 10},
           {"log stacked reversed", true, true, 50, 100, 0.5 + 1.0 / 3, 10},
       }) {
    SCOPED_TRACE(c.what);
    TiPlotXAxis a(&owner, log.Handlers());
    a.SetReverseScale(c.reversed);
    if (c.log) {
      a.SetScaleType(ipstLog10);
      a.SetMinSpan(1, 999);
    } else {
      a.SetMinSpan(10, 40);
    }
    a.SetStopPercent(c.stop);
    a.SetStartPercent(c.start);
    EXPECT_NEAR(a.FractionToValue(c.fraction), c.value, 1e-9);
    EXPECT_NEAR(a.ValueToFraction(c.value), c.fraction, 1e-12);
    for (double f : {0.0, 0.37, 0.5, 0.81, 1.0}) EXPECT_NEAR(a.ValueToFraction(a.FractionToValue(f)), f, 1e-12);
  }
}

TEST_F(AxisScale, TurningTheAxisMapsAlongTheOtherDirectionAtOnce) {
  Place(true, 100, 50, 400, 250);
  EXPECT_EQ(axis.ValueToPosition(25), 175);
  axis.SetHorizontal(false);   // the layout manager turns it; no new scale area yet
  EXPECT_EQ(axis.ValueToPosition(25), 200);
  axis.SetReverseScale(true);
  EXPECT_EQ(axis.ValueToPosition(25), 100);
}
