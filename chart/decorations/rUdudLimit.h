#pragma once
// Limits: lines and bands at axis values.
#include "chart/core/rUdudObjects.h"

class TiPlotLimit : public TiPlotObject {
  TI_PERSISTENT
 public:
  using TiPlotObject::TiPlotObject;

  const QString& XAxisName() const { return xAxisName_; }
  void SetXAxisName(const QString& value);
  const QString& YAxisName() const { return yAxisName_; }
  void SetYAxisName(const QString& value);

  // A band with a fill or a polygon band: the painting cycle draws it under the grid of its
  // layer. A plain limit is a line.
  virtual bool IsFilledBand() const;

 private:
  QString xAxisName_;
  QString yAxisName_;
};
