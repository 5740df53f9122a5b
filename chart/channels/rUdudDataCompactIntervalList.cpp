#include "chart/channels/rUdudDataCompactIntervalList.h"

#include "chart/core/iErrors.h"

void TiPlotDataCompactIntervalList::SetX(int index, double value) {
  if (index != 0 || count_ == 0)
    throw EiError(QStringLiteral(
        "Data Style does not support setting individual X-Value with the exception of the first X-Value"));
  firstX_ = value;
}

void TiPlotDataCompactIntervalList::Clear() {
  TiPlotDataListOf::Clear();
  interval_ = -1.0;
}

void TiPlotDataCompactIntervalList::DeleteFirst(int n) {
  TiPlotDataListOf::DeleteFirst(n);
  firstX_ += n * interval_;
}
