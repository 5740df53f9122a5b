#pragma once
// Text labels around the data view (label 0 is the chart's title).
#include "chart/core/rUdudObjects.h"

class TiPlotLabel : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  TiPlotLabel(TiPlotOwner* owner, const TiPlotHandlers& handlers);

  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& value);
  TiFont* Font() { return &font_; }
  const TiFont* Font() const { return &font_; }
  void SetFont(const TFont& value) { font_.Assign(value); }
  // Gap below the caption, in heights of "0" in Font.
  double MarginBottom() const { return marginBottom_; }
  void SetMarginBottom(double value);

  // Above or below the data view it spans the chart inside the outer margins; beside it, the
  // data view.
  void PlaceAlongSide(const TiPlotLayoutFrame& frame) override;

 private:
  QString caption_;
  TiFont font_;
  double marginBottom_ = 0.0;
};
