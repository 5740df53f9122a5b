// What the data view asks of its chart: the axes its grid and mouse control walk, the first
// toolbar's buttons, the tracking pause of a zoom box and the zoom box event.
#include "chart/core/rUdudComponent.h"

int TiPlotComponent::DataViewAxisCount(bool xAxes) const { return xAxes ? XAxisCount() : YAxisCount(); }

TiPlotAxis* TiPlotComponent::DataViewAxis(bool xAxes, int index) const {
  if (index < 0 || index >= DataViewAxisCount(xAxes)) return nullptr;
  return xAxes ? static_cast<TiPlotAxis*>(XAxis(index)) : static_cast<TiPlotAxis*>(YAxis(index));
}

bool TiPlotComponent::FirstToolBarButtons(bool& selectDown, bool& zoomBoxDown) const {
  selectDown = zoomBoxDown = false;
  if (ToolBarCount() == 0) return false;
  const TiPlotToolBar* toolBar = ToolBar(0);
  selectDown = toolBar->SelectButtonDown();
  zoomBoxDown = toolBar->ZoomBoxButtonDown();
  return true;
}

void TiPlotComponent::PauseAllTracking() { DisableAllTracking(); }

void TiPlotComponent::BeforeZoomBox(TRect& rect, bool& cancel) { RaiseEvent(OnBeforeZoomBox, rect, cancel); }
