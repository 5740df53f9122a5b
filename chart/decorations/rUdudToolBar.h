#pragma once
// The chart toolbar and its buttons.
#include "chart/core/rUdudObjects.h"

class TiPlotToolBar : public TiPlotLayoutObject {
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;
};

class TiPlotToolBarButton : public TiPlotButton {
 public:
  using TiPlotButton::TiPlotButton;
};
