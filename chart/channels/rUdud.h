#pragma once
// The time chart: the chart component whose channels are time channels (X running one way,
// typically time), with X axes that scroll along with the newest value.
#include "chart/channels/rUdudChannel.h"
#include "chart/core/rUdudComponent.h"

class TiPlot : public TiPlotComponent {
  Q_OBJECT
  TI_PERSISTENT
 public:
  explicit TiPlot(QWidget* parent = nullptr);

  // Channel i typed; a channel of another class there raises the framework's error.
  TiPlotChannel* Channel(int i) const;
};
