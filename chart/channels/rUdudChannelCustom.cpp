#include "chart/channels/rUdudChannelCustom.h"

TiPlotChannelCustom::TiPlotChannelCustom(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotManagerObject(owner, handlers) {}

void TiPlotChannelCustom::SetTitleText(const QString& value) {
  if (value == titleText_) return;
  titleText_ = value;
  DoChange();
}

void TiPlotChannelCustom::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  DoChange();
}

void TiPlotChannelCustom::SetXAxisName(const QString& value) {
  if (value == xAxisName_) return;
  xAxisName_ = value;
  DoChange();
}

void TiPlotChannelCustom::SetYAxisName(const QString& value) {
  if (value == yAxisName_) return;
  yAxisName_ = value;
  DoChange();
}

// The data list and the running statistics join the channel with the channel core; until then a
// channel holds no data to empty.
void TiPlotChannelCustom::Clear() {}

bool TiPlotChannelCustom::PopupAnchorRect(TRect& rect) const {
  rect = legendRect_;
  return true;
}
