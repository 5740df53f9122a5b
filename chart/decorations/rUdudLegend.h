#pragma once
// The legend and its scroll buttons.
#include "chart/core/rUdudObjects.h"

class TiPlotLegend : public TiPlotLayoutObject {
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;
};

class TiPlotLegendButton : public TiPlotButton {
 public:
  using TiPlotButton::TiPlotButton;
};
