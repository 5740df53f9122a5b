// A new XY chart is complete: toolbar, legend, two axes, a channel, a data view, a data cursor and
// the title, in that order, laid out and paintable at once.
#include <gtest/gtest.h>

#include "chart/core/iErrors.h"
#include "chart/core/iPlotDefaultObjects.h"
#include "chart/core/iXYPlot.h"
#include "chart/core/rUdudLayoutManager.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "tests/chart/core/ChartTestSupport.h"
#include "tests/chart/core/LayoutTestSupport.h"

namespace {

TEST(DefaultObjects, ANewXYPlotHoldsOneObjectOfEachKindWithTheirNames) {
  TiXYPlot chart;
  EXPECT_EQ(chart.ChannelCount(), 1);
  EXPECT_EQ(chart.XAxisCount(), 1);
  EXPECT_EQ(chart.YAxisCount(), 1);
  EXPECT_EQ(chart.ToolBarCount(), 1);
  EXPECT_EQ(chart.LegendCount(), 1);
  EXPECT_EQ(chart.DataViewCount(), 1);
  EXPECT_EQ(chart.DataCursorCount(), 1);
  EXPECT_EQ(chart.LabelCount(), 1);
  EXPECT_EQ(chart.TableCount(), 0);
  EXPECT_EQ(chart.LimitCount(), 0);
  EXPECT_EQ(chart.AnnotationCount(), 0);
  EXPECT_EQ(chart.TitleText(), QStringLiteral("Untitled"));

  EXPECT_EQ(chart.ToolBar(0)->Name(), QStringLiteral("Toolbar 1"));
  EXPECT_EQ(chart.Legend(0)->Name(), QStringLiteral("Legend 1"));
  EXPECT_EQ(chart.XAxis(0)->Name(), QStringLiteral("X-Axis 1"));
  EXPECT_EQ(chart.YAxis(0)->Name(), QStringLiteral("Y-Axis 1"));
  EXPECT_EQ(chart.Channel(0)->Name(), QStringLiteral("Channel 1"));
  EXPECT_EQ(chart.DataView(0)->Name(), QStringLiteral("Data View 1"));
  EXPECT_EQ(chart.DataCursor(0)->Name(), QStringLiteral("Cursor 1"));
  EXPECT_EQ(chart.Labels(0)->Name(), QStringLiteral("Title"));
  EXPECT_EQ(chart.Labels(0)->MarginBottom(), 0.0);

  // The channel, the data view and the cursor name what was made before them.
  EXPECT_EQ(chart.Channel(0)->XAxisName(), QStringLiteral("X-Axis 1"));
  EXPECT_EQ(chart.Channel(0)->YAxisName(), QStringLiteral("Y-Axis 1"));
  EXPECT_EQ(chart.DataView(0)->GridXAxisName(), QStringLiteral("X-Axis 1"));
  EXPECT_EQ(chart.DataView(0)->GridYAxisName(), QStringLiteral("Y-Axis 1"));
  EXPECT_EQ(chart.DataCursor(0)->ChannelName(), QStringLiteral("Channel 1"));
}

TEST(DefaultObjects, ZOrdersAndSidesAreAsSetWithTheLayoutOnAgain) {
  TiXYPlot chart;
  TiPlotLayoutManager* layout = chart.LayoutManager();
  EXPECT_TRUE(layout->LayoutEnabled());
  // The layout manager was off while they were made: the values set stay as set.
  EXPECT_EQ(chart.ToolBar(0)->ZOrder(), 3);
  EXPECT_TRUE(chart.ToolBar(0)->Horizontal());
  EXPECT_EQ(chart.Labels(0)->ZOrder(), 2);
  EXPECT_TRUE(chart.Labels(0)->Horizontal());
  EXPECT_EQ(chart.Legend(0)->ZOrder(), 2);
  EXPECT_FALSE(chart.Legend(0)->Horizontal());
  EXPECT_EQ(chart.XAxis(0)->ZOrder(), 0);
  EXPECT_EQ(chart.YAxis(0)->ZOrder(), 0);
  // Rebuilt once the manager is on: the title, then the toolbar, above the data view.
  ASSERT_EQ(layout->TopObjects().Count(), 2);
  EXPECT_EQ(layout->TopObjects().Objects(0), chart.Labels(0));
  EXPECT_EQ(layout->TopObjects().Objects(1), chart.ToolBar(0));
  EXPECT_EQ(layout->TopLevelCount(), 2);
}

TEST(DefaultObjects, AddChannelMakesTheSecondXYChannel) {
  TiXYPlot chart;
  EXPECT_EQ(chart.AddChannel(), 1);
  EXPECT_EQ(chart.Channel(1)->Name(), QStringLiteral("Channel 2"));
  EXPECT_NE(dynamic_cast<TiXYPlotChannel*>(chart.TiPlotComponent::Channel(1)), nullptr);
}

TEST(DefaultObjects, ANewChartPaintsAtOnceWithItsToolbarAtTheTop) {
  TiXYPlot chart;
  chart.resize(500, 300);
  TBitmap bitmap(500, 300);
  ASSERT_NO_THROW(chart.DoPaint(*bitmap.Canvas()));
  // Pinned to the top edge inside the 2-pixel bevel, 36 high, the title just above the data view.
  EXPECT_EQ(chart.ToolBar(0)->GetLayoutRect().Top, 2);
  EXPECT_EQ(chart.ToolBar(0)->GetLayoutRect().Bottom, 38);
  EXPECT_EQ(bitmap.Canvas()->Pixel(10, 4), ColorToRGB(clBtnFace));
  EXPECT_LE(chart.ToolBar(0)->GetLayoutRect().Bottom, chart.Labels(0)->GetLayoutRect().Top);
  EXPECT_LE(chart.Labels(0)->GetLayoutRect().Bottom, chart.DataView(0)->GetLayoutRect().Top);
  EXPECT_LT(chart.YAxis(0)->GetLayoutRect().Right, chart.DataView(0)->GetLayoutRect().Left + 1);
  EXPECT_GE(chart.Legend(0)->GetLayoutRect().Left, chart.DataView(0)->GetLayoutRect().Right);
  EXPECT_GE(chart.XAxis(0)->GetLayoutRect().Top, chart.DataView(0)->GetLayoutRect().Bottom);
  // The legend lists "Channel 1": its row lies inside the legend, and the row's line sample is
  // drawn in the channel's red.
  const TRect legend = chart.Legend(0)->GetLayoutRect();
  const TRect row = chart.Channel(0)->LegendRect();
  EXPECT_EQ(chart.Channel(0)->TitleText().isEmpty() ? chart.Channel(0)->Name() : chart.Channel(0)->TitleText(),
            QStringLiteral("Channel 1"));
  ASSERT_FALSE(row.Right <= row.Left || row.Bottom <= row.Top);
  EXPECT_TRUE(row.Left >= legend.Left && row.Right <= legend.Right && row.Top >= legend.Top && row.Bottom <= legend.Bottom);
  int red = 0;
  for (int y = legend.Top; y < legend.Bottom; ++y)
    for (int x = legend.Left; x < legend.Right; ++x) red += bitmap.Canvas()->Pixel(x, y) == RGB(255, 0, 0);
  EXPECT_GT(red, 5);
}

TiPlotPtr<TiPlotChannelCustom> FailingChannel(TiPlotOwner*, const TiPlotHandlers&) { throw EiError(QStringLiteral("no channel")); }

TEST(DefaultObjects, AFailingStepLeavesTheLayoutManagerOn) {
  TiPlotComponent chart;
  chart.Master()->SetChannelClass(&FailingChannel);
  try {
    CreateDefaultPlotObjects(chart);
    FAIL() << "the channel step should fail";
  } catch (const EiError& e) {
    EXPECT_EQ(e.Message, QStringLiteral("no channel"));
  }
  EXPECT_TRUE(chart.LayoutManager()->LayoutEnabled());
  // The steps before it stand.
  EXPECT_EQ(chart.ToolBarCount(), 1);
  EXPECT_EQ(chart.LegendCount(), 1);
  EXPECT_EQ(chart.XAxisCount(), 1);
  EXPECT_EQ(chart.YAxisCount(), 1);
  EXPECT_EQ(chart.ChannelCount(), 0);
  EXPECT_EQ(chart.DataViewCount(), 0);
  EXPECT_EQ(chart.ToolBar(0)->ZOrder(), 3);
}

}  // namespace
