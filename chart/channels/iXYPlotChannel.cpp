#include "chart/channels/iXYPlotChannel.h"

#include <cmath>

#include "chart/axes/rUdudAxis.h"
#include "platform/Canvas.h"

const TiClassInfo& TiXYPlotChannel::StaticClassInfo() {
  using C = TiXYPlotChannel;
  static const TiClassInfo info =
      AddOPCItemProperties(TiClassBuilder<C>(QStringLiteral("TiXYPlotChannel"), &TiPlotChannelCustom::StaticClassInfo()))
          .Build();
  return info;
}

void TiXYPlotChannel::PrepareDraw(TCanvas*) {
  SetReadyToDraw(false);
  if (!XAxis() || !YAxis() || !Visible() || Count() == 0) return;
  UpdateFirstVisibleIndex();
  UpdateLastVisibleIndex();
  SetReadyToDraw(FirstVisibleIndex() != -1 && LastVisibleIndex() != -1);
}

void TiXYPlotChannel::Draw(TCanvas* canvas, TColor backgroundColor) {
  if (!canvas) return;
  const bool reversed = XYAxesReverse();
  if (!ClipCanvasToAxes(canvas, reversed)) return;
  DrawTrace(canvas, reversed, backgroundColor);
  DrawMarkers(canvas, reversed, backgroundColor);
}

double TiXYPlotChannel::FitExtent(double extent, bool xAxis, double sign, double none) {
  UpdateFirstVisibleIndex();
  UpdateLastVisibleIndex();
  if (!AxesAssigned() || !Visible() || FirstVisibleIndex() == -1 || LastVisibleIndex() == -1) return none;
  // Only null or empty points (or none that can be placed): nothing to fit.
  if (extent == none || !std::isfinite(extent)) return none;
  if (!MarkersVisible()) return extent;
  // The marker's half-size in the axis's units, measured at the axis's low end.
  TiPlotAxis* axis = xAxis ? XAxis() : YAxis();
  const double room = std::fabs(axis->PositionToValue(axis->PositionOfMin() + MarkersSize()) - axis->Min());
  return extent + sign * room;
}

double TiXYPlotChannel::GetXMaxExtent() { return FitExtent(TiPlotChannelCustom::GetXMaxExtent(), true, 1.0, -1e300); }
double TiXYPlotChannel::GetXMinExtent() { return FitExtent(TiPlotChannelCustom::GetXMinExtent(), true, -1.0, 1e300); }
double TiXYPlotChannel::GetYMaxExtent() { return FitExtent(TiPlotChannelCustom::GetYMaxExtent(), false, 1.0, -1e300); }
double TiXYPlotChannel::GetYMinExtent() { return FitExtent(TiPlotChannelCustom::GetYMinExtent(), false, -1.0, 1e300); }
