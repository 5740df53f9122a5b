#include "chart/decorations/rUdudToolBar.h"

const TiClassInfo& TiPlotToolBar::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotToolBar>(QStringLiteral("TiPlotToolBar"), &TiPlotLayoutObject::StaticClassInfo())
      .Build();
  return info;
}
