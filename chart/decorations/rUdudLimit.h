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

 private:
  QString xAxisName_;
  QString yAxisName_;
};
