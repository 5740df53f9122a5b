#pragma once
// The data view: the plot area with its grid.
#include "chart/core/rUdudObjects.h"

class TiPlotDataView : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;

  // The axes whose ticks the grid follows, by name.
  const QString& GridXAxisName() const { return gridXAxisName_; }
  void SetGridXAxisName(const QString& value);
  const QString& GridYAxisName() const { return gridYAxisName_; }
  void SetGridYAxisName(const QString& value);

 private:
  QString gridXAxisName_;
  QString gridYAxisName_;
};
