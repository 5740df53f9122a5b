#include "chart/core/rUdudLayoutManager.h"

TiPlotLayoutManager::TiPlotLayoutManager(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotObjectManagerCustom(owner, handlers) {}

TiPlotLayoutManager::~TiPlotLayoutManager() { BeforeDestruction(); }

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
  layoutEnabled_ = true;
}

bool TiPlotLayoutManager::AcceptsItem(TiPlotObject* object) const {
  return dynamic_cast<TiPlotLayoutObject*>(object) != nullptr;
}

void TiPlotLayoutManager::DoBeforeDestruction() {
  dataViewHorz_.reset();
  dataViewVert_.reset();
  TiPlotObjectManagerCustom::DoBeforeDestruction();
}

void TiPlotLayoutManager::SetLayoutEnabled(bool value) { layoutEnabled_ = value; }

void TiPlotLayoutManager::SetXYAxesReverse(bool value) { xyAxesReverse_ = value; }
