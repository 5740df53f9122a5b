#include "chart/axes/rUdudAxis.h"

const TiClassInfo& TiPlotAxis::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotAxis>(QStringLiteral("TiPlotAxis"), &TiPlotLayoutObject::StaticClassInfo())
      .String(QStringLiteral("Title"), &TiPlotAxis::Title, &TiPlotAxis::SetTitle)
      .Build();
  return info;
}

const TiClassInfo& TiPlotXAxis::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotXAxis>(QStringLiteral("TiPlotXAxis"), &TiPlotAxis::StaticClassInfo())
      .Build();
  return info;
}

const TiClassInfo& TiPlotYAxis::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotYAxis>(QStringLiteral("TiPlotYAxis"), &TiPlotAxis::StaticClassInfo())
      .Build();
  return info;
}

TiPlotAxis::TiPlotAxis(TiPlotOwner* owner, const TiPlotHandlers& handlers) : TiPlotLayoutObject(owner, handlers) {}

void TiPlotAxis::SetTitle(const QString& value) {
  if (value == title_) return;
  title_ = value;
  DoChange();
}

// The tracking state (first value received, resume values) comes with axis tracking; until then
// there is nothing to forget.
void TiPlotAxis::ResetTracking() {}
