#pragma once
// Annotations drawn over the data view.
#include "chart/core/rUdudObjects.h"

class TiPlotAnnotation : public TiPlotObject {
 public:
  using TiPlotObject::TiPlotObject;
};
