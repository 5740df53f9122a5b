#pragma once
// The XY chart's channel: points in any X order, drawn in index order as one polyline with
// optional markers.
#include "chart/channels/rUdudChannelCustom.h"

class TiXYPlotChannel : public TiPlotChannelCustom {
  TI_PERSISTENT
 public:
  using TiPlotChannelCustom::TiPlotChannelCustom;

  void PrepareDraw(TCanvas* canvas) override;                       // 11
  void Draw(TCanvas* canvas, TColor backgroundColor) override;      // 12
  // 36 to 39: the range the points take with their markers, for the axes' fit to data.
  double GetXMaxExtent() override;
  double GetXMinExtent() override;
  double GetYMaxExtent() override;
  double GetYMinExtent() override;

 private:
  // An extent with room for the marker, or the sentinel when the channel has nothing to fit.
  double FitExtent(double extent, bool xAxis, double sign, double none);

};
