#include "chart/core/rUdudMasterManager.h"

#include "chart/channels/iXYPlotChannel.h"

TiPlotMasterManager::TiPlotMasterManager(TiPlotOwner* owner)
    : owner_(owner), channelClass_(&CreateChannelOf<TiXYPlotChannel>) {
  handlers_.OnRename = [this](TiPlotPersistent* item) { HandleRename(item); };
  handlers_.OnRemove = [this](TiPlotPersistent* item) { HandleRemove(item); };
  handlers_.OnInsert = [this](TiPlotPersistent* item) { HandleInsert(item); };
  handlers_.OnChange = [this](TiPlotPersistent* item) { HandleChange(item); };
  try {
    ownAllObjects_ = MakeCollection<TiPlotObjectManager>(owner_, handlers_);
    ownToolBars_ = MakeCollection<TiPlotToolBarManager>(owner_, handlers_);
    ownLegends_ = MakeCollection<TiPlotLegendManager>(owner_, handlers_);
    ownTables_ = MakeCollection<TiPlotTableManager>(owner_, handlers_);
    ownChannels_ = MakeCollection<TiPlotChannelManager>(owner_, handlers_);
    ownDataCursors_ = MakeCollection<TiPlotDataCursorManager>(owner_, handlers_);
    ownDataViews_ = MakeCollection<TiPlotDataViewManager>(owner_, handlers_);
    ownXAxes_ = MakeCollection<TiPlotXAxisManager>(owner_, handlers_);
    ownYAxes_ = MakeCollection<TiPlotYAxisManager>(owner_, handlers_);
    ownLimits_ = MakeCollection<TiPlotLimitManager>(owner_, handlers_);
    ownLabels_ = MakeCollection<TiPlotLabelManager>(owner_, handlers_);
    ownAnnotations_ = MakeCollection<TiPlotAnnotationManager>(owner_, handlers_);
    ownLayout_ = MakeCollection<TiPlotLayoutManager>(owner_, handlers_);
    ownTranslation_ = TiPlotTranslationManager::Make(handlers_.OnRemove, handlers_.OnInsert);

    // The links that give new objects their defaults.
    channelManager_->SetXAxisManager(xAxisManager_);
    channelManager_->SetYAxisManager(yAxisManager_);
    dataViewManager_->SetXAxisManager(xAxisManager_);
    dataViewManager_->SetYAxisManager(yAxisManager_);
    dataCursorManager_->SetChannelManager(channelManager_);
    dataCursorManager_->SetDataViewManager(dataViewManager_);
    limitManager_->SetXAxisManager(xAxisManager_);
    limitManager_->SetYAxisManager(yAxisManager_);
    channelManager_->SetChannelClass(channelClass_);

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
  ownToolBars_.reset();
  ownLegends_.reset();
  ownTables_.reset();
  ownChannels_.reset();
  ownXAxes_.reset();
  ownYAxes_.reset();
  ownDataViews_.reset();
  ownDataCursors_.reset();
  ownLimits_.reset();
  ownLabels_.reset();
  ownAnnotations_.reset();
  ownTranslation_.reset();
  ownAllObjects_.reset();
  ownLayout_.reset();
}

std::vector<TiPlotObjectManagerCustom*> TiPlotMasterManager::FlagCollections() const {
  std::vector<TiPlotObjectManagerCustom*> list;
  for (TiPlotObjectManagerCustom* c : std::initializer_list<TiPlotObjectManagerCustom*>{
           channelManager_, xAxisManager_, yAxisManager_, dataViewManager_, toolBarManager_, legendManager_,
           tableManager_, dataCursorManager_, limitManager_, labelManager_, annotationManager_})
    if (c) list.push_back(c);
  return list;
}

std::vector<TiPlotObjectManagerCustom*> TiPlotMasterManager::BroadcastCollections() const {
  std::vector<TiPlotObjectManagerCustom*> list;
  for (TiPlotObjectManagerCustom* c : std::initializer_list<TiPlotObjectManagerCustom*>{
           toolBarManager_, legendManager_, tableManager_, xAxisManager_, yAxisManager_, channelManager_,
           dataViewManager_, dataCursorManager_, limitManager_, labelManager_, annotationManager_, layoutManager_})
    if (c) list.push_back(c);
  return list;
}

void TiPlotMasterManager::HandleInsert(TiPlotPersistent* item) {
  if (auto* object = dynamic_cast<TiPlotObject*>(item)) {
    if (allObjects_) allObjects_->AddItem(object);
    if (layoutManager_ && dynamic_cast<TiPlotLayoutObject*>(object)) layoutManager_->AddItem(object);
    // The collection of its kind takes it (and names it when it has no name).
    for (TiPlotObjectManagerCustom* c : std::initializer_list<TiPlotObjectManagerCustom*>{
             toolBarManager_, legendManager_, tableManager_, xAxisManager_, yAxisManager_, channelManager_,
             dataViewManager_, dataCursorManager_, limitManager_, labelManager_, annotationManager_}) {
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
  } else if (auto* c = dynamic_cast<TiPlotObjectManager*>(item)) {
    allObjects_ = c;
  } else if (auto* c = dynamic_cast<TiPlotToolBarManager*>(item)) {
    toolBarManager_ = c;
  } else if (auto* c = dynamic_cast<TiPlotLegendManager*>(item)) {
    legendManager_ = c;
  } else if (auto* c = dynamic_cast<TiPlotTableManager*>(item)) {
    tableManager_ = c;
  } else if (auto* c = dynamic_cast<TiPlotXAxisManager*>(item)) {
    xAxisManager_ = c;
  } else if (auto* c = dynamic_cast<TiPlotYAxisManager*>(item)) {
    yAxisManager_ = c;
  } else if (auto* c = dynamic_cast<TiPlotChannelManager*>(item)) {
    channelManager_ = c;
  } else if (auto* c = dynamic_cast<TiPlotDataViewManager*>(item)) {
    dataViewManager_ = c;
  } else if (auto* c = dynamic_cast<TiPlotDataCursorManager*>(item)) {
    dataCursorManager_ = c;
  } else if (auto* c = dynamic_cast<TiPlotLimitManager*>(item)) {
    limitManager_ = c;
  } else if (auto* c = dynamic_cast<TiPlotLabelManager*>(item)) {
    labelManager_ = c;
  } else if (auto* c = dynamic_cast<TiPlotAnnotationManager*>(item)) {
    annotationManager_ = c;
  } else if (auto* c = dynamic_cast<TiPlotLayoutManager*>(item)) {
    layoutManager_ = c;
  } else if (auto* c = dynamic_cast<TiPlotTranslationManager*>(item)) {
    translationManager_ = c;
  }
  if (OnObjectInserted) OnObjectInserted(item);
}

namespace {
template <class T>
bool ClearSlot(T*& slot, TiPlotPersistent* item) {
  if (!slot || static_cast<TiPlotPersistent*>(slot) != item) return false;
  slot = nullptr;
  return true;
}
}  // namespace

void TiPlotMasterManager::HandleRemove(TiPlotPersistent* item) {
  if (OnObjectRemoved) OnObjectRemoved(item);
  if (auto* entry = dynamic_cast<TiPlotTranslationObject*>(item)) {
    if (translationManager_) translationManager_->Remove(entry);
    return;
  }
  if (dynamic_cast<TiPlotObject*>(item)) {
    for (TiPlotObjectManagerCustom* c : std::initializer_list<TiPlotObjectManagerCustom*>{
             allObjects_, layoutManager_, toolBarManager_, legendManager_, tableManager_, xAxisManager_, yAxisManager_,
             channelManager_, dataViewManager_, dataCursorManager_, limitManager_, labelManager_, annotationManager_})
      if (c) c->Remove(item);
    return;
  }
  const bool wasCollection = ClearSlot(allObjects_, item) || ClearSlot(toolBarManager_, item) ||
                             ClearSlot(legendManager_, item) || ClearSlot(tableManager_, item) ||
                             ClearSlot(xAxisManager_, item) || ClearSlot(yAxisManager_, item) ||
                             ClearSlot(channelManager_, item) || ClearSlot(dataViewManager_, item) ||
                             ClearSlot(dataCursorManager_, item) || ClearSlot(limitManager_, item) ||
                             ClearSlot(labelManager_, item) || ClearSlot(annotationManager_, item) ||
                             ClearSlot(layoutManager_, item) || ClearSlot(translationManager_, item);
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

int TiPlotMasterManager::AddChannel() {
  InsertObject(channelClass_(owner_, handlers_));
  return channelManager_ ? channelManager_->Count() - 1 : -1;
}

int TiPlotMasterManager::AddDataView() {
  InsertObject(TiPlotPtr<TiPlotObject>(new TiPlotDataView(owner_, handlers_)));
  return dataViewManager_ ? dataViewManager_->Count() - 1 : -1;
}

int TiPlotMasterManager::AddDataCursor() {
  InsertObject(TiPlotPtr<TiPlotObject>(new TiPlotDataCursor(owner_, handlers_)));
  return dataCursorManager_ ? dataCursorManager_->Count() - 1 : -1;
}

int TiPlotMasterManager::AddLimit() {
  InsertObject(TiPlotPtr<TiPlotObject>(new TiPlotLimit(owner_, handlers_)));
  return limitManager_ ? limitManager_->Count() - 1 : -1;
}

int TiPlotMasterManager::AddLabel() {
  InsertObject(TiPlotPtr<TiPlotObject>(new TiPlotLabel(owner_, handlers_)));
  return labelManager_ ? labelManager_->Count() - 1 : -1;
}

int TiPlotMasterManager::AddAnnotation() {
  InsertObject(TiPlotPtr<TiPlotObject>(new TiPlotAnnotation(owner_, handlers_)));
  return annotationManager_ ? annotationManager_->Count() - 1 : -1;
}

int TiPlotMasterManager::AddLegend() {
  InsertObject(TiPlotPtr<TiPlotObject>(new TiPlotLegend(owner_, handlers_)));
  return legendManager_ ? legendManager_->Count() - 1 : -1;
}

int TiPlotMasterManager::AddTable() {
  InsertObject(TiPlotPtr<TiPlotObject>(new TiPlotTable(owner_, handlers_)));
  return tableManager_ ? tableManager_->Count() - 1 : -1;
}

int TiPlotMasterManager::AddToolBar() {
  InsertObject(TiPlotPtr<TiPlotObject>(new TiPlotToolBar(owner_, handlers_)));
  return toolBarManager_ ? toolBarManager_->Count() - 1 : -1;
}

int TiPlotMasterManager::AddXAxis() {
  InsertObject(TiPlotPtr<TiPlotObject>(new TiPlotXAxis(owner_, handlers_)));
  return xAxisManager_ ? xAxisManager_->Count() - 1 : -1;
}

int TiPlotMasterManager::AddYAxis() {
  InsertObject(TiPlotPtr<TiPlotObject>(new TiPlotYAxis(owner_, handlers_)));
  return yAxisManager_ ? yAxisManager_->Count() - 1 : -1;
}

void TiPlotMasterManager::SetUserCanEditObjects(bool value) {
  userCanEditObjects_ = value;
  for (TiPlotObjectManagerCustom* c : FlagCollections())
    for (int i = 0; i < c->Count(); ++i) c->Items(i)->SetUserCanEdit(value);
}

void TiPlotMasterManager::SetXYAxesReverse(bool value) {
  xyAxesReverse_ = value;
  if (layoutManager_) layoutManager_->SetXYAxesReverse(value);
  for (TiPlotObjectManagerCustom* c : FlagCollections())
    for (int i = 0; i < c->Count(); ++i) c->Items(i)->SetXYAxesReverse(value);
  if (OnRepaintNow) OnRepaintNow(this);
}

void TiPlotMasterManager::SetToolBarsVisible(bool value) {
  if (!toolBarManager_) return;
  for (int i = 0; i < toolBarManager_->Count(); ++i) toolBarManager_->Items(i)->SetVisible(value);
}

void TiPlotMasterManager::ResetAll() {
  if (channelManager_)
    for (int i = 0; i < channelManager_->Count(); ++i) channelManager_->Items(i)->Clear();
  if (xAxisManager_)
    for (int i = 0; i < xAxisManager_->Count(); ++i) xAxisManager_->Items(i)->ResetTracking();
  if (yAxisManager_)
    for (int i = 0; i < yAxisManager_->Count(); ++i) yAxisManager_->Items(i)->ResetTracking();
}

void TiPlotMasterManager::DeselectAll() {
  if (allObjects_) allObjects_->DeselectAll();
}

void TiPlotMasterManager::SetChannelClass(TiPlotChannelClass value) {
  if (!value) throw EiError(QStringLiteral("Channel class must be assigned"));
  channelClass_ = value;
  if (channelManager_) channelManager_->SetChannelClass(value);
}

void TiPlotMasterManager::TranslateForm(QWidget* window) const {
  if (translationManager_) translationManager_->TranslateForm(window);
}
