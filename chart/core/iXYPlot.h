#pragma once
// The XY chart: the chart component whose channels are XY channels (points with any X order).
#include "chart/channels/iXYPlotChannel.h"
#include "chart/core/rUdudComponent.h"

class TiXYPlot : public TiPlotComponent {
  Q_OBJECT
  TI_PERSISTENT
 public:
  explicit TiXYPlot(QWidget* parent = nullptr);

  // Channel i typed; a channel of another class there raises the framework's error.
  TiXYPlotChannel* Channel(int i) const;

 private:
  // Fills a new chart with the objects it needs to be shown and used at once.
  void CreateDefaultObjects();
};
