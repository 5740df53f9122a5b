#include "chart/decorations/rUdudLimit.h"

const TiClassInfo& TiPlotLimit::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotLimit>(QStringLiteral("TiPlotLimit"), &TiPlotObject::StaticClassInfo())
      .String(QStringLiteral("XAxisName"), &TiPlotLimit::XAxisName, &TiPlotLimit::SetXAxisName)
      .String(QStringLiteral("YAxisName"), &TiPlotLimit::YAxisName, &TiPlotLimit::SetYAxisName)
      .Build();
  return info;
}

void TiPlotLimit::SetXAxisName(const QString& value) { SetAndChange(xAxisName_, value); }

void TiPlotLimit::SetYAxisName(const QString& value) { SetAndChange(yAxisName_, value); }

bool TiPlotLimit::IsFilledBand() const { return false; }
