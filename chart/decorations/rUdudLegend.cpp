#include "chart/decorations/rUdudLegend.h"

const TiClassInfo& TiPlotLegend::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotLegend>(QStringLiteral("TiPlotLegend"), &TiPlotLayoutObject::StaticClassInfo())
      .Build();
  return info;
}
