// The layout pass: the data view and every layout object placed around it from the sizes the
// objects report, stacking of objects that share a level, the border and toolbar allowances,
// Cartesian and aligned axes, and the fit of the data view to the axes' scale areas.
#include <gtest/gtest.h>

#include "platform/Bitmap.h"
#include "tests/chart/core/LayoutTestSupport.h"

namespace {

struct PassFixture : ::testing::Test {
  TSmallChart small;
  TiPlotComponent& chart = small.chart;
  TBitmap bitmap{500, 200};

  void Pass() {
    // As the painting cycle does: the second pass sees what the first one produced.
    chart.LayoutPass(*bitmap.Canvas());
    chart.LayoutPass(*bitmap.Canvas());
  }
  TRect ViewRect() const { return small.view->GetLayoutRect(); }
};

// Toolbar 30 high at ZOrder 3 and title 20 high at 2 above, X axis 33 high (end margin 10)
// below, Y axis 40 wide (end margin 6) left, legend 80 wide right; 500 x 200 with a lowered
// border (2 pixels) and outer margins of 5.
TEST_F(PassFixture, TheDefaultChartsRectangles) {
  Pass();
  EXPECT_EQ(ViewRect(), Rect(47, 57, 412, 159));
  EXPECT_EQ(small.yAxis->GetLayoutRect(), Rect(7, 57, 47, 159));
  EXPECT_EQ(small.legend->GetLayoutRect(), Rect(412, 57, 492, 159));
  EXPECT_EQ(small.title->GetLayoutRect(), Rect(7, 37, 495, 57));      // directly above the data view
  EXPECT_EQ(small.toolBar->GetLayoutRect(), Rect(2, 2, 497, 32));     // pinned to the top edge
  EXPECT_EQ(small.xAxis->GetLayoutRect(), Rect(47, 159, 412, 192));
  EXPECT_EQ(chart.LayoutTopObjects(), (std::vector<TiPlotLayoutObject*>{small.title, small.toolBar}));
  EXPECT_EQ(chart.LayoutBottomObjects(), (std::vector<TiPlotLayoutObject*>{small.xAxis}));
  EXPECT_EQ(chart.LayoutLeftObjects(), (std::vector<TiPlotLayoutObject*>{small.yAxis}));
  EXPECT_EQ(chart.LayoutRightObjects(), (std::vector<TiPlotLayoutObject*>{small.legend}));
  EXPECT_FALSE(small.xAxis->StackedAtStart() || small.xAxis->StackedAtEnd());
}

TEST_F(PassFixture, TheBorderAllowance) {
  struct Case {
    TiBevelStyle style;
    TRect view, toolBar;
  };
  for (const Case& c : std::initializer_list<Case>{{ibsLowered, Rect(47, 57, 412, 159), Rect(2, 2, 497, 32)},
                                                   {ibsRaised, Rect(47, 57, 412, 159), Rect(2, 2, 497, 32)},
                                                   {ibsNone, Rect(45, 55, 414, 161), Rect(0, 0, 499, 30)}}) {
    SCOPED_TRACE(c.style);
    chart.SetBorderStyle(c.style);
    Pass();
    EXPECT_EQ(ViewRect(), c.view);
    EXPECT_EQ(small.toolBar->GetLayoutRect(), c.toolBar);
  }
}

TEST_F(PassFixture, AHiddenLegendTakesNoRoomButKeepsItsExtent) {
  Pass();
  small.legend->SetVisible(false);
  small.legend->SetLayoutRect(TRect());
  Pass();
  EXPECT_EQ(ViewRect(), Rect(47, 57, 482, 159));   // the X axis's end margin is all that is left
  EXPECT_TRUE(chart.LayoutRightObjects().empty());
  const TRect legend = small.legend->GetLayoutRect();
  EXPECT_EQ(legend.Top, 57);
  EXPECT_EQ(legend.Bottom, 159);
  EXPECT_EQ(legend.Left, legend.Right);
}

TEST_F(PassFixture, AToolbarAloneOnTopLowersTheDataViewByTheEndMargin) {
  small.title->SetVisible(false);
  Pass();
  // 5 + 2 + max(30, 6) + 6: the Y axis's top label stays clear of the toolbar.
  EXPECT_EQ(ViewRect().Top, 43);
  EXPECT_EQ(small.toolBar->GetLayoutRect(), Rect(2, 2, 497, 32));
  // With the title back the allowance goes.
  small.title->SetVisible(true);
  Pass();
  EXPECT_EQ(ViewRect().Top, 57);
}

TEST_F(PassFixture, ObjectsSharingALevelStack) {
  small.legend->SetVisible(false);
  chart.LayoutManager()->SetLayoutEnabled(false);
  small.xAxis->SetStopPercent(50);
  small.xAxis->Size = 30;
  small.xAxis->EndMargin = 8;
  TFixedXAxis* second = InsertInto<TFixedXAxis>(chart, [](TFixedXAxis* a) {
    a->SetStartPercent(50);
    a->Size = 20;
    a->EndMargin = 12;
  });
  chart.LayoutManager()->SetLayoutEnabled(true);
  ASSERT_EQ(second->ZOrder(), 0);
  Pass();
  EXPECT_TRUE(small.xAxis->StackedAtEnd());
  EXPECT_FALSE(small.xAxis->StackedAtStart());
  EXPECT_TRUE(second->StackedAtStart());
  EXPECT_FALSE(second->StackedAtEnd());
  // One level, as thick as the thicker one; the outer ends keep their end margins: 12 on the
  // right (the first axis's 8 belongs to its stacked end).
  EXPECT_EQ(ViewRect(), Rect(47, 57, 480, 162));
  // 433 x 50% = 216.5, rounded to the even 216.
  EXPECT_EQ(small.xAxis->GetLayoutRect(), Rect(47, 162, 263, 192));
  EXPECT_EQ(second->GetLayoutRect(), Rect(263, 162, 480, 192));
}

TEST_F(PassFixture, ForceStackingMarksBothEnds) {
  small.legend->SetVisible(false);
  Pass();
  EXPECT_EQ(ViewRect().Right, 482);   // the X axis's end margin of 10
  small.xAxis->SetForceStacking(true);
  Pass();
  EXPECT_TRUE(small.xAxis->StackedAtStart());
  EXPECT_TRUE(small.xAxis->StackedAtEnd());
  // Its end margins no longer count.
  EXPECT_EQ(ViewRect().Right, 492);
}

TEST_F(PassFixture, WithoutYAxesTheDataViewIsTurnedInsideOut) {
  chart.DeleteYAxis(0);
  Pass();
  EXPECT_EQ(ViewRect().Top, 200);
  EXPECT_EQ(ViewRect().Bottom, 0);
  EXPECT_EQ(ViewRect().Left, 17);   // the X axis still fits the sides: margin, border, its end margin
}

TEST_F(PassFixture, TheDataViewFollowsTheScaleAreas) {
  small.xAxis->Inset = 3;
  small.yAxis->Inset = 5;
  Pass();
  EXPECT_EQ(ViewRect(), Rect(50, 62, 409, 154));
  EXPECT_EQ(small.xAxis->ScaleArea(), Rect(50, 159, 409, 192));
  EXPECT_GE(small.yAxis->ScaleAreaUpdates, 4);
}

TEST_F(PassFixture, CartesianAxesRunThroughTheDataView) {
  TFixedXAxis* master = InsertInto<TFixedXAxis>(chart, [](TFixedXAxis* a) {
    a->SetCartesianStyle(ipcsMaster);
    a->Size = 500;   // Cartesian axes take no room
  });
  TFixedYAxis* child = InsertInto<TFixedYAxis>(chart, [](TFixedYAxis* a) {
    a->SetCartesianStyle(ipcsChild);
    a->SetCartesianChildRefAxisName(QStringLiteral("x-axis 1"));
    a->SetCartesianChildRefValue(25);
  });
  TFixedYAxis* orphan = InsertInto<TFixedYAxis>(chart, [](TFixedYAxis* a) {
    a->SetCartesianStyle(ipcsChild);
    a->SetCartesianChildRefAxisName(QStringLiteral("No Such Axis"));
  });
  orphan->SetLayoutRect(Rect(1, 2, 3, 4));
  Pass();
  // Unchanged: the orphan's empty rectangle at the origin does not pull the data view's edges.
  EXPECT_EQ(ViewRect(), Rect(47, 57, 412, 159));
  EXPECT_EQ(master->GetLayoutRect(), Rect(47, 108, 412, 108));
  // X-Axis 1 maps 0 .. 100 onto 47 .. 412: 25 is at 47 + 91.
  EXPECT_EQ(child->CartesianChildRefAxis(), small.xAxis);
  EXPECT_EQ(child->GetLayoutRect(), Rect(138, 57, 138, 159));
  EXPECT_EQ(orphan->GetLayoutRect(), TRect());
  EXPECT_FALSE(child->StackedAtStart() || child->StackedAtEnd());
}

TEST_F(PassFixture, AnAlignedAxisCopiesItsReferencesExtent) {
  small.xAxis->SetStopPercent(50);
  TFixedXAxis* aligned = InsertInto<TFixedXAxis>(chart, [](TFixedXAxis* a) {
    a->SetStartPercent(20);
    a->Size = 10;
    a->SetAlignRefAxisName(QStringLiteral("X-Axis 1"));
  });
  small.xAxis->SetForceStacking(true);
  Pass();
  ASSERT_NE(aligned->ZOrder(), small.xAxis->ZOrder());
  EXPECT_EQ(aligned->GetLayoutRect().Left, small.xAxis->GetLayoutRect().Left);
  EXPECT_EQ(aligned->GetLayoutRect().Right, small.xAxis->GetLayoutRect().Right);
  EXPECT_NE(aligned->GetLayoutRect().Top, small.xAxis->GetLayoutRect().Top);
  EXPECT_TRUE(aligned->StackedAtStart());
  EXPECT_TRUE(aligned->StackedAtEnd());
  // Renaming the reference keeps the link; a removed reference is forgotten.
  small.xAxis->SetName(QStringLiteral("Wavelength"));
  EXPECT_EQ(aligned->AlignRefAxis(), small.xAxis);
  chart.DeleteXAxis(0);
  EXPECT_EQ(aligned->AlignRefAxis(), nullptr);
}

TEST_F(PassFixture, ReversedAxesSwapSides) {
  chart.SetXYAxesReverse(true);
  Pass();
  EXPECT_FALSE(small.xAxis->Horizontal());
  EXPECT_TRUE(small.yAxis->Horizontal());
  EXPECT_EQ(chart.LayoutLeftObjects(), (std::vector<TiPlotLayoutObject*>{small.xAxis}));
  EXPECT_EQ(chart.LayoutBottomObjects(), (std::vector<TiPlotLayoutObject*>{small.yAxis}));
  // X axis 33 wide on the left (end margin 10 above and below), Y axis 40 high below (6 at the ends).
  EXPECT_EQ(ViewRect(), Rect(40, 57, 412, 152));
  EXPECT_EQ(small.xAxis->GetLayoutRect(), Rect(7, 57, 40, 152));
}

TEST_F(PassFixture, SizesAreAskedPerLevel) {
  Pass();
  // Each pass asks a member once for its side's thickness and once per walk across the side.
  EXPECT_EQ(small.legend->SizeCalls, 4);
  // The toolbar is asked once more for its place at the top edge.
  EXPECT_EQ(small.toolBar->SizeCalls, 6);
}

}  // namespace

// The pass asks each object how it takes part instead of asking what it is: a legend that says
// it takes no room beside the data view leaves the right side to the data view (only the X
// axis's end margin of 10 stays there) and is placed, without thickness, at its edge.
TEST(LayoutPass, ObjectsTakePartAsTheySay) {
  class TRoomlessLegend : public TFixedLegend {
   public:
    using TFixedLegend::TFixedLegend;
    bool TakesSideRoom() const override { return false; }
  };
  TSmallChart small;
  small.chart.RemoveAllLegends();
  small.chart.LayoutManager()->SetLayoutEnabled(false);
  TRoomlessLegend* legend = InsertInto<TRoomlessLegend>(small.chart, [](TRoomlessLegend* l) {
    l->SetZOrder(2);
    l->Size = 80;
  });
  small.chart.LayoutManager()->SetLayoutEnabled(true);
  TBitmap bitmap{500, 200};
  small.chart.LayoutPass(*bitmap.Canvas());
  small.chart.LayoutPass(*bitmap.Canvas());
  // 500 - (margin 5 + border 2 + end margin 10 + 1) = 482.
  EXPECT_EQ(small.view->GetLayoutRect(), Rect(47, 57, 482, 159));
  EXPECT_EQ(legend->GetLayoutRect(), Rect(482, 57, 482, 159));
}
