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
  // Without a fill of its own the chart's background shows through.
  bool BackgroundTransparent() const { return backgroundTransparent_; }
  void SetBackgroundTransparent(bool value);
  TColor BackgroundColor() const { return backgroundColor_; }
  void SetBackgroundColor(TColor value);

  // The data view is what the layout pass places the others around: it is on no side, holds no
  // level, and receives its rectangle from the pass.
  bool InSideLists() const override { return false; }
  bool HoldsLevel() const override { return false; }
  void PlaceAlongSide(const TiPlotLayoutFrame&) override {}

  // --- Painting entry points, called by the painting cycle at its own times. ---
  // Fills the rectangle with BackgroundColor unless transparent.
  virtual void DrawBackground(TCanvas* canvas);
  // Whether the user is dragging a zoom box, and its rubber band. Never at this level.
  virtual bool ZoomBoxActive() const;
  virtual void DrawZoomBox(TCanvas* canvas);

 private:
  QString gridXAxisName_;
  QString gridYAxisName_;
  // Each default written once: the member starts from it and the property table declares it.
  static constexpr bool kBackgroundTransparent = true;
  static constexpr TColor kBackgroundColor = RGB(0, 128, 128);
  bool backgroundTransparent_ = kBackgroundTransparent;
  TColor backgroundColor_ = kBackgroundColor;
};
