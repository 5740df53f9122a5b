#pragma once
// A chart with one X axis, one Y axis and one channel on them: where most channel and tracking
// tests start.
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/rUdudComponent.h"

struct TOneChannelChart {
  TiPlotComponent chart;
  TiPlotXAxis* x = nullptr;
  TiPlotYAxis* y = nullptr;
  TiPlotChannelCustom* channel = nullptr;
  TOneChannelChart() {
    chart.AddXAxis();
    chart.AddYAxis();
    chart.AddChannel();
    channel = chart.Channel(0);
    x = chart.XAxis(0);
    y = chart.YAxis(0);
  }
};
