#pragma once
// Text tables beside the data view, and their scroll buttons.
#include "chart/core/rUdudObjects.h"

class TiPlotTable : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;
};

class TiPlotTableButton : public TiPlotButton {
 public:
  using TiPlotButton::TiPlotButton;
};
