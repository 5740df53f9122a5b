#include "chart/channels/iXYPlotChannel.h"

const TiClassInfo& TiXYPlotChannel::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiXYPlotChannel>(QStringLiteral("TiXYPlotChannel"), &TiPlotChannelCustom::StaticClassInfo())
      .Build();
  return info;
}
