#pragma once
// The layout manager's bookkeeping of the objects that take room around the data view: two
// placeholders that stand for the data view in the horizontal and the vertical stacking order,
// the ZOrder shifting when objects are placed, moved or removed, and the four sorted side lists
// (top, bottom, left, right) that the chart's layout pass turns into rectangles.
#include <vector>

#include "chart/core/rUdudManagers.h"

// Marks the data view's place in one stacking order.
class TiPlotDataViewLayout : public TiPlotLayoutObject {
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;
  // It only marks a level: on no side, placed nowhere, and moved by the chart's properties.
  bool InSideLists() const override { return false; }
  bool FollowsLayoutChanges() const override { return false; }
  void PlaceAlongSide(const TiPlotLayoutFrame&) override {}
};

class TiPlotDataViewHorz : public TiPlotDataViewLayout {
 public:
  using TiPlotDataViewLayout::TiPlotDataViewLayout;
};

class TiPlotDataViewVert : public TiPlotDataViewLayout {
 public:
  using TiPlotDataViewLayout::TiPlotDataViewLayout;
};

// One side of the data view: its objects sorted by key (ZOrderKey followed by StartKey).
// Objects with equal keys keep the newest first.
class TiPlotSideList {
 public:
  struct TEntry {
    QString Key;
    TiPlotLayoutObject* Object = nullptr;
    // The numbers behind the key: the list sorts by them, so that negative and large ZOrder
    // values keep their numeric order (for 0 .. 999 this is the order of the key text).
    int Level = 0;
    long long Start = 0;
  };

  // Sorted insertion before any entries with an equal key.
  void Add(TiPlotLayoutObject* object);
  void Remove(const TiPlotLayoutObject* object);
  void Clear() { entries_.clear(); }
  int Count() const { return static_cast<int>(entries_.size()); }
  bool IsEmpty() const { return entries_.empty(); }
  // Raise "Index out of Bounds" outside 0 .. Count - 1.
  TiPlotLayoutObject* Objects(int index) const;
  QString Keys(int index) const;
  const std::vector<TEntry>& Entries() const { return entries_; }
  int IndexOf(const TiPlotLayoutObject* object) const;

 private:
  std::vector<TEntry> entries_;
};

// Lists every layout object of a chart without owning it; owns its two placeholders.
class TiPlotLayoutManager : public TiPlotObjectManagerCustom {
 public:
  TiPlotLayoutManager(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  ~TiPlotLayoutManager() override;

  QString BaseName() const override;
  // Accepts a layout object: its layout-change callback, its orientation when it is an axis,
  // and its place at ZOrder 0 while the layout is enabled.
  void AddItem(TiPlotObject* object) override;

  TiPlotDataViewHorz* DataViewHorz() const { return dataViewHorz_.get(); }
  TiPlotDataViewVert* DataViewVert() const { return dataViewVert_.get(); }
  // While false, additions and removals keep every ZOrder and the side lists are not rebuilt;
  // switching it on rebuilds them.
  bool LayoutEnabled() const { return layoutEnabled_; }
  void SetLayoutEnabled(bool value);
  bool XYAxesReverse() const { return xyAxesReverse_; }
  // Moves every axis into its new orientation (ReflowAxes) while the layout is enabled.
  void SetXYAxesReverse(bool value);
  TiPlotLayoutObject* Items(int index) const { return static_cast<TiPlotLayoutObject*>(TiPlotObjectManagerCustom::Items(index)); }

  // Gives obj a ZOrder among the other objects of its orientation, then rebuilds.
  // Mode 0: z, shifting the others up only when obj would overlap an object already at z;
  // mode 1: insert before z (everything at z or above moves up); mode 2: insert after z
  // (everything above z moves up, obj takes z + 1). Other modes change nothing.
  void PlaceAt(TiPlotLayoutObject* object, int z, int mode);
  // Closes the level obj leaves when no other object of its orientation shares it, then rebuilds.
  void CloseGap(TiPlotLayoutObject* object);
  // Recomputes FarSide, the side lists and the level counts (nothing while disabled).
  void Rebuild();
  // Number of distinct ZOrder values in a side list.
  static int LevelCount(const TiPlotSideList& list);
  // After XYAxesReverse changed: every axis leaves its level and is placed anew at ZOrder 0 of
  // its new orientation, in the order of their ZOrder values.
  void ReflowAxes();

  const TiPlotSideList& TopObjects() const { return top_; }
  const TiPlotSideList& BottomObjects() const { return bottom_; }
  const TiPlotSideList& LeftObjects() const { return left_; }
  const TiPlotSideList& RightObjects() const { return right_; }
  int TopLevelCount() const { return topLevelCount_; }
  int BottomLevelCount() const { return bottomLevelCount_; }
  int LeftLevelCount() const { return leftLevelCount_; }
  int RightLevelCount() const { return rightLevelCount_; }

 protected:
  // Makes and announces the two placeholders once the manager itself is known to the chart.
  void AfterAnnounce() override;
  bool AcceptsItem(TiPlotObject* object) const override;
  void ItemRemoved(TiPlotObject* object) override;
  void DoBeforeDestruction() override;

 private:
  void RemoveFromSides(const TiPlotLayoutObject* object);

  bool xyAxesReverse_ = false;
  TiPlotPtr<TiPlotDataViewHorz> dataViewHorz_;
  TiPlotPtr<TiPlotDataViewVert> dataViewVert_;
  bool layoutEnabled_ = false;
  TiPlotSideList top_;
  TiPlotSideList bottom_;
  TiPlotSideList left_;
  TiPlotSideList right_;
  int leftLevelCount_ = 0;
  int rightLevelCount_ = 0;
  int bottomLevelCount_ = 0;
  int topLevelCount_ = 0;
  // Set while a rebuild runs: the FarSide changes it makes notify, and must not start another.
  bool rebuilding_ = false;
};
