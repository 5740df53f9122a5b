// Behaviour shared by every point list layout: sizes and limits, growth, the ring buffer, deleting
// the oldest points, clearing, capacity changes and the index checks.
#include <cmath>
#include <limits>

#include "tests/chart/channels/ListTestSupport.h"

namespace {

TEST(DataListSizes, RecordSizeMaxCountAndMemoryOfEachLayout) {
  struct Case {
    TiPlotDataStyle style;
    int recordSize;
    int maxCount;  // 2147483647 div record size
  };
  for (const Case& c : std::initializer_list<Case>{{ipdsStandard, 24, 89478485},
                                                   {ipdsCompact, 8, 268435455},
                                                   {ipdsCompactInterval, 4, 536870911},
                                                   {ipdsFullFeature, 136, 15790320}}) {
    SCOPED_TRACE(c.recordSize);
    auto list = CreateDataList(c.style);
    EXPECT_EQ(list->DataStyle(), c.style);
    EXPECT_EQ(list->RecordSize(), c.recordSize);
    EXPECT_EQ(list->MaxCount(), c.maxCount);
    EXPECT_EQ(list->MemoryUsed(), 0);
    for (int i = 0; i < 10; ++i) list->Add(false, false, i, i);
    EXPECT_EQ(list->Capacity(), 12);
    EXPECT_EQ(list->MemoryUsed(), 12 * c.recordSize);
  }
}

TEST(DataListGrowth, CapacityRunsInFixedSteps) {
  // 4 while the capacity is at most 8, 16 while at most 64, then a quarter of it.
  const std::vector<int> expected{4, 8, 12, 28, 44, 60, 76, 95, 118, 147, 183, 228};
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto list = layout.make();
    std::vector<int> seen;
    while (list->Count() < 228) {
      list->Add(false, false, list->Count(), 1.0);
      if (seen.empty() || seen.back() != list->Capacity()) seen.push_back(list->Capacity());
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(list->Count(), 228);
    EXPECT_EQ(list->RingStart(), 0);
  }
}

TEST(DataListGrowth, GrownCapacityTable) {
  struct Case {
    int from;
    std::int64_t to;
  };
  for (const Case& c : std::initializer_list<Case>{{0, 4},
                                                   {3, 7},
                                                   {8, 12},
                                                   {9, 25},
                                                   {64, 80},
                                                   {65, 81},
                                                   {1000, 1250},
                                                   {2000000000, 2500000000LL}}) {
    SCOPED_TRACE(c.from);
    EXPECT_EQ(TiPlotDataCustomList::GrownCapacity(c.from), c.to);
  }
}

// A compact-interval list whose record size is declared so large that only three records fit
// under MaxCount; the block itself still holds 4-byte records.
class TThreeRecordList : public TiPlotDataCompactIntervalList {
 public:
  TThreeRecordList() { SetRecordSize(715827882); }  // 2147483647 div 715827882 = 3
};

TEST(DataListGrowth, StopsAtMaxCountAndRefusesTheNextPointUnchanged) {
  TThreeRecordList list;
  ASSERT_EQ(list.MaxCount(), 3);
  list.Add(false, false, 10.0, 1.0);
  EXPECT_EQ(list.Capacity(), 3);  // a full step of 4 would pass the limit
  list.Add(false, false, 12.0, 2.0);
  list.Add(false, false, 14.0, 3.0);
  const TListState before = StateOf(list);
  ExpectFailure([&] { list.Add(false, false, 16.0, 4.0); }, "Exceed Maximum List Size");
  EXPECT_EQ(StateOf(list), before);
  EXPECT_EQ(list.FirstX(), 10.0);
  EXPECT_EQ(list.Interval(), 2.0);
}

TEST(DataListGrowth, FirstRefusedPointOfAnIntervalListKeepsFirstXAndInterval) {
  // The limit already reached by the first point: neither FirstX nor Interval may move.
  class TOneRecordList : public TiPlotDataCompactIntervalList {
   public:
    TOneRecordList() { SetRecordSize(std::numeric_limits<int>::max()); }
  } list;
  ASSERT_EQ(list.MaxCount(), 1);
  list.Add(false, false, 7.0, 1.0);
  ExpectFailure([&] { list.Add(false, false, 9.0, 2.0); }, "Exceed Maximum List Size");
  EXPECT_EQ(list.Interval(), -1.0);
  EXPECT_EQ(list.FirstX(), 7.0);
  EXPECT_EQ(list.Count(), 1);
}

TEST(DataListRing, WrapsOverTheOldestPoint) {
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto list = layout.make();
    list->SetRingBufferSize(3);
    EXPECT_EQ(list->RingBufferSize(), 3);
    EXPECT_EQ(list->Capacity(), 0);  // storage comes as the points do
    std::vector<int> returned;
    for (double y : {1.0, 2.0, 3.0, 4.0, 5.0}) returned.push_back(list->Add(false, false, y, y));
    // Filling returns the index; once wrapped, the storage slot that was overwritten.
    EXPECT_EQ(returned, (std::vector<int>{0, 1, 2, 0, 1}));
    EXPECT_EQ(YsOf(*list), (std::vector<double>{3, 4, 5}));
    EXPECT_EQ(list->RingStart(), 2);
    EXPECT_EQ(list->Capacity(), 3);
    EXPECT_EQ(list->MemoryUsed(), 3 * list->RecordSize());
  }
}

// A ring as large as the list allows (a property file can ask for one) reserves nothing until
// points arrive, and then only what they need.
TEST(DataListRing, ALargeRingGrowsAsPointsArrive) {
  TiPlotDataFullList list;
  list.SetRingBufferSize(list.MaxCount());
  EXPECT_EQ(list.RingBufferSize(), list.MaxCount());
  EXPECT_EQ(list.MemoryUsed(), 0);
  AddYs(list, {1, 2, 3, 4, 5});
  EXPECT_EQ(list.Capacity(), 8);
  EXPECT_EQ(YsOf(list), (std::vector<double>{1, 2, 3, 4, 5}));
  ExpectFailure([&] { list.SetRingBufferSize(list.MaxCount() + 1); }, "Exceed Maximum List Size");
  EXPECT_EQ(list.RingBufferSize(), list.MaxCount());
  EXPECT_EQ(list.Count(), 5);
}

TEST(DataListRing, SteadyStateNeverReallocates) {
  TiPlotDataNullList list;
  list.SetRingBufferSize(5);
  for (int i = 0; i < 1000; ++i) {
    list.Add(false, false, i, i);
    ASSERT_EQ(list.Capacity(), i < 4 ? 4 : 5);
  }
  EXPECT_EQ(YsOf(list), (std::vector<double>{995, 996, 997, 998, 999}));
  EXPECT_EQ(XsOf(list), (std::vector<double>{995, 996, 997, 998, 999}));
  EXPECT_EQ(list.RingStart(), 0);  // 1000 adds into 5 slots: back at the start
}

// Raw stretches of storage for streaming scans: from an index to the end of the points, or, in a
// wrapped ring, to the end of the storage and then on from its start.
TEST(DataListRing, StretchesEndWhereTheStorageWraps) {
  struct Case {
    int ring, added, index;
    double firstY;
    int length;
  };
  for (const Case& c : std::initializer_list<Case>{{0, 7, 0, 0, 7},      // growing: to the last point
                                                   {0, 7, 6, 6, 1},
                                                   {5, 7, 0, 2, 3},      // oldest at slot 2: slots 2 .. 4
                                                   {5, 7, 2, 4, 1},
                                                   {5, 7, 3, 5, 2},      // the newest at slots 0 .. 1
                                                   {5, 5, 1, 1, 4}}) {   // full but not wrapped
    SCOPED_TRACE(testing::Message() << "ring " << c.ring << ", index " << c.index);
    TiPlotDataNullList list;
    list.SetRingBufferSize(c.ring);
    for (int i = 0; i < c.added; ++i) list.Add(false, false, i, i);
    int length = -1;
    const TiPlotNullRecord* record = list.Stretch(c.index, length);
    EXPECT_EQ(record->Y, c.firstY);
    EXPECT_EQ(length, c.length);
  }
  TiPlotDataNullList list;
  list.Add(false, false, 1, 1);
  int length = 0;
  ExpectFailure([&] { list.Stretch(1, length); }, "Index out of Bounds");
  ExpectFailure([&] { list.Stretch(-1, length); }, "Index out of Bounds");
}

TEST(DataListRing, ShrinkingAGrowingListKeepsTheNewestInOrder) {
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto list = layout.make();
    AddYs(*list, {1, 2, 3, 4, 5});
    list->SetRingBufferSize(2);
    EXPECT_TRUE(list->RingActive());
    EXPECT_EQ(list->Capacity(), 2);
    EXPECT_EQ(YsOf(*list), (std::vector<double>{4, 5}));
    EXPECT_EQ(XsOf(*list), (std::vector<double>{3, 4}));
    list->Add(false, false, 5, 6);
    EXPECT_EQ(YsOf(*list), (std::vector<double>{5, 6}));
  }
}

TEST(DataListRing, SwitchingOffAnUnwrappedRingKeepsThePointsAndGrowsAgain) {
  TiPlotDataNullList list;
  list.SetRingBufferSize(4);
  AddYs(list, {1, 2, 3});
  list.SetRingBufferSize(0);
  EXPECT_FALSE(list.RingActive());
  EXPECT_EQ(list.RingBufferSize(), 0);
  EXPECT_EQ(list.Capacity(), 4);
  AddYs(list, {4, 5});
  EXPECT_EQ(list.Capacity(), 8);
  EXPECT_EQ(YsOf(list), (std::vector<double>{1, 2, 3, 4, 5}));
}

TEST(DataListRing, SwitchingOffAWrappedRingKeepsThePointsInOrder) {
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto list = layout.make();
    list->SetRingBufferSize(3);
    AddYs(*list, {1, 2, 3, 4, 5});
    ASSERT_NE(list->RingStart(), 0);
    const std::vector<double> xs = XsOf(*list);
    list->SetRingBufferSize(0);
    EXPECT_FALSE(list->RingActive());
    EXPECT_EQ(list->RingStart(), 0);
    EXPECT_EQ(YsOf(*list), (std::vector<double>{3, 4, 5}));
    EXPECT_EQ(XsOf(*list), xs);
    list->Add(false, false, 9, 6);
    EXPECT_EQ(YsOf(*list), (std::vector<double>{3, 4, 5, 6}));
    EXPECT_EQ(list->Capacity(), 7);
  }
}

TEST(DataListRing, ResizingAWrappedRingKeepsTheNewestInOrder) {
  TiPlotDataNullList list;
  list.SetRingBufferSize(4);
  AddYs(list, {1, 2, 3, 4, 5, 6});  // holds 3 4 5 6, storage 5 6 3 4
  list.SetRingBufferSize(6);
  EXPECT_EQ(YsOf(list), (std::vector<double>{3, 4, 5, 6}));
  AddYs(list, {7, 8, 9});
  EXPECT_EQ(YsOf(list), (std::vector<double>{4, 5, 6, 7, 8, 9}));
  list.SetRingBufferSize(2);
  EXPECT_EQ(YsOf(list), (std::vector<double>{8, 9}));
  EXPECT_EQ(list.Capacity(), 2);
  AddYs(list, {10});
  EXPECT_EQ(YsOf(list), (std::vector<double>{9, 10}));
}

TEST(DataListRing, SameSizeOnAGrowingListJustStartsTheRing) {
  TiPlotDataCompactList list;
  AddYs(list, {1, 2, 3, 4, 5});  // capacity 8
  list.SetRingBufferSize(8);
  EXPECT_TRUE(list.RingActive());
  AddYs(list, {6, 7, 8, 9});
  EXPECT_EQ(list.Capacity(), 8);
  EXPECT_EQ(YsOf(list), (std::vector<double>{2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(DataListRing, NegativeSizeMeansNone) {
  TiPlotDataNullList list;
  list.SetRingBufferSize(3);
  AddYs(list, {1, 2});
  list.SetRingBufferSize(-5);
  EXPECT_FALSE(list.RingActive());
  EXPECT_EQ(YsOf(list), (std::vector<double>{1, 2}));
  TiPlotDataNullList fresh;
  fresh.SetRingBufferSize(-1);
  EXPECT_EQ(StateOf(fresh), (TListState{0, 0, 0, false, {}, {}}));
}

TEST(DataListRing, SizeAboveMaxCountIsRefusedBeforeAnythingChanges) {
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto fresh = layout.make();
    ExpectFailure([&] { fresh->SetRingBufferSize(fresh->MaxCount() + 1); }, "Exceed Maximum List Size");
    EXPECT_EQ(StateOf(*fresh), (TListState{0, 0, 0, false, {}, {}}));
    fresh->Add(false, false, 1, 1);  // still a usable growing list
    EXPECT_EQ(fresh->Capacity(), 4);

    auto wrapped = layout.make();
    wrapped->SetRingBufferSize(3);
    AddYs(*wrapped, {1, 2, 3, 4});
    const TListState before = StateOf(*wrapped);
    ExpectFailure([&] { wrapped->SetRingBufferSize(std::numeric_limits<int>::max()); }, "Exceed Maximum List Size");
    EXPECT_EQ(StateOf(*wrapped), before);
  }
}

TEST(DataListDeleteFirst, RemovesTheOldestAndKeepsCapacity) {
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto list = layout.make();
    AddYs(*list, {1, 2, 3, 4, 5});
    list->DeleteFirst(0);
    EXPECT_EQ(YsOf(*list), (std::vector<double>{1, 2, 3, 4, 5}));
    list->DeleteFirst(2);
    EXPECT_EQ(YsOf(*list), (std::vector<double>{3, 4, 5}));
    EXPECT_EQ(XsOf(*list), (std::vector<double>{2, 3, 4}));
    EXPECT_EQ(list->Capacity(), 8);
  }
}

TEST(DataListDeleteFirst, OutOfRangeIsRefusedUnchanged) {
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    const char* message = layout.make()->DataStyle() == ipdsFullFeature ? "Delete Size Out Of Range"
                                                                         : "Delete size out of Range";
    auto list = layout.make();
    AddYs(*list, {1, 2, 3});
    const TListState before = StateOf(*list);
    for (int n : {3, 4, -1, std::numeric_limits<int>::min()}) {
      SCOPED_TRACE(n);
      ExpectFailure([&] { list->DeleteFirst(n); }, message);
      EXPECT_EQ(StateOf(*list), before);
    }
    auto empty = layout.make();
    ExpectFailure([&] { empty->DeleteFirst(0); }, message);
  }
}

TEST(DataListDeleteFirst, OnAWrappedRingDeletesTheOldestPoints) {
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto list = layout.make();
    list->SetRingBufferSize(4);
    AddYs(*list, {1, 2, 3, 4, 5, 6});  // holds 3 4 5 6
    ASSERT_EQ(list->RingStart(), 2);
    list->DeleteFirst(1);
    EXPECT_EQ(YsOf(*list), (std::vector<double>{4, 5, 6}));
    EXPECT_EQ(list->RingStart(), 0);
    EXPECT_EQ(list->Capacity(), 4);
    AddYs(*list, {7, 8});  // fills the free slot, then wraps again
    EXPECT_EQ(YsOf(*list), (std::vector<double>{5, 6, 7, 8}));
  }
}

TEST(DataListClear, GrowingListReleasesItsBlockRingKeepsIt) {
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto growing = layout.make();
    AddYs(*growing, {1, 2, 3, 4, 5});
    growing->Clear();
    EXPECT_EQ(StateOf(*growing), (TListState{0, 0, 0, false, {}, {}}));
    EXPECT_EQ(growing->MemoryUsed(), 0);

    auto ring = layout.make();
    ring->SetRingBufferSize(3);
    AddYs(*ring, {1, 2, 3, 4});
    ring->Clear();
    EXPECT_EQ(StateOf(*ring), (TListState{0, 3, 0, true, {}, {}}));
    ring->Add(false, false, 0, 9);
    EXPECT_EQ(YsOf(*ring), (std::vector<double>{9}));
  }
}

TEST(DataListCapacity, SetCapacityLimitsAndTruncation) {
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto list = layout.make();
    AddYs(*list, {1, 2, 3, 4, 5});
    const TListState before = StateOf(*list);
    ExpectFailure([&] { list->SetCapacity(list->MaxCount() + 1); }, "Exceed Maximum List Size");
    ExpectFailure([&] { list->SetCapacity(-1); }, "Exceed Maximum List Size");
    EXPECT_EQ(StateOf(*list), before);
    list->SetCapacity(100);
    EXPECT_EQ(list->Capacity(), 100);
    EXPECT_EQ(YsOf(*list), (std::vector<double>{1, 2, 3, 4, 5}));
    list->SetCapacity(3);  // the oldest records stay
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(YsOf(*list), (std::vector<double>{1, 2, 3}));
  }
}

TEST(DataListCapacity, ShrinkingAWrappedRingDirectlyKeepsItsOldestValid) {
  TiPlotDataNullList list;
  list.SetRingBufferSize(4);
  AddYs(list, {1, 2, 3, 4, 5, 6});  // holds 3 4 5 6
  list.SetCapacity(2);
  EXPECT_EQ(YsOf(list), (std::vector<double>{3, 4}));
  AddYs(list, {7});
  EXPECT_EQ(YsOf(list), (std::vector<double>{4, 7}));
}

TEST(DataListCapacity, ZeroCapacityEndsARing) {
  // A ring without records would have nowhere to put the next point.
  TiPlotDataCompactList list;
  list.SetRingBufferSize(3);
  AddYs(list, {1, 2});
  list.SetCapacity(0);
  EXPECT_FALSE(list.RingActive());
  EXPECT_EQ(list.Count(), 0);
  AddYs(list, {5});
  EXPECT_EQ(list.Capacity(), 4);
  EXPECT_EQ(YsOf(list), (std::vector<double>{5}));
}

TEST(DataListIndex, OutsideTheStoredPointsIsRefused) {
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto list = layout.make();
    AddYs(*list, {1, 2, 3});
    const bool interval = list->DataStyle() == ipdsCompactInterval;
    for (int i : {-1, 3, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
      SCOPED_TRACE(i);
      double x, y;
      bool empty, null;
      ExpectFailure([&] { list->GetY(i); }, "Index out of Bounds");
      ExpectFailure([&] { list->GetData(i, x, y, empty, null); }, "Index out of Bounds");
      ExpectFailure([&] { list->SetY(i, 0.0); }, "Index out of Bounds");
      if (!interval) {
        ExpectFailure([&] { list->GetX(i); }, "Index out of Bounds");
        ExpectFailure([&] { list->SetX(i, 0.0); }, "Index out of Bounds");
      }
    }
    if (interval) {
      EXPECT_EQ(list->GetX(3), 3.0);  // extrapolated, no check
    }
    EXPECT_EQ(YsOf(*list), (std::vector<double>{1, 2, 3}));
  }
}

TEST(DataListValues, NonFinitePointsAreStoredAsGiven) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto list = layout.make();
    list->Add(false, false, 0.0, nan);
    list->Add(false, false, 1.0, inf);
    list->Add(false, false, 2.0, -inf);
    EXPECT_TRUE(std::isnan(list->GetY(0)));
    EXPECT_EQ(list->GetY(1), inf);
    EXPECT_EQ(list->GetY(2), -inf);
    if (list->DataStyle() != ipdsCompactInterval) {
      list->Add(false, false, nan, 1.0);
      list->Add(false, false, -inf, 1.0);
      EXPECT_TRUE(std::isnan(list->GetX(3)));
      EXPECT_EQ(list->GetX(4), -inf);
      list->SetX(0, inf);
      EXPECT_EQ(list->GetX(0), inf);
    }
    list->SetY(0, -inf);
    EXPECT_EQ(list->GetY(0), -inf);
  }
}

TEST(DataListTemplate, NewListHasBarVisibleAndEverythingElseZero) {
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto list = layout.make();
    const TiPlotPointTemplate& t = list->PointTemplate();
    EXPECT_TRUE(t.BarVisible);
    EXPECT_EQ(t.TraceColor, 0);
    EXPECT_EQ(t.TraceLineWidth, 0);
    EXPECT_EQ(t.TraceLineStyle, 0);
    EXPECT_FALSE(t.MarkerVisible);
    EXPECT_EQ(t.MarkerSize, 0);
    EXPECT_EQ(t.MarkerStyle, 0);
    EXPECT_EQ(t.MarkerPenColor, 0);
    EXPECT_EQ(t.MarkerPenWidth, 0);
    EXPECT_EQ(t.MarkerPenStyle, 0);
    EXPECT_EQ(t.MarkerBrushColor, 0);
    EXPECT_EQ(t.MarkerBrushStyle, 0);
    EXPECT_EQ(t.MarkerCharacter, 0);
    EXPECT_EQ(t.BarReference, 0.0);
    EXPECT_EQ(t.BarWidth, 0.0);
    EXPECT_EQ(t.BarPenColor, 0);
    EXPECT_EQ(t.BarPenWidth, 0);
    EXPECT_EQ(t.BarPenStyle, 0);
    EXPECT_EQ(t.BarBrushColor, 0);
    EXPECT_EQ(t.BarBrushStyle, 0);
  }
}

TEST(DataListAccess, TypedReadsMatchTheVirtualOnesAcrossAWrappedRing) {
  for (const TLayout& layout : AllLayouts()) {
    SCOPED_TRACE(layout.name);
    auto list = layout.make();
    list->SetRingBufferSize(4);
    for (int i = 0; i < 6; ++i) list->Add(i == 4, i == 5, 10.0 + 2 * i, 100.0 + i);
    // Oldest first: the points added as numbers 2 to 5.
    const bool flags = list->DataStyle() == ipdsStandard || list->DataStyle() == ipdsFullFeature;
    const std::vector<TiPlotPoint> expected{{14, 102, false, false},
                                            {16, 103, false, false},
                                            {18, 104, false, flags},
                                            {20, 105, flags, false}};
    std::vector<TiPlotPoint> seen;
    VisitDataList(*list, [&](const auto& points) {
      points.ForEachPoint(0, 3, [&](int i, const TiPlotPoint& p) {
        EXPECT_EQ(i, int(seen.size()));
        seen.push_back(p);
      });
      ExpectFailure([&] { points.ForEachPoint(1, 4, [](int, const TiPlotPoint&) {}); }, "Index out of Bounds");
      ExpectFailure([&] { points.ReadPoint(4); }, "Index out of Bounds");
      EXPECT_EQ(points.ReadPoint(2).Null, flags);
    });
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(seen[i].X, expected[i].X);
      EXPECT_EQ(seen[i].Y, expected[i].Y);
      EXPECT_EQ(seen[i].Empty, expected[i].Empty);
      EXPECT_EQ(seen[i].Null, expected[i].Null);
      double x, y;
      bool empty, null;
      list->GetData(int(i), x, y, empty, null);
      EXPECT_EQ(x, expected[i].X);
      EXPECT_EQ(y, expected[i].Y);
      EXPECT_EQ(empty, expected[i].Empty);
      EXPECT_EQ(null, expected[i].Null);
    }
    int calls = 0;
    VisitDataList(*list, [&](const auto& points) { points.ForEachPoint(3, 2, [&](int, const TiPlotPoint&) { ++calls; }); });
    EXPECT_EQ(calls, 0);
  }
}

}  // namespace
