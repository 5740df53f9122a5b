#pragma once
// The layout manager's bookkeeping of the objects that take room around the data view, and the
// two placeholders that stand for the data view in the horizontal and the vertical stacking
// order. Placement (side lists, ZOrder shifting) arrives with the layout pass.
#include "chart/core/rUdudManagers.h"

// Marks the data view's place in one stacking order.
class TiPlotDataViewLayout : public TiPlotLayoutObject {
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;
};

class TiPlotDataViewHorz : public TiPlotDataViewLayout {
 public:
  using TiPlotDataViewLayout::TiPlotDataViewLayout;
};

class TiPlotDataViewVert : public TiPlotDataViewLayout {
 public:
  using TiPlotDataViewLayout::TiPlotDataViewLayout;
};

// Lists every layout object of a chart without owning it; owns its two placeholders.
class TiPlotLayoutManager : public TiPlotObjectManagerCustom {
 public:
  TiPlotLayoutManager(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  ~TiPlotLayoutManager() override;

  QString BaseName() const override;

  TiPlotDataViewHorz* DataViewHorz() const { return dataViewHorz_.get(); }
  TiPlotDataViewVert* DataViewVert() const { return dataViewVert_.get(); }
  bool LayoutEnabled() const { return layoutEnabled_; }
  void SetLayoutEnabled(bool value);
  bool XYAxesReverse() const { return xyAxesReverse_; }
  void SetXYAxesReverse(bool value);
  TiPlotLayoutObject* Items(int index) const { return static_cast<TiPlotLayoutObject*>(TiPlotObjectManagerCustom::Items(index)); }

 protected:
  // Makes and announces the two placeholders once the manager itself is known to the chart.
  void AfterAnnounce() override;
  bool AcceptsItem(TiPlotObject* object) const override;
  void DoBeforeDestruction() override;

 private:
  bool xyAxesReverse_ = false;
  TiPlotPtr<TiPlotDataViewHorz> dataViewHorz_;
  TiPlotPtr<TiPlotDataViewVert> dataViewVert_;
  bool layoutEnabled_ = false;
};
