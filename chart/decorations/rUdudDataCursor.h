#pragma once
// Data cursors: measuring pointers laid over a data view.
#include "chart/core/rUdudObjects.h"

class TiPlotDataView;

class TiPlotDataCursor : public TiPlotManagerObject {
  TI_PERSISTENT
 public:
  using TiPlotManagerObject::TiPlotManagerObject;

  // Drops the data view it lives in when that view goes.
  void NotifyRemoving(TiPlotPersistent* item) override;

  // Reads the values under the pointers off the channels; the painting cycle calls it for every
  // cursor at the start of each paint. Nothing at this level.
  virtual void UpdateValues();

  // Name of the bound channel, or "<All>" for every channel.
  const QString& ChannelName() const { return channelName_; }
  void SetChannelName(const QString& value);
  // With "<All>": the legend shows every channel's cursor values.
  bool ChannelShowAllInLegend() const { return channelShowAllInLegend_; }
  void SetChannelShowAllInLegend(bool value);
  // The data view the cursor lives in, or nullptr; not owned.
  TiPlotDataView* DataView() const { return dataView_; }
  void SetDataView(TiPlotDataView* value) { dataView_ = value; }

 private:
  TiPlotDataView* dataView_ = nullptr;
  QString channelName_;
  // Written once: the member starts from it and the property table declares it.
  static constexpr bool kChannelShowAllInLegend = true;
  bool channelShowAllInLegend_ = kChannelShowAllInLegend;
};
