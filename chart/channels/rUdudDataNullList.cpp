#include "chart/channels/rUdudDataNullList.h"

namespace {
// The style's ordinal in bits 3 to 6; ordinals beyond four bits are cut to them.
std::uint16_t MarkerStyleBits(int style) {
  return std::uint16_t((unsigned(style) << TiPlotDataNullList::kMarkerStyleShift) & TiPlotDataNullList::kMarkerStyleMask);
}
}  // namespace

void TiPlotDataNullList::SetMarkerStyle(int index, TiPlotMarkerStyle value) {
  auto& flags = At(index).Flags;
  flags = std::uint16_t((flags & ~kMarkerStyleMask) | MarkerStyleBits(value));
}

int TiPlotDataNullList::Add(bool null, bool empty, double x, double y) {
  std::uint16_t flags = MarkerStyleBits(template_.MarkerStyle);
  if (null) flags |= kNullFlag;
  if (empty) flags |= kEmptyFlag;
  if (template_.MarkerVisible) flags |= kMarkerVisibleFlag;
  bool wrapped;
  return Append({x, y, flags}, wrapped);
}
