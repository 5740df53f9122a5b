#include "chart/axes/rUdudAxis.h"

TiPlotAxis::TiPlotAxis(TiPlotOwner* owner, const TiPlotHandlers& handlers) : TiPlotLayoutObject(owner, handlers) {}

void TiPlotAxis::SetTitle(const QString& value) {
  if (value == title_) return;
  title_ = value;
  DoChange();
}

// The tracking state (first value received, resume values) comes with axis tracking; until then
// there is nothing to forget.
void TiPlotAxis::ResetTracking() {}
