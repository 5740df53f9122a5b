#include "chart/decorations/rUdudDataCursor.h"

#include "chart/decorations/rUdudDataView.h"

const TiClassInfo& TiPlotDataCursor::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotDataCursor>(QStringLiteral("TiPlotDataCursor"), &TiPlotManagerObject::StaticClassInfo())
      .String(QStringLiteral("ChannelName"), &TiPlotDataCursor::ChannelName, &TiPlotDataCursor::SetChannelName)
      .Build();
  return info;
}

void TiPlotDataCursor::NotifyRemoving(TiPlotPersistent* item) {
  TiPlotManagerObject::NotifyRemoving(item);
  if (dataView_ && static_cast<TiPlotPersistent*>(dataView_) == item) dataView_ = nullptr;
}

void TiPlotDataCursor::SetChannelName(const QString& value) {
  if (value == channelName_) return;
  channelName_ = value;
  DoChange();
}
