// What each layout keeps per point: flags and marker bits of the standard layout, single precision
// of the compact ones, computed X of the compact-interval layout, every attribute of the full one.
#include <cmath>
#include <limits>

#include "tests/chart/channels/ListTestSupport.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(CreateDataList, MakesTheLayoutOfEachStyle) {
  EXPECT_NE(dynamic_cast<TiPlotDataNullList*>(CreateDataList(ipdsStandard).get()), nullptr);
  EXPECT_NE(dynamic_cast<TiPlotDataCompactList*>(CreateDataList(ipdsCompact).get()), nullptr);
  EXPECT_NE(dynamic_cast<TiPlotDataCompactIntervalList*>(CreateDataList(ipdsCompactInterval).get()), nullptr);
  EXPECT_NE(dynamic_cast<TiPlotDataFullList*>(CreateDataList(ipdsFullFeature).get()), nullptr);
}

TEST(NullList, KeepsNullAndEmptyPerPoint) {
  TiPlotDataNullList list;
  list.Add(true, false, 1.0, 2.0);
  list.Add(false, true, 3.0, 4.0);
  list.Add(true, true, 5.0, 6.0);
  EXPECT_TRUE(list.GetNull(0));
  EXPECT_FALSE(list.GetEmpty(0));
  EXPECT_FALSE(list.GetNull(1));
  EXPECT_TRUE(list.GetEmpty(1));
  EXPECT_TRUE(list.GetNull(2) && list.GetEmpty(2));
  EXPECT_EQ(list.GetX(1), 3.0);
  EXPECT_EQ(list.GetY(1), 4.0);
  list.SetNull(0, false);
  list.SetEmpty(2, false);
  EXPECT_FALSE(list.GetNull(0));
  EXPECT_TRUE(list.GetNull(2));
  EXPECT_FALSE(list.GetEmpty(2));
  list.SetX(1, 0.1);
  list.SetY(1, -0.1);
  EXPECT_EQ(list.GetX(1), 0.1);  // double precision
  EXPECT_EQ(list.GetY(1), -0.1);
  ExpectFailure([&] { list.GetNull(3); }, "Index out of Bounds");
  ExpectFailure([&] { list.SetEmpty(-1, true); }, "Index out of Bounds");
}

TEST(NullList, MarkerVisibilityAndStyleAreTakenFromTheTemplateWhenAdded) {
  TiPlotDataNullList list;
  list.PointTemplate().MarkerVisible = true;
  list.PointTemplate().MarkerStyle = ipmsCharacter;  // 11, the highest ordinal
  list.Add(true, true, 0.0, 0.0);
  list.PointTemplate().MarkerVisible = false;
  list.PointTemplate().MarkerStyle = ipmsDiamond;
  list.Add(false, false, 1.0, 1.0);
  EXPECT_TRUE(list.GetMarkerVisible(0));
  EXPECT_EQ(list.GetMarkerStyle(0), ipmsCharacter);
  EXPECT_TRUE(list.GetNull(0) && list.GetEmpty(0));  // the bits do not overlap
  EXPECT_FALSE(list.GetMarkerVisible(1));
  EXPECT_EQ(list.GetMarkerStyle(1), ipmsDiamond);

  list.SetMarkerStyle(1, ipmsTriangleRight);
  list.SetMarkerVisible(1, true);
  EXPECT_EQ(list.GetMarkerStyle(1), ipmsTriangleRight);
  EXPECT_TRUE(list.GetMarkerVisible(1));
  EXPECT_FALSE(list.GetNull(1) || list.GetEmpty(1));
  list.SetMarkerStyle(0, ipmsCircle);
  EXPECT_EQ(list.GetMarkerStyle(0), ipmsCircle);
  EXPECT_TRUE(list.GetMarkerVisible(0) && list.GetNull(0) && list.GetEmpty(0));
  ExpectFailure([&] { list.GetMarkerStyle(2); }, "Index out of Bounds");
}

TEST(NullList, OtherAttributesFollowTheTemplateWhateverTheIndex) {
  TiPlotDataNullList list;
  list.Add(false, false, 0.0, 0.0);
  list.PointTemplate().TraceColor = 0x00FF00;
  list.PointTemplate().MarkerSize = 7;
  list.SetTraceColor(0, 0x0000FF);  // not stored per point: ignored
  list.SetMarkerSize(0, 2);
  EXPECT_EQ(list.GetTraceColor(0), 0x00FF00);
  EXPECT_EQ(list.GetTraceColor(99), 0x00FF00);
  EXPECT_EQ(list.GetMarkerSize(-5), 7);
}

TEST(CompactList, RoundsToSinglePrecision) {
  TiPlotDataCompactList list;
  list.Add(false, false, 0.1, 0.1);
  // 0.1 in single precision is 13421773 / 2^27.
  const double single = 13421773.0 / 134217728.0;
  EXPECT_EQ(list.GetX(0), single);
  EXPECT_EQ(list.GetY(0), single);
  EXPECT_NEAR(list.GetY(0), 0.100000001490116, 1e-15);
  list.SetY(0, 1.0 / 3.0);
  EXPECT_EQ(list.GetY(0), 11184811.0 / 33554432.0);  // nearest single to 1/3
  list.SetX(0, 16777217.0);  // 2^24 + 1 is a tie: to the even neighbour 2^24
  EXPECT_EQ(list.GetX(0), 16777216.0);
}

TEST(CompactList, BeyondTheSingleRangeSaturatesToInfinity) {
  const double floatMax = 0x1.fffffep127;
  struct Case {
    double value, stored;
  };
  for (const Case& c : std::initializer_list<Case>{
           {1e39, kInf},
           {-1e39, -kInf},
           {1e300, kInf},
           {-std::numeric_limits<double>::max(), -kInf},
           {floatMax, floatMax},
           {0x1.fffffe8p127, floatMax},  // above the largest single, still rounds down to it
           {-0x1.fffffe8p127, -floatMax},
           {0x1.ffffffp127, kInf},  // the halfway point rounds away, to infinity
           {1e-50, 0.0},
       }) {
    SCOPED_TRACE(c.value);
    TiPlotDataCompactList compact;
    compact.Add(false, false, c.value, c.value);
    EXPECT_EQ(compact.GetX(0), c.stored);
    EXPECT_EQ(compact.GetY(0), c.stored);
    compact.SetX(0, c.value);
    compact.SetY(0, c.value);
    EXPECT_EQ(compact.GetX(0), c.stored);
    EXPECT_EQ(compact.GetY(0), c.stored);
    TiPlotDataCompactIntervalList interval;
    interval.Add(false, false, 0.0, c.value);
    EXPECT_EQ(interval.GetY(0), c.stored);
  }
}

TEST(CompactList, StoresNoFlagsAndAnswersAttributesFromTheTemplate) {
  for (const TLayout& layout : AllLayouts()) {
    auto list = layout.make();
    if (list->DataStyle() != ipdsCompact && list->DataStyle() != ipdsCompactInterval) continue;
    SCOPED_TRACE(layout.name);
    list->Add(true, true, 1.0, 2.0);
    EXPECT_FALSE(list->GetNull(0));
    EXPECT_FALSE(list->GetEmpty(0));
    list->SetNull(0, true);
    list->SetEmpty(0, true);
    list->SetHighLow1(0, 5.0);
    EXPECT_FALSE(list->GetNull(0));
    EXPECT_FALSE(list->GetEmpty(0));
    EXPECT_EQ(list->GetHighLow1(0), 0.0);
    EXPECT_EQ(list->GetClose(7), 0.0);  // constants ignore the index
    list->PointTemplate().MarkerVisible = true;
    list->PointTemplate().MarkerStyle = ipmsPlus;
    EXPECT_TRUE(list->GetMarkerVisible(0));
    EXPECT_EQ(list->GetMarkerStyle(12), ipmsPlus);
    double x, y;
    bool empty = true, null = true;
    list->GetData(0, x, y, empty, null);
    EXPECT_EQ(x, 1.0);
    EXPECT_EQ(y, 2.0);
    EXPECT_FALSE(empty || null);
  }
}

TEST(CompactIntervalList, XFollowsTheFirstTwoPoints) {
  TiPlotDataCompactIntervalList list;
  EXPECT_EQ(list.Interval(), -1.0);
  EXPECT_EQ(list.FirstX(), 0.0);
  list.Add(false, false, 10.0, 1.0);
  EXPECT_EQ(list.Interval(), -1.0);
  list.Add(false, false, 12.0, 2.0);
  list.Add(false, false, 100.0, 3.0);
  EXPECT_EQ(XsOf(list), (std::vector<double>{10, 12, 14}));
  EXPECT_EQ(YsOf(list), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(list.GetX(-2), 6.0);

  list.SetRingBufferSize(2);
  EXPECT_EQ(XsOf(list), (std::vector<double>{12, 14}));
  EXPECT_EQ(YsOf(list), (std::vector<double>{2, 3}));
  list.Add(false, false, 0.0, 4.0);
  EXPECT_EQ(XsOf(list), (std::vector<double>{14, 16}));
  EXPECT_EQ(YsOf(list), (std::vector<double>{3, 4}));
}

TEST(CompactIntervalList, OnlyTheFirstXCanBeSet) {
  const char* message = "Data Style does not support setting individual X-Value with the exception of the first X-Value";
  TiPlotDataCompactIntervalList list;
  ExpectFailure([&] { list.SetX(0, 5.0); }, message);
  EXPECT_EQ(list.FirstX(), 0.0);
  for (double x : {1.0, 3.0, 5.0}) list.Add(false, false, x, x);
  list.SetX(0, 5.0);
  EXPECT_EQ(XsOf(list), (std::vector<double>{5, 7, 9}));
  ExpectFailure([&] { list.SetX(1, 5.0); }, message);
  ExpectFailure([&] { list.SetX(-1, 5.0); }, message);
  EXPECT_EQ(XsOf(list), (std::vector<double>{5, 7, 9}));
}

TEST(CompactIntervalList, DeleteFirstKeepsTheXOfTheRemainingPoints) {
  TiPlotDataCompactIntervalList list;
  for (double x : {0.5, 1.0, 1.5, 2.0, 2.5}) list.Add(false, false, x, x * 10);
  list.DeleteFirst(3);
  EXPECT_EQ(XsOf(list), (std::vector<double>{2.0, 2.5}));
  EXPECT_EQ(YsOf(list), (std::vector<double>{20, 25}));
}

TEST(CompactIntervalList, RingOfOnePointStillAdvancesItsX) {
  TiPlotDataCompactIntervalList list;
  list.SetRingBufferSize(1);
  list.Add(false, false, 5.0, 1.0);
  list.Add(false, false, 7.0, 2.0);
  EXPECT_EQ(XsOf(list), (std::vector<double>{7}));
  EXPECT_EQ(YsOf(list), (std::vector<double>{2}));
  list.Add(false, false, 123.0, 3.0);  // later X values are taken as equally spaced
  EXPECT_EQ(XsOf(list), (std::vector<double>{9}));
  EXPECT_EQ(YsOf(list), (std::vector<double>{3}));
  EXPECT_EQ(list.Interval(), 2.0);
}

TEST(CompactIntervalList, ClearForgetsTheSpacing) {
  TiPlotDataCompactIntervalList list;
  for (double x : {1.0, 2.0, 3.0}) list.Add(false, false, x, x);
  list.Clear();
  EXPECT_EQ(list.Interval(), -1.0);
  list.Add(false, false, 50.0, 1.0);
  list.Add(false, false, 45.0, 2.0);
  EXPECT_EQ(XsOf(list), (std::vector<double>{50, 45}));
  EXPECT_EQ(list.Interval(), -5.0);
}

// Every attribute of point `index`, read through the list's getters, against the expected values.
void ExpectAttributes(const TiPlotDataCustomList& list, int index, const TiPlotPointTemplate& e) {
  EXPECT_EQ(list.GetTraceColor(index), e.TraceColor);
  EXPECT_EQ(list.GetTraceLineWidth(index), e.TraceLineWidth);
  EXPECT_EQ(list.GetTraceLineStyle(index), e.TraceLineStyle);
  EXPECT_EQ(list.GetMarkerVisible(index), e.MarkerVisible);
  EXPECT_EQ(list.GetMarkerSize(index), e.MarkerSize);
  EXPECT_EQ(list.GetMarkerStyle(index), e.MarkerStyle);
  EXPECT_EQ(list.GetMarkerPenColor(index), e.MarkerPenColor);
  EXPECT_EQ(list.GetMarkerPenWidth(index), e.MarkerPenWidth);
  EXPECT_EQ(list.GetMarkerPenStyle(index), e.MarkerPenStyle);
  EXPECT_EQ(list.GetMarkerBrushColor(index), e.MarkerBrushColor);
  EXPECT_EQ(list.GetMarkerBrushStyle(index), e.MarkerBrushStyle);
  EXPECT_EQ(list.GetMarkerCharacter(index), e.MarkerCharacter);
  EXPECT_EQ(list.GetBarVisible(index), e.BarVisible);
  EXPECT_EQ(list.GetBarReference(index), e.BarReference);
  EXPECT_EQ(list.GetBarWidth(index), e.BarWidth);
  EXPECT_EQ(list.GetBarPenColor(index), e.BarPenColor);
  EXPECT_EQ(list.GetBarPenWidth(index), e.BarPenWidth);
  EXPECT_EQ(list.GetBarPenStyle(index), e.BarPenStyle);
  EXPECT_EQ(list.GetBarBrushColor(index), e.BarBrushColor);
  EXPECT_EQ(list.GetBarBrushStyle(index), e.BarBrushStyle);
}

// Distinct values in every attribute, none of them the default.
TiPlotPointTemplate Distinct(int base) {
  TiPlotPointTemplate t;
  t.TraceColor = base + 1;
  t.TraceLineWidth = base + 2;
  t.TraceLineStyle = iplsDashDot;
  t.MarkerVisible = true;
  t.MarkerSize = base + 3;
  t.MarkerStyle = ipmsCharacter;
  t.MarkerPenColor = base + 4;
  t.MarkerPenWidth = base + 5;
  t.MarkerPenStyle = psDashDotDot;
  t.MarkerBrushColor = base + 6;
  t.MarkerBrushStyle = bsDiagCross;
  t.MarkerCharacter = 'Z';
  t.BarVisible = false;
  t.BarReference = base + 7.5;
  t.BarWidth = base + 8.5;
  t.BarPenColor = base + 9;
  t.BarPenWidth = base + 10;
  t.BarPenStyle = psClear;
  t.BarBrushColor = base + 11;
  t.BarBrushStyle = bsBDiagonal;
  return t;
}

TEST(FullList, NewPointsCopyTheTemplateExceptTheCharacter) {
  TiPlotDataFullList list;
  list.SetPointTemplate(Distinct(10));
  list.Add(true, false, 1.0, 2.0);
  list.SetPointTemplate(TiPlotPointTemplate());  // later template changes do not reach stored points

  EXPECT_TRUE(list.GetNull(0));
  EXPECT_FALSE(list.GetEmpty(0));
  EXPECT_EQ(list.GetHighLow1(0), 0.0);
  EXPECT_EQ(list.GetHighLow2(0), 0.0);
  EXPECT_EQ(list.GetOpen(0), 0.0);
  EXPECT_EQ(list.GetClose(0), 0.0);
  TiPlotPointTemplate expected = Distinct(10);
  expected.MarkerCharacter = 0;
  ExpectAttributes(list, 0, expected);
}

TEST(FullList, EveryValueAndAttributeIsStoredPerPoint) {
  TiPlotDataFullList list;
  list.Add(false, false, 0.0, 0.0);
  list.Add(false, false, 0.0, 0.0);
  list.SetX(1, 0.1);
  list.SetY(1, 0.2);
  list.SetNull(1, true);
  list.SetEmpty(1, true);
  list.SetHighLow1(1, 1.0);
  list.SetHighLow2(1, 2.0);
  list.SetOpen(1, 3.0);
  list.SetClose(1, 4.0);
  list.SetTraceColor(1, 21);
  list.SetTraceLineWidth(1, 22);
  list.SetTraceLineStyle(1, iplsDashDot);
  list.SetMarkerVisible(1, true);
  list.SetMarkerSize(1, 23);
  list.SetMarkerStyle(1, ipmsCharacter);
  list.SetMarkerPenColor(1, 24);
  list.SetMarkerPenWidth(1, 25);
  list.SetMarkerPenStyle(1, psDashDotDot);
  list.SetMarkerBrushColor(1, 26);
  list.SetMarkerBrushStyle(1, bsDiagCross);
  list.SetMarkerCharacter(1, 'Z');
  list.SetBarVisible(1, false);
  list.SetBarReference(1, 27.5);
  list.SetBarWidth(1, 28.5);
  list.SetBarPenColor(1, 29);
  list.SetBarPenWidth(1, 30);
  list.SetBarPenStyle(1, psClear);
  list.SetBarBrushColor(1, 31);
  list.SetBarBrushStyle(1, bsBDiagonal);

  EXPECT_EQ(list.GetX(1), 0.1);
  EXPECT_EQ(list.GetY(1), 0.2);
  EXPECT_TRUE(list.GetNull(1) && list.GetEmpty(1));
  EXPECT_EQ(list.GetHighLow1(1), 1.0);
  EXPECT_EQ(list.GetHighLow2(1), 2.0);
  EXPECT_EQ(list.GetOpen(1), 3.0);
  EXPECT_EQ(list.GetClose(1), 4.0);
  ExpectAttributes(list, 1, Distinct(20));

  // The first point is untouched by all of it: the template of a new list.
  EXPECT_EQ(list.GetX(0), 0.0);
  EXPECT_FALSE(list.GetNull(0) || list.GetEmpty(0));
  EXPECT_EQ(list.GetClose(0), 0.0);
  ExpectAttributes(list, 0, TiPlotPointTemplate());
  ExpectFailure([&] { list.GetBarWidth(2); }, "Index out of Bounds");
  ExpectFailure([&] { list.SetOpen(2, 1.0); }, "Index out of Bounds");
}

TEST(FullList, AttributesTravelWithTheirPointThroughRingAndDelete) {
  TiPlotDataFullList list;
  list.SetRingBufferSize(3);
  for (int i = 0; i < 5; ++i) {
    list.PointTemplate().TraceColor = 100 + i;
    list.Add(false, false, i, i);
  }
  list.DeleteFirst(1);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.GetTraceColor(0), 103);
  EXPECT_EQ(list.GetTraceColor(1), 104);
  EXPECT_EQ(list.GetX(0), 3.0);
}

}  // namespace
