#include "chart/core/rUdudLayoutManager.h"

#include <algorithm>
#include <cmath>

#include "chart/core/iGPFunctions.h"

// ---------------------------------------------------------------------------------------------
// TiPlotSideList

namespace {
long long StartNumber(const TiPlotLayoutObject* object) { return RoundEven(object->StartPercent()); }

bool KeyLess(int levelA, long long startA, int levelB, long long startB) {
  return levelA != levelB ? levelA < levelB : startA < startB;
}
}  // namespace

void TiPlotSideList::Add(TiPlotLayoutObject* object) {
  if (!object) return;
  TEntry entry{object->ZOrderKey() + object->StartKey(), object, object->ZOrder(), StartNumber(object)};
  // Before the first entry that is not smaller: equal keys keep the newest first.
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [&](const TEntry& e) { return !KeyLess(e.Level, e.Start, entry.Level, entry.Start); });
  entries_.insert(it, std::move(entry));
}

void TiPlotSideList::Remove(const TiPlotLayoutObject* object) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [object](const TEntry& e) { return e.Object == object; }),
                 entries_.end());
}

TiPlotLayoutObject* TiPlotSideList::Objects(int index) const {
  CheckIndex(index, Count());
  return entries_[static_cast<size_t>(index)].Object;
}

QString TiPlotSideList::Keys(int index) const {
  CheckIndex(index, Count());
  return entries_[static_cast<size_t>(index)].Key;
}

int TiPlotSideList::IndexOf(const TiPlotLayoutObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (entries_[static_cast<size_t>(i)].Object == object) return i;
  return -1;
}

// ---------------------------------------------------------------------------------------------
// TiPlotLayoutManager

TiPlotLayoutManager::TiPlotLayoutManager(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotObjectManagerCustom(owner, handlers) {}

TiPlotLayoutManager::~TiPlotLayoutManager() { BeforeDestructionInDestructor(); }

QString TiPlotLayoutManager::BaseName() const { return QStringLiteral("Layout Object"); }

void TiPlotLayoutManager::AfterAnnounce() {
  layoutEnabled_ = false;
  const TiPlotHandlers handlers = Handlers();
  dataViewHorz_.reset(new TiPlotDataViewHorz(Owner(), handlers));
  dataViewHorz_->SetHorizontal(true);
  dataViewHorz_->SetZOrder(1);
  dataViewHorz_->SetName(QStringLiteral("Data View"));
  dataViewHorz_->NotifyInsert();
  dataViewVert_.reset(new TiPlotDataViewVert(Owner(), handlers));
  dataViewVert_->SetHorizontal(false);
  dataViewVert_->SetZOrder(1);
  dataViewVert_->SetName(QStringLiteral("Data View"));
  dataViewVert_->NotifyInsert();
  // Enabled without a rebuild: nothing but the placeholders is listed yet.
  layoutEnabled_ = true;
}

bool TiPlotLayoutManager::AcceptsItem(TiPlotObject* object) const {
  return dynamic_cast<TiPlotLayoutObject*>(object) != nullptr;
}

void TiPlotLayoutManager::AddItem(TiPlotObject* object) {
  auto* layout = dynamic_cast<TiPlotLayoutObject*>(object);
  if (!layout) return;
  Add(layout);
  if (layout->FollowsLayoutChanges()) layout->OnLayoutChange = [this](TiPlotObject*) { Rebuild(); };
  bool horizontal = false;
  if (layout->HorizontalFor(xyAxesReverse_, horizontal)) layout->SetHorizontal(horizontal);
  if (layoutEnabled_) PlaceAt(layout, 0, 0);
}

void TiPlotLayoutManager::RemoveFromSides(const TiPlotLayoutObject* object) {
  top_.Remove(object);
  bottom_.Remove(object);
  left_.Remove(object);
  right_.Remove(object);
}

void TiPlotLayoutManager::ItemRemoved(TiPlotObject* object) {
  auto* layout = dynamic_cast<TiPlotLayoutObject*>(object);
  if (!layout) return;
  RemoveFromSides(layout);
  if (layoutEnabled_) CloseGap(layout);
}

void TiPlotLayoutManager::DoBeforeDestruction() {
  // The placeholders go with the manager: nothing is shifted or rebuilt on the way out.
  layoutEnabled_ = false;
  top_.Clear();
  bottom_.Clear();
  left_.Clear();
  right_.Clear();
  dataViewHorz_.reset();
  dataViewVert_.reset();
  TiPlotObjectManagerCustom::DoBeforeDestruction();
}

void TiPlotLayoutManager::SetLayoutEnabled(bool value) {
  if (value == layoutEnabled_) return;
  layoutEnabled_ = value;
  if (value) Rebuild();
}

void TiPlotLayoutManager::SetXYAxesReverse(bool value) {
  if (value == xyAxesReverse_) return;
  xyAxesReverse_ = value;
  if (layoutEnabled_) ReflowAxes();
}

void TiPlotLayoutManager::PlaceAt(TiPlotLayoutObject* object, int z, int mode) {
  if (!object || mode < 0 || mode > 2) return;
  const bool horizontal = object->Horizontal();
  // Competitors: the other listed objects of the same orientation, placeholders included, data
  // views not. A snapshot, since every ZOrder change rebuilds.
  std::vector<TiPlotLayoutObject*> competitors;
  for (TiPlotObject* item : Snapshot()) {
    auto* other = static_cast<TiPlotLayoutObject*>(item);
    if (other == object || other->Horizontal() != horizontal || !other->HoldsLevel()) continue;
    competitors.push_back(other);
  }
  auto shiftFrom = [&](int from, bool inclusive) {
    for (TiPlotLayoutObject* other : competitors)
      if (IndexOf(other) >= 0 && (inclusive ? other->ZOrder() >= from : other->ZOrder() > from)) other->SetZOrder(other->ZOrder() + 1);
  };
  switch (mode) {
    case 0: {
      const bool collides = std::any_of(competitors.begin(), competitors.end(), [&](TiPlotLayoutObject* other) {
        if (other->ZOrder() != z) return false;
        const bool overlaps = other->StartPercent() < object->StopPercent() && other->StopPercent() > object->StartPercent();
        const bool same = other->StartPercent() == object->StartPercent() && other->StopPercent() == object->StopPercent();
        return overlaps || same;
      });
      if (collides) shiftFrom(z, true);
      object->SetZOrder(z);
      break;
    }
    case 1:
      shiftFrom(z, true);
      object->SetZOrder(z);
      break;
    case 2:
      shiftFrom(z, false);
      object->SetZOrder(z + 1);
      break;
  }
  Rebuild();
}

void TiPlotLayoutManager::CloseGap(TiPlotLayoutObject* object) {
  if (!object) return;
  const bool horizontal = object->Horizontal();
  const int z = object->ZOrder();
  const std::vector<TiPlotObject*> items = Snapshot();
  const bool shared = std::any_of(items.begin(), items.end(), [&](TiPlotObject* item) {
    auto* other = static_cast<TiPlotLayoutObject*>(item);
    return other != object && other->Horizontal() == horizontal && other->HoldsLevel() && other->ZOrder() == z;
  });
  if (!shared) {
    for (TiPlotObject* item : items) {
      auto* other = static_cast<TiPlotLayoutObject*>(item);
      if (other == object || IndexOf(other) < 0 || other->Horizontal() != horizontal) continue;
      if (other->ZOrder() > z) other->SetZOrder(other->ZOrder() - 1);
    }
  }
  Rebuild();
}

void TiPlotLayoutManager::Rebuild() {
  if (!layoutEnabled_ || rebuilding_) return;
  rebuilding_ = true;
  top_.Clear();
  bottom_.Clear();
  left_.Clear();
  right_.Clear();
  try {
    const int horzZ = dataViewHorz_ ? dataViewHorz_->ZOrder() : 0;
    const int vertZ = dataViewVert_ ? dataViewVert_->ZOrder() : 0;
    for (TiPlotObject* item : Snapshot()) {
      auto* object = static_cast<TiPlotLayoutObject*>(item);
      if (!object->InSideLists()) continue;
      if (object->IsHorizontal()) {
        object->SetFarSide(object->ZOrder() > horzZ);
        (object->FarSide() ? top_ : bottom_).Add(object);
      } else {
        object->SetFarSide(object->ZOrder() > vertZ);
        (object->FarSide() ? right_ : left_).Add(object);
      }
    }
  } catch (...) {
    rebuilding_ = false;
    throw;
  }
  rebuilding_ = false;
  leftLevelCount_ = LevelCount(left_);
  rightLevelCount_ = LevelCount(right_);
  topLevelCount_ = LevelCount(top_);
  bottomLevelCount_ = LevelCount(bottom_);
}

int TiPlotLayoutManager::LevelCount(const TiPlotSideList& list) {
  if (list.IsEmpty()) return 0;
  int count = 1;
  const auto& entries = list.Entries();
  for (size_t i = 1; i < entries.size(); ++i)
    if (entries[i].Level > entries[i - 1].Level) ++count;
  return count;
}

void TiPlotLayoutManager::ReflowAxes() {
  // Every object that follows the flag (the axes), ordered by ZOrder; among equal values the one
  // registered last comes first.
  std::vector<TiPlotLayoutObject*> axes;
  for (TiPlotObject* item : Snapshot()) {
    auto* object = static_cast<TiPlotLayoutObject*>(item);
    bool horizontal = false;
    if (!object->HorizontalFor(xyAxesReverse_, horizontal)) continue;
    auto it = std::find_if(axes.begin(), axes.end(), [object](TiPlotLayoutObject* a) { return a->ZOrder() >= object->ZOrder(); });
    axes.insert(it, object);
  }
  for (TiPlotLayoutObject* axis : axes) {
    if (IndexOf(axis) < 0) continue;
    CloseGap(axis);
    bool horizontal = false;
    axis->HorizontalFor(xyAxesReverse_, horizontal);
    axis->SetHorizontal(horizontal);
    PlaceAt(axis, 0, 0);
  }
}
