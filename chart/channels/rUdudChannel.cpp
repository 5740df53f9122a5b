#include "chart/channels/rUdudChannel.h"

const TiClassInfo& TiPlotChannel::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotChannel>(QStringLiteral("TiPlotChannel"), &TiPlotChannelCustom::StaticClassInfo())
      .Build();
  return info;
}
