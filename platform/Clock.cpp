#include "platform/Clock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimeZone>

namespace {
std::function<TDateTime()> g_clock;
std::function<double()> g_steadyClock;

TDateTime SystemNow() {
  // Local time, like the platform's clock.
  const QDateTime now = QDateTime::currentDateTime();
  const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), now.timeZone());
  const qint64 days = epoch.date().daysTo(now.date());
  return static_cast<double>(days) + now.time().msecsSinceStartOfDay() / kMsPerDay;
}
}  // namespace

TDateTime Now() { return g_clock ? g_clock() : SystemNow(); }
void SetClock(std::function<TDateTime()> clock) { g_clock = std::move(clock); }

double SteadyMs() {
  if (g_steadyClock) return g_steadyClock();
  static const QElapsedTimer timer = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return double(timer.nsecsElapsed()) / 1e6;
}
void SetSteadyClock(std::function<double()> clock) { g_steadyClock = std::move(clock); }

TManualClock::TManualClock(TDateTime start) : now_(start) {
  SetClock([this] { return now_; });
  SetSteadyClock([this] { return steadyMs_; });
}
TManualClock::~TManualClock() {
  SetClock(nullptr);
  SetSteadyClock(nullptr);
}
