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

  // Name of the bound channel, or "<All>" for every channel.
  const QString& ChannelName() const { return channelName_; }
  void SetChannelName(const QString& value);
  // The data view the cursor lives in, or nullptr; not owned.
  TiPlotDataView* DataView() const { return dataView_; }
  void SetDataView(TiPlotDataView* value) { dataView_ = value; }

 private:
  TiPlotDataView* dataView_ = nullptr;
  QString channelName_;
};
