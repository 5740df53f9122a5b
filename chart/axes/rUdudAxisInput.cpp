// The user's control of an axis: scrolling and zooming by drag, wheel and keys, the zoom and
// scroll operations the toolbar and the data view call, the repetition of the input on the
// other axes of the kind, and the axis's popup menu.
#include <cmath>
#include <functional>
#include <stdexcept>

#include "chart/axes/rUdudAxis.h"
#include "chart/core/iErrors.h"
#include "chart/core/rUdudComponent.h"
#include "platform/Input.h"
#include "platform/Menus.h"

namespace {

TiPlotComponent* ChartOf(const TiPlotAxis* axis) { return dynamic_cast<TiPlotComponent*>(axis->Owner()); }

// Hands the action to the chart, which repeats it on the other axes of the kind (and not again
// from there).
void RepeatOnOtherAxes(TiPlotAxis* axis, const TiPlotAxisUserAction& action) {
  if (!axis->MasterUIInput()) return;
  if (TiPlotComponent* chart = ChartOf(axis)) chart->RepeatToOtherAxes(axis, action);
}

TiPlotAxisUserAction MouseAction(TiPlotAxisAction kind, const TiPlotMouseParams& params) {
  TiPlotAxisUserAction action;
  action.Action = kind;
  action.Mouse = params;
  action.Shift = params.Shift;
  return action;
}

// What a key does to the range, in spans (scroll) or powers of ten (zoom).
double KeyAmount(int key) {
  switch (key) {
    case VK_PRIOR:
    case VK_END: return 1;
    case VK_NEXT:
    case VK_HOME: return -1;
    case VK_UP:
    case VK_RIGHT: return 0.01;
    case VK_LEFT:
    case VK_DOWN: return -0.01;
    default: return 0;
  }
}

// A menu command runs from the event loop once the menu has closed: the axis may be gone by
// then, and a failure must not reach the loop; it is dropped as failures of other input are.
std::function<void()> MenuCommand(const TiPlotAxis* axis, std::function<void()> command) {
  return [life = TiPlotLifeGuard(axis), command = std::move(command)] {
    if (life.Gone()) return;
    try {
      command();
    } catch (const std::exception&) {
    }
  };
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Properties

void TiPlotAxis::SetScrollMinMaxEnabled(bool value) { SetAndChange(scrollMinMaxEnabled_, value); }

void TiPlotAxis::SetScrollMin(double value) {
  if (std::isfinite(value)) SetAndChange(scrollMin_, value);
}

void TiPlotAxis::SetScrollMax(double value) {
  if (std::isfinite(value)) SetAndChange(scrollMax_, value);
}

void TiPlotAxis::SetMasterUIInput(bool value) { SetAndChange(masterUIInput_, value); }

// ---------------------------------------------------------------------------------------------
// Zoom and scroll

void TiPlotAxis::Zoom(double factor) {
  if (!IsLogarithmic()) {
    // NaN fails here too: it is no factor above zero.
    if (!(factor > 0)) throw EiError(QStringLiteral("Linear Scale Zoom Factor must be Greater than Zero"));
    if (!std::isfinite(factor)) return;
    const double span = factor * Span();
    SetMinSpan((Max() + Min()) / 2 - span / 2, span);
    return;
  }
  if (!std::isfinite(factor)) return;
  const double k = std::pow(10.0, factor);
  SetMinSpan(Min() / k, Span() * k);
}

void TiPlotAxis::ZoomByPower(double power) {
  if (!std::isfinite(power)) return;
  const double k = std::pow(10.0, power);
  if (!IsLogarithmic()) {
    const double span = Span() / k;
    SetMinSpan((Max() + Min()) / 2 - span / 2, span);
    return;
  }
  SetMinSpan(Min() * k, Span() / k);
}

void TiPlotAxis::ScrollByFraction(double fraction) {
  if (!std::isfinite(fraction)) return;
  if (!IsLogarithmic()) {
    double m = Min() + fraction * Span();
    if (scrollMinMaxEnabled_) {
      // Against the upper limit first, so that a span wider than the limits starts at ScrollMin.
      m = std::min(m, scrollMax_ - Span());
      m = std::max(m, scrollMin_);
    }
    SetMinSpan(m, Span());
    return;
  }
  const double decades = std::log10(LogMax()) - std::log10(LogMin());
  const double k = std::pow(10.0, fraction * decades);
  double lo = LogMin() * k;
  double hi = LogMax() * k;
  if (scrollMinMaxEnabled_) {
    if (lo <= scrollMin_) {
      lo = scrollMin_;
      hi = scrollMin_ * std::pow(10.0, decades);
    } else if (hi >= scrollMax_) {
      // The new upper end is what must stay within the limit.
      hi = scrollMax_;
      lo = scrollMax_ / std::pow(10.0, decades);
    }
  }
  SetMinSpan(lo, hi - lo);
}

int TiPlotAxis::ScaleLength() const {
  const TRect r = ScaleArea();
  return Horizontal() ? r.Right - r.Left : r.Bottom - r.Top;
}

void TiPlotAxis::ZoomToPixelRect(const TRect& rect) {
  // An axis without length has no values under its pixels.
  if (ScaleLength() == 0) return;
  int first = Horizontal() ? rect.Left : rect.Bottom;
  int second = Horizontal() ? rect.Right : rect.Top;
  if (ReverseScale()) std::swap(first, second);
  const double min = PositionToValue(first);
  const double span = PositionToValue(second) - min;
  // A rectangle of no width (or turned inside out) would leave a range of no width.
  if (!(span > 0)) return;
  SetMinSpan(min, span);
}

// ---------------------------------------------------------------------------------------------
// Mouse and keys

TiPlotAxis::TiPlotControlMode TiPlotAxis::ModeWith(TShiftState shift) const {
  if (!(shift & ssCtrl)) return controlMode_;
  return controlMode_ == ipcmScroll ? ipcmZoom : ipcmScroll;
}

void TiPlotAxis::FinishUserAction() {
  if (Min() == actionMin_ && Span() == actionSpan_) return;
  if (TiPlotComponent* chart = ChartOf(this))
    chart->DispatchObjectEvent<TiPlotAxesMinSpanChangeEvent>(
        this, {{ipokXAxis, &chart->OnXAxisMinSpanChangeFinished}, {ipokYAxis, &chart->OnYAxisMinSpanChangeFinished}},
        actionMin_, actionSpan_, Min(), Span());
}

void TiPlotAxis::DoMouseDownLeft(const TiPlotMouseParams& params) {
  const TiPlotLifeGuard life(this);
  RepeatOnOtherAxes(this, MouseAction(ipaaMouseDownLeft, params));
  if (life.Gone()) return;
  dragging_ = true;
  lastMouse_ = {params.X, params.Y};
  actionMin_ = Min();
  actionSpan_ = Span();
}

void TiPlotAxis::DoMouseDrag(const TiPlotMouseParams& params) {
  if (!dragging_ || params.DblClickActive) return;
  const TiPlotLifeGuard life(this);
  RepeatOnOtherAxes(this, MouseAction(ipaaMouseDrag, params));
  if (life.Gone()) return;
  const int length = ScaleLength();
  // A Cartesian child without its reference has no length: nothing to scroll along.
  if (length == 0) return;
  DoChange();
  if (life.Gone()) return;
  SetTrackingEnabled(false);
  if (life.Gone()) return;
  double f = Horizontal() ? static_cast<double>(params.X - lastMouse_.X) / length
                          : static_cast<double>(lastMouse_.Y - params.Y) / length;
  if (ReverseScale()) f = -f;
  lastMouse_ = {params.X, params.Y};
  if (ModeWith(params.Shift) == ipcmScroll)
    ScrollByFraction(-f);   // the scale follows the mouse
  else
    ZoomByPower(IsLogarithmic() ? f * 2 : f / 4);
}

void TiPlotAxis::DoMouseUp(const TiPlotMouseParams& params) {
  const TiPlotLifeGuard life(this);
  RepeatOnOtherAxes(this, MouseAction(ipaaMouseUp, params));
  if (life.Gone() || !dragging_) return;
  dragging_ = false;
  FinishUserAction();
}

bool TiPlotAxis::DoMouseWheel(int wheelDelta, TShiftState shift, TPoint point) {
  if (wheelDelta == 0) return true;
  // One turn moves each axis once, though it reaches a focused axis both directly and through
  // the repetition of another focused axis.
  const TiPlotComponent* chart = ChartOf(this);
  const unsigned turn = chart ? chart->WheelTurnNumber() : 0;
  if (turn != 0 && turn == lastWheelTurn_) return true;
  lastWheelTurn_ = turn;
  const TiPlotLifeGuard life(this);
  SetTrackingEnabled(false);
  if (life.Gone()) return true;
  TiPlotAxisUserAction action;
  action.Action = ipaaMouseWheel;
  action.WheelDelta = wheelDelta;
  action.WheelPoint = point;
  action.Shift = shift;
  RepeatOnOtherAxes(this, action);
  if (life.Gone()) return true;
  const double s = wheelDelta > 0 ? 1 : -1;
  if (ModeWith(shift) == ipcmScroll)
    ScrollByFraction(0.05 * s);
  else
    ZoomByPower((IsLogarithmic() ? 0.05 : 0.025) * s);
  return true;
}

void TiPlotAxis::DoKeyDown(int& key, TShiftState shift, TPopupMenu* menu) {
  const TiPlotLifeGuard life(this);
  const double amount = KeyAmount(key);
  // Keys that do not move the range (Shift for a multiple selection, the menu key) leave
  // tracking alone. Within one key press the axis acts once, though the key reaches it twice.
  const TiPlotComponent* chart = ChartOf(this);
  const unsigned press = chart ? chart->KeyPressNumber() : 0;
  if (amount != 0 && (press == 0 || press != lastKeyPress_)) {
    lastKeyPress_ = press;
    TiPlotAxisUserAction action;
    action.Action = ipaaKeyDown;
    action.Key = key;
    action.Shift = shift;
    RepeatOnOtherAxes(this, action);
    if (life.Gone()) return;
    SetTrackingEnabled(false);
    if (life.Gone()) return;
    actionMin_ = Min();
    actionSpan_ = Span();
    DoChange();
    if (life.Gone()) return;
    // The Ctrl key does not swap the mode here.
    if (controlMode_ == ipcmScroll)
      ScrollByFraction(amount);
    else
      ZoomByPower(amount);
    if (life.Gone()) return;
    FinishUserAction();
    if (life.Gone()) return;
  }
  TiPlotLayoutObject::DoKeyDown(key, shift, menu);
}

TCursor TiPlotAxis::GetMouseCursor(const TiPlotMouseParams&) {
  // By ControlMode alone: the Ctrl key does not change the shape.
  TCursor cursor = crHandPoint;
  if (controlMode_ == ipcmZoom) cursor = Horizontal() ? crSizeWE : crSizeNS;
  if (Owner()) Owner()->ObjectGetMouseCursor(this, cursor);
  return cursor;
}

// ---------------------------------------------------------------------------------------------
// Popup menu

void TiPlotAxis::AddMenuItems(TPopupMenu* menu) {
  TiPlotLayoutObject::AddMenuItems(menu);
  if (!menu) return;
  TMenuItem* tracking = menu->Items().Add(Translate(QStringLiteral("Tracking Enabled")),
                                          MenuCommand(this, [this] { SetTrackingEnabled(!TrackingEnabled()); }));
  tracking->Checked = TrackingEnabled();
  TMenuItem* resume = menu->Items().Add(Translate(QStringLiteral("Update Resume Values")),
                                        MenuCommand(this, [this] { MenuUpdateResumeValues(); }));
  resume->Enabled = !TrackingEnabled() && MenuResumeValuesDiffer();
  menu->Items().Add(Translate(QStringLiteral("Zoom to Fit")), MenuCommand(this, [this] { MenuZoomToFit(); }));
  AddEditMenuItem(menu);
}
