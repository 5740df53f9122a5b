#include "chart/decorations/rUdudDataView.h"

const TiClassInfo& TiPlotDataView::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotDataView>(QStringLiteral("TiPlotDataView"), &TiPlotLayoutObject::StaticClassInfo())
      .String(QStringLiteral("GridXAxisName"), &TiPlotDataView::GridXAxisName, &TiPlotDataView::SetGridXAxisName)
      .String(QStringLiteral("GridYAxisName"), &TiPlotDataView::GridYAxisName, &TiPlotDataView::SetGridYAxisName)
      .Build();
  return info;
}

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
