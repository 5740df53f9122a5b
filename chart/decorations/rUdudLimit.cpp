#include "chart/decorations/rUdudLimit.h"

const TiClassInfo& TiPlotLimit::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotLimit>(QStringLiteral("TiPlotLimit"), &TiPlotObject::StaticClassInfo())
      .String(QStringLiteral("XAxisName"), &TiPlotLimit::XAxisName, &TiPlotLimit::SetXAxisName)
      .String(QStringLiteral("YAxisName"), &TiPlotLimit::YAxisName, &TiPlotLimit::SetYAxisName)
      .Build();
  return info;
}

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

bool TiPlotLimit::IsFilledBand() const { return false; }
