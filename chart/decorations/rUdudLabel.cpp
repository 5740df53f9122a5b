#include "chart/decorations/rUdudLabel.h"

const TiClassInfo& TiPlotLabel::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotLabel>(QStringLiteral("TiPlotLabel"), &TiPlotLayoutObject::StaticClassInfo())
      .String(QStringLiteral("Caption"), &TiPlotLabel::Caption, &TiPlotLabel::SetCaption)
      .Build();
  return info;
}

void TiPlotLabel::SetCaption(const QString& value) {
  if (value == caption_) return;
  caption_ = value;
  DoChange();
}
