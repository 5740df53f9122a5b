#include "chart/decorations/rUdudLabel.h"

void TiPlotLabel::SetCaption(const QString& value) {
  if (value == caption_) return;
  caption_ = value;
  DoChange();
}
