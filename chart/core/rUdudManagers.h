#pragma once
// Collections of chart objects: the plain collection that only refers to its objects, the
// owning collection, the list of all objects of a chart, and one owning collection per kind with
// its base name and the defaults it gives to new objects.
#include <QString>
#include <type_traits>
#include <vector>

#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/rUdudObjects.h"
#include "chart/decorations/rUdudAnnotation.h"
#include "chart/decorations/rUdudDataCursor.h"
#include "chart/decorations/rUdudDataView.h"
#include "chart/decorations/rUdudLabel.h"
#include "chart/decorations/rUdudLegend.h"
#include "chart/decorations/rUdudLimit.h"
#include "chart/decorations/rUdudTable.h"
#include "chart/decorations/rUdudToolBar.h"

// A collection of chart objects in insertion order. It announces itself through its insert
// handler once made (MakeCollection) and through its remove handler when destroyed; it refers to
// its objects without owning them.
class TiPlotObjectManagerCustom : public TiPlotPersistent {
 public:
  // Refuses a missing owner or handler (creating nothing).
  TiPlotObjectManagerCustom(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  ~TiPlotObjectManagerCustom() override;

  // Tells the chart that the collection exists (its insert handler), then lets it finish
  // setting itself up. MakeCollection calls it once the collection is complete, so that the
  // handler sees its real class.
  void Announce();

  // --- Virtual operations, in slot order. ---
  // 0: a new, not yet announced item of the collection's class with its owner and handlers;
  // announce it with InsertObject.
  virtual TiPlotPtr<TiPlotObject> CreateItem();
  // 1
  virtual QString BaseName() const;
  // 2: hook after an object left the list.
  virtual void ItemRemoved(TiPlotObject* object);
  // (3 is the constructor)
  // 4: the object is being removed from the chart.
  virtual void Remove(TiPlotPersistent* item);
  // 5: an announced object of the collection's class joins it (and is named when unnamed).
  virtual void AddItem(TiPlotObject* object);
  // 6, 7
  virtual void BroadcastRenamed(TiPlotObject* object);
  virtual void BroadcastFocus(TiPlotObject* object);
  // 8: empties the collection (owning collections destroy their objects).
  virtual void Clear();
  // 9: takes the object at index out of the list without destroying it. An owning collection
  // hands its ownership to the caller, and the object leaves the whole chart first (every list,
  // every reference of other objects) and keeps no link into it: no callback, no owner. An index
  // outside the list changes nothing.
  virtual TiPlotPtr<TiPlotObject> DeleteIndex(int index);

  // --- List access. ---
  void Add(TiPlotObject* object);   // unless already listed
  int Count() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }
  // Raises "Index out of Bounds" outside 0 .. Count - 1.
  TiPlotObject* Items(int index) const;
  int IndexOf(const TiPlotPersistent* item) const;
  // The first object whose name equals `name` ignoring letter case.
  TiPlotObject* FindByName(const QString& name) const;
  int IndexOfName(const QString& name) const;
  // BaseName, a blank and one more than the largest number that follows the base name in the
  // names of the current objects.
  QString NewName() const;

  TiPlotOwner* Owner() const { return owner_; }
  // The handlers given to every object the collection makes.
  TiPlotHandlers Handlers() const { return {OnRename, OnRemove, OnInsert, OnChange}; }
  // A collection this one links to left the chart: the link is dropped.
  virtual void CollectionRemoved(TiPlotPersistent* collection);
  // The kind of object the collection holds; ipokNone for the collections that hold any.
  virtual TiPlotObjectKind ItemKind() const { return ipokNone; }

  TiPlotNotifyEvent OnChange;
  TiPlotNotifyEvent OnInsert;
  TiPlotNotifyEvent OnRemove;
  TiPlotNotifyEvent OnRename;

 protected:
  // Runs after the collection has announced itself.
  virtual void AfterAnnounce();
  // Whether the object is of the collection's item class.
  virtual bool AcceptsItem(TiPlotObject* object) const;
  // Whether an unnamed object receives NewName and the defaults when it joins.
  virtual bool NamesNewItems() const;
  virtual void ApplyDefaults(TiPlotObject* object);
  // Empties the collection, then tells the chart that it goes.
  void DoBeforeDestruction() override;
  // Takes the object out of the list without any notification (an owned object is destroyed
  // through its holder when it is not on its way out already).
  void Unlist(const TiPlotObject* object);
  // A copy of the list, for walks whose calls may change it.
  std::vector<TiPlotObject*> Snapshot() const;

  // One entry of the list: the object and, in an owning collection, its owning pointer (empty
  // for an object the collection only refers to).
  struct TEntry {
    TiPlotObject* Object = nullptr;
    TiPlotPtr<TiPlotObject> Holder;
  };
  // Lists the object with its holder (empty: only referred to) unless it is listed already.
  void Add(TiPlotObject* object, TiPlotPtr<TiPlotObject> holder);
  int IndexOfEntry(const TiPlotPersistent* item) const;
  TEntry& Entry(int index) { return items_[static_cast<size_t>(index)]; }
  const TEntry& Entry(int index) const { return items_[static_cast<size_t>(index)]; }
  // Takes entry `index` out of the list and hands back its holder.
  TiPlotPtr<TiPlotObject> TakeEntry(int index);

 private:
  TiPlotOwner* owner_;
  std::vector<TEntry> items_;
};

// A collection that owns its objects: it takes a new object while it announces itself and
// destroys its objects when emptied or destroyed.
class TiPlotObjectOwnedManager : public TiPlotObjectManagerCustom {
 public:
  TiPlotObjectOwnedManager(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  ~TiPlotObjectOwnedManager() override;

  void Remove(TiPlotPersistent* item) override;
  void AddItem(TiPlotObject* object) override;
  void Clear() override;
  TiPlotPtr<TiPlotObject> DeleteIndex(int index) override;

  // Destroys the object at index; its destruction removes it from the chart.
  void Delete(int index);
  // Destroys an object the collection owns; nothing for others.
  void DestroyItem(TiPlotObject* object);
  bool Owns(const TiPlotObject* object) const;

 private:
  // The object DeleteIndex lets go: its removal leaves its holder in taken_ instead of
  // destroying it.
  TiPlotObject* leaving_ = nullptr;
  TiPlotPtr<TiPlotObject> taken_;
};

// Makes a collection and announces it.
template <class T>
TiPlotPtr<T> MakeCollection(TiPlotOwner* owner, const TiPlotHandlers& handlers) {
  TiPlotPtr<T> collection(new T(owner, handlers));
  collection->Announce();
  return collection;
}

// Announces a new object (its NotifyInsert) and hands it to the collection that takes it.
// Returns false, with the object destroyed, when no collection took it.
bool InsertObject(TiPlotPtr<TiPlotObject> object);

// The list of all objects of a chart, in order of registration.
class TiPlotObjectManager : public TiPlotObjectManagerCustom {
 public:
  TiPlotObjectManager(TiPlotOwner* owner, const TiPlotHandlers& handlers);

  TiPlotPtr<TiPlotObject> CreateItem() override;   // refused
  QString BaseName() const override;

  void DeselectAll();
  void SetShiftStateAll(TShiftState shift);
  // Forwarded to every object that holds the focus, in list order.
  void MouseDown(const TiPlotMouseParams& params);
  void MouseMove(const TiPlotMouseParams& params);
  void MouseUp(const TiPlotMouseParams& params);
  void DoKeyDown(int& key, TShiftState shift, TPopupMenu* menu);
  // True when any focused object handled the wheel; every focused object is called.
  bool MouseWheel(int wheelDelta, TShiftState shift, TPoint point);
  // Cuts every object off the chart (its remove, layout-change and change callbacks), for the
  // chart's own destruction.
  void DetachAll();

 private:
  template <class F>
  void ForEachFocused(F f);
};

// An owning collection of one kind of object.
template <class Item, TiPlotObjectKind Kind>
class TiPlotKindManager : public TiPlotObjectOwnedManager {
 public:
  using TiPlotObjectOwnedManager::TiPlotObjectOwnedManager;
  TiPlotObjectKind ItemKind() const override { return Kind; }
  TiPlotPtr<TiPlotObject> CreateItem() override {
    if constexpr (std::is_abstract_v<Item>)
      return {};
    else
      return TiPlotPtr<TiPlotObject>(new Item(Owner(), Handlers()));
  }
  Item* Items(int index) const { return static_cast<Item*>(TiPlotObjectOwnedManager::Items(index)); }

 protected:
  bool AcceptsItem(TiPlotObject* object) const override { return dynamic_cast<Item*>(object) != nullptr; }
  bool NamesNewItems() const override { return true; }
};

class TiPlotToolBarManager : public TiPlotKindManager<TiPlotToolBar, ipokToolBar> {
 public:
  using TiPlotKindManager::TiPlotKindManager;
  QString BaseName() const override;
};

class TiPlotLegendManager : public TiPlotKindManager<TiPlotLegend, ipokLegend> {
 public:
  using TiPlotKindManager::TiPlotKindManager;
  QString BaseName() const override;
};

class TiPlotTableManager : public TiPlotKindManager<TiPlotTable, ipokTable> {
 public:
  using TiPlotKindManager::TiPlotKindManager;
  QString BaseName() const override;
};

class TiPlotXAxisManager : public TiPlotKindManager<TiPlotXAxis, ipokXAxis> {
 public:
  using TiPlotKindManager::TiPlotKindManager;
  QString BaseName() const override;
  // How new X axes follow their data (the time chart's scroll; the axes' own default otherwise).
  TiPlotTrackingStyle NewAxisTrackingStyle() const { return newAxisTrackingStyle_; }
  void SetNewAxisTrackingStyle(TiPlotTrackingStyle value) { newAxisTrackingStyle_ = value; }

 protected:
  void ApplyDefaults(TiPlotObject* object) override;

 private:
  TiPlotTrackingStyle newAxisTrackingStyle_ = iptsScaleMinMax;
};

class TiPlotYAxisManager : public TiPlotKindManager<TiPlotYAxis, ipokYAxis> {
 public:
  using TiPlotKindManager::TiPlotKindManager;
  QString BaseName() const override;

 protected:
  void ApplyDefaults(TiPlotObject* object) override;
};

// A collection whose new items take the first X and Y axes' names: it keeps links to both axis
// collections and drops a link when that collection goes.
template <class Item, TiPlotObjectKind Kind>
class TiPlotAxisLinkedManager : public TiPlotKindManager<Item, Kind> {
 public:
  using TiPlotKindManager<Item, Kind>::TiPlotKindManager;
  void CollectionRemoved(TiPlotPersistent* collection) override {
    if (xAxisManager_ && static_cast<TiPlotPersistent*>(xAxisManager_) == collection) xAxisManager_ = nullptr;
    if (yAxisManager_ && static_cast<TiPlotPersistent*>(yAxisManager_) == collection) yAxisManager_ = nullptr;
  }
  void SetXAxisManager(TiPlotXAxisManager* value) { xAxisManager_ = value; }
  void SetYAxisManager(TiPlotYAxisManager* value) { yAxisManager_ = value; }
  TiPlotXAxisManager* XAxisManager() const { return xAxisManager_; }
  TiPlotYAxisManager* YAxisManager() const { return yAxisManager_; }

 protected:
  // The first axis of each kind, or nullptr when there is none.
  TiPlotXAxis* FirstXAxis() const { return xAxisManager_ && !xAxisManager_->IsEmpty() ? xAxisManager_->Items(0) : nullptr; }
  TiPlotYAxis* FirstYAxis() const { return yAxisManager_ && !yAxisManager_->IsEmpty() ? yAxisManager_->Items(0) : nullptr; }

 private:
  TiPlotXAxisManager* xAxisManager_ = nullptr;
  TiPlotYAxisManager* yAxisManager_ = nullptr;
};

// Channels of the chart's channel class; channels of the other chart's class are kept as well,
// so that no announced channel is left without an owner.
class TiPlotChannelManager : public TiPlotAxisLinkedManager<TiPlotChannelCustom, ipokChannel> {
 public:
  TiPlotChannelManager(TiPlotOwner* owner, const TiPlotHandlers& handlers);
  TiPlotPtr<TiPlotObject> CreateItem() override;
  QString BaseName() const override;

  TiPlotChannelClass ChannelClass() const { return channelClass_; }
  void SetChannelClass(TiPlotChannelClass value);

  // The colour for a new channel, which is already listed with its initial red.
  TColor NextChannelColor() const;

 protected:
  void ApplyDefaults(TiPlotObject* object) override;

 private:
  TiPlotChannelClass channelClass_;
};

class TiPlotDataViewManager : public TiPlotAxisLinkedManager<TiPlotDataView, ipokDataView> {
 public:
  using TiPlotAxisLinkedManager::TiPlotAxisLinkedManager;
  QString BaseName() const override;

 protected:
  void ApplyDefaults(TiPlotObject* object) override;
};

class TiPlotDataCursorManager : public TiPlotKindManager<TiPlotDataCursor, ipokDataCursor> {
 public:
  using TiPlotKindManager::TiPlotKindManager;
  QString BaseName() const override;
  void CollectionRemoved(TiPlotPersistent* collection) override;
  void SetChannelManager(TiPlotChannelManager* value) { channelManager_ = value; }
  void SetDataViewManager(TiPlotDataViewManager* value) { dataViewManager_ = value; }
  TiPlotChannelManager* ChannelManager() const { return channelManager_; }
  TiPlotDataViewManager* DataViewManager() const { return dataViewManager_; }

 protected:
  void ApplyDefaults(TiPlotObject* object) override;

 private:
  TiPlotChannelManager* channelManager_ = nullptr;
  TiPlotDataViewManager* dataViewManager_ = nullptr;
};

class TiPlotLimitManager : public TiPlotAxisLinkedManager<TiPlotLimit, ipokLimit> {
 public:
  using TiPlotAxisLinkedManager::TiPlotAxisLinkedManager;
  QString BaseName() const override;

 protected:
  void ApplyDefaults(TiPlotObject* object) override;
};

class TiPlotLabelManager : public TiPlotKindManager<TiPlotLabel, ipokLabel> {
 public:
  using TiPlotKindManager::TiPlotKindManager;
  QString BaseName() const override;

 protected:
  void ApplyDefaults(TiPlotObject* object) override;
};

// Annotations are added without a name.
class TiPlotAnnotationManager : public TiPlotKindManager<TiPlotAnnotation, ipokAnnotation> {
 public:
  using TiPlotKindManager::TiPlotKindManager;
  QString BaseName() const override;

 protected:
  bool NamesNewItems() const override { return false; }
};
