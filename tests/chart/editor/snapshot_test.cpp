// Keeping an object's values aside and writing back exactly the ones that changed.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "chart/core/rUdudComponent.h"
#include "chart/editor/iPropertySnapshot.h"

namespace {

TEST(PropertySnapshot, WritesBackOnlyWhatChangedThroughTheSetters) {
  TiFont font(TFont{QStringLiteral("Arial"), 14, clRed, 0});
  const TiPropertySnapshot kept(font);
  EXPECT_FALSE(kept.Differs(font));
  int notices = 0;
  font.OnChange = [&] { ++notices; };
  EXPECT_TRUE(kept.Restore(font));
  EXPECT_EQ(notices, 0);  // nothing changed, nothing written

  font.SetHeight(20);
  font.SetColor(clBlue);
  EXPECT_TRUE(kept.Differs(font));
  notices = 0;
  EXPECT_TRUE(kept.Restore(font));
  // Height 14 is 11 points, and 11 points are 15 pixels: writing the derived Size back would
  // have spoilt the height.
  EXPECT_EQ(font.Height(), 14);
  EXPECT_EQ(font.Color(), clRed);
  EXPECT_EQ(notices, 2);
}

TEST(PropertySnapshot, SettersThatMoveEachOtherAreRestoredWhole) {
  TiPlotComponent chart;
  chart.AddLegend();
  TiPlotLegend* legend = chart.Legend(0);
  legend->SetStartPercent(10);
  legend->SetStopPercent(20);
  const TiPropertySnapshot kept(*legend);
  legend->SetStopPercent(95);
  legend->SetStartPercent(90);
  EXPECT_TRUE(kept.Restore(*legend));
  EXPECT_EQ(legend->StartPercent(), 10.0);
  EXPECT_EQ(legend->StopPercent(), 20.0);
}

TEST(PropertySnapshot, NestedObjectsAndNotANumber) {
  TiPlotComponent chart;
  chart.AddLabel();
  chart.Labels(0)->SetMarginBottom(std::numeric_limits<double>::quiet_NaN());
  const TiPropertySnapshot kept(chart);
  // Not-a-number kept and still held counts as unchanged.
  EXPECT_FALSE(kept.Differs(chart));
  chart.TitleFont()->SetName(QStringLiteral("Tahoma"));
  chart.Labels(0)->SetMarginBottom(2.0);
  EXPECT_TRUE(kept.Differs(chart));
  EXPECT_TRUE(kept.Restore(chart));
  EXPECT_EQ(chart.TitleFont()->Name(), "Arial");
  EXPECT_TRUE(std::isnan(chart.Labels(0)->MarginBottom()));
}

TEST(PropertySnapshot, ReadOnlyValuesAreNotKept) {
  TiPlotComponent chart;
  const TiPropertySnapshot kept(chart);
  EXPECT_EQ(kept.ClassInfo().Find(QStringLiteral("LoggingActive")), nullptr);
  ASSERT_NE(kept.ClassInfo().Find(QStringLiteral("HintsPause")), nullptr);
  EXPECT_EQ(kept.ClassInfo().Find(QStringLiteral("HintsPause"))->GetOrdinal(kept), 500);
}

}  // namespace
