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

  // The connection to two OPC data items. No OPC client is built in: the settings are kept and
  // stored, and channels without OPC items work without one.
  const QString& OPCComputerName() const { return opcComputerName_; }
  void SetOPCComputerName(const QString& value) { SetAndChange(opcComputerName_, value); }
  const QString& OPCServerName() const { return opcServerName_; }
  void SetOPCServerName(const QString& value) { SetAndChange(opcServerName_, value); }
  const QString& OPCItemName() const { return opcItemName_; }
  void SetOPCItemName(const QString& value) { SetAndChange(opcItemName_, value); }
  const QString& OPCItem2Name() const { return opcItem2Name_; }
  void SetOPCItem2Name(const QString& value) { SetAndChange(opcItem2Name_, value); }
  int OPCUpdateRate() const { return opcUpdateRate_; }
  void SetOPCUpdateRate(int value) { SetAndChange(opcUpdateRate_, value); }
  double OPCScalar() const { return opcScalar_; }
  void SetOPCScalar(double value) { SetAndChange(opcScalar_, value); }
  double OPCOffset() const { return opcOffset_; }
  void SetOPCOffset(double value) { SetAndChange(opcOffset_, value); }
  double OPCScalar2() const { return opcScalar2_; }
  void SetOPCScalar2(double value) { SetAndChange(opcScalar2_, value); }
  double OPCOffset2() const { return opcOffset2_; }
  void SetOPCOffset2(double value) { SetAndChange(opcOffset2_, value); }
  bool OPCAutoConnect() const { return opcAutoConnect_; }
  void SetOPCAutoConnect(bool value) { SetAndChange(opcAutoConnect_, value); }

 private:
  // An extent with room for the marker, or the sentinel when the channel has nothing to fit.
  double FitExtent(double extent, bool xAxis, double sign, double none);

  QString opcComputerName_;
  QString opcServerName_;
  QString opcItemName_;
  QString opcItem2Name_;
  int opcUpdateRate_ = 500;
  double opcScalar_ = 1.0;
  double opcOffset_ = 0.0;
  double opcScalar2_ = 1.0;
  double opcOffset2_ = 0.0;
  bool opcAutoConnect_ = true;
};
