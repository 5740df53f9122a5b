#include "chart/decorations/rUdudDataCursor.h"

#include "chart/decorations/rUdudDataView.h"

const TiClassInfo& TiPlotDataCursor::StaticClassInfo() {
  using C = TiPlotDataCursor;
  static const TiClassInfo info = TiClassBuilder<C>(QStringLiteral("TiPlotDataCursor"), &TiPlotManagerObject::StaticClassInfo())
      .String(QStringLiteral("ChannelName"), &C::ChannelName, &C::SetChannelName, QString())
      .Boolean(QStringLiteral("ChannelShowAllInLegend"), &C::ChannelShowAllInLegend, &C::SetChannelShowAllInLegend, kChannelShowAllInLegend)
      .Build();
  return info;
}

void TiPlotDataCursor::NotifyRemoving(TiPlotPersistent* item) {
  TiPlotManagerObject::NotifyRemoving(item);
  if (dataView_ && static_cast<TiPlotPersistent*>(dataView_) == item) dataView_ = nullptr;
}

void TiPlotDataCursor::UpdateValues() {}

void TiPlotDataCursor::SetChannelName(const QString& value) { SetAndChange(channelName_, value); }

void TiPlotDataCursor::SetChannelShowAllInLegend(bool value) { SetAndChange(channelShowAllInLegend_, value); }
