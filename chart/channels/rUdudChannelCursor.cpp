// The channel's part of a data cursor: the values at the pointers and their texts.
#include "chart/channels/rUdudChannelCustom.h"

void TiPlotChannelCustom::UpdateDataCursor(TiPlotDataCursor*) {}

QString TiPlotChannelCustom::FormatCursorText(TiPlotDataCursorStyle, int status, double x, double y) {
  cursorX_ = x;
  cursorY_ = y;
  cursorStatus_ = status;
  cursorXText_.clear();
  cursorYText_.clear();
  return QString();
}
