#include "chart/channels/rUdudDataLists.h"

std::unique_ptr<TiPlotDataCustomList> CreateDataList(TiPlotDataStyle style) {
  switch (style) {
    case ipdsCompact:
      return std::make_unique<TiPlotDataCompactList>();
    case ipdsCompactInterval:
      return std::make_unique<TiPlotDataCompactIntervalList>();
    case ipdsFullFeature:
      return std::make_unique<TiPlotDataFullList>();
    case ipdsStandard:
      break;
  }
  return std::make_unique<TiPlotDataNullList>();
}
