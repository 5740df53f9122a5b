#pragma once
// The master manager of one chart: it makes and owns the per-kind collections, the layout
// manager and the translation table, gives every object and collection the same four handlers,
// and routes insertion, removal, renaming, focus and change notifications.
#include <functional>
#include <vector>

#include "chart/core/rUdudLayoutManager.h"
#include "chart/core/rUdudManagers.h"
#include "chart/core/rUdudTranslation.h"

class QWidget;

class TiPlotMasterManager {
 public:
  explicit TiPlotMasterManager(TiPlotOwner* owner);
  ~TiPlotMasterManager();
  TiPlotMasterManager(const TiPlotMasterManager&) = delete;
  TiPlotMasterManager& operator=(const TiPlotMasterManager&) = delete;

  TiPlotOwner* Owner() const { return owner_; }

  // The collections; nullptr before a collection announced itself and after it went.
  TiPlotToolBarManager* ToolBarManager() const { return toolBarManager_; }
  TiPlotLegendManager* LegendManager() const { return legendManager_; }
  TiPlotTableManager* TableManager() const { return tableManager_; }
  TiPlotXAxisManager* XAxisManager() const { return xAxisManager_; }
  TiPlotYAxisManager* YAxisManager() const { return yAxisManager_; }
  TiPlotChannelManager* ChannelManager() const { return channelManager_; }
  TiPlotDataViewManager* DataViewManager() const { return dataViewManager_; }
  TiPlotDataCursorManager* DataCursorManager() const { return dataCursorManager_; }
  TiPlotLimitManager* LimitManager() const { return limitManager_; }
  TiPlotLabelManager* LabelManager() const { return labelManager_; }
  TiPlotAnnotationManager* AnnotationManager() const { return annotationManager_; }
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

  // Each makes one object of its kind, announces it and returns its position in its collection
  // (-1 when the collection is gone).
  int AddChannel();
  int AddDataView();
  int AddDataCursor();
  int AddLimit();
  int AddLabel();
  int AddAnnotation();
  int AddLegend();
  int AddTable();
  int AddToolBar();
  int AddXAxis();
  int AddYAxis();

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
  // Collections whose objects take the chart-wide flags, in the order they are set.
  std::vector<TiPlotObjectManagerCustom*> FlagCollections() const;
  // Collections that hear of renames and focus changes, in that order.
  std::vector<TiPlotObjectManagerCustom*> BroadcastCollections() const;
  void DestroyAll();

  TiPlotOwner* owner_;
  bool userCanEditObjects_ = false;
  TiPlotHandlers handlers_;

  // Slots, filled when a collection announces itself and emptied when it goes.
  TiPlotToolBarManager* toolBarManager_ = nullptr;
  TiPlotLegendManager* legendManager_ = nullptr;
  TiPlotTableManager* tableManager_ = nullptr;
  TiPlotXAxisManager* xAxisManager_ = nullptr;
  TiPlotYAxisManager* yAxisManager_ = nullptr;
  TiPlotChannelManager* channelManager_ = nullptr;
  TiPlotDataViewManager* dataViewManager_ = nullptr;
  TiPlotDataCursorManager* dataCursorManager_ = nullptr;
  TiPlotLimitManager* limitManager_ = nullptr;
  TiPlotLabelManager* labelManager_ = nullptr;
  TiPlotAnnotationManager* annotationManager_ = nullptr;
  TiPlotTranslationManager* translationManager_ = nullptr;
  TiPlotLayoutManager* layoutManager_ = nullptr;
  TiPlotObjectManager* allObjects_ = nullptr;

  TiPlotChannelClass channelClass_;
  bool xyAxesReverse_ = false;

  // Ownership, released in the destruction order of the chart.
  TiPlotPtr<TiPlotObjectManager> ownAllObjects_;
  TiPlotPtr<TiPlotToolBarManager> ownToolBars_;
  TiPlotPtr<TiPlotLegendManager> ownLegends_;
  TiPlotPtr<TiPlotTableManager> ownTables_;
  TiPlotPtr<TiPlotChannelManager> ownChannels_;
  TiPlotPtr<TiPlotDataCursorManager> ownDataCursors_;
  TiPlotPtr<TiPlotDataViewManager> ownDataViews_;
  TiPlotPtr<TiPlotXAxisManager> ownXAxes_;
  TiPlotPtr<TiPlotYAxisManager> ownYAxes_;
  TiPlotPtr<TiPlotLimitManager> ownLimits_;
  TiPlotPtr<TiPlotLabelManager> ownLabels_;
  TiPlotPtr<TiPlotAnnotationManager> ownAnnotations_;
  TiPlotPtr<TiPlotLayoutManager> ownLayout_;
  TiPlotPtr<TiPlotTranslationManager> ownTranslation_;
};
