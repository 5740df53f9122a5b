#include "chart/decorations/rUdudAnnotation.h"

const TiClassInfo& TiPlotAnnotation::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotAnnotation>(QStringLiteral("TiPlotAnnotation"), &TiPlotObject::StaticClassInfo())
      .Build();
  return info;
}
