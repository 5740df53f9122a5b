// The chart's interaction: finding the object under the mouse, the user focus, routing presses,
// drags, releases, wheel turns and keys to the objects, the mouse cursor, the popup menu the
// objects fill, the hints on the control's timer, the select mode and the repetition of an
// axis's user action on the other axes.
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFocusEvent>

#include "chart/core/rUdudComponent.h"
#include "platform/Menus.h"

namespace {

// The kinds of the chart's objects come from the collections that hold them; buttons and the
// data view's placeholders belong to no collection.
bool IsAxis(const TiPlotObject* o) { return o && (o->Kind() == ipokXAxis || o->Kind() == ipokYAxis); }
bool IsToolBar(const TiPlotObject* o) { return o && o->Kind() == ipokToolBar; }
bool IsToolBarButton(const TiPlotObject* o) { return dynamic_cast<const TiPlotToolBarButton*>(o) != nullptr; }
bool IsAnnotation(const TiPlotObject* o) { return o && o->Kind() == ipokAnnotation; }
bool IsChannel(const TiPlotObject* o) { return o && o->Kind() == ipokChannel; }

// Data views and legends cover large areas: they are found only where nothing else is.
bool IsContainer(const TiPlotObject* o) { return o && (o->Kind() == ipokDataView || o->Kind() == ipokLegend); }
bool IsPlaceholder(const TiPlotObject* o) { return dynamic_cast<const TiPlotDataViewLayout*>(o) != nullptr; }

// Objects that take their press alone instead of through the focused objects.
bool TakesPressAlone(const TiPlotObject* o) {
  return IsAnnotation(o) || dynamic_cast<const TiPlotLegendButton*>(o) || dynamic_cast<const TiPlotTableButton*>(o) ||
         IsToolBarButton(o) || o->Kind() == ipokLimit || !o->CanFocus();
}

// The object a reference points at, or nullptr once the object has gone.
TiPlotObject* Live(TiPlotObject* object, const TiPlotLifeGuard& life) { return object && !life.Gone() ? object : nullptr; }

void Track(TiPlotObject*& ref, TiPlotLifeGuard& life, TiPlotObject* object) {
  ref = object;
  life = TiPlotLifeGuard(object);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// State

TiPlotObject* TiPlotComponent::PressedObject() const { return Live(pressedObject_, pressedLife_); }
TiPlotObject* TiPlotComponent::HoverObject() const { return Live(hoverObject_, hoverLife_); }
TiPlotObject* TiPlotComponent::ReleasedObject() const { return Live(releasedObject_, releasedLife_); }
TiPlotObject* TiPlotComponent::HintObject() const { return Live(hintObject_, hintLife_); }

TiPlotMouseParams TiPlotComponent::InputParams(TMouseButton button, TShiftState shift, int x, int y) const {
  return MakeMouseParams(button, shift, x, y, XYAxesReverse(), popupMenu_.get(), ClientToScreen({x, y}));
}

void TiPlotComponent::StoreShiftState(TShiftState shift) {
  mouseShiftState_ = shift;
  if (master_ && master_->AllObjects()) master_->AllObjects()->SetShiftStateAll(shift);
}

// ---------------------------------------------------------------------------------------------
// Hit test

TiPlotObject* TiPlotComponent::HitTestChart(int x, int y) {
  // A move hands no button; the hit tests that care look for a right-button press only.
  return HitTestObjects(MakeMouseParams(mbLeft, mouseShiftState_, x, y, XYAxesReverse()));
}

TiPlotObject* TiPlotComponent::HitTestChart(int x, int y, TMouseButton button) {
  return HitTestObjects(MakeMouseParams(button, mouseShiftState_, x, y, XYAxesReverse()));
}

TiPlotObject* TiPlotComponent::HitTestObjects(const TiPlotMouseParams& params) {
  TiPlotObjectManager* all = master_ ? master_->AllObjects() : nullptr;
  if (!all) return nullptr;
  std::vector<TiPlotObject*> objects;
  objects.reserve(static_cast<size_t>(all->Count()));
  for (int i = 0; i < all->Count(); ++i) objects.push_back(all->Items(i));
  auto walk = [&](auto qualifies) -> TiPlotObject* {
    for (TiPlotObject* o : objects) {
      if (!o->Enabled() || !o->Visible() || !qualifies(o) || !o->HitTest(params)) continue;
      TiPlotObject* part = o->GetObjectAt(params.X, params.Y);
      return part ? part : o;
    }
    return nullptr;
  };
  if (TiPlotObject* o = walk([](TiPlotObject* o) { return o->HasFocus() && !IsContainer(o) && !IsPlaceholder(o); })) return o;
  if (TiPlotObject* o = walk([](TiPlotObject* o) { return !IsContainer(o) && !IsPlaceholder(o); })) return o;
  return walk([](TiPlotObject* o) { return IsContainer(o); });
}

// ---------------------------------------------------------------------------------------------
// Press, move, release, double click

void TiPlotComponent::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  CheckMouseCapture();
  // 1, 2.
  StoreShiftState(shift);
  mouseButtonDown_ = true;
  SetFocus();
  HideHint();
  // 3. A right press starts from a chart where nothing has the focus.
  if (button == mbRight) master_->DeselectAll();
  // 4.
  TiPlotObject* o = HitTestChart(x, y, button);
  Track(pressedObject_, pressedLife_, o);
  Track(releasedObject_, releasedLife_, nullptr);
  // 8.
  if (!o) {
    master_->DeselectAll();
    return;
  }
  // 5. Focus handlers may remove the object; from here on it is used only while it lives.
  const TiPlotLifeGuard life(o);
  if (shift & ssShift) {
    axisMultiSelect_ = IsAxis(o);
    o->SetFocused(true);
  } else if (shift & ssCtrl) {
    if (IsAxis(o)) {
      axisMultiSelect_ = true;
      o->SetFocused(!o->HasFocus());
    } else {
      axisMultiSelect_ = false;
      o->SetFocused(true);
    }
  } else if (!IsToolBar(o) && o->CanFocus()) {
    o->SetFocused(true);
  }
  if (life.Gone()) return;
  // 6.
  if (button == mbRight) CaptureMouse();
  // 7.
  const TiPlotMouseParams params = InputParams(button, shift, x, y);
  if (button == mbRight || TakesPressAlone(o))
    o->MouseDown(params);
  else
    master_->AllObjects()->MouseDown(params);
}

void TiPlotComponent::DoMouseMove(TShiftState shift, int x, int y) {
  // Several axes are being picked with Shift or Ctrl: the mouse rests until the release.
  if (axisMultiSelect_) return;
  try {
    CheckMouseCapture();
    // 1. The release of the capture that hints and right presses take.
    if (!rect().contains(x, y) && !mouseButtonDown_ && MouseCapture()) ReleaseMouseCapture();
    // 2.
    StoreShiftState(shift);
    TiPlotMouseParams params = InputParams(mbLeft, shift, x, y);
    params.DblClickActive = doubleClickPending_;
    // 3. Dragging.
    TiPlotObject* pressed = PressedObject();
    if ((shift & (ssLeft | ssRight)) && pressed) {
      if (IsAnnotation(pressed) || IsToolBar(pressed) || !pressed->CanFocus())
        pressed->MouseMove(params);
      else
        master_->AllObjects()->MouseMove(params);
      ApplyMouseCursor(crDefault);
      return;
    }
    // 4. A press whose release the control never saw (it happened elsewhere) ends here, once.
    if (pressed) {
      mouseButtonDown_ = false;
      Track(pressedObject_, pressedLife_, nullptr);
      const TiPlotLifeGuard life(pressed);
      pressed->MouseUp(params);
      FocusedMouseUp(params, life.Gone() ? nullptr : pressed);
      doubleClickPending_ = false;
    }
    // 5.
    TiPlotObject* o = HitTestChart(x, y);
    TiPlotObject* hover = HoverObject();
    if (hover != o) Track(hoverObject_, hoverLife_, nullptr);
    if (hover && hover != o) {
      const TiPlotLifeGuard life(o);
      hover->DoMouseLeave();
      if (o && life.Gone()) o = nullptr;
    }
    // 6.
    if (!o) {
      ApplyMouseCursor(crDefault);
      return;
    }
    // 7.
    const TiPlotLifeGuard life(o);
    ApplyMouseCursor(o->GetMouseCursor(params));
    if (life.Gone()) return;
    TiPlotHintData hint;
    params.Hint = &hint;
    o->MouseMove(params);
    if (life.Gone()) return;
    // 8.
    if (hintsShow_) UpdateHint(o, hint, {x, y});
    // 9.
    Track(hoverObject_, hoverLife_, o);
  } catch (...) {
    // A failure while following the mouse costs that one move and nothing else.
  }
}

void TiPlotComponent::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  // 1.
  mouseButtonDown_ = false;
  StoreShiftState(shift);
  HideHint();
  axisMultiSelect_ = false;
  // 2. The object that holds the press first, then the focused ones (each object once).
  TiPlotMouseParams params = InputParams(button, shift, x, y);
  params.DblClickActive = doubleClickPending_;
  TiPlotObject* pressed = PressedObject();
  const TiPlotLifeGuard life(pressed);
  // Cleared first, so that a failure on the way cannot leave a press that never ends.
  Track(pressedObject_, pressedLife_, nullptr);
  struct TEnd {
    TiPlotComponent* chart;
    ~TEnd() { chart->doubleClickPending_ = false; }
  } end{this};
  if (pressed) pressed->MouseUp(params);
  if (life.Gone()) pressed = nullptr;
  FocusedMouseUp(params, pressed);
  // 3.
  if (pressed && !life.Gone()) {
    Track(releasedObject_, releasedLife_, pressed);
    releasedButton_ = button;
    releasedShift_ = shift;
    releasedPosition_ = {x, y};
    releasedScreenPosition_ = params.Screen;
  } else {
    Track(releasedObject_, releasedLife_, nullptr);
  }
}

void TiPlotComponent::FocusedMouseUp(const TiPlotMouseParams& params, const TiPlotObject* except) {
  TiPlotObjectManager* all = master_ ? master_->AllObjects() : nullptr;
  if (!all) return;
  std::vector<TiPlotObject*> objects;
  for (int i = 0; i < all->Count(); ++i) objects.push_back(all->Items(i));
  // An object may leave the chart while another handles the release: only listed ones are called.
  for (TiPlotObject* o : objects)
    if (o != except && all->IndexOf(o) >= 0 && o->HasFocus()) o->MouseUp(params);
}

// The platform reports a double click before the second press: the release after it raises
// the double-click event of the object that holds the press.
void TiPlotComponent::DoDblClick() { doubleClickPending_ = true; }

// ---------------------------------------------------------------------------------------------
// Wheel and keys

bool TiPlotComponent::DoMouseWheel(int wheelDelta, TShiftState shift, QPoint mousePos) {
  if (++wheelTurnNumber_ == 0) wheelTurnNumber_ = 1;
  inWheelTurn_ = true;
  struct TEndTurn {
    bool& flag;
    ~TEndTurn() { flag = false; }
  } endTurn{inWheelTurn_};
  try {
    if (master_ && master_->AllObjects()) master_->AllObjects()->MouseWheel(wheelDelta, shift, {mousePos.x(), mousePos.y()});
  } catch (...) {
    // The turn still belongs to the chart.
  }
  return true;
}

void TiPlotComponent::DoKeyDown(int& key, TShiftState shift) {
  // A key reaches this hook twice (pre-processing, then delivery). The menu keys open a menu,
  // which must not open a second time as soon as the first one closes: within one key press
  // they go to the objects once.
  const bool menuKey = key == VK_APPS || (key == VK_F10 && (shift & ssShift));
  if (menuKey && inKeyPress_) {
    if (menuKeyDelivered_) return;
    menuKeyDelivered_ = true;
  }
  if (master_ && master_->AllObjects()) master_->AllObjects()->DoKeyDown(key, shift, popupMenu_.get());
}

void TiPlotComponent::DoWantSpecialKey(int& key, bool& result) { result = key >= VK_LEFT && key <= VK_DOWN; }

// ---------------------------------------------------------------------------------------------
// Mouse cursor and capture

void TiPlotComponent::ApplyMouseCursor(TCursor cursor) {
  mouseCursor_ = cursor;
  setCursor(QCursor(CursorShapeOf(cursor)));
}

void TiPlotComponent::ObjectGetMouseCursor(TiPlotObject* object, TCursor& cursor) {
  DispatchObjectEvent<TiPlotObjectGetMouseCursorEvent>(
      object, {{ipokChannel, &OnGetMouseCursorChannel}, {ipokXAxis, &OnGetMouseCursorXAxis},
               {ipokYAxis, &OnGetMouseCursorYAxis}, {ipokDataCursor, &OnGetMouseCursorDataCursor},
               {ipokDataView, &OnGetMouseCursorDataView}, {ipokLegend, &OnGetMouseCursorLegend},
               {ipokLimit, &OnGetMouseCursorLimit}, {ipokTable, &OnGetMouseCursorTable},
               {ipokAnnotation, &OnGetMouseCursorAnnotation}},
      cursor);
}

void TiPlotComponent::CaptureMouse() {
  SetMouseCapture(true);
  mouseCaptured_ = true;
}

void TiPlotComponent::ReleaseMouseCapture() {
  mouseCaptured_ = false;
  SetMouseCapture(false);
}

// The windowing system sends no notice when another window takes the mouse: the control looks
// whenever it hears from the system again, and counts an open popup as having taken it.
bool TiPlotComponent::CheckMouseCapture() {
  if (!mouseCaptured_) return false;
  if (MouseCapture() && !QApplication::activePopupWidget()) return false;
  mouseCaptured_ = false;
  MouseCaptureChanged();
  return true;
}

void TiPlotComponent::MouseCaptureChanged() {
  HideHint();
  if (hintDrawn_) InvalidateNow();
  if (TiPlotObject* hover = HoverObject()) {
    Track(hoverObject_, hoverLife_, nullptr);
    hover->DoMouseLeave();
  }
}

bool TiPlotComponent::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    // Both deliveries of the key happen inside this one event.
    struct TKeyPress {
      TiPlotComponent* chart;
      ~TKeyPress() { chart->inKeyPress_ = false; }
    } keyPress{this};
    inKeyPress_ = true;
    menuKeyDelivered_ = false;
    if (++keyPressNumber_ == 0) keyPressNumber_ = 1;
    return TiCustomComponent::event(e);
  }
  switch (e->type()) {
    case QEvent::Leave:
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
    case QEvent::FocusOut:
      try {
        CheckMouseCapture();
      } catch (...) {
      }
      break;
    default: break;
  }
  return TiCustomComponent::event(e);
}

// ---------------------------------------------------------------------------------------------
// Hints

void TiPlotComponent::StartHintTimer(int milliseconds) {
  StopTimer();
  // A pause of 0 (or less) still goes through the timer, at once.
  const int ms = std::max(1, milliseconds);
  StartTimer(ms, ms);
}

void TiPlotComponent::HideHint() {
  StopTimer();
  hintShowing_ = false;
  if (hintDrawn_) InvalidateNow();
}

void TiPlotComponent::UpdateHint(TiPlotObject* o, const TiPlotHintData& hint, TPoint point) {
  hintText_ = hint.Text;
  if (!hintShowing_) hintPosition_ = {hint.X, hint.Y};
  TiPlotObject* hintObject = HintObject();
  if (mouseButtonDown_) {
    HideHint();
  } else if (!hintText_.isEmpty()) {
    if (hintObject && hintObject != o && !IsToolBarButton(hintObject)) {
      // Another object: the old hint goes, the next move starts the pause for this one.
      HideHint();
      Track(hintObject_, hintLife_, nullptr);
    } else if (TimerRunning() && !hintShowing_) {
      // The pause starts again: the hint waits until the mouse rests.
      StartHintTimer(hintsPause_);
    } else if (TimerRunning() && hintShowing_ && (IsToolBarButton(hintObject) || IsChannel(hintObject))) {
      // Moving over a shown hint of a trace or a button keeps it up.
      StartHintTimer(hintsHidePause_);
    } else if (TimerRunning() && hintShowing_) {
      HideHint();
    } else if (!TimerRunning()) {
      // The keep rectangle is the 7 x 7 pixels around the point where the last hint's pause
      // began, both edges included.
      const TRect& k = hintKeepRect_;
      const bool inKeep = !IsRectEmpty(k) && point.X >= k.Left && point.X <= k.Right && point.Y >= k.Top && point.Y <= k.Bottom;
      if (!inKeep && hintObject != o) {
        hintStartPoint_ = point;
        Track(hintObject_, hintLife_, o);
        StartHintTimer(hintsPause_);
      }
    }
  } else {
    HideHint();
    Track(hintObject_, hintLife_, nullptr);
    hintKeepRect_ = TRect();
  }
  // The box follows the text.
  if (hintShowing_) InvalidateNow();
}

void TiPlotComponent::HintTimerTick() {
  StopTimer();
  // The capture went elsewhere: the hint has been taken away with it.
  if (CheckMouseCapture()) return;
  if (hintShowing_) {
    HideHint();
    if (MouseCapture()) ReleaseMouseCapture();
  } else {
    hintShowing_ = true;
    const TPoint p = hintStartPoint_;
    hintKeepRect_ = Rect(p.X - 3, p.Y - 3, p.X + 3, p.Y + 3);
    StartHintTimer(hintsHidePause_);
    // Held while the hint shows, so that the control hears of the mouse leaving it.
    if (!MouseCapture()) CaptureMouse();
  }
  InvalidateNow();
}

// ---------------------------------------------------------------------------------------------
// Select mode and the repetition of axis actions

bool TiPlotComponent::SelectMode() const { return ToolBarCount() > 0 && ToolBar(0)->SelectButtonDown(); }

void TiPlotComponent::SetSelectMode(bool value) {
  if (ToolBarCount() == 0) return;
  TiPlotToolBar* toolBar = ToolBar(0);
  if (toolBar->SelectButtonDown() != value) toolBar->SelectCommand();
}

void TiPlotComponent::RepeatToOtherAxes(TiPlotAxis* axis, const TiPlotAxisUserAction& action) {
  if (repeatingToOtherAxes_ || !axis || !master_) return;
  // The other axes of its kind: the collection that holds it.
  const TiPlotObjectManagerCustom* axes = nullptr;
  if (axis->Kind() == ipokXAxis || axis->Kind() == ipokYAxis) axes = master_->Collection(axis->Kind());
  if (!axes || axes->IndexOf(axis) < 0) return;
  std::vector<std::pair<TiPlotAxis*, TiPlotLifeGuard>> others;
  for (int i = 0; i < axes->Count(); ++i) {
    auto* other = static_cast<TiPlotAxis*>(axes->Items(i));
    if (other != axis) others.emplace_back(other, TiPlotLifeGuard(other));
  }
  repeatingToOtherAxes_ = true;
  struct TReset {
    bool& flag;
    ~TReset() { flag = false; }
  } reset{repeatingToOtherAxes_};
  for (auto& [other, life] : others) {
    if (life.Gone()) continue;
    switch (action.Action) {
      case ipaaMouseDownLeft: other->DoMouseDownLeft(action.Mouse); break;
      case ipaaMouseDrag: other->DoMouseDrag(action.Mouse); break;
      case ipaaMouseUp: other->DoMouseUp(action.Mouse); break;
      case ipaaMouseWheel: other->DoMouseWheel(action.WheelDelta, action.Shift, action.WheelPoint); break;
      case ipaaKeyDown: {
        int key = action.Key;
        other->DoKeyDown(key, action.Shift, PopupMenu());
        break;
      }
    }
  }
}
