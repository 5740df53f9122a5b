#include "chart/decorations/rUdudTable.h"

const TiClassInfo& TiPlotTable::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotTable>(QStringLiteral("TiPlotTable"), &TiPlotLayoutObject::StaticClassInfo())
      .Build();
  return info;
}
