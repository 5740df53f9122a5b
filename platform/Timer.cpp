#include "platform/Timer.h"

#include <QTimer>

TTimer::TTimer() : timer_(std::make_unique<QTimer>()) {
  QObject::connect(timer_.get(), &QTimer::timeout, [this] { Fire(); });
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int ms) {
  interval_ = ms < 0 ? 0 : ms;
  Restart();
}

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Restart();
}

void TTimer::Restart() {
  timer_->stop();
  if (enabled_ && interval_ > 0) {
    timer_->start(interval_);
    ++starts_;
  }
}

void TTimer::Fire() {
  if (OnTimer) OnTimer();
}
