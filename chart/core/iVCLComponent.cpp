#include "chart/core/iVCLComponent.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QStyleHints>
#include <cstdlib>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include "chart/core/iErrors.h"
#include "platform/Bitmap.h"
#include "platform/Timer.h"

namespace {

// Keys that a dialog would use for navigation; the control is asked whether it wants them.
bool IsSpecialKey(int vk) {
  return vk == VK_TAB || (vk >= VK_LEFT && vk <= VK_DOWN) || vk == VK_RETURN || vk == VK_EXECUTE || vk == VK_ESCAPE || vk == 3;
}

// Runs a hook; a failure in input handling ends that hook and nothing else.
template <class F>
void Guarded(F&& f) {
  try {
    f();
  } catch (...) {
  }
}

}  // namespace

const TiClassInfo& TiVCLComponent::StaticClassInfo() {
  static const TiClassInfo info = TiClassBuilder<TiVCLComponent>(QStringLiteral("TiVCLComponent"), &TiComponent::StaticClassInfo()).Build();
  return info;
}

TiVCLComponent::TiVCLComponent(QWidget* parent) : TiComponent(parent), timer_(std::make_unique<TTimer>()) {
  // Opaque: every paint covers the whole window, so the platform never erases it first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  timer_->OnTimer = [this] { TimerTick(); };
}

TiVCLComponent::~TiVCLComponent() {
  destroying_ = true;
  StopTimer();
  timer_->OnTimer = nullptr;
}

// ---- timer ----

void TiVCLComponent::StartTimer(int firstDelay, int interval) {
  if (TimerRunning()) return;
  if (firstDelay < 0) firstDelay = 0;
  if (interval < 0) interval = 0;
  timerInterval_ = interval;
  if (firstDelay == 0) {
    if (interval == 0) return;
    firstShot_ = false;
    timer_->SetInterval(interval);
  } else {
    firstShot_ = true;
    timer_->SetInterval(firstDelay);
  }
  timer_->SetEnabled(true);
  timerID_ = 1;
}

void TiVCLComponent::StopTimer() {
  timer_->SetEnabled(false);
  timerID_ = 0;
}

void TiVCLComponent::TimerTick() {
  if (!TimerRunning()) return;
  if (firstShot_) {
    firstShot_ = false;
    if (timerInterval_ > 0)
      timer_->SetInterval(timerInterval_);
    else
      StopTimer();  // no interval: the first delay was the only tick
  }
  Guarded([this] {
    if (OnInternalTimer) OnInternalTimer();
  });
}

// ---- painting ----

void TiVCLComponent::PaintFailure(TBitmap& bitmap, const QString& message) {
  TCanvas* canvas = bitmap.Canvas();
  canvas->RemoveClip();
  canvas->Pen() = TPen();
  canvas->Brush() = TBrush{clBlack, bsSolid};
  canvas->FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
  canvas->Font() = TFont();
  canvas->Font().Color = clWhite;
  TRect r = Rect(0, 0, bitmap.Width(), bitmap.Height());
  DrawTextOptions(*canvas, message, r, clWhite, true, {TTextOption::WordBreak});
}

void TiVCLComponent::PaintCycle(QPainter& target, const QRect& area) {
  std::unique_lock<std::recursive_mutex> lock(paintLock_, std::defer_lock);
  if (!destroying_) lock.lock();
  try {
    // The objects draw in client coordinates, so the bitmap starts at the client origin; it
    // ends where the shown part ends.
    const QRect shown = area.intersected(rect());
    lastPaintSize_ = shown.isEmpty() ? QSize() : QSize(shown.right() + 1, shown.bottom() + 1);
    if (shown.isEmpty()) return;
    TBitmap bitmap(lastPaintSize_.width(), lastPaintSize_.height(), pfDevice);
    if (bitmap.Empty()) return;  // no memory for it: the window stays as it was
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush().Style = bsSolid;
    canvas->Pen().Style = psSolid;
    try {
      DoPaint(*canvas);
    } catch (const std::exception& e) {
      PaintFailure(bitmap, ErrorMessage(e));
    } catch (...) {
      PaintFailure(bitmap, QStringLiteral("Unknown failure while painting"));
    }
    target.drawImage(QPoint(0, 0), bitmap.Image());
  } catch (...) {
    // A failure around DoPaint (the bitmap, the copy) leaves the window as it was.
  }
}

QImage TiVCLComponent::PaintToImage() {
  QImage image(std::max(1, Width()), std::max(1, Height()), QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  PaintCycle(painter);
  painter.end();
  return image;
}

void TiVCLComponent::paintEvent(QPaintEvent* e) {
  try {
    QPainter painter(this);
    PaintCycle(painter, e->rect());
  } catch (...) {
  }
}

// ---- window services ----

void TiVCLComponent::SetFocus() { setFocus(Qt::OtherFocusReason); }

bool TiVCLComponent::MouseCapture() const { return QWidget::mouseGrabber() == this; }

void TiVCLComponent::SetMouseCapture(bool capture) {
  if (capture) {
    grabMouse();
  } else if (MouseCapture()) {
    releaseMouse();
  }
}

// ---- input routing ----

bool TiVCLComponent::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::ShortcutOverride: {
      // The special-key query: the control may claim navigation keys before shortcuts do.
      auto* k = static_cast<QKeyEvent*>(e);
      int key = VirtualKeyOf(k->key(), k->modifiers());
      if (IsSpecialKey(key)) {
        bool result = false;
        Guarded([&] { DoWantSpecialKey(key, result); });
        if (result) {
          e->accept();
          return true;
        }
      }
      break;
    }
    case QEvent::KeyPress: {
      // Pre-processing: the hook sees the key first with an empty shift state.
      auto* k = static_cast<QKeyEvent*>(e);
      int key = VirtualKeyOf(k->key(), k->modifiers());
      if (key != 0) Guarded([&] { DoKeyDown(key, 0); });
      break;
    }
    case QEvent::KeyRelease: {
      auto* k = static_cast<QKeyEvent*>(e);
      int key = VirtualKeyOf(k->key(), k->modifiers());
      if (key != 0 && !k->isAutoRepeat()) Guarded([&] { DoKeyUp(key, 0); });
      break;
    }
    case QEvent::ThemeChange:
    case QEvent::ApplicationPaletteChange: BackGroundChange(); break;
    default: break;
  }
  return TiComponent::event(e);
}

void TiVCLComponent::focusInEvent(QFocusEvent* e) {
  // A popup menu does not take the focus away on the platform.
  if (e->reason() == Qt::PopupFocusReason) return;
  TiComponent::focusInEvent(e);
  Guarded([this] { DoGotFocus(); });
  if (e->reason() != Qt::ActiveWindowFocusReason && OnEnter) Guarded([this] { OnEnter(); });
}

void TiVCLComponent::focusOutEvent(QFocusEvent* e) {
  if (e->reason() == Qt::PopupFocusReason) return;
  TiComponent::focusOutEvent(e);
  Guarded([this] { DoLostFocus(); });
  if (e->reason() != Qt::ActiveWindowFocusReason && OnExit) Guarded([this] { OnExit(); });
}

// The control wants every key, Tab included.
bool TiVCLComponent::focusNextPrevChild(bool) { return false; }

void TiVCLComponent::keyPressEvent(QKeyEvent* e) {
  const TShiftState shift = ShiftStateOf(e->modifiers());
  int key = VirtualKeyOf(e->key(), e->modifiers());
  if (key != 0) {
    if (OnKeyDown) Guarded([&] { OnKeyDown(key, shift); });
    Guarded([&] { DoKeyDown(key, shift); });
  }
  for (QChar ch : e->text()) {
    QChar c = ch;
    if (OnKeyPress) Guarded([&] { OnKeyPress(c); });
    Guarded([&] { DoKeyPress(c); });
  }
  e->accept();
}

void TiVCLComponent::keyReleaseEvent(QKeyEvent* e) {
  e->accept();
  if (e->isAutoRepeat()) return;  // the platform repeats key downs only
  const TShiftState shift = ShiftStateOf(e->modifiers());
  int key = VirtualKeyOf(e->key(), e->modifiers());
  if (key == 0) return;
  if (OnKeyUp) Guarded([&] { OnKeyUp(key, shift); });
  Guarded([&] { DoKeyUp(key, shift); });
}

void TiVCLComponent::mousePressEvent(QMouseEvent* e) {
  TMouseButton button;
  if (!MouseButtonOf(e->button(), button)) return;
  TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
  const QPoint p = e->position().toPoint();
  // The platform reports the second press of a double click as a double click, which the
  // control sees before the press itself; a third press starts over.
  const QStyleHints* hints = QGuiApplication::styleHints();
  const bool isDouble = lastPress_.valid && !lastPress_.wasDouble && lastPress_.button == button &&
                        e->timestamp() - lastPress_.time <= static_cast<quint64>(hints->mouseDoubleClickInterval()) &&
                        std::abs(p.x() - lastPress_.pos.x()) <= hints->mouseDoubleClickDistance() &&
                        std::abs(p.y() - lastPress_.pos.y()) <= hints->mouseDoubleClickDistance();
  lastPress_ = {true, isDouble, button, e->timestamp(), p};
  if (isDouble) {
    shift |= ssDouble;
    if (button == mbLeft) {
      Guarded([this] { DoDblClick(); });
      if (OnDblClick) Guarded([this] { OnDblClick(); });
    }
  } else if (button == mbLeft) {
    leftClicked_ = true;
  }
  Guarded([&] { DoMouseDown(button, shift, p.x(), p.y()); });
  if (OnMouseDown) Guarded([&] { OnMouseDown(button, shift, p.x(), p.y()); });
}

void TiVCLComponent::mouseReleaseEvent(QMouseEvent* e) {
  TMouseButton button;
  if (!MouseButtonOf(e->button(), button)) return;
  const TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
  const QPoint p = e->position().toPoint();
  Guarded([&] { DoMouseUp(button, shift, p.x(), p.y()); });
  // The platform raises the click before the mouse-up event, and only for a release inside.
  if (button == mbLeft && leftClicked_) {
    leftClicked_ = false;
    if (rect().contains(p) && OnClick) Guarded([this] { OnClick(); });
  }
  if (OnMouseUp) Guarded([&] { OnMouseUp(button, shift, p.x(), p.y()); });
}

// Double clicks are recognised from the presses themselves (above), in the platform's order.
void TiVCLComponent::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }

void TiVCLComponent::mouseMoveEvent(QMouseEvent* e) {
  const TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
  const QPoint p = e->position().toPoint();
  Guarded([&] { DoMouseMove(shift, p.x(), p.y()); });
  if (OnMouseMove) Guarded([&] { OnMouseMove(shift, p.x(), p.y()); });
}

void TiVCLComponent::wheelEvent(QWheelEvent* e) {
  const int delta = e->angleDelta().y();
  if (delta == 0) {
    e->ignore();
    return;
  }
  const TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
  bool handled = false;
  Guarded([&] { handled = DoMouseWheel(delta, shift, e->globalPosition().toPoint()); });
  e->setAccepted(handled);
}

void TiVCLComponent::changeEvent(QEvent* e) {
  if (e->type() == QEvent::PaletteChange || e->type() == QEvent::StyleChange) BackGroundChange();
  TiComponent::changeEvent(e);
}

void TiVCLComponent::resizeEvent(QResizeEvent* e) {
  TiComponent::resizeEvent(e);
  BackGroundChange();
}

void TiVCLComponent::moveEvent(QMoveEvent* e) {
  TiComponent::moveEvent(e);
  BackGroundChange();
}
