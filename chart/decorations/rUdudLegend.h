#pragma once
// The legend and its scroll buttons.
#include "chart/core/rUdudObjects.h"

class TiPlotLegend : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;
};

class TiPlotLegendButton : public TiPlotButton {
 public:
  using TiPlotButton::TiPlotButton;
};
