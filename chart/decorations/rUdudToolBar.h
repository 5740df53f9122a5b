#pragma once
// The chart toolbar and its buttons.
#include "chart/core/rUdudObjects.h"

class TiPlotToolBar : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;
};

class TiPlotToolBarButton : public TiPlotButton {
 public:
  using TiPlotButton::TiPlotButton;
};
