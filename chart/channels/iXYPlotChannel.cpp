#include "chart/channels/iXYPlotChannel.h"

#include <cmath>

#include "chart/axes/rUdudAxis.h"
#include "platform/Canvas.h"

const TiClassInfo& TiXYPlotChannel::StaticClassInfo() {
  using C = TiXYPlotChannel;
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiXYPlotChannel"), &TiPlotChannelCustom::StaticClassInfo())
          // Written only when set: charts without OPC items keep their files as they were.
          .String(QStringLiteral("OPCComputerName"), &C::OPCComputerName, &C::SetOPCComputerName)
          .StoredWhen([](const C& c) { return !c.OPCComputerName().isEmpty(); })
          .String(QStringLiteral("OPCServerName"), &C::OPCServerName, &C::SetOPCServerName)
          .StoredWhen([](const C& c) { return !c.OPCServerName().isEmpty(); })
          .String(QStringLiteral("OPCItemName"), &C::OPCItemName, &C::SetOPCItemName)
          .StoredWhen([](const C& c) { return !c.OPCItemName().isEmpty(); })
          .String(QStringLiteral("OPCItem2Name"), &C::OPCItem2Name, &C::SetOPCItem2Name)
          .StoredWhen([](const C& c) { return !c.OPCItem2Name().isEmpty(); })
          .Integer(QStringLiteral("OPCUpdateRate"), &C::OPCUpdateRate, &C::SetOPCUpdateRate, 500)
          .Float(QStringLiteral("OPCScalar"), &C::OPCScalar, &C::SetOPCScalar)
          .StoredWhen([](const C& c) { return c.OPCScalar() != 1.0; })
          .Float(QStringLiteral("OPCOffset"), &C::OPCOffset, &C::SetOPCOffset)
          .StoredWhen([](const C& c) { return c.OPCOffset() != 0.0; })
          .Float(QStringLiteral("OPCScalar2"), &C::OPCScalar2, &C::SetOPCScalar2)
          .StoredWhen([](const C& c) { return c.OPCScalar2() != 1.0; })
          .Float(QStringLiteral("OPCOffset2"), &C::OPCOffset2, &C::SetOPCOffset2)
          .StoredWhen([](const C& c) { return c.OPCOffset2() != 0.0; })
          .Boolean(QStringLiteral("OPCAutoConnect"), &C::OPCAutoConnect, &C::SetOPCAutoConnect, true)
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
