#pragma once
// The XY chart's channel.
#include "chart/channels/rUdudChannelCustom.h"

class TiXYPlotChannel : public TiPlotChannelCustom {
  TI_PERSISTENT
 public:
  using TiPlotChannelCustom::TiPlotChannelCustom;
};
