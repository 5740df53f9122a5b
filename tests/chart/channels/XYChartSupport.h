#pragma once
// A chart (XY or time) ready to paint its channels, for tests and benchmarks: border, toolbar and legend
// out of the way, one X and one Y axis at fixed ranges (no tracking), and channels on them that
// add points without moving the axes.
#include "chart/core/iXYPlot.h"

inline void PrepareXYChart(TiPlotComponent& chart, int width, int height, double xMin, double xSpan, double yMin, double ySpan) {
  chart.resize(width, height);
  // A new chart comes with its default objects: keep its toolbar, legend, data view and axes,
  // hide what takes room, and drop its channel and cursor so that only the test's channels draw.
  chart.RemoveAll(ipokChannel);
  chart.RemoveAll(ipokDataCursor);
  chart.ToolBar(0)->SetVisible(false);
  chart.Legend(0)->SetVisible(false);
  chart.Labels(0)->SetVisible(false);
  TiPlotXAxis* x = chart.XAxis(0);
  TiPlotYAxis* y = chart.YAxis(0);
  x->SetTrackingEnabled(false);
  y->SetTrackingEnabled(false);
  x->SetMin(xMin);
  x->SetSpan(xSpan);
  y->SetMin(yMin);
  y->SetSpan(ySpan);
}

// A new channel of the chart's class on its first X and Y axis, moving neither.
template <class Chart>
auto AddChannelOnAxes(Chart& chart) {
  auto* ch = chart.Channel(chart.AddChannel());
  ch->SetXAxisName(chart.XAxis(0)->Name());
  ch->SetYAxisName(chart.YAxis(0)->Name());
  ch->SetXAxisTrackingEnabled(false);
  ch->SetYAxisTrackingEnabled(false);
  return ch;
}

inline TiXYPlotChannel* AddXYChannel(TiXYPlot& chart) { return AddChannelOnAxes(chart); }
