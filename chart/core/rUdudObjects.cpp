#include "chart/core/rUdudObjects.h"

#include <QTimer>
#include <cmath>
#include <vector>

#include "chart/core/iGPFunctions.h"
#include "platform/Menus.h"
#include "platform/Timer.h"

// ---------------------------------------------------------------------------------------------
// Persistence base and ownership hand-off

TiPlotPersistent::~TiPlotPersistent() = default;

void TiPlotPersistent::BeforeDestruction() {
  if (destroying_) return;
  destroying_ = true;
  DoBeforeDestruction();
}

void TiPlotPersistent::BeforeDestructionInDestructor() {
  if (destroying_) return;
  partlyDestroyed_ = true;
  BeforeDestruction();
}

void TiPlotDeleter::operator()(TiPlotPersistent* item) const {
  if (!item) return;
  item->BeforeDestruction();
  delete item;
}

bool TiPlotOwnershipHandOff::Announce(TiPlotPtr<TiPlotPersistent> item, const std::function<void(TiPlotPersistent*)>& announce) {
  if (!item) return false;
  TiPlotPersistent* raw = item.get();
  raw->pendingOwner_ = &item;
  try {
    if (announce) announce(raw);
  } catch (...) {
    // Not taken yet: the holder destroys it on the way out, which removes it wherever it got.
    if (item) item->pendingOwner_ = nullptr;
    throw;
  }
  if (item) {
    // Nobody took it: it would have no owner, so it goes now.
    item->pendingOwner_ = nullptr;
    item.reset();
    return false;
  }
  return true;
}

TiPlotPtr<TiPlotPersistent> TiPlotOwnershipHandOff::TakeOwnership(TiPlotPersistent* item) {
  if (!item || !item->pendingOwner_ || !*item->pendingOwner_ || item->pendingOwner_->get() != item) return {};
  TiPlotPtr<TiPlotPersistent> owned = std::move(*item->pendingOwner_);
  item->pendingOwner_ = nullptr;
  return owned;
}

TiPlotMouseParams MakeMouseParams(TMouseButton button, TShiftState shift, int x, int y, bool xyAxesReverse,
                                  TPopupMenu* menu, TPoint screen) {
  TiPlotMouseParams p;
  p.Button = button;
  p.Shift = shift;
  p.X = x;
  p.Y = y;
  p.XR = xyAxesReverse ? y : x;
  p.YR = xyAxesReverse ? x : y;
  p.PopupMenu = menu;
  p.Screen = screen;
  return p;
}

void CheckOwnerAndHandlers(const void* owner, const TiPlotHandlers& handlers, const QString& ownerMessage) {
  if (!owner) throw EiError(ownerMessage);
  if (!handlers.OnChange) throw EiError(QStringLiteral("OnChange event handler can not be null"));
  if (!handlers.OnInsert) throw EiError(QStringLiteral("OnInsert event handler can not be null"));
  if (!handlers.OnRemove) throw EiError(QStringLiteral("OnRemove event handler can not be null"));
  if (!handlers.OnRename) throw EiError(QStringLiteral("AOnRename event handler can not be null"));
}

// ---------------------------------------------------------------------------------------------
// TiPlotObject

const TiClassInfo& TiPlotObject::StaticClassInfo() {
  static const TiClassInfo info =
      TiClassBuilder<TiPlotObject>(QStringLiteral("TiPlotObject"), &TiPersistent::StaticClassInfo())
          .String(QStringLiteral("Name"), &TiPlotObject::Name, &TiPlotObject::SetName)
          .Boolean(QStringLiteral("Visible"), &TiPlotObject::Visible, &TiPlotObject::SetVisible, kPlotObjectDefaults.Visible)
          .Boolean(QStringLiteral("Enabled"), &TiPlotObject::Enabled, &TiPlotObject::SetEnabled, kPlotObjectDefaults.Enabled)
          .Integer(QStringLiteral("Layer"), &TiPlotObject::Layer, &TiPlotObject::SetLayer, kPlotObjectDefaults.Layer)
          .Boolean(QStringLiteral("PopupEnabled"), &TiPlotObject::PopupEnabled, &TiPlotObject::SetPopupEnabled,
                   kPlotObjectDefaults.PopupEnabled)
          .Boolean(QStringLiteral("CanFocus"), &TiPlotObject::CanFocus, &TiPlotObject::SetCanFocus, kPlotObjectDefaults.CanFocus)
          .Build();
  return info;
}

TiPlotObject::TiPlotObject(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : OnChange(handlers.OnChange),
      OnRemove(handlers.OnRemove),
      OnInsert(handlers.OnInsert),
      OnRename(handlers.OnRename),
      owner_(owner) {}

TiPlotObject::~TiPlotObject() { BeforeDestructionInDestructor(); }

void TiPlotObject::DoBeforeDestruction() {
  if (OnRemove) OnRemove(this);
  DoLayoutChange();
}

void TiPlotObject::SetVisible(bool value) { SetAndChange(visible_, value); }

void TiPlotObject::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (!value) {
    mouseIsDown_ = false;
    SetFocused(false);
  }
  DoChange();
}

void TiPlotObject::SetXYAxesReverse(bool value) { xyAxesReverse_ = value; }

void TiPlotObject::DoChange() {
  if (OnChange) OnChange(this);
}

void TiPlotObject::DoLayoutChange() {
  if (OnLayoutChange) OnLayoutChange(this);
  DoChange();
}

void TiPlotObject::NotifyRemoving(TiPlotPersistent*) {}
void TiPlotObject::NotifyRenamed(TiPlotObject*) {}
void TiPlotObject::NotifyFocus(TiPlotObject*) {}

void TiPlotObject::PrepareDraw(TCanvas*) { readyToDraw_ = true; }
void TiPlotObject::Draw(TCanvas*, TColor) {}

void TiPlotObject::MouseDown(const TiPlotMouseParams& params) {
  if (!enabled_) return;
  popupPending_ = false;
  // A hook may remove the object (a button whose click removes it): nothing touches it then.
  const TiPlotLifeGuard life(this);
  if (params.Button == mbRight) {
    popupPending_ = popupEnabled_;
    mouseIsDown_ = true;
    DoMouseDownRight(params);
  } else if (params.Button == mbLeft) {
    mouseIsDown_ = true;
    DoMouseDownLeft(params);
  }
  if (life.Gone()) return;
  if (HitTest(params) && owner_) owner_->ObjectMouseDown(this, params.Button, params.Shift, params.X, params.Y);
}

void TiPlotObject::MouseMove(const TiPlotMouseParams& params) {
  const TiPlotLifeGuard life(this);
  if (mouseIsDown_)
    DoMouseDrag(params);
  else
    DoMouseHover(params);
  if (life.Gone()) return;
  if (HitTest(params) && owner_) owner_->ObjectMouseMove(this, params.Shift, params.X, params.Y);
}

void TiPlotObject::MouseUp(const TiPlotMouseParams& params) {
  if (popupPending_ && HitTest(params)) {
    const bool handled = owner_ && owner_->ObjectPopupHandled(this, params.Screen.X, params.Screen.Y);
    if (!handled && params.PopupMenu) {
      AddMenuItems(params.PopupMenu);
      const TiPlotLifeGuard life(this);
      params.PopupMenu->Popup(params.Screen.X, params.Screen.Y);
      if (life.Gone()) return;   // a menu command removed the object
    }
  }
  popupPending_ = false;
  const TiPlotLifeGuard life(this);
  DoMouseUp(params);
  if (life.Gone()) return;   // the release removed the object (a button's click)
  if (mouseIsDown_) {
    mouseIsDown_ = false;
    if (owner_) owner_->ObjectMouseUp(this, params.Button, params.Shift, params.X, params.Y);
  }
}

bool TiPlotObject::HitTest(const TiPlotMouseParams&) { return false; }

bool TiPlotObject::MouseWheel(int wheelDelta, TShiftState shift, TPoint point) {
  const bool result = DoMouseWheel(wheelDelta, shift, point);
  if (owner_) owner_->ObjectMouseWheel(this, wheelDelta, shift, point.X, point.Y);
  return result;
}

void TiPlotObject::DoMouseHover(const TiPlotMouseParams&) {}
void TiPlotObject::DoMouseDownLeft(const TiPlotMouseParams&) {}
void TiPlotObject::DoMouseDownRight(const TiPlotMouseParams&) {}
void TiPlotObject::DoMouseDrag(const TiPlotMouseParams&) {}
void TiPlotObject::DoMouseUp(const TiPlotMouseParams&) {}
bool TiPlotObject::DoMouseWheel(int, TShiftState, TPoint) { return false; }

void TiPlotObject::DoGotFocus() {
  if (owner_) owner_->ObjectGotFocus(this);
}

void TiPlotObject::DoLostFocus() {
  if (owner_) owner_->ObjectLostFocus(this);
}

void TiPlotObject::DoMouseLeave() {}

TiPlotObject* TiPlotObject::GetObjectAt(int, int) {
  hoverTarget_ = this;
  return this;
}

TCursor TiPlotObject::GetMouseCursor(const TiPlotMouseParams& params) {
  if (!hoverTarget_) hoverTarget_ = this;
  if (hoverTarget_ != this) return hoverTarget_->GetMouseCursor(params);
  return crDefault;
}

void TiPlotObject::DoKeyDown(int& key, TShiftState shift, TPopupMenu* menu) {
  const bool menuKey = key == VK_APPS || (key == VK_F10 && (shift & ssShift));
  if (!menuKey || !popupEnabled_) return;
  if (owner_ && owner_->ObjectPopupHandled(this, 0, 0)) return;
  TRect anchor;
  if (!menu || !PopupAnchorRect(anchor)) return;
  AddMenuItems(menu);
  // Integer halves truncate toward zero, as the platform's div does.
  const TPoint centre{(anchor.Left + anchor.Right) / 2, (anchor.Top + anchor.Bottom) / 2};
  const TPoint screen = owner_ ? owner_->ClientToScreen(centre) : centre;
  menu->Popup(screen.X, screen.Y);
}

bool TiPlotObject::PopupAnchorRect(TRect&) const { return false; }

void TiPlotObject::NotifyInsert() {
  if (OnInsert) OnInsert(this);
}

void TiPlotObject::AddMenuItems(TPopupMenu* menu) {
  if (menu) menu->Items().Clear();
}

void TiPlotObject::SetName(const QString& value) {
  if (value == name_) return;
  previousName_ = name_;
  name_ = value;
  if (OnRename) OnRename(this);
  DoChange();
}

void TiPlotObject::SetLayer(int value) { SetAndChange(layer_, value); }

void TiPlotObject::SetPopupEnabled(bool value) { SetAndChange(popupEnabled_, value); }

void TiPlotObject::SetCanFocus(bool value) { SetAndChange(canFocus_, value); }

void TiPlotObject::SetFocused(bool value) {
  if (value == hasFocus_) return;
  hasFocus_ = value;
  if (OnFocusChange) OnFocusChange(this);
  if (!value) {
    DoLostFocus();
  } else {
    if (OnGotFocus) OnGotFocus(this);
    DoGotFocus();
  }
}

QString TiPlotObject::Translate(const QString& text) const { return owner_ ? owner_->Translate(text) : text; }

QString TiPlotObject::LayerKey() const { return QString::number(layer_).rightJustified(6, QLatin1Char('0')); }

void TiPlotObject::AddEditMenuItem(TPopupMenu* menu) {
  if (!menu || !userCanEdit_) return;
  TMenuItem* item = menu->Items().Add(Translate(QStringLiteral("Edit...")), [this, life = TiPlotLifeGuard(this)] {
    if (!life.Gone() && OnEdit) OnEdit(this);
  });
  item->Visible = true;
}

void TiPlotObject::DetachFromChart() {
  OnChange = nullptr;
  OnLayoutChange = nullptr;
  OnRemove = nullptr;
  OnInsert = nullptr;
  OnRename = nullptr;
  OnGotFocus = nullptr;
  OnEdit = nullptr;
  OnFocusChange = nullptr;
  owner_ = nullptr;
  hoverTarget_ = nullptr;
  hasFocus_ = false;
  mouseIsDown_ = false;
  popupPending_ = false;
  kind_ = ipokNone;
}

// ---------------------------------------------------------------------------------------------
// TiPlotManagerObject

TiPlotManagerObject::TiPlotManagerObject(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    // Checked before the base exists, so that a refused object leaves no trace.
    : TiPlotObject((CheckOwnerAndHandlers(owner, handlers, QStringLiteral("Owner must be assigned")), owner), handlers) {}

// ---------------------------------------------------------------------------------------------
// TiPlotLayoutObject

const TiClassInfo& TiPlotLayoutObject::StaticClassInfo() {
  static const TiClassInfo info =
      TiClassBuilder<TiPlotLayoutObject>(QStringLiteral("TiPlotLayoutObject"), &TiPlotObject::StaticClassInfo())
          .Float(QStringLiteral("StopPercent"), &TiPlotLayoutObject::StopPercent, &TiPlotLayoutObject::SetStopPercent, 100.0)
          .Float(QStringLiteral("StartPercent"), &TiPlotLayoutObject::StartPercent, &TiPlotLayoutObject::SetStartPercent, 0.0)
          .Integer(QStringLiteral("ZOrder"), &TiPlotLayoutObject::ZOrder, &TiPlotLayoutObject::SetZOrder)
          .Boolean(QStringLiteral("Horizontal"), &TiPlotLayoutObject::Horizontal, &TiPlotLayoutObject::SetHorizontal)
          .Build();
  return info;
}

TiPlotLayoutObject::TiPlotLayoutObject(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotManagerObject(owner, handlers) {}

TiPlotLayoutObject::~TiPlotLayoutObject() { BeforeDestructionInDestructor(); }

bool TiPlotLayoutObject::HitTest(const TiPlotMouseParams& params) { return PtInRect(layoutRect_, {params.X, params.Y}); }

void TiPlotLayoutObject::NotifyInsert() {
  TiPlotManagerObject::NotifyInsert();
  if (OnLayoutChange) OnLayoutChange(this);
}

bool TiPlotLayoutObject::IsHorizontal() const { return horizontal_; }
bool TiPlotLayoutObject::IsVertical() const { return !horizontal_; }
int TiPlotLayoutObject::RequiredSize(TCanvas*) { return 0; }
int TiPlotLayoutObject::RequiredEndMargin(TCanvas*) { return 0; }

void TiPlotLayoutObject::PlaceAlongSide(const TiPlotLayoutFrame& frame) {
  const TRect& view = frame.DataView;
  if (IsHorizontal())
    SpanAlong(view.Left, view.Right - view.Left);
  else
    SpanAlong(view.Bottom, view.Bottom - view.Top);
}

void TiPlotLayoutObject::SpanAlong(int origin, int length) {
  if (IsHorizontal())
    SetExtentAlong(origin + RoundEven(length * startPercent_ / 100.0), origin + RoundEven(length * stopPercent_ / 100.0));
  else
    SetExtentAlong(origin - RoundEven(length * stopPercent_ / 100.0), origin - RoundEven(length * startPercent_ / 100.0));
}

void TiPlotLayoutObject::SetExtentAlong(int first, int second) {
  if (IsHorizontal()) {
    layoutRect_.Left = first;
    layoutRect_.Right = second;
  } else {
    layoutRect_.Top = first;
    layoutRect_.Bottom = second;
  }
}

void TiPlotLayoutObject::SetStartPercent(double value) {
  if (std::isnan(value)) return;   // not a position: the span stays as it is
  if (value < 0) value = 0;
  if (value > 100) value = 100;
  if (stopPercent_ - value < 1) {
    stopPercent_ = value + 1;
    if (stopPercent_ > 100) {
      stopPercent_ = 100;
      value = 99;
    }
  }
  if (value == startPercent_) return;
  startPercent_ = value;
  DoChange();
}

void TiPlotLayoutObject::SetStopPercent(double value) {
  if (std::isnan(value)) return;
  if (value < 0) value = 0;
  if (value > 100) value = 100;
  if (value - startPercent_ < 1) {
    startPercent_ = value - 1;
    if (startPercent_ < 0) {
      startPercent_ = 0;
      value = 1;
    }
  }
  if (value == stopPercent_) return;
  stopPercent_ = value;
  DoChange();
}

// Levels are counted up and down when objects make room for one another: held to a range in
// which that arithmetic stays exact.
void TiPlotLayoutObject::SetZOrder(int value) { SetAndLayoutChange(zOrder_, ClampCoordinate(value)); }

void TiPlotLayoutObject::SetHorizontal(bool value) { SetAndLayoutChange(horizontal_, value); }

void TiPlotLayoutObject::SetFarSide(bool value) { SetAndChange(farSide_, value); }

QString TiPlotLayoutObject::ZOrderKey() const { return QString::number(zOrder_).rightJustified(3, QLatin1Char('0')); }

QString TiPlotLayoutObject::StartKey() const { return QString::number(RoundEven(startPercent_)).rightJustified(3, QLatin1Char('0')); }

bool TiPlotLayoutObject::PopupAnchorRect(TRect& rect) const {
  rect = layoutRect_;
  return true;
}

// ---------------------------------------------------------------------------------------------
// TiPlotButton

namespace {
// Timers discarded from inside their own tick (a click that disables or removes its button)
// must outlive the tick; they are destroyed once the event loop runs again.
std::vector<std::unique_ptr<TTimer>>& RetiredTimers() {
  static std::vector<std::unique_ptr<TTimer>> timers;
  return timers;
}

void Retire(std::unique_ptr<TTimer> timer) {
  timer->SetEnabled(false);
  const bool scheduled = !RetiredTimers().empty();
  RetiredTimers().push_back(std::move(timer));
  if (!scheduled) QTimer::singleShot(0, [] { RetiredTimers().clear(); });
}
}  // namespace

TiPlotButton::TiPlotButton(TiPlotOwner* owner, const TiPlotHandlers& handlers) : TiPlotObject(owner, handlers) {}

TiPlotButton::~TiPlotButton() { BeforeDestructionInDestructor(); }

void TiPlotButton::DoBeforeDestruction() {
  DiscardTimer();
  TiPlotObject::DoBeforeDestruction();
}

void TiPlotButton::SetEnabled(bool value) {
  if (!value) DiscardTimer();
  TiPlotObject::SetEnabled(value);
}

void TiPlotButton::DoMouseDownLeft(const TiPlotMouseParams&) {
  if (autoRepeat_) {
    if (!repeatTimer_) {
      repeatTimer_ = std::make_unique<TTimer>();
      repeatTimer_->OnTimer = [this] { RepeatTick(); };
    }
    repeatTimer_->SetInterval(500);
    repeatTimer_->SetEnabled(true);
    firstRepeat_ = true;
  }
  if (OnInvalidate) OnInvalidate(this);
}

void TiPlotButton::RepeatTick() {
  // The tick comes straight from the event loop: a failing click ends this tick only, like a
  // failure in any other input of the chart.
  const TiPlotLifeGuard life(this);
  inTick_ = true;
  RunGuarded([&] {
    if (firstRepeat_ && repeatTimer_) {
      repeatTimer_->SetInterval(50);
      firstRepeat_ = false;
    }
    // A copy: the click may remove the button and with it this callback.
    if (TiPlotObjectCallback click = OnClick) click(this);
    if (life.Gone()) return;
    if (OnInvalidate) OnInvalidate(this);
  });
  if (!life.Gone()) inTick_ = false;
}

void TiPlotButton::DoMouseDrag(const TiPlotMouseParams&) {}

void TiPlotButton::DoMouseUp(const TiPlotMouseParams& params) {
  if (!MouseIsDown()) return;
  SetMouseIsDown(false);
  DiscardTimer();
  if (OnInvalidate) OnInvalidate(this);
  if (PtInRect(buttonRect_, {params.X, params.Y})) {
    // Copies: either callback may remove the button.
    const TiPlotLifeGuard life(this);
    TiPlotObjectCallback click = OnClick;
    if (groupIndex_ != 0) {
      if (TiPlotObjectCallback group = OnGroupClick) group(this);
    }
    if (!life.Gone() && click) click(this);
  }
}

void TiPlotButton::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  if (OnInvalidate) OnInvalidate(this);
  if (OnDownChange) OnDownChange(this);
}

void TiPlotButton::DiscardTimer() {
  if (!repeatTimer_) return;
  if (inTick_)
    Retire(std::move(repeatTimer_));
  else
    repeatTimer_.reset();
}
