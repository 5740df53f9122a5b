#include "chart/decorations/rUdudLimit.h"

void TiPlotLimit::SetXAxisName(const QString& value) {
  if (value == xAxisName_) return;
  xAxisName_ = value;
  DoChange();
}

void TiPlotLimit::SetYAxisName(const QString& value) {
  if (value == yAxisName_) return;
  yAxisName_ = value;
  DoChange();
}
