#pragma once
// TiVCLComponent: the window layer of TiComponent. It routes the platform's events to the hooks,
// paints through a fresh off-screen bitmap under the control's paint lock, never erases the
// background between paints, and keeps one timer per control.
#include <functional>
#include <memory>
#include <mutex>

#include "chart/core/iComponent.h"

class TTimer;

class TiVCLComponent : public TiComponent {
  Q_OBJECT
  TI_PERSISTENT
 public:
  explicit TiVCLComponent(QWidget* parent = nullptr);
  ~TiVCLComponent() override;

  // ---- timer ----
  // Starts the timer unless it runs: first after firstDelay ms (or after interval when the
  // delay is 0), then every interval ms. With both 0 nothing starts; with interval 0 the timer
  // fires once.
  void StartTimer(int firstDelay, int interval) override;
  void StopTimer() override;
  bool TimerRunning() const override { return timerID_ != 0; }
  int TimerID() const { return timerID_; }
  bool FirstShot() const { return firstShot_; }
  int TimerInterval() const { return timerInterval_; }
  // Called on every tick; the chart points it at its hint timer.
  std::function<void()> OnInternalTimer;
  // The platform timer behind it (tests fire it by hand).
  TTimer& InternalTimer() { return *timer_; }

  // ---- painting ----
  // The whole paint cycle onto a painter of the window: a fresh bitmap, DoPaint into it (or the
  // failure picture), then one copy at (0, 0). The bitmap reaches from the client origin to the
  // far corner of area (the part of the window to show), never beyond the client size, so a
  // control much larger than its window costs no more than what is shown; an empty area
  // paints nothing.
  void PaintCycle(QPainter& target, const QRect& area);
  void PaintCycle(QPainter& target) { PaintCycle(target, rect()); }
  // The size of the bitmap the last paint cycle drew into (empty before the first).
  QSize LastPaintSize() const { return lastPaintSize_; }
  // The same cycle into a picture of the client size, as the window would show it.
  QImage PaintToImage();

  // ---- window services for the chart ----
  void SetFocus();
  bool MouseCapture() const;
  void SetMouseCapture(bool capture);

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  bool focusNextPrevChild(bool next) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void changeEvent(QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;

 private:
  void TimerTick();
  void PaintFailure(TBitmap& bitmap, const QString& message);

  std::recursive_mutex paintLock_;
  bool destroying_ = false;
  std::unique_ptr<TTimer> timer_;
  int timerID_ = 0;
  bool firstShot_ = false;
  int timerInterval_ = 0;
  bool leftClicked_ = false;
  QSize lastPaintSize_;
  struct {
    bool valid = false;
    bool wasDouble = false;
    TMouseButton button = mbLeft;
    quint64 time = 0;
    QPoint pos;
  } lastPress_;
};
