#pragma once
// The legend and its scroll buttons.
#include "chart/core/rUdudObjects.h"

class TiPlotLegend : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;

  // Whether a visible data cursor that follows all channels shows its values in the legend; the
  // painting cycle sets it before the layout.
  bool AllChannelsCursorActive() const { return allChannelsCursorActive_; }
  void SetAllChannelsCursorActive(bool value) { allChannelsCursorActive_ = value; }

 private:
  bool allChannelsCursorActive_ = false;
};

class TiPlotLegendButton : public TiPlotButton {
 public:
  using TiPlotButton::TiPlotButton;
};
