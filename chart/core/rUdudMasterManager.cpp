#include "chart/core/rUdudMasterManager.h"

#include <algorithm>

#include "chart/channels/iXYPlotChannel.h"

namespace {
template <class M>
TiPlotPtr<TiPlotObjectOwnedManager> MakeKindCollection(TiPlotOwner* owner, const TiPlotHandlers& handlers) {
  return MakeCollection<M>(owner, handlers);
}
}  // namespace

const std::array<TiPlotKindInfo, kPlotObjectKindCount>& PlotObjectKinds() {
  // Ranks: making the collections, destroying them, passing the chart-wide flags.
  static const std::array<TiPlotKindInfo, kPlotObjectKindCount> kinds = {{
      {ipokToolBar, &MakeKindCollection<TiPlotToolBarManager>, 0, 0, 4},
      {ipokLegend, &MakeKindCollection<TiPlotLegendManager>, 1, 1, 5},
      {ipokTable, &MakeKindCollection<TiPlotTableManager>, 2, 2, 6},
      {ipokXAxis, &MakeKindCollection<TiPlotXAxisManager>, 6, 4, 1},
      {ipokYAxis, &MakeKindCollection<TiPlotYAxisManager>, 7, 5, 2},
      {ipokChannel, &MakeKindCollection<TiPlotChannelManager>, 3, 3, 0},
      {ipokDataView, &MakeKindCollection<TiPlotDataViewManager>, 5, 6, 3},
      {ipokDataCursor, &MakeKindCollection<TiPlotDataCursorManager>, 4, 7, 7},
      {ipokLimit, &MakeKindCollection<TiPlotLimitManager>, 8, 8, 8},
      {ipokLabel, &MakeKindCollection<TiPlotLabelManager>, 9, 9, 9},
      {ipokAnnotation, &MakeKindCollection<TiPlotAnnotationManager>, 10, 10, 10},
  }};
  return kinds;
}

std::array<TiPlotObjectKind, kPlotObjectKindCount> PlotObjectKindsBy(int TiPlotKindInfo::*rank) {
  std::array<TiPlotObjectKind, kPlotObjectKindCount> order{};
  for (const TiPlotKindInfo& info : PlotObjectKinds()) order[static_cast<size_t>(info.*rank)] = info.Kind;
  return order;
}

TiPlotMasterManager::TiPlotMasterManager(TiPlotOwner* owner)
    : owner_(owner), channelClass_(&CreateChannelOf<TiXYPlotChannel>) {
  handlers_.OnRename = [this](TiPlotPersistent* item) { HandleRename(item); };
  handlers_.OnRemove = [this](TiPlotPersistent* item) { HandleRemove(item); };
  handlers_.OnInsert = [this](TiPlotPersistent* item) { HandleInsert(item); };
  handlers_.OnChange = TiPlotNotifyEvent([this](TiPlotPersistent* item) { HandleChange(item); }, this);
  try {
    ownAllObjects_ = MakeCollection<TiPlotObjectManager>(owner_, handlers_);
    for (TiPlotObjectKind kind : PlotObjectKindsBy(&TiPlotKindInfo::CreationRank))
      ownCollections_[static_cast<size_t>(kind)] = PlotObjectKinds()[static_cast<size_t>(kind)].MakeCollection(owner_, handlers_);
    ownLayout_ = MakeCollection<TiPlotLayoutManager>(owner_, handlers_);
    ownTranslation_ = TiPlotTranslationManager::Make(handlers_.OnRemove, handlers_.OnInsert);

    // The links that give new objects their defaults.
    ChannelManager()->SetXAxisManager(XAxisManager());
    ChannelManager()->SetYAxisManager(YAxisManager());
    DataViewManager()->SetXAxisManager(XAxisManager());
    DataViewManager()->SetYAxisManager(YAxisManager());
    DataCursorManager()->SetChannelManager(ChannelManager());
    DataCursorManager()->SetDataViewManager(DataViewManager());
    LimitManager()->SetXAxisManager(XAxisManager());
    LimitManager()->SetYAxisManager(YAxisManager());
    ChannelManager()->SetChannelClass(channelClass_);

    SetUserCanEditObjects(true);
  } catch (...) {
    DestroyAll();
    throw;
  }
}

TiPlotMasterManager::~TiPlotMasterManager() { DestroyAll(); }

void TiPlotMasterManager::DestroyAll() {
  // Each collection destroys its objects first; every object then leaves the collections still
  // present, and the collection's own removal empties its slot.
  for (TiPlotObjectKind kind : PlotObjectKindsBy(&TiPlotKindInfo::DestructionRank)) ownCollections_[static_cast<size_t>(kind)].reset();
  ownTranslation_.reset();
  ownAllObjects_.reset();
  ownLayout_.reset();
}

TiPlotObjectOwnedManager* TiPlotMasterManager::Collection(TiPlotObjectKind kind) const {
  if (kind < 0 || kind >= kPlotObjectKindCount) return nullptr;
  return collections_[static_cast<size_t>(kind)];
}

template <class F>
void TiPlotMasterManager::ForEachFlaggedObject(F f) const {
  for (TiPlotObjectKind kind : PlotObjectKindsBy(&TiPlotKindInfo::FlagRank))
    if (TiPlotObjectOwnedManager* c = Collection(kind))
      for (int i = 0; i < c->Count(); ++i) f(c->Items(i));
}

std::vector<TiPlotObjectManagerCustom*> TiPlotMasterManager::BroadcastCollections() const {
  std::vector<TiPlotObjectManagerCustom*> list;
  for (TiPlotObjectManagerCustom* c : collections_)
    if (c) list.push_back(c);
  if (layoutManager_) list.push_back(layoutManager_);
  return list;
}

void TiPlotMasterManager::HandleInsert(TiPlotPersistent* item) {
  if (auto* object = dynamic_cast<TiPlotObject*>(item)) {
    if (allObjects_) allObjects_->AddItem(object);
    if (layoutManager_) layoutManager_->AddItem(object);
    // The collection of its kind takes it (and names it when it has no name).
    for (TiPlotObjectOwnedManager* c : collections_) {
      if (!c) continue;
      c->AddItem(object);
      if (c->IndexOf(object) >= 0) break;
    }
    object->OnGotFocus = [this](TiPlotObject* o) { HandleGotFocus(o); };
    object->OnFocusChange = [this](TiPlotObject*) {
      if (OnRepaintNow) OnRepaintNow(this);
    };
    object->SetUserCanEdit(userCanEditObjects_);
    object->OnEdit = [this](TiPlotObject* o) {
      if (OnEditObject) OnEditObject(o);
    };
    object->SetXYAxesReverse(xyAxesReverse_);
  } else if (auto* entry = dynamic_cast<TiPlotTranslationObject*>(item)) {
    if (translationManager_) translationManager_->Add(entry);
  } else if (auto* table = dynamic_cast<TiPlotTranslationManager*>(item)) {
    translationManager_ = table;
  } else if (auto* collection = dynamic_cast<TiPlotObjectManagerCustom*>(item)) {
    const TiPlotObjectKind kind = collection->ItemKind();
    if (kind != ipokNone)
      collections_[static_cast<size_t>(kind)] = static_cast<TiPlotObjectOwnedManager*>(collection);
    else if (auto* layout = dynamic_cast<TiPlotLayoutManager*>(collection))
      layoutManager_ = layout;
    else if (auto* all = dynamic_cast<TiPlotObjectManager*>(collection))
      allObjects_ = all;
  }
  if (OnObjectInserted) OnObjectInserted(item);
}

void TiPlotMasterManager::HandleRemove(TiPlotPersistent* item) {
  if (OnObjectRemoved) OnObjectRemoved(item);
  if (auto* entry = dynamic_cast<TiPlotTranslationObject*>(item)) {
    if (translationManager_) translationManager_->Remove(entry);
    return;
  }
  if (dynamic_cast<TiPlotObject*>(item)) {
    if (allObjects_) allObjects_->Remove(item);
    if (layoutManager_) layoutManager_->Remove(item);
    for (TiPlotObjectOwnedManager* c : collections_)
      if (c) c->Remove(item);
    return;
  }
  bool wasCollection = false;
  auto clear = [&](auto*& slot, auto& owner) {
    if (!slot || static_cast<TiPlotPersistent*>(slot) != item) return;
    slot = nullptr;
    wasCollection = true;
    // Destroyed by someone else (a plain delete): the master manager must not destroy it again.
    if (owner && static_cast<TiPlotPersistent*>(owner.get()) == item) (void)owner.release();
  };
  clear(allObjects_, ownAllObjects_);
  clear(layoutManager_, ownLayout_);
  clear(translationManager_, ownTranslation_);
  for (size_t k = 0; k < collections_.size(); ++k) clear(collections_[k], ownCollections_[k]);
  if (!wasCollection) return;
  // Collections that link to the one that went forget it.
  for (TiPlotObjectManagerCustom* c : BroadcastCollections()) c->CollectionRemoved(item);
}

void TiPlotMasterManager::HandleRename(TiPlotPersistent* item) {
  auto* object = dynamic_cast<TiPlotObject*>(item);
  if (!object) return;
  for (TiPlotObjectManagerCustom* c : BroadcastCollections()) c->BroadcastRenamed(object);
}

void TiPlotMasterManager::HandleChange(TiPlotPersistent*) {
  if (OnChanged) OnChanged(this);
}

void TiPlotMasterManager::HandleGotFocus(TiPlotObject* object) {
  for (TiPlotObjectManagerCustom* c : BroadcastCollections()) c->BroadcastFocus(object);
}

int TiPlotMasterManager::Add(TiPlotObjectKind kind) {
  TiPlotObjectOwnedManager* collection = Collection(kind);
  if (!collection) return -1;
  InsertObject(collection->CreateItem());
  // The announcement may have taken the collection away.
  collection = Collection(kind);
  return collection ? collection->Count() - 1 : -1;
}

void TiPlotMasterManager::SetUserCanEditObjects(bool value) {
  userCanEditObjects_ = value;
  ForEachFlaggedObject([value](TiPlotObject* o) { o->SetUserCanEdit(value); });
}

void TiPlotMasterManager::SetXYAxesReverse(bool value) {
  xyAxesReverse_ = value;
  if (layoutManager_) layoutManager_->SetXYAxesReverse(value);
  ForEachFlaggedObject([value](TiPlotObject* o) { o->SetXYAxesReverse(value); });
  if (OnRepaintNow) OnRepaintNow(this);
}

void TiPlotMasterManager::SetToolBarsVisible(bool value) {
  if (TiPlotToolBarManager* toolBars = ToolBarManager())
    for (int i = 0; i < toolBars->Count(); ++i) toolBars->Items(i)->SetVisible(value);
}

void TiPlotMasterManager::ResetAll() {
  if (TiPlotChannelManager* channels = ChannelManager())
    for (int i = 0; i < channels->Count(); ++i) channels->Items(i)->Clear();
  if (TiPlotXAxisManager* xAxes = XAxisManager())
    for (int i = 0; i < xAxes->Count(); ++i) xAxes->Items(i)->ResetTracking();
  if (TiPlotYAxisManager* yAxes = YAxisManager())
    for (int i = 0; i < yAxes->Count(); ++i) yAxes->Items(i)->ResetTracking();
}

void TiPlotMasterManager::DeselectAll() {
  if (allObjects_) allObjects_->DeselectAll();
}

void TiPlotMasterManager::SetChannelClass(TiPlotChannelClass value) {
  if (!value) throw EiError(QStringLiteral("Channel class must be assigned"));
  channelClass_ = value;
  if (TiPlotChannelManager* channels = ChannelManager()) channels->SetChannelClass(value);
}

void TiPlotMasterManager::TranslateForm(QWidget* window) const {
  if (translationManager_) translationManager_->TranslateForm(window);
}
