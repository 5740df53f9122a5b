#pragma once
// Text tables beside the data view, and their scroll buttons.
#include "chart/core/rUdudObjects.h"

class TiPlotTable : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;
  // Its ZOrder and orientation take effect at the next rebuild another object causes.
  bool FollowsLayoutChanges() const override { return false; }
};

class TiPlotTableButton : public TiPlotButton {
 public:
  using TiPlotButton::TiPlotButton;
};
