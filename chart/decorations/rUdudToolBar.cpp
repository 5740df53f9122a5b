#include "chart/decorations/rUdudToolBar.h"

#include "chart/core/iGPFunctions.h"

const TiClassInfo& TiPlotToolBar::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotToolBar>(QStringLiteral("TiPlotToolBar"), &TiPlotLayoutObject::StaticClassInfo())
      .Build();
  return info;
}

void TiPlotToolBar::PlaceAlongSide(const TiPlotLayoutFrame& frame) {
  // A vertical toolbar keeps its extent.
  if (!IsHorizontal()) return;
  const int width = frame.Width - 2 * frame.Border;
  SetExtentAlong(frame.Border + RoundEven(StartPercent() / 100.0 * width), frame.Border + RoundEven(StopPercent() / 100.0 * width) - 1);
}
