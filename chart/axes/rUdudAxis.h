#pragma once
// Axes: the common axis and its X and Y kinds.
#include "chart/core/rUdudObjects.h"

class TiPlotAxis : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  TiPlotAxis(TiPlotOwner* owner, const TiPlotHandlers& handlers);

  const QString& Title() const { return title_; }
  void SetTitle(const QString& value);

  // Forgets that tracked data has arrived, so that the next value starts the range afresh; the
  // chart calls it on every axis when all channel data are cleared.
  virtual void ResetTracking();

 private:
  QString title_;
};

class TiPlotXAxis : public TiPlotAxis {
  TI_PERSISTENT
 public:
  using TiPlotAxis::TiPlotAxis;
};

class TiPlotYAxis : public TiPlotAxis {
  TI_PERSISTENT
 public:
  using TiPlotAxis::TiPlotAxis;
};
