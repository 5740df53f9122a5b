// The channel under the mouse: hit testing of its legend row and its markers, data-point hints,
// holding and dragging a point, the click events and the popup menu.
#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudDataCursor.h"
#include "chart/decorations/rUdudDataView.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Menus.h"

namespace {

// Where the hint box of a point goes: above the mouse, or below it near the top of the data
// view, to the right or left of it near the view's sides, always inside the view's height.
TPoint PlaceHint(TPoint mouse, TSize box, int markerHalf, const TRect& view) {
  int top = mouse.Y - (markerHalf + box.cy + 4);
  int left = mouse.X - box.cx / 2;
  if (top <= view.Top) top = mouse.Y + (markerHalf + box.cy + 4);
  if (left <= view.Left) {
    left = mouse.X + markerHalf + 8;
    top = mouse.Y - box.cy / 2;
  } else if (left + box.cx >= view.Right) {
    left = mouse.X - markerHalf - 4 - box.cx;
    top = mouse.Y - box.cy / 2;
  }
  if (top + box.cy >= view.Bottom) top = view.Bottom - box.cy;
  if (top <= view.Top) top = view.Top;
  return {left, top};
}

}  // namespace

void TiPlotChannelCustom::NotifyFocus(TiPlotObject* object) {
  if (!object || object == this || !object->HasFocus() || !HasFocus()) return;
  if (object->Kind() == ipokLegend) return;
  if (object->Kind() == ipokDataCursor && static_cast<TiPlotDataCursor*>(object)->BoundChannel() == this) return;
  SetFocused(false);
}

TCursor TiPlotChannelCustom::GetMouseCursor(const TiPlotMouseParams&) {
  TCursor cursor = crHandPoint;
  if (Owner()) Owner()->ObjectGetMouseCursor(this, cursor);
  return cursor;
}

bool TiPlotChannelCustom::HitTest(const TiPlotMouseParams& params) {
  // Nothing of an earlier test is left over, also when the legend row answers.
  hitIndex_ = -1;
  const TPoint p{params.X, params.Y};
  if (visibleInLegend_ && PtInRect(legendRect_, p)) return true;
  // Points answer only in select mode.
  if (!Owner() || !Owner()->SelectMode()) return false;
  if (!PointsHittable() || Count() == 0) return false;
  UpdateFirstVisibleIndex();
  UpdateLastVisibleIndex();
  if (firstVisibleIndex_ < 0) return false;
  const int last = std::min(lastVisibleIndex_, Count() - 1);
  // The lowest index wins where markers overlap.
  for (int i = firstVisibleIndex_; i <= last; ++i) {
    if (!PointHitRect(i, hitRect_)) continue;
    if (PtInRect(hitRect_, p)) {
      hitIndex_ = i;
      return true;
    }
  }
  return false;
}

bool TiPlotChannelCustom::PointHitRect(int index, TRect& rect) {
  if (!MarkerDrawable(index)) return false;
  rect = GetMarkerRect(index);
  return true;
}

void TiPlotChannelCustom::DoMouseHover(const TiPlotMouseParams& params) {
  TiPlotComponent* chart = Chart();
  if (!chart) return;
  const TiPlotLifeGuard life(this);
  chart->DispatchObjectEvent<TiPlotDataPointMouseMoveEvent>(this, {{ipokChannel, &chart->OnMouseMoveDataPoint}}, hitIndex_,
                                                            params.Shift, params.X, params.Y);
  if (life.Gone()) return;
  if (!showDataPointHints_ || !params.Hint || hitIndex_ < 0 || hitIndex_ >= Count()) return;
  if (!PtInRect(hitRect_, {params.X, params.Y})) return;
  TiPlotAxis* x = XAxis();
  TiPlotAxis* y = YAxis();
  if (!x || !y) return;
  QString text = x->LabelText(GetX(hitIndex_)) + QStringLiteral(", ") + y->LabelText(GetY(hitIndex_));
  chart->DispatchObjectEvent<TiPlotDataPointCustomizeTextEvent>(this, {{ipokChannel, &chart->OnDataPointCustomizeHint}},
                                                                hitIndex_, text);
  if (life.Gone()) return;
  // Measured as the chart draws the box: the hint font, two pixels around the text.
  TBitmap scratch(1, 1);
  scratch.Canvas()->Font() = chart->HintsFont()->Font();
  const TSize extent = scratch.Canvas()->TextExtent(text);
  const TRect view = chart->DataViewCount() > 0 ? chart->DataView(0)->GetLayoutRect() : Rect(0, 0, chart->Width(), chart->Height());
  const TPoint at = PlaceHint({params.X, params.Y}, {extent.cx + 4, extent.cy + 4}, MarkersSize() / 2, view);
  params.Hint->Text = text;
  params.Hint->X = at.X;
  params.Hint->Y = at.Y;
}

void TiPlotChannelCustom::DoMouseDownLeft(const TiPlotMouseParams& params) {
  // The point under this press (a press may reach the channel only because it has the focus).
  HitTest(params);
  held_ = false;
  clickOnRelease_ = false;
  pressedIndex_ = hitIndex_;
  if (TiPlotComponent* chart = Chart()) {
    const TiPlotLifeGuard life(this);
    chart->DispatchObjectEvent<TiPlotDataPointMouseEvent>(this, {{ipokChannel, &chart->OnMouseDownDataPoint}}, pressedIndex_,
                                                          params.Button, params.Shift, params.X, params.Y);
    if (life.Gone()) return;
  }
  if (pressedIndex_ < 0 || pressedIndex_ >= Count() || !PtInRect(hitRect_, {params.X, params.Y})) return;
  held_ = true;
  heldIndex_ = pressedIndex_;
  heldRect_ = hitRect_;
  heldX_ = GetX(heldIndex_);
  heldY_ = GetY(heldIndex_);
  pressAlongX_ = params.XR;
  pressAlongY_ = params.YR;
}

void TiPlotChannelCustom::DoMouseDrag(const TiPlotMouseParams& params) {
  if (!held_) return;
  if (TiPlotComponent* chart = Chart()) {
    const TiPlotLifeGuard life(this);
    chart->DispatchObjectEvent<TiPlotDataPointMouseMoveEvent>(this, {{ipokChannel, &chart->OnMouseMoveDataPoint}},
                                                              pressedIndex_, params.Shift, params.X, params.Y);
    if (life.Gone()) return;
  }
  if (!held_ || !userCanMoveDataPoints_) return;
  // A handler may have taken the point away.
  if (heldIndex_ >= Count()) {
    held_ = false;
    return;
  }
  // The point moves by the value difference under the mouse, wherever on the marker it was taken.
  double dx = 0, dy = 0;
  if (userCanMoveDataPointsStyle_ != ipcdpmsYOnly)
    if (TiPlotAxis* x = XAxis()) dx = x->PositionToValue(pressAlongX_) - x->PositionToValue(params.XR);
  if (userCanMoveDataPointsStyle_ != ipcdpmsXOnly)
    if (TiPlotAxis* y = YAxis()) dy = y->PositionToValue(pressAlongY_) - y->PositionToValue(params.YR);
  SetX(heldIndex_, heldX_ - dx);
  SetY(heldIndex_, heldY_ - dy);
}

void TiPlotChannelCustom::DoMouseUp(const TiPlotMouseParams& params) {
  TiPlotComponent* chart = Chart();
  const TiPlotLifeGuard life(this);
  const int pressed = pressedIndex_;
  pressedIndex_ = -1;
  if (chart) {
    chart->DispatchObjectEvent<TiPlotDataPointMouseEvent>(this, {{ipokChannel, &chart->OnMouseUpDataPoint}}, pressed,
                                                          params.Button, params.Shift, params.X, params.Y);
    if (life.Gone()) return;
  }
  if (!held_) {
    // A press on the channel itself that ends in its legend row is the channel's click.
    clickOnRelease_ = MouseIsDown() && PtInRect(legendRect_, {params.X, params.Y});
    return;
  }
  held_ = false;
  clickOnRelease_ = false;
  if (!chart) return;
  const int index = heldIndex_;
  if (PtInRect(heldRect_, {params.X, params.Y})) {
    chart->DispatchObjectEvent<TiPlotClickDataPointEvent>(
        this, {{ipokChannel, params.DblClickActive ? &chart->OnDblClickDataPoint : &chart->OnClickDataPoint}}, index);
    if (life.Gone()) return;
  }
  if (index >= Count()) return;
  const double x = GetX(index), y = GetY(index);
  if (x != heldX_ || y != heldY_)
    chart->DispatchObjectEvent<TiPlotDataPointMovedEvent>(this, {{ipokChannel, &chart->OnDataPointMoved}}, index, heldX_,
                                                          heldY_, x, y);
}

bool TiPlotChannelCustom::ReleaseIsClick(int, int) { return clickOnRelease_; }

void TiPlotChannelCustom::AddMenuItems(TPopupMenu* menu) {
  TiPlotManagerObject::AddMenuItems(menu);
  AddEditMenuItem(menu);
}
