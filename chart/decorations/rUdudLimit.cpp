#include "chart/decorations/rUdudLimit.h"

#include <algorithm>
#include <cmath>

#include "chart/axes/rUdudAxis.h"
#include "chart/core/iValueNames.h"
#include "platform/Menus.h"

const QStringList& LimitStyleNames() {
  static const QStringList names{QStringLiteral("iplsLineX"),  QStringLiteral("iplsLineY"),     QStringLiteral("iplsBandX"),
                                 QStringLiteral("iplsBandY"),  QStringLiteral("iplsPolyBandX"), QStringLiteral("iplsPolyBandY")};
  return names;
}

namespace {
// How far a press may lie from a line, across it, and still grab it: 5 pixels before, 4 after.
constexpr int kHitHalfWidth = 5;

bool Finite(double v) { return std::isfinite(v); }
}  // namespace

// ---------------------------------------------------------------------------------------------
// Polygon band elements

const TiLimitDataElement& TiLimitDataList::Item(int index) const {
  if (index < 0 || index >= Count()) throw EiError(QStringLiteral("Index out of Bounds"));
  return items_[static_cast<size_t>(index)];
}

int TiLimitDataList::Add(double position, double bound1, double bound2) {
  if (!Finite(position) || !Finite(bound1) || !Finite(bound2)) return -1;
  // After the last element that is not greater: equal positions stay in arrival order.
  const auto at = std::upper_bound(items_.begin(), items_.end(), position,
                                   [](double p, const TiLimitDataElement& e) { return p < e.Position; });
  const auto inserted = items_.insert(at, TiLimitDataElement{position, bound1, bound2});
  return static_cast<int>(inserted - items_.begin());
}

// ---------------------------------------------------------------------------------------------
// Properties

const TiClassInfo& TiPlotLimit::StaticClassInfo() {
  using C = TiPlotLimit;
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotLimit"), &TiPlotObject::StaticClassInfo())
          .Enumeration<TiPlotLimitStyle>(QStringLiteral("Style"), &C::Style, &C::SetStyle, iplsLineY, LimitStyleNames())
          .String(QStringLiteral("XAxisName"), &C::XAxisName, &C::SetXAxisName, QString())
          .String(QStringLiteral("YAxisName"), &C::YAxisName, &C::SetYAxisName, QString())
          .Float(QStringLiteral("Line1Position"), &C::Line1Position, &C::SetLine1Position, 50.0)
          .Float(QStringLiteral("Line2Position"), &C::Line2Position, &C::SetLine2Position, 50.0)
          .Color(QStringLiteral("Color"), &C::Color, &C::SetColor, clRed)
          .Integer(QStringLiteral("LineWidth"), &C::LineWidth, &C::SetLineWidth, 0)
          .Enumeration<TPenStyle>(QStringLiteral("LineStyle"), &C::LineStyle, &C::SetLineStyle, psSolid, PenStyleNames())
          .Enumeration<TBrushStyle>(QStringLiteral("FillStyle"), &C::FillStyle, &C::SetFillStyle, bsSolid, BrushStyleNames())
          .Boolean(QStringLiteral("UserCanMove"), &C::UserCanMove, &C::SetUserCanMove, false)
          .Boolean(QStringLiteral("SelectModeOnlyInteraction"), &C::SelectModeOnlyInteraction,
                   &C::SetSelectModeOnlyInteraction, true)
          .Boolean(QStringLiteral("ClipToAxes"), &C::ClipToAxes, &C::SetClipToAxes, false)
          .Build();
  return info;
}

TiPlotLimit::TiPlotLimit(TiPlotOwner* owner, const TiPlotHandlers& handlers) : TiPlotObject(owner, handlers) {}

void TiPlotLimit::SetStyle(TiPlotLimitStyle value) { SetAndChange(style_, value); }

void TiPlotLimit::SetXAxisName(const QString& value) {
  if (value == xAxisName_) return;
  xAxisName_ = value;
  xAxis_ = nullptr;
  DoChange();
}

void TiPlotLimit::SetYAxisName(const QString& value) {
  if (value == yAxisName_) return;
  yAxisName_ = value;
  yAxis_ = nullptr;
  DoChange();
}

void TiPlotLimit::SetPosition(double& field, double value, void (TiPlotLimitEvents::*event)(TiPlotLimit*, double, double)) {
  if (!Finite(value) || field == value) return;
  const double old = field;
  field = value;
  const TiPlotLifeGuard life(this);
  DoChange();
  if (life.Gone()) return;
  if (auto* events = dynamic_cast<TiPlotLimitEvents*>(Owner())) (events->*event)(this, old, value);
}

void TiPlotLimit::SetLine1Position(double value) { SetPosition(line1Position_, value, &TiPlotLimitEvents::LimitLine1PositionChange); }
void TiPlotLimit::SetLine2Position(double value) { SetPosition(line2Position_, value, &TiPlotLimitEvents::LimitLine2PositionChange); }
void TiPlotLimit::SetColor(TColor value) { SetAndChange(color_, value); }
// A size on the chart: held to its drawable range.
void TiPlotLimit::SetLineWidth(int value) { SetAndChange(lineWidth_, ClampCoordinate(value)); }
void TiPlotLimit::SetLineStyle(TPenStyle value) { SetAndChange(lineStyle_, value); }
void TiPlotLimit::SetFillStyle(TBrushStyle value) { SetAndChange(fillStyle_, value); }
void TiPlotLimit::SetUserCanMove(bool value) { SetAndChange(userCanMove_, value); }
void TiPlotLimit::SetSelectModeOnlyInteraction(bool value) { SetAndChange(selectModeOnlyInteraction_, value); }
void TiPlotLimit::SetClipToAxes(bool value) { SetAndChange(clipToAxes_, value); }

bool TiPlotLimit::IsYStyle() const { return style_ == iplsLineY || style_ == iplsBandY || style_ == iplsPolyBandY; }

bool TiPlotLimit::IsFilledBand() const {
  switch (style_) {
    case iplsBandX:
    case iplsBandY: return fillStyle_ != bsClear;
    case iplsPolyBandX:
    case iplsPolyBandY: return true;
    default: return false;
  }
}

// ---------------------------------------------------------------------------------------------
// Axes

// A miss is not kept: the axis may be added to the chart later.
TiPlotAxis* TiPlotLimit::XAxis() {
  if (!xAxis_)
    if (const auto* lookup = dynamic_cast<const TiPlotAxisLookup*>(Owner())) xAxis_ = lookup->FindXAxis(xAxisName_);
  return xAxis_;
}

TiPlotAxis* TiPlotLimit::YAxis() {
  if (!yAxis_)
    if (const auto* lookup = dynamic_cast<const TiPlotAxisLookup*>(Owner())) yAxis_ = lookup->FindYAxis(yAxisName_);
  return yAxis_;
}

void TiPlotLimit::NotifyRemoving(TiPlotPersistent* item) {
  TiPlotObject::NotifyRemoving(item);
  if (xAxis_ && static_cast<TiPlotPersistent*>(xAxis_) == item) xAxis_ = nullptr;
  if (yAxis_ && static_cast<TiPlotPersistent*>(yAxis_) == item) yAxis_ = nullptr;
}

void TiPlotLimit::NotifyRenamed(TiPlotObject* object) {
  TiPlotObject::NotifyRenamed(object);
  // The limit stays on the same axis; only the stored name follows it.
  if (!object) return;
  if (xAxis_ == object) xAxisName_ = object->Name();
  if (yAxis_ == object) yAxisName_ = object->Name();
}

void TiPlotLimit::NotifyFocus(TiPlotObject* object) {
  TiPlotObject::NotifyFocus(object);
  if (object && object != this && object->HasFocus()) SetFocused(false);
}

// ---------------------------------------------------------------------------------------------
// Drawing

TPoint TiPlotLimit::Pt(int alongX, int alongY) const { return XYAxesReverse() ? TPoint{alongY, alongX} : TPoint{alongX, alongY}; }

TRect TiPlotLimit::Span(int x1, int y1, int x2, int y2) const {
  const TPoint a = Pt(x1, y1);
  const TPoint b = Pt(x2, y2);
  return Rect(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

// `at` is a pixel along the limit's own axis; the line runs across the other one. For an X style
// the own axis is X, so the point is (at, across); for a Y style it is (across, at).
void TiPlotLimit::LineAcross(TCanvas* canvas, int at, int acrossFrom, int acrossTo) {
  const bool y = IsYStyle();
  const TPoint a = y ? Pt(acrossFrom, at) : Pt(at, acrossFrom);
  const TPoint b = y ? Pt(acrossTo, at) : Pt(at, acrossTo);
  canvas->MoveTo(a.X, a.Y);
  canvas->LineTo(b.X, b.Y);
}

TiPlotLimit::TLineFrame TiPlotLimit::Frame(TiPlotAxis* xa, TiPlotAxis* ya) const {
  TiPlotAxis* own = IsYStyle() ? ya : xa;
  TiPlotAxis* across = IsYStyle() ? xa : ya;
  return {own, across->PositionOfMin(), across->PositionOfMax()};
}

TRect TiPlotLimit::HitRectAt(int at, int acrossFrom, int acrossTo) const {
  return IsYStyle() ? Span(acrossFrom, at - kHitHalfWidth, acrossTo, at + kHitHalfWidth)
                    : Span(at - kHitHalfWidth, acrossFrom, at + kHitHalfWidth, acrossTo);
}

void TiPlotLimit::Draw(TCanvas* canvas, TColor backgroundColor) {
  line1Drawn_ = line2Drawn_ = false;
  if (!canvas || !Visible()) return;
  TiPlotAxis* xa = XAxis();
  TiPlotAxis* ya = YAxis();
  if (!xa || !ya) return;
  if (clipToAxes_)
    canvas->IntersectClipRect(Span(xa->PositionOfMin(), ya->PositionOfMin(), xa->PositionOfMax(), ya->PositionOfMax()));
  switch (style_) {
    case iplsLineX:
    case iplsLineY: DrawLine(canvas, xa, ya, backgroundColor); break;
    case iplsBandX:
    case iplsBandY: DrawBand(canvas, xa, ya); break;
    case iplsPolyBandX:
    case iplsPolyBandY: DrawPolyBand(canvas, xa, ya); break;
  }
}

void TiPlotLimit::DrawLine(TCanvas* canvas, TiPlotAxis* xa, TiPlotAxis* ya, TColor backgroundColor) {
  const TLineFrame f = Frame(xa, ya);
  const double p = line1Position_;
  if (!Finite(p) || p < f.own->Min() || p > f.own->Max()) return;
  canvas->Pen().Color = color_;
  canvas->Pen().Width = lineWidth_;
  canvas->Pen().Style = lineStyle_;
  canvas->Brush().Color = backgroundColor;   // the gaps of dashed lines
  const int at = f.own->ValueToPosition(p);
  LineAcross(canvas, at, f.from, f.to);
  line1Drawn_ = true;
  line1HitRect_ = HitRectAt(at, f.from, f.to);
}

void TiPlotLimit::DrawBand(TCanvas* canvas, TiPlotAxis* xa, TiPlotAxis* ya) {
  if (!Finite(line1Position_) || !Finite(line2Position_)) return;
  const TLineFrame f = Frame(xa, ya);
  const int p1 = f.own->ValueToPosition(line1Position_);
  const int p2 = f.own->ValueToPosition(line2Position_);
  const int from = f.from;
  const int to = f.to;
  line1HitRect_ = HitRectAt(p1, from, to);
  line2HitRect_ = HitRectAt(p2, from, to);
  line1Drawn_ = line2Drawn_ = true;

  canvas->Pen().Color = color_;
  canvas->Brush().Color = color_;
  canvas->Brush().Style = fillStyle_;
  const TRect band = IsYStyle() ? Span(from, p1, to, p2) : Span(p1, from, p2, to);
  auto edges = [&] {
    LineAcross(canvas, p1, from, to);
    LineAcross(canvas, p2, from, to);
  };
  if (fillStyle_ == bsSolid) {
    canvas->Pen().Style = lineStyle_;
    canvas->Pen().Width = 1;
    canvas->Rectangle(band);
  } else if (fillStyle_ == bsClear) {
    canvas->Pen().Style = lineStyle_;
    canvas->Pen().Width = lineWidth_;
    edges();
  } else {
    canvas->Pen().Style = psClear;
    canvas->Rectangle(band);
    canvas->Pen().Style = lineStyle_;
    canvas->Pen().Width = 1;
    edges();
  }
}

void TiPlotLimit::DrawPolyBand(TCanvas* canvas, TiPlotAxis* xa, TiPlotAxis* ya) {
  const int count = bandData_.Count();
  if (count < 2) return;
  // For a Y style the positions run along X and the bounds along Y.
  const bool y = style_ == iplsPolyBandY;
  TiPlotAxis* posAxis = y ? xa : ya;
  TiPlotAxis* boundAxis = y ? ya : xa;
  auto corner = [&](double position, double bound) {
    const int p = posAxis->ValueToPosition(position);
    const int b = boundAxis->ValueToPosition(bound);
    return y ? Pt(p, b) : Pt(b, p);
  };
  canvas->Pen().Color = color_;
  canvas->Pen().Width = 1;
  canvas->Pen().Style = psSolid;
  canvas->Brush().Color = color_;
  canvas->Brush().Style = fillStyle_;
  const double lo = posAxis->Min();
  const double hi = posAxis->Max();
  for (int i = 1; i < count; ++i) {
    const TiLimitDataElement& d = bandData_.Item(i - 1);
    const TiLimitDataElement& e = bandData_.Item(i);
    if (d.Position < lo && e.Position < lo) continue;
    // The elements ascend: nothing after this pair can start inside the axis.
    if (d.Position > hi) break;
    const TPoint corners[4] = {corner(d.Position, d.Bound1), corner(e.Position, e.Bound1), corner(e.Position, e.Bound2),
                               corner(d.Position, d.Bound2)};
    // Winding: where the bounds cross, both lobes of the band are filled.
    if (fillStyle_ == bsSolid) {
      canvas->Polygon(corners, 4, true);
      continue;
    }
    canvas->Pen().Style = psClear;
    canvas->Polygon(corners, 4, true);
    canvas->Pen().Style = psSolid;
    canvas->MoveTo(corners[0].X, corners[0].Y);
    canvas->LineTo(corners[1].X, corners[1].Y);
    canvas->MoveTo(corners[3].X, corners[3].Y);
    canvas->LineTo(corners[2].X, corners[2].Y);
  }
}

// ---------------------------------------------------------------------------------------------
// Mouse

bool TiPlotLimit::Interacts() const { return !selectModeOnlyInteraction_ || (Owner() && Owner()->SelectMode()); }

bool TiPlotLimit::HitTest(const TiPlotMouseParams& params) {
  if (!Interacts()) return false;
  const TPoint p{params.X, params.Y};
  return (line1Drawn_ && PtInRect(line1HitRect_, p)) || (line2Drawn_ && PtInRect(line2HitRect_, p));
}

TCursor TiPlotLimit::GetMouseCursor(const TiPlotMouseParams&) {
  if (!userCanMove_) return crDefault;
  TCursor cursor = crHandPoint;
  if (line1Drawn_ && line2Drawn_) {
    // Across the band's edges: an X style moves them along X, which runs across the screen
    // unless the chart swaps X and Y.
    const bool alongScreenX = IsYStyle() == XYAxesReverse();
    cursor = alongScreenX ? crSizeWE : crSizeNS;
  }
  if (Owner()) Owner()->ObjectGetMouseCursor(this, cursor);
  return cursor;
}

void TiPlotLimit::DoMouseDownLeft(const TiPlotMouseParams& params) {
  if (!userCanMove_) return;
  const TPoint p{params.X, params.Y};
  if (line1Drawn_ && PtInRect(line1HitRect_, p))
    line1Grabbed_ = true;
  else if (line2Drawn_ && PtInRect(line2HitRect_, p))
    line2Grabbed_ = true;
  else
    return;
  if (OnFocusChange) OnFocusChange(this);
}

void TiPlotLimit::EndGrabs() { line1Grabbed_ = line2Grabbed_ = false; }

void TiPlotLimit::DoMouseDrag(const TiPlotMouseParams& params) {
  const TiPlotLifeGuard life(this);
  // Each step looks the axis up again: a handler of the previous step may have removed it or
  // moved the limit to an axis that does not exist. Without an axis there is nothing to drag on.
  auto valueAt = [&](double& value) {
    TiPlotAxis* axis = IsYStyle() ? YAxis() : XAxis();
    if (!axis) return false;
    value = axis->PositionToValue(IsYStyle() ? params.YR : params.XR);
    return true;
  };
  double value = 0.0;
  if (line1Grabbed_) {
    if (!valueAt(value)) return EndGrabs();
    SetLine1Position(value);
    if (life.Gone()) return;
    FollowLine(line1Drawn_, line1HitRect_, line1Position_);
  }
  if (line2Grabbed_) {
    if (!valueAt(value)) return EndGrabs();
    SetLine2Position(value);
    if (life.Gone()) return;
    FollowLine(line2Drawn_, line2HitRect_, line2Position_);
  }
}

// The hit area follows a dragged line at once, so that a release over the line counts as over it
// even before the next paint.
void TiPlotLimit::FollowLine(bool drawn, TRect& hitRect, double position) {
  if (!drawn) return;
  TiPlotAxis* xa = XAxis();
  TiPlotAxis* ya = YAxis();
  if (!xa || !ya) return;
  const TLineFrame f = Frame(xa, ya);
  hitRect = HitRectAt(f.own->ValueToPosition(position), f.from, f.to);
}

void TiPlotLimit::DoMouseUp(const TiPlotMouseParams&) { EndGrabs(); }

void TiPlotLimit::AddMenuItems(TPopupMenu* menu) {
  TiPlotObject::AddMenuItems(menu);
  AddEditMenuItem(menu);
}
