#include "chart/core/rUdudManagers.h"

#include <algorithm>
#include <array>

#include "chart/channels/iXYPlotChannel.h"
#include "platform/Convert.h"

// ---------------------------------------------------------------------------------------------
// TiPlotObjectManagerCustom

TiPlotObjectManagerCustom::TiPlotObjectManagerCustom(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : OnChange(handlers.OnChange),
      OnInsert(handlers.OnInsert),
      OnRemove(handlers.OnRemove),
      OnRename(handlers.OnRename),
      owner_(owner) {
  CheckOwnerAndHandlers(owner, handlers, QStringLiteral("Owner must be Assigned"));
}

TiPlotObjectManagerCustom::~TiPlotObjectManagerCustom() { BeforeDestructionInDestructor(); }

void TiPlotObjectManagerCustom::Announce() {
  if (OnInsert) OnInsert(this);
  AfterAnnounce();
}

void TiPlotObjectManagerCustom::AfterAnnounce() {}

void TiPlotObjectManagerCustom::DoBeforeDestruction() {
  Clear();
  if (OnRemove) OnRemove(this);
}

TiPlotPtr<TiPlotObject> TiPlotObjectManagerCustom::CreateItem() {
  throw EiError(QStringLiteral("Object Manager does not support creation of objects"));
}

QString TiPlotObjectManagerCustom::BaseName() const { return QStringLiteral("n/a"); }

void TiPlotObjectManagerCustom::ItemRemoved(TiPlotObject*) {}

void TiPlotObjectManagerCustom::Remove(TiPlotPersistent* item) {
  const int index = IndexOfEntry(item);
  if (index < 0) return;
  TiPlotObject* object = items_[static_cast<size_t>(index)].Object;
  // Only referred to here: an owning collection lets go of its objects in its own Remove.
  (void)TakeEntry(index).release();
  ItemRemoved(object);
  if (OnChange) OnChange(this);
}

void TiPlotObjectManagerCustom::AddItem(TiPlotObject* object) {
  if (!object || !AcceptsItem(object)) return;
  Add(object);
  if (ItemKind() != ipokNone && IndexOf(object) >= 0) object->SetKind(ItemKind());
  if (NamesNewItems() && object->Name().isEmpty()) {
    object->SetName(NewName());
    ApplyDefaults(object);
  }
}

void TiPlotObjectManagerCustom::BroadcastRenamed(TiPlotObject* object) {
  for (TiPlotObject* item : Snapshot())
    if (IndexOf(item) >= 0) item->NotifyRenamed(object);
}

void TiPlotObjectManagerCustom::BroadcastFocus(TiPlotObject* object) {
  for (TiPlotObject* item : Snapshot())
    if (IndexOf(item) >= 0) item->NotifyFocus(object);
}

void TiPlotObjectManagerCustom::Clear() {}

TiPlotPtr<TiPlotObject> TiPlotObjectManagerCustom::DeleteIndex(int index) {
  if (index < 0 || index >= Count()) return {};
  // A collection that only refers to its objects has nothing to hand over.
  (void)TakeEntry(index).release();
  return {};
}

void TiPlotObjectManagerCustom::Add(TiPlotObject* object) { Add(object, {}); }

void TiPlotObjectManagerCustom::Add(TiPlotObject* object, TiPlotPtr<TiPlotObject> holder) {
  if (!object || IndexOf(object) >= 0) {
    (void)holder.release();   // never the collection's to destroy
    return;
  }
  items_.push_back({object, std::move(holder)});
}

TiPlotObject* TiPlotObjectManagerCustom::Items(int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)].Object;
}

int TiPlotObjectManagerCustom::IndexOf(const TiPlotPersistent* item) const {
  for (int i = 0; i < Count(); ++i)
    if (static_cast<const TiPlotPersistent*>(items_[static_cast<size_t>(i)].Object) == item) return i;
  return -1;
}

int TiPlotObjectManagerCustom::IndexOfEntry(const TiPlotPersistent* item) const {
  // From the last to the first, as removals search.
  for (int i = Count() - 1; i >= 0; --i)
    if (static_cast<const TiPlotPersistent*>(items_[static_cast<size_t>(i)].Object) == item) return i;
  return -1;
}

TiPlotPtr<TiPlotObject> TiPlotObjectManagerCustom::TakeEntry(int index) {
  TiPlotPtr<TiPlotObject> holder = std::move(items_[static_cast<size_t>(index)].Holder);
  items_.erase(items_.begin() + index);
  return holder;
}

std::vector<TiPlotObject*> TiPlotObjectManagerCustom::Snapshot() const {
  std::vector<TiPlotObject*> list;
  list.reserve(items_.size());
  for (const TEntry& e : items_) list.push_back(e.Object);
  return list;
}

TiPlotObject* TiPlotObjectManagerCustom::FindByName(const QString& name) const {
  const int index = IndexOfName(name);
  return index < 0 ? nullptr : items_[static_cast<size_t>(index)].Object;
}

int TiPlotObjectManagerCustom::IndexOfName(const QString& name) const {
  for (int i = 0; i < Count(); ++i)
    if (QString::compare(items_[static_cast<size_t>(i)].Object->Name(), name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

QString TiPlotObjectManagerCustom::NewName() const {
  const QString base = BaseName();
  // 64 bits, so that a name ending in the largest 32-bit number still gets a larger one.
  long long largest = 0;
  for (const TEntry& entry : items_) {
    const QString& name = entry.Object->Name();
    if (name.size() < base.size() || QString::compare(name.left(base.size()), base, Qt::CaseInsensitive) != 0) continue;
    QString rest = name.mid(base.size());
    while (rest.startsWith(QLatin1Char(' '))) rest.remove(0, 1);
    // Leading blanks only: a number followed by anything, blanks included, is not a number.
    if (rest.isEmpty() || rest.back().isSpace()) continue;
    int number = 0;
    if (!TryStrToInt(rest, number)) continue;
    largest = std::max(largest, static_cast<long long>(number));
  }
  return base + QLatin1Char(' ') + QString::number(largest + 1);
}

void TiPlotObjectManagerCustom::CollectionRemoved(TiPlotPersistent*) {}

bool TiPlotObjectManagerCustom::AcceptsItem(TiPlotObject*) const { return true; }
bool TiPlotObjectManagerCustom::NamesNewItems() const { return false; }
void TiPlotObjectManagerCustom::ApplyDefaults(TiPlotObject*) {}

void TiPlotObjectManagerCustom::Unlist(const TiPlotObject* object) {
  // Compares addresses only: the object may be gone already.
  const int index = IndexOfEntry(object);
  if (index < 0) return;
  TiPlotPtr<TiPlotObject> holder = TakeEntry(index);
  if (holder && holder->Destroying()) (void)holder.release();
}

// ---------------------------------------------------------------------------------------------
// TiPlotObjectOwnedManager

TiPlotObjectOwnedManager::TiPlotObjectOwnedManager(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotObjectManagerCustom(owner, handlers) {}

TiPlotObjectOwnedManager::~TiPlotObjectOwnedManager() { BeforeDestructionInDestructor(); }

void TiPlotObjectOwnedManager::Remove(TiPlotPersistent* item) {
  if (item == this) {
    TiPlotObjectManagerCustom::Remove(item);
    return;
  }
  const int index = IndexOfEntry(item);
  if (index >= 0) {
    TiPlotObject* object = Entry(index).Object;
    if (Entry(index).Holder && !object->Destroying() && object != leaving_) {
      // Out of its only owner means gone: its destruction removes it everywhere.
      DestroyItem(object);
      return;
    }
  }
  for (TiPlotObject* other : Snapshot())
    if (static_cast<TiPlotPersistent*>(other) != item && IndexOf(other) >= 0) other->NotifyRemoving(item);
  const int at = IndexOfEntry(item);
  if (at < 0) return;
  TiPlotObject* object = Entry(at).Object;
  TiPlotPtr<TiPlotObject> holder = TakeEntry(at);
  if (holder && object == leaving_)
    taken_ = std::move(holder);
  else
    (void)holder.release();   // destroyed by whoever started it (a plain delete included)
  ItemRemoved(object);
  if (OnChange) OnChange(this);
}

void TiPlotObjectOwnedManager::AddItem(TiPlotObject* object) {
  if (!object || !AcceptsItem(object)) return;
  if (TiPlotPtr<TiPlotPersistent> holder = TiPlotOwnershipHandOff::TakeOwnership(object)) {
    (void)holder.release();
    Add(object, TiPlotPtr<TiPlotObject>(object));
  }
  TiPlotObjectManagerCustom::AddItem(object);
}

void TiPlotObjectOwnedManager::Clear() {
  for (;;) {
    TiPlotObject* owned = nullptr;
    for (int i = 0; i < Count() && !owned; ++i)
      if (Entry(i).Holder) owned = Entry(i).Object;
    if (!owned) break;
    DestroyItem(owned);
  }
  // Objects announced without handing over their ownership are only forgotten.
  for (TiPlotObject* object : Snapshot()) Unlist(object);
}

TiPlotPtr<TiPlotObject> TiPlotObjectOwnedManager::DeleteIndex(int index) {
  if (index < 0 || index >= Count()) return {};
  TiPlotObject* object = Items(index);
  if (!Entry(index).Holder) {
    TiPlotObjectManagerCustom::DeleteIndex(index);
    return {};
  }
  // The object leaves the whole chart while it is still listed here (its removal event knows
  // its index); its removal leaves the holder in taken_.
  leaving_ = object;
  try {
    if (TiPlotNotifyEvent remove = object->OnRemove) remove(object);
    if (IndexOf(object) >= 0) Remove(object);   // no chart to route the removal through
  } catch (...) {
    leaving_ = nullptr;
    taken_.reset();   // half out of the chart: it goes for good
    throw;
  }
  leaving_ = nullptr;
  TiPlotPtr<TiPlotObject> holder = std::move(taken_);
  if (holder) holder->DetachFromChart();
  return holder;
}

void TiPlotObjectOwnedManager::Delete(int index) {
  CheckIndex(index, Count());
  TiPlotObject* object = Items(index);
  if (Owns(object))
    DestroyItem(object);
  else
    Unlist(object);
}

void TiPlotObjectOwnedManager::DestroyItem(TiPlotObject* object) {
  const int index = IndexOfEntry(object);
  if (index < 0 || !Entry(index).Holder) return;
  TiPlotPtr<TiPlotObject> holder = std::move(Entry(index).Holder);
  holder.reset();
  // Normally the destruction has removed it through the remove handler; an object cut off from
  // the chart has not, and must not stay listed here.
  Unlist(object);
}

bool TiPlotObjectOwnedManager::Owns(const TiPlotObject* object) const {
  const int index = IndexOfEntry(object);
  return index >= 0 && Entry(index).Holder != nullptr;
}

bool InsertObject(TiPlotPtr<TiPlotObject> object) {
  TiPlotPtr<TiPlotPersistent> item(object.release());
  return TiPlotOwnershipHandOff::Announce(std::move(item), [](TiPlotPersistent* p) { static_cast<TiPlotObject*>(p)->NotifyInsert(); });
}

// ---------------------------------------------------------------------------------------------
// TiPlotObjectManager

TiPlotObjectManager::TiPlotObjectManager(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotObjectManagerCustom(owner, handlers) {}

TiPlotPtr<TiPlotObject> TiPlotObjectManager::CreateItem() {
  throw EiError(QStringLiteral("Object Manager does not support creation of objects"));
}

QString TiPlotObjectManager::BaseName() const { return QStringLiteral("n/a"); }

void TiPlotObjectManager::DeselectAll() {
  for (TiPlotObject* item : Snapshot())
    if (IndexOf(item) >= 0) item->SetFocused(false);
}

void TiPlotObjectManager::SetShiftStateAll(TShiftState shift) {
  for (TiPlotObject* item : Snapshot()) item->SetShiftState(shift);
}

template <class F>
void TiPlotObjectManager::ForEachFocused(F f) {
  // An object may leave the chart while another handles the input: only listed ones are called.
  for (TiPlotObject* item : Snapshot())
    if (IndexOf(item) >= 0 && item->HasFocus()) f(item);
}

void TiPlotObjectManager::MouseDown(const TiPlotMouseParams& params) {
  ForEachFocused([&](TiPlotObject* o) { o->MouseDown(params); });
}

void TiPlotObjectManager::MouseMove(const TiPlotMouseParams& params) {
  ForEachFocused([&](TiPlotObject* o) { o->MouseMove(params); });
}

void TiPlotObjectManager::MouseUp(const TiPlotMouseParams& params) {
  ForEachFocused([&](TiPlotObject* o) { o->MouseUp(params); });
}

void TiPlotObjectManager::DoKeyDown(int& key, TShiftState shift, TPopupMenu* menu) {
  ForEachFocused([&](TiPlotObject* o) { o->DoKeyDown(key, shift, menu); });
}

bool TiPlotObjectManager::MouseWheel(int wheelDelta, TShiftState shift, TPoint point) {
  bool handled = false;
  ForEachFocused([&](TiPlotObject* o) {
    if (o->MouseWheel(wheelDelta, shift, point)) handled = true;
  });
  return handled;
}

void TiPlotObjectManager::DetachAll() {
  for (TiPlotObject* item : Snapshot()) {
    item->OnRemove = nullptr;
    item->OnLayoutChange = nullptr;
    item->OnChange = nullptr;
  }
}

// ---------------------------------------------------------------------------------------------
// Per-kind collections

QString TiPlotToolBarManager::BaseName() const { return QStringLiteral("Toolbar"); }
QString TiPlotLegendManager::BaseName() const { return QStringLiteral("Legend"); }
QString TiPlotTableManager::BaseName() const { return QStringLiteral("Table"); }
QString TiPlotXAxisManager::BaseName() const { return QStringLiteral("X-Axis"); }
QString TiPlotYAxisManager::BaseName() const { return QStringLiteral("Y-Axis"); }
QString TiPlotChannelManager::BaseName() const { return QStringLiteral("Channel"); }
QString TiPlotDataViewManager::BaseName() const { return QStringLiteral("Data View"); }
QString TiPlotDataCursorManager::BaseName() const { return QStringLiteral("Cursor"); }
QString TiPlotLimitManager::BaseName() const { return QStringLiteral("Limit"); }
QString TiPlotLabelManager::BaseName() const { return QStringLiteral("Label"); }
QString TiPlotAnnotationManager::BaseName() const { return QStringLiteral("Annotation"); }

void TiPlotXAxisManager::ApplyDefaults(TiPlotObject* object) {
  auto* axis = static_cast<TiPlotXAxis*>(object);
  axis->SetTitle(axis->Name());
  axis->SetTrackingStyle(newAxisTrackingStyle_);
}

void TiPlotYAxisManager::ApplyDefaults(TiPlotObject* object) {
  auto* axis = static_cast<TiPlotYAxis*>(object);
  axis->SetTitle(axis->Name());
}

void TiPlotLabelManager::ApplyDefaults(TiPlotObject* object) {
  auto* label = static_cast<TiPlotLabel*>(object);
  label->SetCaption(label->Name());
}

namespace {
template <class M>
void DropLink(M*& link, TiPlotPersistent* collection) {
  if (link && static_cast<TiPlotPersistent*>(link) == collection) link = nullptr;
}

constexpr std::array<TColor, 30> kChannelPalette = {
    RGB(255, 0, 0),     RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),
    RGB(0, 255, 0),     RGB(255, 255, 255), RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(128, 128, 128), RGB(192, 0, 0),
    RGB(0, 192, 0),     RGB(192, 192, 0),   RGB(0, 0, 192),     RGB(192, 0, 192),   RGB(0, 192, 192),
    RGB(192, 192, 192), RGB(255, 128, 0),   RGB(255, 0, 128),   RGB(255, 128, 128), RGB(128, 0, 255),
    RGB(0, 128, 255),   RGB(128, 128, 255), RGB(128, 255, 0),   RGB(0, 255, 128),   RGB(128, 255, 128),
};
}  // namespace

TiPlotChannelManager::TiPlotChannelManager(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotAxisLinkedManager(owner, handlers), channelClass_(&CreateChannelOf<TiXYPlotChannel>) {}

TiPlotPtr<TiPlotObject> TiPlotChannelManager::CreateItem() { return channelClass_(Owner(), Handlers()); }

void TiPlotChannelManager::SetChannelClass(TiPlotChannelClass value) {
  if (!value) throw EiError(QStringLiteral("Channel class must be assigned"));
  channelClass_ = value;
}

TColor TiPlotChannelManager::NextChannelColor() const {
  if (Count() < 2) return RGB(255, 0, 0);
  std::array<int, kChannelPalette.size()> uses{};
  for (int i = 0; i < Count(); ++i)
    for (size_t p = 0; p < kChannelPalette.size(); ++p)
      if (Items(i)->Color() == kChannelPalette[p]) ++uses[p];
  const int fewest = *std::min_element(uses.begin(), uses.end());
  for (size_t p = 0; p < kChannelPalette.size(); ++p)
    if (uses[p] == fewest) return kChannelPalette[p];
  return kChannelPalette[0];
}

void TiPlotChannelManager::ApplyDefaults(TiPlotObject* object) {
  auto* channel = static_cast<TiPlotChannelCustom*>(object);
  channel->SetTitleText(channel->Name());
  channel->SetColor(NextChannelColor());
  if (TiPlotXAxis* x = FirstXAxis()) channel->SetXAxisName(x->Name());
  if (TiPlotYAxis* y = FirstYAxis()) channel->SetYAxisName(y->Name());
}

void TiPlotDataViewManager::ApplyDefaults(TiPlotObject* object) {
  auto* view = static_cast<TiPlotDataView*>(object);
  if (TiPlotXAxis* x = FirstXAxis()) view->SetGridXAxisName(x->Name());
  if (TiPlotYAxis* y = FirstYAxis()) view->SetGridYAxisName(y->Name());
}

void TiPlotDataCursorManager::CollectionRemoved(TiPlotPersistent* collection) {
  DropLink(channelManager_, collection);
  DropLink(dataViewManager_, collection);
}

void TiPlotDataCursorManager::ApplyDefaults(TiPlotObject* object) {
  auto* cursor = static_cast<TiPlotDataCursor*>(object);
  if (dataViewManager_ && !dataViewManager_->IsEmpty()) cursor->SetDataView(dataViewManager_->Items(0));
  if (channelManager_ && !channelManager_->IsEmpty()) cursor->SetChannelName(channelManager_->Items(0)->Name());
}

void TiPlotLimitManager::ApplyDefaults(TiPlotObject* object) {
  auto* limit = static_cast<TiPlotLimit*>(object);
  if (TiPlotXAxis* x = FirstXAxis()) limit->SetXAxisName(x->Name());
  if (TiPlotYAxis* y = FirstYAxis()) limit->SetYAxisName(y->Name());
}
