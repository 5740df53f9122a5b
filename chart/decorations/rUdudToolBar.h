#pragma once
// The chart toolbar and its buttons.
#include "chart/core/rUdudObjects.h"

// The toolbar's buttons by the number the toolbar events carry.
enum TiPlotToolBarButtonType : int {
  iptbbtResume, iptbbtPause, iptbbtScroll, iptbbtZoom, iptbbtSelect, iptbbtZoomBox, iptbbtZoomOut,
  iptbbtZoomIn, iptbbtCursor, iptbbtEdit, iptbbtCopy, iptbbtSave, iptbbtPrint, iptbbtPreview
};

class TiPlotToolBar : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;

  // The Select button's latched state, which is the chart's select mode, and its command
  // (toggle the button and run its follow-up). A toolbar without buttons is never selecting.
  virtual bool SelectButtonDown() const { return false; }
  virtual void SelectCommand() {}
  // The Zoom Box button's latched state: the data view then drags zoom boxes.
  virtual bool ZoomBoxButtonDown() const { return false; }

  // It sits at the chart's top edge, and runs across the whole chart inside the bevel.
  bool PinnedToTopEdge() const override { return true; }
  void PlaceAlongSide(const TiPlotLayoutFrame& frame) override;
};

class TiPlotToolBarButton : public TiPlotButton {
 public:
  using TiPlotButton::TiPlotButton;
};
