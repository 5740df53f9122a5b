#include "chart/channels/rUdudDataCompactList.h"

int TiPlotDataCompactList::Add(bool, bool, double x, double y) {
  bool wrapped;
  return Append({ToSingle(x), ToSingle(y)}, wrapped);
}
