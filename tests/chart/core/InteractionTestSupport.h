#pragma once
// Driving a chart by hand: Qt's own mouse, wheel and key events with controlled time stamps, a
// virtual clock that fires the control's timer when its interval has passed, and chart objects
// with fixed hit areas, hints and cursor shapes that note what reaches them.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <optional>

#include "ChartTestSupport.h"
#include "LayoutTestSupport.h"
#include "chart/core/iErrors.h"
#include "platform/Clock.h"
#include "platform/Menus.h"
#include "platform/Timer.h"

// What the probes saw, as "name: event" lines.
inline QStringList g_inputLog;

// A chart object of any kind with a fixed hit area (or its base hit test), a hint, a cursor
// shape and a part it answers GetObjectAt with; every input hook notes itself and may fail.
template <class Base>
class TProbe : public Base {
 public:
  using Base::Base;

  std::optional<TRect> Hit;
  QString Hint;
  TPoint HintAt;
  TCursor Cursor = crDefault;
  TiPlotObject* Part = nullptr;
  // The hook named here raises a failure ("hover", "down left", "key", ...).
  QString FailIn;
  // Gives up the focus when another object takes it; an axis keeps it while its shift state
  // holds Shift or Ctrl and the other object is an axis too (the axes' own rule).
  bool GiveUpFocus = false;
  // Repeats its presses, drags, releases, wheel turns and keys on the other axes (axes only).
  bool MasterUIInput = false;
  std::vector<TMouseButton> HitButtons;
  TPoint LastReversed;
  TPopupMenu* LastKeyMenu = nullptr;

  bool HitTest(const TiPlotMouseParams& p) override {
    HitButtons.push_back(p.Button);
    LastReversed = {p.XR, p.YR};
    return Hit ? PtInRect(*Hit, {p.X, p.Y}) : Base::HitTest(p);
  }
  TiPlotObject* GetObjectAt(int x, int y) override {
    if (Part) {
      this->SetHoverTarget(Part);
      return Part;
    }
    return Base::GetObjectAt(x, y);
  }
  TCursor GetMouseCursor(const TiPlotMouseParams& p) override {
    Note(QStringLiteral("cursor"));
    TCursor c = Cursor;
    if (this->Owner()) this->Owner()->ObjectGetMouseCursor(this, c);
    return c;
  }
  void DoMouseHover(const TiPlotMouseParams& p) override {
    Note(QStringLiteral("hover"));
    Base::DoMouseHover(p);
    if (p.Hint && !Hint.isEmpty()) {
      p.Hint->Text = Hint;
      p.Hint->X = HintAt.X;
      p.Hint->Y = HintAt.Y;
    }
  }
  void DoMouseDownLeft(const TiPlotMouseParams& p) override {
    Note(QStringLiteral("down left"));
    if (Alive([&] { Base::DoMouseDownLeft(p); })) Repeat(ipaaMouseDownLeft, p);
  }
  void DoMouseDownRight(const TiPlotMouseParams& p) override {
    Note(QStringLiteral("down right"));
    Base::DoMouseDownRight(p);
  }
  void DoMouseDrag(const TiPlotMouseParams& p) override {
    Note(p.DblClickActive ? QStringLiteral("drag (double)") : QStringLiteral("drag"));
    if (Alive([&] { Base::DoMouseDrag(p); })) Repeat(ipaaMouseDrag, p);
  }
  void DoMouseUp(const TiPlotMouseParams& p) override {
    Note(QStringLiteral("up"));
    if (Alive([&] { Base::DoMouseUp(p); })) Repeat(ipaaMouseUp, p);
  }
  bool DoMouseWheel(int delta, TShiftState shift, TPoint point) override {
    Note(QStringLiteral("wheel %1").arg(delta));
    if (MasterUIInput) {
      TiPlotAxisUserAction a;
      a.Action = ipaaMouseWheel;
      a.WheelDelta = delta;
      a.Shift = shift;
      a.WheelPoint = point;
      RepeatAction(a);
    }
    return false;
  }
  void DoMouseLeave() override {
    Note(QStringLiteral("leave"));
    Base::DoMouseLeave();
  }
  void DoKeyDown(int& key, TShiftState shift, TPopupMenu* menu) override {
    LastKeyMenu = menu;
    Note(QStringLiteral("key %1 %2").arg(key).arg(int(shift)));
    if (MasterUIInput) {
      TiPlotAxisUserAction a;
      a.Action = ipaaKeyDown;
      a.Key = key;
      a.Shift = shift;
      RepeatAction(a);
    }
    Base::DoKeyDown(key, shift, menu);
  }
  void NotifyFocus(TiPlotObject* other) override {
    if (!GiveUpFocus || other == this) return;
    const bool axes = dynamic_cast<TiPlotAxis*>(static_cast<TiPlotObject*>(this)) && dynamic_cast<TiPlotAxis*>(other);
    if (axes && (this->ShiftState() & (ssShift | ssCtrl))) return;
    this->SetFocused(false);
  }
  void AddMenuItems(TPopupMenu* menu) override {
    Base::AddMenuItems(menu);
    menu->Items().Add(QStringLiteral("About ") + this->Name());
    this->AddEditMenuItem(menu);
  }

  void Note(const QString& what) {
    g_inputLog << this->Name() + QStringLiteral(": ") + what;
    if (!FailIn.isEmpty() && FailIn == what) throw EiError(QStringLiteral("failure in ") + what);
  }

 private:
  // Runs a base hook; false when it removed the object (a button's click may).
  template <class F>
  bool Alive(F f) {
    const std::weak_ptr<const void> life = this->LifeToken();
    f();
    return !life.expired();
  }
  void Repeat(TiPlotAxisAction action, const TiPlotMouseParams& p) {
    if (!MasterUIInput) return;
    TiPlotAxisUserAction a;
    a.Action = action;
    a.Mouse = p;
    RepeatAction(a);
  }
  void RepeatAction(const TiPlotAxisUserAction& a) {
    auto* axis = dynamic_cast<TiPlotAxis*>(static_cast<TiPlotObject*>(this));
    auto* chart = dynamic_cast<TiPlotComponent*>(this->Owner());
    if (axis && chart) chart->RepeatToOtherAxes(axis, a);
  }
};

using TProbeChannel = TProbe<TiPlotChannelCustom>;
using TProbeXAxis = TProbe<TiPlotXAxis>;
using TProbeYAxis = TProbe<TiPlotYAxis>;
using TProbeDataView = TProbe<TiPlotDataView>;
using TProbeLegend = TProbe<TiPlotLegend>;
using TProbeLimit = TProbe<TiPlotLimit>;
using TProbeAnnotation = TProbe<TiPlotAnnotation>;
using TProbeDataCursor = TProbe<TiPlotDataCursor>;
using TProbeTable = TProbe<TiPlotTable>;

// A toolbar with one button and a Select state of its own.
class TProbeToolBar : public TProbe<TiPlotToolBar> {
 public:
  TProbeToolBar(TiPlotOwner* owner, const TiPlotHandlers& handlers) : TProbe<TiPlotToolBar>(owner, handlers) {
    button_.reset(new TProbe<TiPlotToolBarButton>(owner, TiPlotHandlers{}));
    button_->SetName(QStringLiteral("Button"));
  }
  TProbe<TiPlotToolBarButton>* Button() const { return button_.get(); }
  void DropButton() { button_.reset(); }
  // The button where it lies, the toolbar elsewhere.
  TiPlotObject* GetObjectAt(int x, int y) override {
    if (button_ && PtInRect(button_->GetButtonRect(), {x, y})) {
      SetHoverTarget(button_.get());
      return button_.get();
    }
    return TiPlotObject::GetObjectAt(x, y);
  }
  bool SelectDown = false;
  int SelectCommands = 0;
  bool SelectButtonDown() const override { return SelectDown; }
  void SelectCommand() override {
    ++SelectCommands;
    SelectDown = !SelectDown;
  }

 private:
  TiPlotPtr<TProbe<TiPlotToolBarButton>> button_;
};

// Qt events for a control, with time stamps far enough apart that no two presses make a
// double click unless asked to.
class TInput {
 public:
  explicit TInput(QWidget& widget) : w_(widget) {}

  void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) {
    held_ |= b;
    Send(QEvent::MouseButtonPress, p, b, m);
  }
  void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) {
    held_ &= ~Qt::MouseButtons(b);
    Send(QEvent::MouseButtonRelease, p, b, m);
  }
  void Click(QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) {
    Press(p, b, m);
    Release(p, b, m);
  }
  // Two clicks whose presses lie 100 ms apart.
  void DoubleClick(QPoint p) {
    Press(p);
    step_ = 50;
    Release(p);
    Press(p);
    Release(p);
    step_ = 1000;
  }
  // A move with the buttons held now; `forget` lets a button go without the control seeing it.
  void Move(QPoint p, Qt::KeyboardModifiers m = {}) { Send(QEvent::MouseMove, p, Qt::NoButton, m); }
  void ForgetButtons() { held_ = Qt::NoButton; }
  // True when the control took the turn.
  bool Wheel(QPoint p, int delta, Qt::KeyboardModifiers m = {}) {
    QWheelEvent e(QPointF(p), w_.mapToGlobal(QPointF(p)), QPoint(), QPoint(0, delta), held_, m, Qt::NoScrollPhase, false);
    e.ignore();
    QApplication::sendEvent(&w_, &e);
    return e.isAccepted();
  }
  void Key(int qtKey, Qt::KeyboardModifiers m = {}) {
    QKeyEvent press(QEvent::KeyPress, qtKey, m);
    QApplication::sendEvent(&w_, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, m);
    QApplication::sendEvent(&w_, &release);
  }
  // The platform's question whether the control wants a navigation key.
  bool Wants(int qtKey) {
    QKeyEvent e(QEvent::ShortcutOverride, qtKey, Qt::NoModifier);
    e.ignore();
    QApplication::sendEvent(&w_, &e);
    return e.isAccepted();
  }

 private:
  void Send(QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::KeyboardModifiers m) {
    time_ += step_;
    QMouseEvent e(type, QPointF(p), w_.mapToGlobal(QPointF(p)), b, held_, m);
    e.setTimestamp(time_);
    QApplication::sendEvent(&w_, &e);
  }
  QWidget& w_;
  Qt::MouseButtons held_ = Qt::NoButton;
  quint64 time_ = 100000;
  quint64 step_ = 1000;
};

// A virtual clock for a control: time passes in milliseconds, the system clock moves with it,
// and the control's timer fires whenever its interval has passed since it last started.
class TTimerClock {
 public:
  explicit TTimerClock(TiVCLComponent& control) : control_(control), seen_(control.InternalTimer().Starts()) {}

  void AdvanceMs(int ms) {
    for (int i = 0; i < ms; ++i) {
      Sync();
      clock_.AdvanceMs(1);
      ++now_;
      if (!control_.InternalTimer().Enabled()) continue;
      if (++elapsed_ >= control_.InternalTimer().Interval()) {
        elapsed_ = 0;
        control_.InternalTimer().Fire();
        Sync();
      }
    }
  }
  int NowMs() const { return now_; }

 private:
  // A restart (the chart stopped and started the timer) begins the count afresh.
  void Sync() {
    const int starts = control_.InternalTimer().Starts();
    if (starts != seen_) {
      seen_ = starts;
      elapsed_ = 0;
    }
  }
  TiVCLComponent& control_;
  TManualClock clock_;
  int seen_;
  int elapsed_ = 0;
  int now_ = 0;
};
