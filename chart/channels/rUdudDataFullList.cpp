#include "chart/channels/rUdudDataFullList.h"

int TiPlotDataFullList::Add(bool null, bool empty, double x, double y) {
  TiPlotFullRecord record{x, y, null, empty, 0.0, 0.0, 0.0, 0.0, template_};
  record.Attributes.MarkerCharacter = 0;  // a point's character is set only per point
  bool wrapped;
  return Append(record, wrapped);
}
