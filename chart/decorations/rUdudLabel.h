#pragma once
// Text labels around the data view (label 0 is the chart's title).
#include "chart/core/rUdudObjects.h"

class TiPlotLabel : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;

  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& value);

 private:
  QString caption_;
};
