#include "chart/channels/rUdudDataCompactIntervalList.h"

#include "chart/core/iErrors.h"

void TiPlotDataCompactIntervalList::SetX(int index, double value) {
  if (index != 0 || count_ == 0)
    throw EiError(QStringLiteral(
        "Data Style does not support setting individual X-Value with the exception of the first X-Value"));
  firstX_ = value;
}

int TiPlotDataCompactIntervalList::Add(bool, bool, double x, double y) {
  // Later X values are ignored: the list assumes equal spacing. The new first X and interval are
  // kept aside until the point has its slot, so a refused point changes nothing.
  double firstX = firstX_;
  double interval = interval_;
  if (count_ == 0)
    firstX = x;
  else if (count_ == 1 && interval_ == -1.0)
    interval = x - firstX_;
  bool wrapped;
  const int result = Append({ToSingle(y)}, wrapped);
  firstX_ = firstX;
  interval_ = interval;
  // The oldest point was overwritten: the survivors keep their X (also in a ring of one point).
  if (wrapped) firstX_ += interval_;
  return result;
}

void TiPlotDataCompactIntervalList::Clear() {
  TiPlotDataListOf::Clear();
  interval_ = -1.0;
}

void TiPlotDataCompactIntervalList::DeleteFirst(int n) {
  TiPlotDataListOf::DeleteFirst(n);
  firstX_ += n * interval_;
}
