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

void TiPlotChannelCustom::SetTitleText(const QString& value) { SetAndChange(titleText_, value); }

void TiPlotChannelCustom::SetColor(TColor value) { SetAndChange(color_, value); }

void TiPlotChannelCustom::SetXAxisName(const QString& value) { SetAndChange(xAxisName_, value); }

void TiPlotChannelCustom::SetYAxisName(const QString& value) { SetAndChange(yAxisName_, value); }

// The data list and the running statistics join the channel with the channel core; until then a
// channel holds no data to empty.
void TiPlotChannelCustom::Clear() {}

bool TiPlotChannelCustom::PopupAnchorRect(TRect& rect) const {
  rect = legendRect_;
  return true;
}
