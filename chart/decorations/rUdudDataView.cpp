#include "chart/decorations/rUdudDataView.h"

void TiPlotDataView::SetGridXAxisName(const QString& value) {
  if (value == gridXAxisName_) return;
  gridXAxisName_ = value;
  DoChange();
}

void TiPlotDataView::SetGridYAxisName(const QString& value) {
  if (value == gridYAxisName_) return;
  gridYAxisName_ = value;
  DoChange();
}
