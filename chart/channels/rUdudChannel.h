#pragma once
// The time chart's channel.
#include "chart/channels/rUdudChannelCustom.h"

class TiPlotChannel : public TiPlotChannelCustom {
  TI_PERSISTENT
 public:
  using TiPlotChannelCustom::TiPlotChannelCustom;
};
