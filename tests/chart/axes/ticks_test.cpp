// Tick placement: decimal, price, date-time and decade steps, desired increments and starts,
// minor ticks, the 5000-tick cap, and loops that would not end.
#include <cmath>

#include "chart/axes/AxisTestSupport.h"
#include "chart/axes/iDateUtils.h"

namespace {

// Room along a horizontal axis for exactly `count` labels of the default pitch: labels are
// LabelsMinLength (5) widths of "0" wide, plus (LabelSeparation + 1) = 3 widths between them.
int LengthFor(int count, int zeroWidth, double minLength = 5.0) {
  return count * static_cast<int>(std::nearbyint(minLength * zeroWidth + 3.0 * zeroWidth));
}

// The smallest of 1, 2 and 5 times a power of ten with no more than maxCount steps in the span.
double ExpectedStep(double span, int maxCount) {
  for (int k = -320; k <= 320; ++k)
    for (double m : {1.0, 2.0, 5.0}) {
      const double e = m * std::pow(10.0, k);
      if (e > 0 && span / e <= maxCount) return e;
    }
  return 0;
}

std::vector<double> Range(double first, double step, int count) {
  std::vector<double> v;
  for (int i = 0; i < count; ++i) v.push_back(first + i * step);
  return v;
}

}  // namespace

struct AxisTicks : AxisFixture {
  // A horizontal axis from x = 0 with room for `count` labels.
  void Room(int count, double minLength = 5.0) {
    axis.SetLabelsMinLength(minLength);
    Place(true, 0, 0, LengthFor(count, ZeroWidth(), minLength), 20);
  }
  void Calculate() { axis.CalculateTicks(&canvas); }
};

TEST_F(AxisTicks, DefaultAxis) {
  Room(5);
  Calculate();
  ExpectValues(Majors(), Range(0, 20, 6));
  ExpectValues(Minors(), Range(10, 20, 5));
  EXPECT_EQ(Labels(), (QStringList{"0", "20", "40", "60", "80", "100"}));
  EXPECT_EQ(axis.MajorStep(), 20.0);
  EXPECT_EQ(axis.MinorStep(), 10.0);
  // Positions follow the mapping; every listed tick lies on the scale.
  for (const TiPlotTickObject& t : axis.Ticks()) {
    EXPECT_TRUE(t.OnScale);
    EXPECT_EQ(t.Position, static_cast<int>(std::nearbyint(t.Value / 100 * axis.ScaleArea().Right)));
    if (t.Minor) {
      EXPECT_TRUE(t.Text.isEmpty());
    }
  }
}

TEST_F(AxisTicks, TheLabelPitchDecidesTheStep) {
  Room(2);   // two labels: 50 apart
  Calculate();
  ExpectValues(Majors(), {0, 50, 100});
  Room(12);  // twelve: 10 apart
  Calculate();
  ExpectValues(Majors(), Range(0, 10, 11));
  // Stacked labels (turned on a horizontal axis) are spaced by their height.
  axis.SetLabelsRotation(ira090);
  canvas.Font() = axis.LabelsFont()->Font();
  const int pitch = static_cast<int>(std::nearbyint(canvas.TextHeight(QStringLiteral("0")) * 3.0));
  Place(true, 0, 0, 12 * pitch, 20);
  Calculate();
  ExpectValues(Majors(), Range(0, 10, 11));   // twelve label heights: 10 apart
}

TEST_F(AxisTicks, SpanOfFiveWithSignificantAndFixedDecimals) {
  axis.SetSpan(5);
  Room(10);
  Calculate();
  ExpectValues(Majors(), Range(0, 0.5, 11));
  EXPECT_EQ(Labels().mid(0, 3), (QStringList{"0.00", "0.50", "1.00"}));
  axis.SetLabelsPrecisionStyle(ipsFixedDecimalPoints);
  Calculate();
  EXPECT_EQ(Labels().mid(0, 3), (QStringList{"0.000", "0.500", "1.000"}));
}

TEST_F(AxisTicks, MinorCounts) {
  Room(5);
  axis.SetMinorCount(0);
  Calculate();
  ExpectValues(Majors(), Range(0, 20, 6));
  EXPECT_TRUE(Minors().empty());
  axis.SetMinorCount(3);
  Calculate();
  ExpectValues(Minors(), {5, 10, 15, 25, 30, 35, 45, 50, 55, 65, 70, 75, 85, 90, 95});
  // A negative count counts as none: no division by zero, majors exactly one step apart.
  axis.SetMinorCount(-1);
  Calculate();
  EXPECT_EQ(axis.MinorCount(), -1);
  ExpectValues(Majors(), Range(0, 20, 6));
  EXPECT_TRUE(Minors().empty());
  EXPECT_EQ(axis.MinorStep(), 20.0);
}

TEST_F(AxisTicks, DecimalStepsFromTinyToHugeRanges) {
  struct Case {
    double min, span;
    int room;
    double step;   // 1, 2 or 5 times a power of ten: the smallest with span / step <= room
  };
  for (const Case& c : std::initializer_list<Case>{
           {0, 1e-12, 5, 2e-13},
           {1, 1e-12, 5, 2e-13},
           {-3e-9, 7e-9, 4, 2e-9},
           {0, 1e-6, 3, 5e-7},
           {0.5, 1, 6, 0.2},
           {-250, 1000, 5, 200},
           {1e6, 3e6, 8, 5e5},
           {0, 1e12, 5, 2e11},
           {-1e12, 2e12, 5, 5e11},
           {0, 1e300, 5, 2e299},
       }) {
    SCOPED_TRACE(testing::Message() << c.min << " + " << c.span);
    axis.SetMinSpan(c.min, c.span);
    // Short labels ("1E+012"): the minimum length of 10 sets the pitch.
    axis.SetLabelsFormatStyle(iptfExponent);
    axis.SetLabelsPrecision(1);
    Room(c.room, 10);
    Calculate();
    EXPECT_NEAR(axis.MajorStep(), c.step, c.step * 1e-12);
    const std::vector<double> majors = Majors();
    ASSERT_FALSE(majors.empty());
    // Every major is a multiple of the step inside the range, and none is missing.
    for (double v : majors) {
      const double tolerance = std::max(c.step * 1e-6, std::fabs(v) * 1e-14);
      EXPECT_NEAR(v - std::nearbyint(v / c.step) * c.step, 0.0, tolerance);
      EXPECT_GE(v, c.min - tolerance);
      EXPECT_LE(v, c.min + c.span + tolerance);
    }
    EXPECT_LT(majors.front() - c.step, c.min);
    EXPECT_GT(majors.back() + c.step, c.min + c.span);
  }
}

TEST_F(AxisTicks, DesiredIncrementAndStart) {
  Room(5);
  axis.SetDesiredIncrement(25);   // fewer labels than fit: taken
  Calculate();
  ExpectValues(Majors(), Range(0, 25, 5));
  axis.SetDesiredIncrement(5);    // more labels than fit: the automatic step
  Calculate();
  EXPECT_EQ(axis.MajorStep(), 20.0);
  axis.SetLabelsVisible(false);   // hidden labels take it while ticks keep apart
  Calculate();
  EXPECT_EQ(axis.MajorStep(), 5.0);
  axis.SetLabelsVisible(true);
  axis.SetDesiredIncrement(0);
  axis.SetDesiredStart(13);       // majors pass through 13
  Calculate();
  ExpectValues(Majors(), {13, 33, 53, 73, 93});
}

TEST_F(AxisTicks, PriceSteps) {
  axis.SetLabelsFormatStyle(iptfPrice32nds);
  axis.SetMinSpan(100, 1);
  Room(10, 7);   // "100.000" is 7 characters
  Calculate();
  EXPECT_EQ(axis.MajorStep(), 0.125);
  EXPECT_EQ(Labels().mid(0, 3), (QStringList{"100.000", "100.040", "100.080"}));
}

TEST_F(AxisTicks, LogarithmicDecades) {
  axis.SetScaleType(ipstLog10);
  axis.SetMinSpan(1, 999);
  Room(5);
  Calculate();
  ExpectValues(Majors(), {1, 10, 100, 1000});
  std::vector<double> minors;
  for (double p : {1.0, 10.0, 100.0})
    for (int i = 2; i <= 9; ++i) minors.push_back(i * p);
  ExpectValues(Minors(), minors);
  EXPECT_EQ(Labels(), (QStringList{"1.00", "10.0", "100", "1000"}));

  // Twelve decades where four or five labels fit: every fifth decade (12 / 2 does not fit).
  axis.SetMinSpan(1e-6, 1e6);
  Calculate();
  ExpectValues(Majors(), {1e-6, 1e-1, 1e4});
  EXPECT_TRUE(Minors().empty());

  // A Min not above zero decades from 1.
  axis.SetMinSpan(1, 99999);
  axis.SetMin(-4);
  Calculate();
  ExpectValues(Majors(), {1, 10, 100, 1000, 10000, 100000});
}

TEST_F(AxisTicks, LogarithmicWithinOneDecadeUsesDecimalStepsAbove0) {
  axis.SetScaleType(ipstLog10);
  axis.SetMinSpan(2, 6);   // 2 .. 8
  Room(4);
  Calculate();
  ExpectValues(Majors(), {2, 4, 6, 8});
  for (double v : Majors()) EXPECT_GT(v, 0);
}

TEST_F(AxisTicks, DateTimeSteps) {
  axis.SetLabelsFormatStyle(iptfDateTime);
  axis.SetDateTimeFormat(QStringLiteral("d"));
  struct Case {
    const char* what;
    double min, span;
    int room;
    double step;
    bool months;
    std::vector<double> majors;
  };
  const double hour = 1.0 / 24;
  for (const Case& c : std::initializer_list<Case>{
           // 30 days, six labels: whole days would be 30 > 5, weeks 4.
           {"weeks", 45323, 30, 6, 7, false, {45325, 45332, 45339, 45346, 45353}},
           // 10 days: 7 days with one label, halved to 3.5 days.
           {"half weeks", 45323, 10, 6, 3.5, false, {45325, 45328.5, 45332}},
           // Hours: a day in room for 5 labels gives 6-hour steps.
           {"hours", 45323, 1, 5, 6 * hour, false, Range(45323, 6 * hour, 5)},
           // 400 days, five labels: three months, on the first of a month (Feb 2024 onwards).
           {"quarters", 45322, 400, 5, 3, true, {45383, 45474, 45566, 45658}},
       }) {
    SCOPED_TRACE(c.what);
    axis.SetMinSpan(c.min, c.span);
    Room(c.room);
    Calculate();
    EXPECT_NEAR(axis.MajorStep(), c.step, 1e-12);
    EXPECT_EQ(axis.MonthSteps(), c.months);
    ExpectValues(Majors(), c.majors);
  }
}

// Calendar steps cover the whole range shown, before 1900 and beyond a hundred years too.
TEST_F(AxisTicks, CalendarStepsCoverTheWholeRangeShown) {
  axis.SetLabelsFormatStyle(iptfDateTime);
  axis.SetDateTimeFormat(QStringLiteral("yyyy-mm-dd"));
  struct Case {
    int year, month, day;
    double span;
  };
  for (const Case& c : std::initializer_list<Case>{{1850, 1, 1, 400}, {1900, 6, 1, 300 * 365.25}, {2000, 1, 1, 150 * 365.25},
                                                   {1700, 3, 1, 20 * 365.25}}) {
    const double min = *TryEncodeDate(c.year, c.month, c.day);
    SCOPED_TRACE(testing::Message() << c.year << " + " << c.span << " days");
    axis.SetMinSpan(min, c.span);
    Place(true, 0, 0, 600, 20);
    Calculate();
    ASSERT_TRUE(axis.MonthSteps() || axis.YearSteps());
    const double step = axis.MajorStep() * (axis.YearSteps() ? 366 : 31);
    std::vector<double> shown;
    for (const TiPlotTickObject& t : axis.Ticks())
      if (!t.Minor && t.OnScale) shown.push_back(t.Value);
    EXPECT_GE(shown.size(), 2u);
    if (shown.empty()) continue;
    EXPECT_LE(shown.front(), min + step);
    EXPECT_GE(shown.back(), min + c.span - step);
    EXPECT_GE(axis.Ticks().back().Position, 600 - 600 * step / c.span - 1);
  }
}

TEST_F(AxisTicks, MonthStepsAcrossTheLeapDayAndTheYearEnd) {
  axis.SetLabelsFormatStyle(iptfDateTime);
  axis.SetDateTimeFormat(QStringLiteral("mmm"));
  // 31 January 2024 + 100 days, five labels: monthly, on the first of each month.
  axis.SetMinSpan(45322, 100);
  Room(5);
  Calculate();
  EXPECT_TRUE(axis.MonthSteps());
  ExpectValues(Majors(), {45323, 45352, 45383, 45413});   // 1 Feb, 1 Mar, 1 Apr, 1 May
  EXPECT_EQ(Labels(), (QStringList{"Feb", "Mar", "Apr", "May"}));
  EXPECT_TRUE(Minors().empty());   // no minor ticks between calendar steps
  // 15 November 2024 + 120 days crosses the year end.
  axis.SetMinSpan(45611, 120);
  Calculate();
  ExpectValues(Majors(), {45627, 45658, 45689, 45717});   // 1 Dec, 1 Jan, 1 Feb, 1 Mar
  // The axis keeps its own range: calendar limits act on copies while ticks are placed.
  EXPECT_EQ(axis.Min(), 45611.0);
  EXPECT_EQ(axis.Span(), 120.0);
}

TEST_F(AxisTicks, YearStepsStartOnTheFirstOfJanuaryEvenFromALeapDay) {
  axis.SetLabelsFormatStyle(iptfDateTime);
  axis.SetDateTimeFormat(QStringLiteral("yyyy"));
  // 29 February 2024, 12:00, plus ten years, six labels: two-year steps at Min's time of day.
  axis.SetMinSpan(45351.5, 3650);
  Room(6);
  Calculate();
  EXPECT_TRUE(axis.YearSteps());
  EXPECT_EQ(axis.MajorStep(), 2.0);
  ExpectValues(Majors(), {46023.5, 46753.5, 47484.5, 48214.5, 48945.5});
  EXPECT_EQ(Labels(), (QStringList{"2026", "2028", "2030", "2032", "2034"}));
  EXPECT_EQ(axis.Min(), 45351.5);
}

TEST_F(AxisTicks, ADesiredStartThatCannotBeLoweredEnds) {
  // Steps of 100 are lost in 1e20 (whose neighbours lie 16384 apart): lowering the start by a
  // step leaves it where it is.
  axis.SetLabelsVisible(false);
  axis.SetDesiredIncrement(100);
  axis.SetMinSpan(1e20, 32768);
  axis.SetDesiredStart(1e20 + 16384);
  Place(true, 0, 0, 10000, 20);
  Calculate();
  ASSERT_EQ(axis.Ticks().size(), 1u);
  EXPECT_EQ(axis.Ticks()[0].Value, 1e20 + 16384);
  EXPECT_FALSE(axis.Ticks()[0].Minor);
}

TEST_F(AxisTicks, BillionsOfMinorTicksEndAtTheCap) {
  // Two billion minors per step, the first ones below the scale: the loop gives up early
  // instead of walking them all.
  Room(5);
  axis.SetMinorCount(2000000000);
  Calculate();
  ASSERT_EQ(axis.Ticks().size(), 1u);
  EXPECT_EQ(axis.Ticks()[0].Value, 50.0);
  EXPECT_EQ(axis.Ticks()[0].Text, "50");
  // On the scale from the start, the list itself passes 5000 inside the minor loop.
  axis.SetMinSpan(1, 100);
  axis.SetDesiredStart(1);
  Calculate();
  ASSERT_EQ(axis.Ticks().size(), 1u);
  EXPECT_EQ(axis.Ticks()[0].Value, 51.0);
}

TEST_F(AxisTicks, MoreThan5000TicksLeaveOneMiddleTick) {
  axis.SetMinorCount(9);
  axis.SetLabelsVisible(false);
  axis.SetDesiredIncrement(0.1);   // 1000 majors, 9000 minors on a long axis
  Place(true, 0, 0, 30000, 20);
  Calculate();
  ASSERT_EQ(axis.Ticks().size(), 1u);
  EXPECT_EQ(axis.Ticks()[0].Value, 50.0);
  axis.SetMinorCount(3);           // 4000 ticks: kept
  Calculate();
  EXPECT_EQ(axis.Ticks().size(), 4001u);
}

TEST_F(AxisTicks, ACalendarStepThatLeavesTheCalendarGivesOneTick) {
  axis.SetLabelsFormatStyle(iptfDateTime);
  axis.SetDateTimeFormat(QStringLiteral("yyyy"));
  // Beyond year 9999 with a desired start: the year steps cannot be taken.
  axis.SetMinSpan(3e6, 3650);
  axis.SetDesiredStart(3e6 + 10);
  Room(6);
  Calculate();
  ASSERT_EQ(axis.Ticks().size(), 1u);
  EXPECT_EQ(axis.Ticks()[0].Value, 3e6 + 1825);
  EXPECT_EQ(axis.Ticks()[0].Text, "Error");
}

TEST_F(AxisTicks, VerticalAxisAndTinySpan) {
  Place(false, 0, 0, 30, 200);
  canvas.Font() = axis.LabelsFont()->Font();
  // Upright labels on a vertical axis are stacked by their height.
  const int pitch = static_cast<int>(std::nearbyint(canvas.TextHeight(QStringLiteral("0")) * 3.0));
  Calculate();
  EXPECT_EQ(axis.MajorStep(), ExpectedStep(100, 200 / pitch));
  ASSERT_FALSE(axis.Ticks().empty());
  for (const TiPlotTickObject& t : axis.Ticks()) EXPECT_EQ(t.Position, 200 - static_cast<int>(std::nearbyint(t.Value * 2)));
  // A span at its lower limit: one step of the whole span, halved when more labels fit; every
  // value maps to the middle.
  axis.SetSpan(0);
  Calculate();
  EXPECT_EQ(axis.MajorStep(), 0.5e-300);
  ASSERT_FALSE(axis.Ticks().empty());
  for (const TiPlotTickObject& t : axis.Ticks()) EXPECT_EQ(t.Position, 100);
}

// Majors are start + i x step: on -0.5 .. 0.5 the middle tick is exactly 0 and reads as 0 in the
// exponent format too, not as rounding noise.
TEST_F(AxisTicks, ZeroIsExactlyZeroInEveryFormat) {
  axis.SetMinSpan(-0.5, 1);
  axis.SetDesiredIncrement(0.1);
  Room(12);
  for (const TiPlotTextFormat format : {iptfValue, iptfExponent, iptfPrefix, iptfThousands}) {
    SCOPED_TRACE(format);
    axis.SetLabelsFormatStyle(format);
    Calculate();
    ASSERT_TRUE(axis.MajorStep() == 0.1 || axis.MajorStep() == 0.2);  // wide exponent labels take 0.2
    int zeros = 0;
    for (const TiPlotTickObject& t : axis.Ticks())
      if (!t.Minor && t.OnScale) {
        if (std::fabs(t.Value) < 1e-12) {
          EXPECT_EQ(t.Value, 0.0);
          ++zeros;
          EXPECT_FALSE(t.Text.contains(QLatin1Char('-'))) << t.Text.toStdString();
          EXPECT_TRUE(t.Text.startsWith(QLatin1Char('0'))) << t.Text.toStdString();
        }
      }
    EXPECT_EQ(zeros, 1);
  }
}

// A range below the resolution of doubles at its size still gets its one middle tick.
TEST_F(AxisTicks, ARangeBelowDoubleResolutionGetsTheMiddleTick) {
  axis.SetMinSpan(1e12, 1e-9);
  Room(5);
  Calculate();
  ASSERT_EQ(axis.Ticks().size(), 1u);
  EXPECT_EQ(axis.Ticks()[0].Value, 1e12 + 0.5e-9);
}
