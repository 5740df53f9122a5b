#include "chart/core/iXYPlot.h"

#include "chart/core/iErrors.h"
#include "chart/core/iPlotDefaultObjects.h"
#include "chart/core/rUdudMasterManager.h"

const TiClassInfo& TiXYPlot::StaticClassInfo() {
  static const TiClassInfo info =
      TiClassBuilder<TiXYPlot>(QStringLiteral("TiXYPlot"), &TiPlotComponent::StaticClassInfo()).Build();
  return info;
}

TiXYPlot::TiXYPlot(QWidget* parent) : TiPlotComponent(parent) {
  Master()->SetChannelClass(&CreateChannelOf<TiXYPlotChannel>);
  CreateDefaultObjects();
}

TiXYPlotChannel* TiXYPlot::Channel(int i) const {
  auto* channel = dynamic_cast<TiXYPlotChannel*>(TiPlotComponent::Channel(i));
  if (!channel) throw EiError(QStringLiteral("Invalid class typecast"));
  return channel;
}

void TiXYPlot::CreateDefaultObjects() { CreateDefaultPlotObjects(*this); }
