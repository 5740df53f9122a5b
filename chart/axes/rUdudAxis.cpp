#include "chart/axes/rUdudAxis.h"

const TiClassInfo& TiPlotAxis::StaticClassInfo() {
  using C = TiPlotAxis;
  static const TiClassInfo info = TiClassBuilder<C>(QStringLiteral("TiPlotAxis"), &TiPlotLayoutObject::StaticClassInfo())
      .String(QStringLiteral("Title"), &C::Title, &C::SetTitle)
      .Boolean(QStringLiteral("TrackingEnabled"), &C::TrackingEnabled, &C::SetTrackingEnabled, true)
      .Enumeration<TiPlotCartesianStyle>(QStringLiteral("CartesianStyle"), &C::CartesianStyle, &C::SetCartesianStyle, ipcsNone,
                                         {QStringLiteral("ipcsNone"), QStringLiteral("ipcsMaster"), QStringLiteral("ipcsChild")})
      .String(QStringLiteral("CartesianChildRefAxisName"), &C::CartesianChildRefAxisName, &C::SetCartesianChildRefAxisName)
      .Float(QStringLiteral("CartesianChildRefValue"), &C::CartesianChildRefValue, &C::SetCartesianChildRefValue)
      .String(QStringLiteral("AlignRefAxisName"), &C::AlignRefAxisName, &C::SetAlignRefAxisName)
      .Boolean(QStringLiteral("ForceStacking"), &C::ForceStacking, &C::SetForceStacking, false)
      .Build();
  return info;
}

const TiClassInfo& TiPlotXAxis::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotXAxis>(QStringLiteral("TiPlotXAxis"), &TiPlotAxis::StaticClassInfo())
      .Build();
  return info;
}

const TiClassInfo& TiPlotYAxis::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiPlotYAxis>(QStringLiteral("TiPlotYAxis"), &TiPlotAxis::StaticClassInfo())
      .Build();
  return info;
}

TiPlotAxis::TiPlotAxis(TiPlotOwner* owner, const TiPlotHandlers& handlers) : TiPlotLayoutObject(owner, handlers) {}

void TiPlotAxis::SetTitle(const QString& value) { SetAndChange(title_, value); }

// The tracking state (first value received, resume values) comes with axis tracking; until then
// there is nothing to forget.
void TiPlotAxis::ResetTracking() {}

void TiPlotAxis::SetTrackingEnabled(bool value) { SetAndChange(trackingEnabled_, value); }

void TiPlotAxis::SetCartesianStyle(TiPlotCartesianStyle value) { SetAndChange(cartesianStyle_, value); }

void TiPlotAxis::SetCartesianChildRefAxisName(const QString& value) {
  cartesianRef_ = nullptr;
  cartesianRefResolved_ = false;
  if (value == cartesianChildRefAxisName_) return;
  cartesianChildRefAxisName_ = value;
  DoChange();
}

void TiPlotAxis::SetCartesianChildRefValue(double value) { SetAndChange(cartesianChildRefValue_, value); }

void TiPlotAxis::SetAlignRefAxisName(const QString& value) {
  alignRef_ = nullptr;
  alignRefResolved_ = false;
  if (value == alignRefAxisName_) return;
  alignRefAxisName_ = value;
  DoChange();
}

void TiPlotAxis::SetForceStacking(bool value) { SetAndChange(forceStacking_, value); }

TiPlotAxis* TiPlotAxis::FindReferenceAxis(const QString& name, bool sameKind) const {
  const auto* lookup = dynamic_cast<const TiPlotAxisLookup*>(Owner());
  if (!lookup || name.compare(QStringLiteral("<None>"), Qt::CaseInsensitive) == 0) return nullptr;
  const bool isX = dynamic_cast<const TiPlotXAxis*>(this) != nullptr;
  const bool wantX = sameKind ? isX : !isX;
  TiPlotAxis* found = wantX ? static_cast<TiPlotAxis*>(lookup->FindXAxis(name)) : static_cast<TiPlotAxis*>(lookup->FindYAxis(name));
  // An axis is never its own reference: that would place it by itself.
  return found == this ? nullptr : found;
}

TiPlotAxis* TiPlotAxis::CartesianChildRefAxis() {
  if (!cartesianRefResolved_) {
    cartesianRef_ = FindReferenceAxis(cartesianChildRefAxisName_, false);
    cartesianRefResolved_ = true;
  }
  return cartesianRef_;
}

TiPlotAxis* TiPlotAxis::AlignRefAxis() {
  if (!alignRefResolved_) {
    alignRef_ = FindReferenceAxis(alignRefAxisName_, true);
    alignRefResolved_ = true;
  }
  return alignRef_;
}

void TiPlotAxis::NotifyRemoving(TiPlotPersistent* item) {
  TiPlotLayoutObject::NotifyRemoving(item);
  // Looked up again next time: a later axis of the same name may take its place.
  if (cartesianRef_ && static_cast<TiPlotPersistent*>(cartesianRef_) == item) {
    cartesianRef_ = nullptr;
    cartesianRefResolved_ = false;
  }
  if (alignRef_ && static_cast<TiPlotPersistent*>(alignRef_) == item) {
    alignRef_ = nullptr;
    alignRefResolved_ = false;
  }
}

void TiPlotAxis::NotifyRenamed(TiPlotObject* object) {
  TiPlotLayoutObject::NotifyRenamed(object);
  if (object && cartesianRefResolved_ && cartesianRef_ == object && object->Name() != cartesianChildRefAxisName_) {
    // The reference keeps pointing at the same axis; only the stored text follows it.
    cartesianChildRefAxisName_ = object->Name();
    DoChange();
  }
}

void TiPlotAxis::CalculateTicks(TCanvas*) {}

void TiPlotAxis::UpdateScaleArea(TCanvas*) { scaleArea_ = GetLayoutRect(); }

int TiPlotAxis::ValueToPosition(double) const {
  // Integer halves truncate toward zero.
  if (Horizontal()) return (scaleArea_.Left + scaleArea_.Right) / 2;
  return (scaleArea_.Top + scaleArea_.Bottom) / 2;
}

void TiPlotAxis::PlaceThroughDataView(const TiPlotLayoutFrame& frame, TiPlotLayoutRound round, TCanvas* canvas) {
  const TRect& view = frame.DataView;
  switch (round) {
    case iplrCartesianMaster:
      // Through the middle of the data view (integer halves truncate toward zero).
      if (CartesianStyle() != ipcsMaster) return;
      if (IsHorizontal()) {
        const int m = (view.Top + view.Bottom) / 2;
        SetLayoutRect(Rect(view.Left, m, view.Right, m));
      } else {
        const int m = (view.Left + view.Right) / 2;
        SetLayoutRect(Rect(m, view.Top, m, view.Bottom));
      }
      return;
    case iplrCartesianChild: {
      // Through a value of the reference axis; nowhere without one.
      if (CartesianStyle() != ipcsChild) return;
      TiPlotAxis* reference = CartesianChildRefAxis();
      if (!reference) {
        SetLayoutRect(TRect());
        return;
      }
      const int p = reference->ValueToPosition(CartesianChildRefValue());
      SetLayoutRect(IsHorizontal() ? Rect(view.Left, p, view.Right, p) : Rect(p, view.Top, p, view.Bottom));
      return;
    }
    case iplrAligned: {
      // The reference's extent and stacking.
      TiPlotAxis* reference = AlignRefAxis();
      if (!reference) return;
      const TRect from = reference->GetLayoutRect();
      if (IsHorizontal())
        SetExtentAlong(from.Left, from.Right);
      else
        SetExtentAlong(from.Top, from.Bottom);
      SetStackedAtStart(reference->StackedAtStart());
      SetStackedAtEnd(reference->StackedAtEnd());
      UpdateScaleArea(canvas);
      return;
    }
  }
}
