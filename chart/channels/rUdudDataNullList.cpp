#include "chart/channels/rUdudDataNullList.h"

void TiPlotDataNullList::SetMarkerStyle(int index, TiPlotMarkerStyle value) {
  auto& flags = At(index).Flags;
  flags = std::uint16_t((flags & ~kMarkerStyleMask) | MarkerStyleBits(value));
}
