#include "chart/channels/rUdud.h"

#include "chart/core/iErrors.h"
#include "chart/core/iPlotDefaultObjects.h"
#include "chart/core/rUdudMasterManager.h"

const TiClassInfo& TiPlot::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlot>(QStringLiteral("TiPlot"), &TiPlotComponent::StaticClassInfo()).Build();
  return info;
}

TiPlot::TiPlot(QWidget* parent) : TiPlotComponent(parent) {
  // One repaint for the whole set-up, also when a step fails.
  BeginUpdate();
  try {
    Master()->SetChannelClass(&CreateChannelOf<TiPlotChannel>);
    if (TiPlotXAxisManager* axes = Master()->XAxisManager()) axes->SetNewAxisTrackingStyle(iptsScrollSmooth);
    CreateDefaultPlotObjects(*this);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TiPlotChannel* TiPlot::Channel(int i) const {
  auto* channel = dynamic_cast<TiPlotChannel*>(TiPlotComponent::Channel(i));
  if (!channel) throw EiError(QStringLiteral("Invalid class typecast"));
  return channel;
}
