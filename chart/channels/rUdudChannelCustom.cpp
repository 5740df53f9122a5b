#include "chart/channels/rUdudChannelCustom.h"

const TiClassInfo& TiPlotChannelCustom::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotChannelCustom>(QStringLiteral("TiPlotChannelCustom"), &TiPlotManagerObject::StaticClassInfo())
      .String(QStringLiteral("TitleText"), &TiPlotChannelCustom::TitleText, &TiPlotChannelCustom::SetTitleText)
      .Color(QStringLiteral("Color"), &TiPlotChannelCustom::Color, &TiPlotChannelCustom::SetColor)
      .String(QStringLiteral("XAxisName"), &TiPlotChannelCustom::XAxisName, &TiPlotChannelCustom::SetXAxisName)
      .String(QStringLiteral("YAxisName"), &TiPlotChannelCustom::YAxisName, &TiPlotChannelCustom::SetYAxisName)
      .Build();
  return info;
}

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
