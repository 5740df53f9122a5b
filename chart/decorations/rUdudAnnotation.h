#pragma once
// Annotations drawn over the data view.
#include "chart/core/rUdudObjects.h"

class TiPlotAnnotation : public TiPlotObject {
  TI_PERSISTENT
 public:
  using TiPlotObject::TiPlotObject;
};
