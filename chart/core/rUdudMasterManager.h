#pragma once
// The master manager of one chart: it makes and owns the per-kind collections, the layout
// manager and the translation table, gives every object and collection the same four handlers,
// and routes insertion, removal, renaming, focus and change notifications.
#include <array>
#include <functional>
#include <vector>

#include "chart/core/rUdudLayoutManager.h"
#include "chart/core/rUdudManagers.h"
#include "chart/core/rUdudTranslation.h"

class QWidget;

// One kind of chart object as the chart handles it: how its collection is made, and where the
// kind stands in the three orders besides the routing order of TiPlotObjectKind (making the
// collections, destroying them, passing the chart-wide flags to their objects).
struct TiPlotKindInfo {
  TiPlotObjectKind Kind;
  TiPlotPtr<TiPlotObjectOwnedManager> (*MakeCollection)(TiPlotOwner*, const TiPlotHandlers&);
  int CreationRank;
  int DestructionRank;
  int FlagRank;
};

// The table of object kinds, indexed by TiPlotObjectKind.
const std::array<TiPlotKindInfo, kPlotObjectKindCount>& PlotObjectKinds();
// The kinds in the order of one of the table's ranks.
std::array<TiPlotObjectKind, kPlotObjectKindCount> PlotObjectKindsBy(int TiPlotKindInfo::*rank);

class TiPlotMasterManager {
 public:
  explicit TiPlotMasterManager(TiPlotOwner* owner);
  ~TiPlotMasterManager();
  TiPlotMasterManager(const TiPlotMasterManager&) = delete;
  TiPlotMasterManager& operator=(const TiPlotMasterManager&) = delete;

  TiPlotOwner* Owner() const { return owner_; }

  // The collection of a kind; nullptr before it announced itself and after it went.
  TiPlotObjectOwnedManager* Collection(TiPlotObjectKind kind) const;
  TiPlotToolBarManager* ToolBarManager() const { return Typed<TiPlotToolBarManager>(ipokToolBar); }
  TiPlotLegendManager* LegendManager() const { return Typed<TiPlotLegendManager>(ipokLegend); }
  TiPlotTableManager* TableManager() const { return Typed<TiPlotTableManager>(ipokTable); }
  TiPlotXAxisManager* XAxisManager() const { return Typed<TiPlotXAxisManager>(ipokXAxis); }
  TiPlotYAxisManager* YAxisManager() const { return Typed<TiPlotYAxisManager>(ipokYAxis); }
  TiPlotChannelManager* ChannelManager() const { return Typed<TiPlotChannelManager>(ipokChannel); }
  TiPlotDataViewManager* DataViewManager() const { return Typed<TiPlotDataViewManager>(ipokDataView); }
  TiPlotDataCursorManager* DataCursorManager() const { return Typed<TiPlotDataCursorManager>(ipokDataCursor); }
  TiPlotLimitManager* LimitManager() const { return Typed<TiPlotLimitManager>(ipokLimit); }
  TiPlotLabelManager* LabelManager() const { return Typed<TiPlotLabelManager>(ipokLabel); }
  TiPlotAnnotationManager* AnnotationManager() const { return Typed<TiPlotAnnotationManager>(ipokAnnotation); }
  TiPlotTranslationManager* TranslationManager() const { return translationManager_; }
  TiPlotLayoutManager* LayoutManager() const { return layoutManager_; }
  TiPlotObjectManager* AllObjects() const { return allObjects_; }

  // Set by the chart.
  std::function<void(TiPlotMasterManager*)> OnRepaintNow;
  std::function<void(TiPlotMasterManager*)> OnChanged;
  std::function<void(TiPlotPersistent*)> OnObjectInserted;
  std::function<void(TiPlotPersistent*)> OnObjectRemoved;
  // The user chose "Edit..." on an object: the chart opens its property editor.
  std::function<void(TiPlotObject*)> OnEditObject;

  // The four handlers given to every object and collection.
  void HandleInsert(TiPlotPersistent* item);
  void HandleRemove(TiPlotPersistent* item);
  void HandleRename(TiPlotPersistent* item);
  void HandleChange(TiPlotPersistent* sender);
  void HandleGotFocus(TiPlotObject* object);
  const TiPlotHandlers& Handlers() const { return handlers_; }

  // Makes one object of the kind (channels of the channel class), announces it and returns its
  // position in its collection (-1 when the collection is gone).
  int Add(TiPlotObjectKind kind);
  int AddChannel() { return Add(ipokChannel); }
  int AddDataView() { return Add(ipokDataView); }
  int AddDataCursor() { return Add(ipokDataCursor); }
  int AddLimit() { return Add(ipokLimit); }
  int AddLabel() { return Add(ipokLabel); }
  int AddAnnotation() { return Add(ipokAnnotation); }
  int AddLegend() { return Add(ipokLegend); }
  int AddTable() { return Add(ipokTable); }
  int AddToolBar() { return Add(ipokToolBar); }
  int AddXAxis() { return Add(ipokXAxis); }
  int AddYAxis() { return Add(ipokYAxis); }

  bool UserCanEditObjects() const { return userCanEditObjects_; }
  void SetUserCanEditObjects(bool value);
  bool XYAxesReverse() const { return xyAxesReverse_; }
  void SetXYAxesReverse(bool value);
  void SetToolBarsVisible(bool value);
  void ResetAll();
  void DeselectAll();
  TiPlotChannelClass ChannelClass() const { return channelClass_; }
  void SetChannelClass(TiPlotChannelClass value);
  void TranslateForm(QWidget* window) const;

 private:
  template <class M>
  M* Typed(TiPlotObjectKind kind) const {
    return static_cast<M*>(collections_[static_cast<size_t>(kind)]);
  }
  // Every object of the collections, kind by kind in the order of the flags.
  template <class F>
  void ForEachFlaggedObject(F f) const;
  // Collections that hear of renames and focus changes, in that order.
  std::vector<TiPlotObjectManagerCustom*> BroadcastCollections() const;
  void DestroyAll();

  TiPlotOwner* owner_;
  bool userCanEditObjects_ = false;
  TiPlotHandlers handlers_;

  // Slots, filled when a collection announces itself and emptied when it goes.
  std::array<TiPlotObjectOwnedManager*, kPlotObjectKindCount> collections_{};
  TiPlotTranslationManager* translationManager_ = nullptr;
  TiPlotLayoutManager* layoutManager_ = nullptr;
  TiPlotObjectManager* allObjects_ = nullptr;

  TiPlotChannelClass channelClass_;
  bool xyAxesReverse_ = false;

  // Ownership, released in the destruction order of the chart.
  TiPlotPtr<TiPlotObjectManager> ownAllObjects_;
  std::array<TiPlotPtr<TiPlotObjectOwnedManager>, kPlotObjectKindCount> ownCollections_;
  TiPlotPtr<TiPlotLayoutManager> ownLayout_;
  TiPlotPtr<TiPlotTranslationManager> ownTranslation_;
};
