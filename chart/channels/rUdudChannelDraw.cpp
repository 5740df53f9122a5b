// The channel's drawing: trace, markers and their clipping.
#include "chart/channels/rUdudChannelCustom.h"

void TiPlotChannelCustom::DrawMarker(TCanvas*, int, TColor, TPoint) {}
